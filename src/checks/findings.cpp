#include "checks/findings.h"

#include "document/numbertext.h"
#include "platform/ansitext.h"
#include "platform/messagetext.h"

#include <bit>

namespace {

QString Number(float value) { return FloatText(value, QLatin1Char('.')); }

QLatin1String FieldWord(FindingField field)
{
    switch (field) {
    case FindingField::X: return QLatin1String("X");
    case FindingField::Z: return QLatin1String("Z");
    case FindingField::Heading: return QLatin1String("heading");
    case FindingField::ApproximationObject: return QLatin1String("approximation object");
    case FindingField::BaseObject: return QLatin1String("base object");
    case FindingField::RouteObject: return QLatin1String("route object");
    case FindingField::Object: return QLatin1String("object");
    case FindingField::None: break;
    }
    return QLatin1String("");
}

} // namespace

Severity LevelOf(FindingKind kind)
{
    return kind == FindingKind::Unused || kind == FindingKind::NoTemplate ? Severity::Note : Severity::Problem;
}

Severity Finding::Level() const { return LevelOf(Kind); }

int32_t Finding::TemplateOf() const
{
    switch (List.List) {
    case RecordList::Templates: return Record;
    case RecordList::TemplateObjects: return List.Template;
    default: return -1;
    }
}

const char* FindingRecordWord(const Finding& finding)
{
    switch (finding.List.List) {
    case RecordList::Templates:
    case RecordList::TemplateObjects: return "template";
    case RecordList::Keysites: return "keysite";
    case RecordList::Airbases: return "airbase";
    case RecordList::Sams: return "SAM";
    }
    return "";
}

QString FindingPlace(const Finding& finding)
{
    const QLatin1String word(FindingRecordWord(finding));
    if (finding.List.List == RecordList::TemplateObjects)
        return QStringLiteral("%1 %2 object %3").arg(word).arg(finding.List.Template).arg(finding.Record);
    return QStringLiteral("%1 %2").arg(word).arg(finding.Record);
}

QString FindingText(const Finding& finding, const FindingWords& words)
{
    switch (finding.Kind) {
    case FindingKind::UnknownName: {
        const QLatin1String what = FieldWord(finding.Field);
        if (!words.Names)
            return QStringLiteral("%1 is not in the catalogue (a save writes INVALID_OBJECT)").arg(what);
        static const std::string kNone;
        const auto index = static_cast<size_t>(finding.Other);
        const std::string& stored = finding.Other >= 0 && index < words.Names->size() ? (*words.Names)[index] : kNone;
        // The editor reads a name up to its first zero byte.
        const std::string name(stored.data(), std::min(stored.size(), stored.find('\0')));
        return QStringLiteral("%1 \"%2\" is not in the catalogue (a save through the editor writes INVALID_OBJECT)")
            .arg(what, MessageText::Shortened(AnsiToQString(name)));
    }
    case FindingKind::NoObjects: return QStringLiteral("has no objects");
    case FindingKind::Unused: return QStringLiteral("no keysite uses it");
    case FindingKind::NoTemplate: return QStringLiteral("has no template");
    case FindingKind::MissingTemplate:
        return QStringLiteral("template %1 does not exist (the file has %2 templates)")
            .arg(finding.Other)
            .arg(words.TemplateCount);
    case FindingKind::NotFinite:
        return QStringLiteral("%1 is %2").arg(FieldWord(finding.Field), Number(std::bit_cast<float>(finding.Other)));
    case FindingKind::OutsideMap: {
        const MapExtent extent = words.Extent.value_or(MapExtent{});
        return QStringLiteral("X %1, Z %2 lies outside the map (X %3 to %4, Z %5 to %6)")
            .arg(Number(finding.X), Number(finding.Z), Number(extent.Left), Number(extent.Right), Number(extent.Top),
                 Number(extent.Bottom));
    }
    case FindingKind::SharedPosition:
        return QStringLiteral("lies at the same position as %1 %2")
            .arg(QLatin1String(FindingRecordWord(finding)))
            .arg(finding.Other);
    }
    return QString();
}

QString FindingKindTitle(FindingKind kind)
{
    switch (kind) {
    case FindingKind::UnknownName: return QStringLiteral("Names the catalogue lacks");
    case FindingKind::NoObjects: return QStringLiteral("Templates without objects");
    case FindingKind::Unused: return QStringLiteral("Templates no keysite uses");
    case FindingKind::NoTemplate: return QStringLiteral("Keysites without template");
    case FindingKind::MissingTemplate: return QStringLiteral("Keysites whose template does not exist");
    case FindingKind::NotFinite: return QStringLiteral("Values that are not numbers");
    case FindingKind::OutsideMap: return QStringLiteral("Records outside the map");
    case FindingKind::SharedPosition: return QStringLiteral("Records at the same position");
    }
    return QString();
}
