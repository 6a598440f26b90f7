// The faction command: load a faction file, set, paint and fill sectors as the editor does, print,
// save.

#include "cli.h"
#include "commands.h"

#include "factions/factionpaint.h"
#include "factions/factionsinfo.h"
#include "platform/messagetext.h"

namespace {

using namespace cli;

std::optional<float> ParseFloat(const QString& text)
{
    bool ok = false;
    const float value = text.toFloat(&ok);
    if (!ok)
        return std::nullopt;
    return value;
}

// "--set 4 0 1", as the user wrote it, for a warning.
QString Operation(const QString& option, const QStringList& values)
{
    QStringList words{option};
    for (const QString& value : values)
        words << MessageText::Shortened(value);
    return words.join(QLatin1Char(' '));
}

void WarnOutside(const QString& option, const QStringList& values, const QString& position,
                 const CFactionsInfo& factions)
{
    Warn(QStringLiteral("%1: %2 lies outside the grid of %3 x %4 sectors; nothing changed")
             .arg(Operation(option, values), position)
             .arg(factions.Columns)
             .arg(factions.Rows));
}

QString GridText(const CFactionsInfo& factions)
{
    QString out;
    out.reserve((factions.Columns + 1) * factions.Rows);
    for (int32_t j = 0; j < factions.Rows; ++j) {
        for (int32_t i = 0; i < factions.Columns; ++i)
            out += factions.GetFaction(i, j) ? QLatin1Char('1') : QLatin1Char('0');
        out += QLatin1Char('\n');
    }
    return out;
}

} // namespace

namespace cli {

int RunFactions(const QStringList& argv)
{
    Arguments args(argv,
                   {{QStringLiteral("--set"), 3},
                    {QStringLiteral("--paint"), 3},
                    {QStringLiteral("--fill"), 3},
                    {QStringLiteral("--print"), 0},
                    {QStringLiteral("--out"), 1}});
    if (!args.Ok() || args.Positionals().size() != 1)
        return Usage(args.Ok() ? QStringLiteral("factions takes one faction file") : args.Error());
    if (!args.Has(QStringLiteral("--print")) && !args.Has(QStringLiteral("--out")))
        return Usage(QStringLiteral("factions needs --print or --out: without them nothing is shown or saved"));

    // Every number is checked before anything is loaded, so a usage error never half-runs.
    for (const auto& [option, values] : args.Occurrences()) {
        if (option == QLatin1String("--set")) {
            for (const QString& value : values) {
                if (!ParseInt(value))
                    return Usage(QStringLiteral("--set I J V takes whole numbers, not \"%1\"")
                                     .arg(MessageText::Shortened(value)));
            }
        } else if (option == QLatin1String("--paint")) {
            if (!ParseFloat(values[0]) || !ParseFloat(values[1]))
                return Usage(QStringLiteral("--paint X Z R takes numbers for X and Z, not \"%1\"")
                                 .arg(MessageText::Shortened(ParseFloat(values[0]) ? values[1] : values[0])));
            const std::optional<int> radius = ParseInt(values[2]);
            if (!radius || *radius < 0)
                return Usage(QStringLiteral("--paint X Z R takes a whole number from 0 for R, not \"%1\"")
                                 .arg(MessageText::Shortened(values[2])));
        } else if (option == QLatin1String("--fill")) {
            if (!ParseFloat(values[0]) || !ParseFloat(values[1]))
                return Usage(QStringLiteral("--fill X Z V takes numbers for X and Z, not \"%1\"")
                                 .arg(MessageText::Shortened(ParseFloat(values[0]) ? values[1] : values[0])));
            if (!ParseInt(values[2]))
                return Usage(QStringLiteral("--fill X Z V takes a whole number for V, not \"%1\"")
                                 .arg(MessageText::Shortened(values[2])));
        }
    }

    const QString path = args.Positionals().first();
    CFactionsInfo factions;
    QString reason;
    if (!factions.LoadFromFile(path, &reason))
        return Fail(QStringLiteral("Open failed"),
                    QStringLiteral("%1: %2").arg(path, ReadProblem(path, FileKind::FactionFile, reason)));

    // A position outside the grid changes nothing, as a click there does, but is said.
    for (const auto& [option, values] : args.Occurrences()) {
        if (option == QLatin1String("--set")) {
            const int32_t i = *ParseInt(values[0]);
            const int32_t j = *ParseInt(values[1]);
            if (!factions.SetFaction(*ParseInt(values[2]), i, j))
                WarnOutside(option, values, QStringLiteral("sector %1, %2").arg(i).arg(j), factions);
        } else if (option == QLatin1String("--paint") || option == QLatin1String("--fill")) {
            const float x = *ParseFloat(values[0]);
            const float z = *ParseFloat(values[1]);
            const bool inGrid = option == QLatin1String("--paint")
                ? PaintFactionSquare(factions, x, z, *ParseInt(values[2])).Painted
                : FillFactionRegion(factions, x, z, *ParseInt(values[2]));
            if (!inGrid)
                WarnOutside(option, values,
                            QStringLiteral("the sector at X %1, Z %2")
                                .arg(MessageText::Shortened(values[0]), MessageText::Shortened(values[1])),
                            factions);
        }
    }

    if (args.Has(QStringLiteral("--print")))
        Print(GridText(factions));
    if (!OutputWritten())
        return Failure;
    if (const auto out = args.Values(QStringLiteral("--out"))) {
        if (!factions.SaveToFile(out->first(), &reason))
            return Fail(QStringLiteral("Save failed"), QStringLiteral("%1: %2").arg(out->first(), reason));
    }
    return Success;
}

} // namespace cli
