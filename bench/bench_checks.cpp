// The checks on the 200,000-record file (bigcampaign.h), each beside its floor in the same run.
// - FullCheck, the tool's check and the editor's on load, beside PlainPass: one loop over the
//   same records reading the same fields (coordinates, template and object numbers) and putting
//   every placement's position in a hash table, the least a check of shared positions needs.
//   Compare the medians: FullCheck / PlainPass (and DocumentChecks / PlainPass for the editor's
//   kept findings, which also keep each position).
// - Recheck*: bringing the kept findings up to date after one edit (the edit itself untimed),
//   as a time: the panel follows every edit, and one edit's re-check should not be felt.
//   build/bench/bench_checks --benchmark_repetitions=7 --benchmark_report_aggregates_only=true
#include "bigcampaign.h"
#include "checks/documentchecks.h"
#include "checks/positiontable.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

struct BigDocument {
    C3DObjectsList Catalogue;
    CPopTemplatesTypesList Types;
    std::unique_ptr<CBINFile> Document;
    std::vector<uint8_t> Known;
    CheckSettings Settings;

    BigDocument()
    {
        bench::FillCatalogue(Catalogue);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("big.bin"));
        bench::WriteBigCampaign(path, Catalogue, 200000);
        Document = std::make_unique<CBINFile>(&Catalogue, &Types);
        Document->Load(path);
        Known = CatalogueNames(Catalogue);
        Settings.CheckNames = true;
        Settings.KnownNames = Known;
        Settings.Extent = MapExtent{0, 131072, 0, 131072};
    }
    MapRecordsView View() const
    {
        return {Document->Templates(), Document->Keysites(), Document->Airbases(), Document->Sams()};
    }
};

BigDocument& Big()
{
    static BigDocument big;
    return big;
}

void FullCheck(benchmark::State& state)
{
    BigDocument& big = Big();
    for (auto _ : state) {
        std::vector<Finding> findings = CheckRecords(big.View(), big.Settings);
        benchmark::DoNotOptimize(findings.data());
    }
}
BENCHMARK(FullCheck)->Unit(benchmark::kMillisecond);

void DocumentChecks(benchmark::State& state)
{
    BigDocument& big = Big();
    for (auto _ : state) {
        CDocumentChecks checks(*big.Document, big.Settings.Extent);
        benchmark::DoNotOptimize(checks.Count());
    }
}
BENCHMARK(DocumentChecks)->Unit(benchmark::kMillisecond);

// The floor: every field a check reads, read once, and every placement's position hashed.
template <typename Record>
uint64_t PassPlacements(std::span<const Record> records)
{
    CPositionTable seen(records.size());
    uint64_t sum = 0;
    for (const Record& record : records) {
        if constexpr (std::is_same_v<Record, CKeysitePlacement>)
            sum += uint32_t(record.TemplateNumber);
        if constexpr (std::is_same_v<Record, CAirbasePlacement>)
            sum += uint32_t(record.ObjectIndex);
        const uint64_t key = positions::Key(record.X, record.Z);
        if (key != positions::NoKey)
            sum += uint32_t(++seen[key]);
    }
    return sum;
}

void PlainPass(benchmark::State& state)
{
    BigDocument& big = Big();
    const MapRecordsView view = big.View();
    for (auto _ : state) {
        uint64_t sum = 0;
        for (const CPopTemplate& tmpl : view.Templates) {
            sum += uint32_t(tmpl.ApproximationObject + tmpl.BaseObject + tmpl.RouteObject + tmpl.UseCount);
            for (const CThreeDObject& object : tmpl.Objects)
                sum += uint32_t(object.ObjectIndex) + (object.X + object.Z + object.Heading > 0 ? 1 : 0);
        }
        sum += PassPlacements(view.Keysites) + PassPlacements(view.Airbases) + PassPlacements(view.Sams);
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(PlainPass)->Unit(benchmark::kMillisecond);

// --- One edit ----------------------------------------------------------------------------------

// A keysite moved onto another's position and back: the findings of both positions change.
void RecheckMovedKeysite(benchmark::State& state)
{
    BigDocument& big = Big();
    CBINFile& doc = *big.Document;
    CDocumentChecks checks(doc, big.Settings.Extent);
    const int row = doc.KeysiteCount() / 2;
    const CKeysitePlacement original = doc.Keysites()[size_t(row)];
    CKeysitePlacement moved = original;
    moved.X = doc.Keysites()[10].X;
    moved.Z = doc.Keysites()[10].Z;
    bool away = false;
    for (auto _ : state) {
        state.PauseTiming();
        away = !away;
        doc.ReplaceRow(row, away ? moved : original);
        state.ResumeTiming();
        checks.Changed({RecordList::Keysites, -1}, row, row);
        // Changed placements are checked when the findings are next asked for: ask.
        benchmark::DoNotOptimize(checks.Count());
    }
    doc.ReplaceRow(row, original);
}
BENCHMARK(RecheckMovedKeysite)->Unit(benchmark::kMicrosecond);

// A SAM site inserted before all others and removed again: every kept number after it shifts.
void RecheckInsertedAndRemovedSam(benchmark::State& state)
{
    BigDocument& big = Big();
    CBINFile& doc = *big.Document;
    CDocumentChecks checks(doc, big.Settings.Extent);
    for (auto _ : state) {
        state.PauseTiming();
        doc.InsertRows(0, std::vector{doc.Sams()[5]});
        state.ResumeTiming();
        checks.Inserted({RecordList::Sams, -1}, 0, 0);
        state.PauseTiming();
        doc.RemoveRows<CSAMPlacement>(0, 1);
        state.ResumeTiming();
        checks.Removed({RecordList::Sams, -1}, 0, 0);
        benchmark::DoNotOptimize(checks.Count());
    }
}
BENCHMARK(RecheckInsertedAndRemovedSam)->Unit(benchmark::kMicrosecond);

// A template object given a name the catalogue lacks, and its own again.
void RecheckTemplateObject(benchmark::State& state)
{
    BigDocument& big = Big();
    CBINFile& doc = *big.Document;
    CDocumentChecks checks(doc, big.Settings.Extent);
    const int t = doc.TemplateCount() / 2;
    const CThreeDObject original = doc.Objects(t)[3];
    CThreeDObject missing = original;
    missing.ObjectIndex = MissingObjectIndex;
    bool broken = false;
    for (auto _ : state) {
        state.PauseTiming();
        broken = !broken;
        doc.ReplaceRow(3, broken ? missing : original, t);
        state.ResumeTiming();
        checks.Changed({RecordList::TemplateObjects, t}, 3, 3);
    }
    doc.ReplaceRow(3, original, t);
}
BENCHMARK(RecheckTemplateObject)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
