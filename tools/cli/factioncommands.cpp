// The faction command: load a faction file, set and paint sectors as the editor does, print, save.

#include "cli.h"
#include "commands.h"

#include "factions/factionpaint.h"
#include "factions/factionsinfo.h"

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
                    {QStringLiteral("--print"), 0},
                    {QStringLiteral("--out"), 1}});
    if (!args.Ok() || args.Positionals().size() != 1)
        return Usage(args.Ok() ? QStringLiteral("factions takes one faction file") : args.Error());

    // Every number is checked before anything is loaded, so a usage error never half-runs.
    for (const auto& [option, values] : args.Occurrences()) {
        if (option == QLatin1String("--set")) {
            for (const QString& value : values) {
                if (!ParseInt(value))
                    return Usage(QStringLiteral("--set I J V takes whole numbers, not \"%1\"").arg(value));
            }
        } else if (option == QLatin1String("--paint")) {
            if (!ParseFloat(values[0]) || !ParseFloat(values[1]))
                return Usage(QStringLiteral("--paint X Z R takes numbers for X and Z, not \"%1\"")
                                 .arg(ParseFloat(values[0]) ? values[1] : values[0]));
            if (!ParseInt(values[2]))
                return Usage(QStringLiteral("--paint X Z R takes a whole number for R, not \"%1\"").arg(values[2]));
        }
    }

    const QString path = args.Positionals().first();
    CFactionsInfo factions;
    QString reason;
    if (!factions.LoadFromFile(path, &reason))
        return Fail(QStringLiteral("Open failed"), QStringLiteral("%1: %2").arg(path, reason));

    for (const auto& [option, values] : args.Occurrences()) {
        if (option == QLatin1String("--set"))
            factions.SetFaction(*ParseInt(values[2]), *ParseInt(values[0]), *ParseInt(values[1]));
        else if (option == QLatin1String("--paint"))
            PaintFactionSquare(factions, *ParseFloat(values[0]), *ParseFloat(values[1]), *ParseInt(values[2]));
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
