// check: what a modder should hear about a Map BIN file before it goes out.

#include "cli.h"
#include "commands.h"
#include "jsonwriter.h"

#include "catalogues/objectslist.h"
#include "document/numbertext.h"
#include "document/storedrecords.h"
#include "mapview/map.h"
#include "mapview/mapextent.h"
#include "platform/ansitext.h"
#include "platform/messagetext.h"

#include <QFile>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <unordered_map>

namespace cli {

namespace {

struct Finding {
    bool Note = false; // a note does not fail the check
    const char* Record = "";
    int32_t Number = 0;
    int32_t Object = -1; // a template's object, or -1
    QString Text;
};

QString Number(float value) { return FloatText(value, QLatin1Char('.')); }

class CChecker {
public:
    CChecker(const StoredRecords& records, const C3DObjectsList* catalogue, std::optional<MapExtent> extent)
        : m_records(records), m_catalogue(catalogue), m_extent(extent)
    {
    }

    std::vector<Finding> Run()
    {
        std::vector<int32_t> users(m_records.Templates.size(), 0);
        for (const CKeysitePlacement& keysite : m_records.Keysites) {
            if (keysite.TemplateNumber >= 0 && static_cast<size_t>(keysite.TemplateNumber) < users.size())
                ++users[static_cast<size_t>(keysite.TemplateNumber)];
        }
        for (size_t t = 0; t < m_records.Templates.size(); ++t)
            Template(static_cast<int32_t>(t), m_records.Templates[t], users[t]);
        Placements("keysite", m_records.Keysites, [&](int32_t k, const CKeysitePlacement& keysite) {
            const int32_t number = keysite.TemplateNumber;
            if (number == -1)
                Add({true, "keysite", k, -1, QStringLiteral("has no template")});
            else if (number < 0 || static_cast<size_t>(number) >= m_records.Templates.size())
                Add({false, "keysite", k, -1,
                     QStringLiteral("template %1 does not exist (the file has %2 templates)")
                         .arg(number)
                         .arg(m_records.Templates.size())});
        });
        Placements("airbase", m_records.Airbases, [&](int32_t a, const CAirbasePlacement& airbase) {
            Name("airbase", a, -1, "object", airbase.ObjectIndex);
        });
        Placements("SAM", m_records.Sams, [](int32_t, const CSAMPlacement&) {});
        return std::move(m_findings);
    }

private:
    void Add(Finding finding) { m_findings.push_back(std::move(finding)); }

    // A name the catalogue lacks becomes INVALID_OBJECT when the editor saves the file.
    void Name(const char* record, int32_t number, int32_t object, const char* what, int32_t index)
    {
        if (!m_catalogue || index == NoObjectIndex)
            return;
        const std::string& stored = m_records.NameOf(index);
        // The editor reads a name up to its first zero byte.
        const std::string_view name(stored.data(), std::min(stored.size(), stored.find('\0')));
        if (m_catalogue->IndexOf(name) >= 0)
            return;
        Add({false, record, number, object,
             QStringLiteral("%1 \"%2\" is not in the catalogue (a save through the editor writes INVALID_OBJECT)")
                 .arg(QLatin1String(what), MessageText::Shortened(AnsiToQString(std::string(name))))});
    }

    void Finite(const char* record, int32_t number, int32_t object,
                std::initializer_list<std::pair<const char*, float>> values)
    {
        for (const auto& [what, value] : values) {
            if (!std::isfinite(value))
                Add({false, record, number, object,
                     QStringLiteral("%1 is %2").arg(QLatin1String(what), Number(value))});
        }
    }

    void Template(int32_t t, const CPopTemplate& tmpl, int32_t users)
    {
        Name("template", t, -1, "approximation object", tmpl.ApproximationObject);
        Name("template", t, -1, "base object", tmpl.BaseObject);
        Name("template", t, -1, "route object", tmpl.RouteObject);
        if (tmpl.Objects.empty())
            Add({false, "template", t, -1, QStringLiteral("has no objects")});
        if (users == 0)
            Add({true, "template", t, -1, QStringLiteral("no keysite uses it")});
        for (size_t o = 0; o < tmpl.Objects.size(); ++o) {
            const CThreeDObject& object = tmpl.Objects[o];
            const auto number = static_cast<int32_t>(o);
            Finite("template", t, number, {{"X", object.X}, {"Z", object.Z}, {"heading", object.Heading}});
            Name("template", t, number, "object", object.ObjectIndex);
        }
    }

    // The checks every placement shares, after the record's own.
    template <typename Record, typename Own>
    void Placements(const char* record, const std::vector<Record>& list, Own own)
    {
        std::unordered_map<uint64_t, int32_t> firstAt;
        for (size_t i = 0; i < list.size(); ++i) {
            const auto number = static_cast<int32_t>(i);
            const Record& placement = list[i];
            own(number, placement);
            Finite(record, number, -1, {{"X", placement.X}, {"Z", placement.Z}});
            if (!std::isfinite(placement.X) || !std::isfinite(placement.Z))
                continue;
            if (m_extent && !m_extent->Holds(placement.X, placement.Z))
                Add({false, record, number, -1,
                     QStringLiteral("X %1, Z %2 lies outside the map (X %3 to %4, Z %5 to %6)")
                         .arg(Number(placement.X), Number(placement.Z), Number(m_extent->Left), Number(m_extent->Right),
                              Number(m_extent->Top), Number(m_extent->Bottom))});
            // 0 and -0 are the same position.
            const float x = placement.X == 0 ? 0.0f : placement.X;
            const float z = placement.Z == 0 ? 0.0f : placement.Z;
            uint64_t key = 0;
            std::memcpy(&key, &x, 4);
            std::memcpy(reinterpret_cast<char*>(&key) + 4, &z, 4);
            const auto [at, added] = firstAt.try_emplace(key, number);
            if (!added)
                Add({false, record, number, -1,
                     QStringLiteral("lies at the same position as %1 %2").arg(QLatin1String(record)).arg(at->second)});
        }
    }

    const StoredRecords& m_records;
    const C3DObjectsList* m_catalogue;
    std::optional<MapExtent> m_extent;
    std::vector<Finding> m_findings;
};

QString Where(const Finding& finding)
{
    QString where = QStringLiteral("%1 %2").arg(QLatin1String(finding.Record)).arg(finding.Number);
    if (finding.Object >= 0)
        where += QStringLiteral(" object %1").arg(finding.Object);
    return where;
}

void PrintText(const std::vector<Finding>& findings)
{
    QString out;
    for (const Finding& finding : findings)
        out += QStringLiteral("%1: %2: %3\n")
                   .arg(finding.Note ? QLatin1String("note") : QLatin1String("problem"), Where(finding), finding.Text);
    Print(out);
}

void PrintJson(const std::vector<Finding>& findings)
{
    CJsonWriter out;
    Array(out, static_cast<int>(findings.size()), "", [&](int i) {
        const Finding& finding = findings[static_cast<size_t>(i)];
        out.Raw(finding.Note ? "{\"severity\": \"note\", \"record\": " : "{\"severity\": \"problem\", \"record\": ");
        out.String(QLatin1String(finding.Record));
        if (finding.Object >= 0) {
            out.Raw(
                (", \"number\": " + std::to_string(finding.Number) + ", \"object\": " + std::to_string(finding.Object))
                    .c_str());
        } else {
            out.Raw((", \"number\": " + std::to_string(finding.Number)).c_str());
        }
        out.Raw(", \"text\": ");
        out.String(finding.Text);
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
    std::optional<MapExtent> extent;
    if (const auto folder = args.Values(QStringLiteral("--map"))) {
        CMap map;
        QString reason;
        if (!map.Load(folder->first(), &reason))
            return Fail(QStringLiteral("Wrong map data!"), reason), Trouble;
        extent = MapExtent::Of(map);
    }
    StoredRecords records;
    if (!OpenStored(args.Positionals().first(), false, records))
        return Trouble;
    const std::vector<Finding> findings =
        CChecker(records, args.Has(QStringLiteral("--catalogue")) ? &catalogue : nullptr, extent).Run();
    if (args.Has(QStringLiteral("--json")))
        PrintJson(findings);
    else
        PrintText(findings);
    // Findings that did not reach the reader answer nothing.
    if (!OutputWritten())
        return Trouble;
    const auto problems = std::count_if(findings.begin(), findings.end(), [](const Finding& f) { return !f.Note; });
    if (problems == 0)
        return Success;
    return Fail(QStringLiteral("Check failed"),
                problems == 1 ? QStringLiteral("1 problem") : QStringLiteral("%1 problems").arg(problems));
}

} // namespace cli
