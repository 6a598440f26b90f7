// The status bar's work per mouse move over the map, on the 200,000- and 2,000,000-record files,
// with the whole demonstration map in a picture 786 pixels wide (a symbol's reach of six pixels is
// about 1,000 world units):
//   StatusUpdate:     what lies under the mouse (records within reach through the session's
//                     spatial index, sector, height) and the three texts of the bar.
//   RecordsUnderMouse: the records within reach alone.
//   Floor:            the records within 1,000 units in a plain grid of buckets built once for
//                     the bench (bench_recordindex's floor), at the same walk of positions.
//   build/bench/bench_statusbar --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
#include "bigcampaign.h"
#include "maptools/pointerinspector.h"
#include "maptools/statustexts.h"
#include "mapview/map.h"
#include "mapview/viewport.h"
#include "plainbuckets.h"
#include "session/campaignsession.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <map>
#include <memory>

namespace {

constexpr double kMapSide = 131072;
constexpr int32_t kPicture = 786;
constexpr int kReachPixels = 6;

struct Campaign {
    C3DObjectsList Catalogue{QLocale::c()};
    CPopTemplatesTypesList Types;
    std::unique_ptr<CCampaignSession> Session;
    std::unique_ptr<CPointerInspector> Inspector;
    std::unique_ptr<bench::CPlainBuckets> Buckets;
    CMap Map;
    // The map's record Z runs from 0 at its top edge: half sector count 32 of 4,096 units.
    CViewport View{0,  0,  int32_t(kMapSide), int32_t(kMapSide), 0, 0, kPicture, kPicture,
                   32, 32, kPicture + 1,      kPicture + 1};

    explicit Campaign(int records)
    {
        bench::FillCatalogue(Catalogue);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("big.bin"));
        Session = std::make_unique<CCampaignSession>(Catalogue, Types, TextFormat());
        if (!bench::WriteBigCampaign(file, Catalogue, records) || !Session->LoadMapBin(file))
            qFatal("cannot make the campaign");
        Inspector = std::make_unique<CPointerInspector>(*Session);
        Buckets = std::make_unique<bench::CPlainBuckets>(Session->Records());
        // A terrain of 1,024 cells of 128 units each way, as the demonstration map's.
        Map.ColumnCount = Map.RowCount = 1024;
        Map.CellSizeX = Map.CellSizeZ = 128.0f;
        Map.SectorCountX = Map.SectorCountZ = 64;
        Map.Heights.resize(size_t(1024) * 1024);
        for (size_t i = 0; i < Map.Heights.size(); ++i)
            Map.Heights[i] = float(i % 2311);
        Map.TerrainLoaded = true;
        // The index is built before any clock runs.
        Inspector->Inspect(View, &Map, SymbolChoice(), 10, 10);
    }
};

// The mouse's walk: picture pixels spread over the map, the same in every benchmark.
struct Walk {
    uint32_t Seed = 99;
    int32_t Next()
    {
        Seed = Seed * 1664525u + 1013904223u;
        return int32_t((Seed >> 8) % uint32_t(kPicture));
    }
};

SymbolChoice Choice()
{
    SymbolChoice choice;
    choice.Reach = kReachPixels;
    return choice;
}

void StatusUpdate(benchmark::State& state)
{
    Campaign& campaign = Built<Campaign>(int(state.range(0)));
    const SymbolChoice choice = Choice();
    const std::vector<ToolHint> hints = ToolHints(MapToolMode::Select);
    Walk walk;
    size_t found = 0;
    for (auto _ : state) {
        const int32_t column = walk.Next();
        const int32_t row = walk.Next();
        const PointerFacts facts = campaign.Inspector->Inspect(campaign.View, &campaign.Map, choice, column, row);
        const QString position = PositionText(facts);
        const QString records = RecordsText(campaign.Session->Records(), facts.Records);
        const QString tool = HintsRichText(hints, 0);
        found += facts.Records.size();
        benchmark::DoNotOptimize(position.size() + records.size() + tool.size());
    }
    state.counters["found"] = benchmark::Counter(double(found), benchmark::Counter::kAvgIterations);
}
BENCHMARK(StatusUpdate)->Arg(200000)->Arg(2000000)->Unit(benchmark::kMicrosecond);

void RecordsUnderMouse(benchmark::State& state)
{
    Campaign& campaign = Built<Campaign>(int(state.range(0)));
    const SymbolChoice choice = Choice();
    Walk walk;
    size_t found = 0;
    for (auto _ : state) {
        const int32_t column = walk.Next();
        const int32_t row = walk.Next();
        const PointerFacts facts = campaign.Inspector->Inspect(campaign.View, nullptr, choice, column, row);
        found += facts.Records.size();
        benchmark::DoNotOptimize(facts.Records.data());
    }
    state.counters["found"] = benchmark::Counter(double(found), benchmark::Counter::kAvgIterations);
}
BENCHMARK(RecordsUnderMouse)->Arg(200000)->Arg(2000000)->Unit(benchmark::kMicrosecond);

void Floor(benchmark::State& state)
{
    Campaign& campaign = Built<Campaign>(int(state.range(0)));
    Walk walk;
    size_t found = 0;
    for (auto _ : state) {
        const int32_t column = walk.Next();
        const int32_t row = walk.Next();
        float x = 0;
        float z = 0;
        campaign.View.PixelToMap(column, row, x, z);
        const auto hits = campaign.Buckets->Near(x, z, 1000);
        found += hits.size();
        benchmark::DoNotOptimize(hits.data());
    }
    state.counters["found"] = benchmark::Counter(double(found), benchmark::Counter::kAvgIterations);
}
BENCHMARK(Floor)->Arg(200000)->Arg(2000000)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
