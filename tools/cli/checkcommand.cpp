// check: what a modder should hear about a Map BIN file before it goes out. The checks are the
// core's (checks/recordchecks.h), the same the editor's problems panel shows.

#include "cli.h"
#include "commands.h"
#include "jsonwriter.h"

#include "catalogues/objectslist.h"
#include "checks/recordchecks.h"
#include "document/storedrecords.h"
#include "mapview/map.h"
#include "mapview/mapextent.h"

#include <QFile>
#include <algorithm>
#include <optional>

namespace cli {

namespace {

// The file's own names that the catalogue holds; the editor reads a name up to its first zero byte.
std::vector<uint8_t> KnownNames(const StoredRecords& records, const C3DObjectsList& catalogue)
{
    std::vector<uint8_t> known(records.Names.size(), 0);
    for (size_t i = 0; i < records.Names.size(); ++i) {
        const std::string& stored = records.Names[i];
        const std::string_view name(stored.data(), std::min(stored.size(), stored.find('\0')));
        known[i] = catalogue.IndexOf(name) >= 0 ? 1 : 0;
    }
    return known;
}

// The place as the JSON names it: the template and its object for a template object.
int32_t JsonNumber(const Finding& finding)
{
    return finding.List.List == RecordList::TemplateObjects ? finding.List.Template : finding.Record;
}

void PrintText(const std::vector<Finding>& findings, const FindingWords& words)
{
    QString out;
    for (const Finding& finding : findings)
        out += QStringLiteral("%1: %2: %3\n")
                   .arg(finding.Level() == Severity::Note ? QLatin1String("note") : QLatin1String("problem"),
                        FindingPlace(finding), FindingText(finding, words));
    Print(out);
}

void PrintJson(const std::vector<Finding>& findings, const FindingWords& words)
{
    CJsonWriter out;
    Array(out, static_cast<int>(findings.size()), "", [&](int i) {
        const Finding& finding = findings[static_cast<size_t>(i)];
        out.Raw(finding.Level() == Severity::Note ? "{\"severity\": \"note\", \"record\": "
                                                  : "{\"severity\": \"problem\", \"record\": ");
        out.String(QLatin1String(FindingRecordWord(finding)));
        std::string place = ", \"number\": " + std::to_string(JsonNumber(finding));
        if (finding.List.List == RecordList::TemplateObjects)
            place += ", \"object\": " + std::to_string(finding.Record);
        out.Raw(place.c_str());
        out.Raw(", \"text\": ");
        out.String(FindingText(finding, words));
        out.Raw('}');
    });
    out.Raw('\n');
}

} // namespace

// Exit statuses as diff(1)'s: 0 no problem, 1 problems found, 2 trouble (a usage error, or a file
// or folder that cannot be read).
int RunCheck(const QStringList& argv)
{
    Arguments args(argv,
                   {{QStringLiteral("--catalogue"), 1}, {QStringLiteral("--map"), 1}, {QStringLiteral("--json"), 0}});
    if (!args.Ok() || args.Positionals().size() != 1)
        return Usage(args.Ok() ? QStringLiteral("check takes one file") : args.Error());
    C3DObjectsList catalogue;
    if (!LoadCatalogueOption(args, catalogue))
        return Trouble;
    CheckSettings settings;
    if (const auto folder = args.Values(QStringLiteral("--map"))) {
        CMap map;
        QString reason;
        if (!map.Load(folder->first(), &reason))
            return Fail(QStringLiteral("Wrong map data!"), reason), Trouble;
        settings.Extent = MapExtent::Of(map);
    }
    StoredRecords records;
    if (!OpenStored(args.Positionals().first(), false, records))
        return Trouble;
    std::vector<uint8_t> known;
    if (args.Has(QStringLiteral("--catalogue"))) {
        known = KnownNames(records, catalogue);
        settings.CheckNames = true;
        settings.KnownNames = known;
    }
    const std::vector<Finding> findings = CheckRecords(records.View(), settings);
    const FindingWords words{static_cast<int32_t>(records.Templates.size()), &records.Names, settings.Extent};
    if (args.Has(QStringLiteral("--json")))
        PrintJson(findings, words);
    else
        PrintText(findings, words);
    // Findings that did not reach the reader answer nothing.
    if (!OutputWritten())
        return Trouble;
    const auto problems = std::count_if(findings.begin(), findings.end(),
                                        [](const Finding& f) { return f.Level() == Severity::Problem; });
    if (problems == 0)
        return Success;
    return Fail(QStringLiteral("Check failed"),
                problems == 1 ? QStringLiteral("1 problem") : QStringLiteral("%1 problems").arg(problems));
}

} // namespace cli
