// The record index (document/recordindex.h) on the 200,000- and 2,000,000-record files:
//   UnderMouse:     the records within a symbol's reach of the mouse (1,000 world units, about six
//                   pixels of the whole demonstration map in the editor), nearest first, at a
//                   walk of positions over the map; floor: UnderMouseFloor, the same question in a
//                   plain grid of buckets built once for the bench (no edits followed).
//   EditInMiddle:   one SAM site inserted in the middle of its list and removed again, the index
//                   following both announcements; compare with Rebuild, the index built afresh
//                   after a reset and asked once.
//   build/bench/bench_recordindex --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
#include "bigcampaign.h"
#include "document/recordindex.h"
#include "plainbuckets.h"

#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cmath>
#include <map>
#include <memory>

namespace {

constexpr double kReach = 1000;
constexpr double kMapSide = 131072;

struct Campaign {
    C3DObjectsList Catalogue{QLocale::c()};
    CPopTemplatesTypesList Types;
    CBINFile Document{&Catalogue, &Types};
    std::unique_ptr<CRecordIndex> Index;

    explicit Campaign(int records)
    {
        bench::FillCatalogue(Catalogue);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("big.bin"));
        if (!bench::WriteBigCampaign(file, Catalogue, records) || !Document.Load(file))
            qFatal("cannot make the campaign");
        Index = std::make_unique<CRecordIndex>(Document);
        QObject::connect(&Document, &CBINFile::RowsInserted,
                         [this](ListAddress l, int a, int b) { Index->RowsInserted(l, a, b); });
        QObject::connect(&Document, &CBINFile::RowsRemoved,
                         [this](ListAddress l, int a, int b) { Index->RowsRemoved(l, a, b); });
        Index->Near(0, 0, 0); // built before any clock runs
    }
};

// The mouse's walk: positions spread over the map, the same in every benchmark.
struct Walk {
    uint32_t Seed = 99;
    std::pair<double, double> Next()
    {
        Seed = Seed * 1664525u + 1013904223u;
        const double x = double(Seed >> 8) / double(1 << 24) * kMapSide;
        Seed = Seed * 1664525u + 1013904223u;
        return {x, double(Seed >> 8) / double(1 << 24) * kMapSide};
    }
};

void UnderMouse(benchmark::State& state)
{
    Campaign& campaign = Built<Campaign>(int(state.range(0)));
    Walk walk;
    size_t found = 0;
    for (auto _ : state) {
        const auto [x, z] = walk.Next();
        const auto hits = campaign.Index->Near(x, z, kReach);
        found += hits.size();
        benchmark::DoNotOptimize(hits.data());
    }
    state.counters["found"] = benchmark::Counter(double(found), benchmark::Counter::kAvgIterations);
}
BENCHMARK(UnderMouse)->Arg(200000)->Arg(2000000)->Unit(benchmark::kMicrosecond);

void UnderMouseFloor(benchmark::State& state)
{
    Campaign& campaign = Built<Campaign>(int(state.range(0)));
    const bench::CPlainBuckets buckets(campaign.Document);
    Walk walk;
    size_t found = 0;
    for (auto _ : state) {
        const auto [x, z] = walk.Next();
        const auto hits = buckets.Near(x, z, kReach);
        found += hits.size();
        benchmark::DoNotOptimize(hits.data());
    }
    state.counters["found"] = benchmark::Counter(double(found), benchmark::Counter::kAvgIterations);
}
BENCHMARK(UnderMouseFloor)->Arg(200000)->Arg(2000000)->Unit(benchmark::kMicrosecond);

void EditInMiddle(benchmark::State& state)
{
    Campaign& campaign = Built<Campaign>(int(state.range(0)));
    CBINFile& document = campaign.Document;
    const int middle = document.SamCount() / 2;
    for (auto _ : state) {
        document.InsertRows(middle, std::vector{CSAMPlacement{5000.0f, 7000.0f}});
        document.RemoveRows<CSAMPlacement>(middle, 1);
    }
    benchmark::DoNotOptimize(campaign.Index->Near(5000, 7000, 1).size());
}
BENCHMARK(EditInMiddle)->Arg(200000)->Arg(2000000)->Unit(benchmark::kMicrosecond);

void Rebuild(benchmark::State& state)
{
    Campaign& campaign = Built<Campaign>(int(state.range(0)));
    for (auto _ : state) {
        campaign.Index->Reset();
        benchmark::DoNotOptimize(campaign.Index->Near(5000, 7000, 1).size());
    }
}
BENCHMARK(Rebuild)->Arg(200000)->Arg(2000000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
