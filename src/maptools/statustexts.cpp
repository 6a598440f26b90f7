#include "maptools/statustexts.h"

#include "catalogues/objectslist.h"
#include "catalogues/templatetypes.h"
#include "document/binfile.h"
#include "document/recordlists.h"
#include "platform/ansitext.h"
#include "platform/messagetext.h"

#include <QStringList>
#include <algorithm>
#include <cmath>
#include <limits>

namespace {

const QString kSeparator = QStringLiteral(" · ");

// Whole world units, truncated toward zero as the control column's read-out shows them.
QString WholeUnits(double value)
{
    if (std::isnan(value))
        return QStringLiteral("—");
    const double truncated = std::clamp(std::trunc(value), double(std::numeric_limits<int32_t>::min()),
                                        double(std::numeric_limits<int32_t>::max()));
    return QString::number(int32_t(truncated));
}

// A name from the catalogue or the type table, as long as a status bar can show.
QString ShownName(const std::string& name) { return MessageText::Shortened(AnsiToQString(name), 40); }

QString CapitalNoun(RecordKind kind)
{
    QString noun = RecordNoun(ListOfKind(kind));
    if (!noun.isEmpty())
        noun[0] = noun[0].toUpper();
    return noun;
}

std::vector<const ToolHint*> HeldFirst(const std::vector<ToolHint>& hints, HintKeys held)
{
    std::vector<const ToolHint*> ordered;
    for (const ToolHint& hint : hints)
        ordered.push_back(&hint);
    if (held)
        std::stable_partition(ordered.begin(), ordered.end(),
                              [held](const ToolHint* hint) { return hint->Keys == held; });
    return ordered;
}

QString NamedRecord(const CBINFile& document, const PointerRecord& record)
{
    const QString named = QStringLiteral("%1 %2").arg(CapitalNoun(record.Kind)).arg(record.Index);
    const size_t at = size_t(record.Index);
    if (record.Kind == AirbaseKind && record.Index >= 0 && at < document.Airbases().size() && document.Catalogue())
        return QStringLiteral("%1 (%2)").arg(
            named, ShownName(document.Catalogue()->NameOf(document.Airbases()[at].ObjectIndex)));
    if (record.Kind == KeysiteKind && record.Index >= 0 && at < document.Keysites().size()) {
        const int32_t number = document.Keysites()[at].TemplateNumber;
        if (number < 0 || size_t(number) >= document.Templates().size())
            return QStringLiteral("%1 (no template)").arg(named);
        const QString type = document.Types()
            ? ShownName(document.Types()->TypeNameOf(document.Templates()[size_t(number)].TypeCode))
            : QString();
        return type.isEmpty() ? QStringLiteral("%1 (template %2)").arg(named).arg(number)
                              : QStringLiteral("%1 (template %2, %3)").arg(named).arg(number).arg(type);
    }
    return named;
}

} // namespace

QString PositionText(const PointerFacts& facts)
{
    QStringList parts;
    parts << QStringLiteral("X %1  Z %2").arg(WholeUnits(facts.X), WholeUnits(facts.Z));
    parts << QStringLiteral("Sector %1, %2").arg(facts.SectorColumn).arg(facts.SectorRow);
    if (facts.HasFactions)
        parts << (facts.Faction == 1       ? QStringLiteral("Red")
                      : facts.Faction == 0 ? QStringLiteral("Blue")
                                           : QStringLiteral("No faction"));
    parts << (facts.Height ? QStringLiteral("Height %1").arg(WholeUnits(double(*facts.Height)))
                           : QStringLiteral("Height —"));
    return parts.join(kSeparator);
}

QString RecordText(const CBINFile& document, const PointerRecord& record)
{
    const QString named = NamedRecord(document, record);
    return record.Locked ? named + QStringLiteral(", locked") : named;
}

QString RecordsText(const CBINFile& document, const std::vector<PointerRecord>& records)
{
    if (records.empty())
        return QString();
    const QString nearest = RecordText(document, records.front());
    if (records.size() == 1)
        return nearest;
    return nearest + kSeparator + QStringLiteral("+%1 more").arg(records.size() - 1);
}

std::vector<ToolHint> ToolHints(MapToolMode mode, const std::optional<PlacedRecord>& placing)
{
    if (placing) {
        // Place mode takes the next click whatever the tool; the middle button is passed over.
        return {
            {0,
             QStringLiteral("Click: place %1 %2 here").arg(RecordNoun(ListOfKind(placing->Kind))).arg(placing->Index)},
            {0, QStringLiteral("Right-click: cancel")}};
    }
    // In every tool but Select the left button is the tool's; Ctrl and Alt keep their meanings,
    // the middle button pans and the right one adds and removes.
    const std::vector<ToolHint> kept = {{HintControl, QStringLiteral("Ctrl+click: select")},
                                        {HintAlt, QStringLiteral("Alt+click: toggle")},
                                        {0, QStringLiteral("Right-click: add or remove")},
                                        {0, QStringLiteral("Middle-drag: pan")}};
    std::vector<ToolHint> hints;
    switch (mode) {
    case MapToolMode::Select:
        return {{0, QStringLiteral("Click: select")},
                {0, QStringLiteral("Drag a selected symbol: move")},
                {0, QStringLiteral("Drag: pan")},
                {HintShift, QStringLiteral("Shift+click: centre")},
                {HintAlt, QStringLiteral("Alt+click: paint")},
                {HintControl, QStringLiteral("Ctrl+drag: box")},
                {0, QStringLiteral("Right-click: add or remove")},
                {0, QStringLiteral("Right-drag: add a box")},
                {HintControl, QStringLiteral("Ctrl+arrows: nudge")},
                {0, QStringLiteral("Esc: cancel a move")}};
    case MapToolMode::Brush: hints = {{0, QStringLiteral("Drag: paint a stroke")}}; break;
    case MapToolMode::Fill: hints = {{0, QStringLiteral("Click: fill the region")}}; break;
    case MapToolMode::Picker: hints = {{0, QStringLiteral("Click: take the faction for the brush")}}; break;
    case MapToolMode::Ruler:
        hints = {{0, QStringLiteral("Drag: measure")},
                 {HintShift, QStringLiteral("Shift: snap to symbols")},
                 {0, QStringLiteral("Esc: clear")}};
        break;
    }
    hints.insert(hints.end(), kept.begin(), kept.end());
    return hints;
}

QString HintsText(const std::vector<ToolHint>& hints, HintKeys held)
{
    QStringList parts;
    for (const ToolHint* hint : HeldFirst(hints, held))
        parts << hint->Text;
    return parts.join(kSeparator);
}

QString HintsRichText(const std::vector<ToolHint>& hints, HintKeys held)
{
    QStringList parts;
    for (const ToolHint* hint : HeldFirst(hints, held)) {
        const QString text = hint->Text.toHtmlEscaped();
        parts << (held && hint->Keys == held ? QStringLiteral("<b>%1</b>").arg(text) : text);
    }
    return parts.join(kSeparator.toHtmlEscaped());
}

std::vector<ToolHint> HintsThatFit(const std::vector<ToolHint>& hints, HintKeys held, int room,
                                   const std::function<int(const QString& text, bool bold)>& width)
{
    std::vector<ToolHint> fitting;
    const int separator = width(kSeparator, false);
    int used = 0;
    for (const ToolHint* hint : HeldFirst(hints, held)) {
        const int needed = width(hint->Text, held && hint->Keys == held) + (fitting.empty() ? 0 : separator);
        if (!fitting.empty() && used + needed > room)
            break;
        used += needed;
        fitting.push_back(*hint);
    }
    return fitting;
}
