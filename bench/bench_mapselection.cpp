// The map with a selection, on a Map BIN file of 200,000 records over the demonstration map with
// every symbol shown (the map area alone, offscreen).
//   RepaintFloor:     the map's repaint with nothing selected: the least work any change of the
//                     selection needs, since the symbols have to be drawn again anyway.
//   SelectAll:        all 60,000 keysites selected at once, and the repaint that marks them.
//   DragFrame:        one mouse move of a drag with 10,000 selected records: the move preview and
//                     the repaint that shows them there.
//   build/bench/bench_mapselection --benchmark_repetitions=7 --benchmark_report_aggregates_only=true
#include "bigcampaign.h"
#include "maparea/mapareafixture.h"
#include "maptools/mapgeometry.h"
#include "widgetbenchmain.h"

#include <QMouseEvent>
#include <chrono>
#include <memory>
#include <numeric>

namespace {

// The map area of the tests, on the big campaign instead of the demonstration's.
struct MapBench : CMapAreaFixture {
    QTemporaryDir Dir;

    MapBench()
    {
        if (!Start(QSize(1000, 560)))
            qFatal("the map area does not start");
        bench::FillCatalogue(Catalogue);
        const QString campaign = Dir.filePath(QStringLiteral("big.bin"));
        bench::WriteBigCampaign(campaign, Catalogue, 200000);
        if (!Session->LoadMapBin(campaign) || !Area->OpenMapFolder(MapFolder(kDemoFirstMap)))
            qFatal("the campaign or the map does not load");
        MapAreaState state = Area->State();
        state.Keysites = state.Airbases = state.Sams = true;
        Area->SetState(state);
        Settle();
    }
    // The map's own repaint, which it leaves for the event loop's next turn, done now.
    static void Settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall); }
    void Mouse(QEvent::Type type, QPoint at, Qt::MouseButtons buttons)
    {
        QMouseEvent event(type, QPointF(at), QPointF(Image->mapToGlobal(at)),
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons, Qt::NoModifier);
        QCoreApplication::sendEvent(Image, &event);
    }
};

std::unique_ptr<MapBench> g_bench;

MapBench& TheBench()
{
    if (!g_bench)
        g_bench = std::make_unique<MapBench>();
    return *g_bench;
}

using Clock = std::chrono::steady_clock;

void BM_RepaintFloor(benchmark::State& state)
{
    MapBench& b = TheBench();
    b.Session->SelectPlacements({});
    b.Settle();
    for (auto _ : state) {
        b.Area->SymbologyChanged();
        b.Settle();
    }
}

void BM_SelectAll(benchmark::State& state)
{
    MapBench& b = TheBench();
    CCampaignSession::Placements all;
    all[KeysiteKind].resize(size_t(b.Session->Records().KeysiteCount()));
    std::iota(all[KeysiteKind].begin(), all[KeysiteKind].end(), 0);
    for (auto _ : state) {
        const auto start = Clock::now();
        b.Session->SelectPlacements(all);
        b.Settle();
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        b.Session->SelectPlacements({});
        b.Settle();
    }
    state.counters["selected"] = double(all[KeysiteKind].size());
}

void BM_DragFrame(benchmark::State& state)
{
    MapBench& b = TheBench();
    const CBINFile& records = b.Session->Records();
    CCampaignSession::Placements selected;
    for (int i = 0; i < 10000; ++i)
        selected[KeysiteKind].push_back(i);
    b.Session->SelectPlacements(selected);
    b.Settle();
    // A press on a selected keysite's symbol that keeps the selection as it is.
    const CViewport view = b.Area->View()->Viewport();
    QPoint from;
    for (int i = 0; i < 10000; ++i) {
        int32_t x = 0;
        int32_t y = 0;
        view.MapToPixel(records.Keysites()[size_t(i)].X, records.Keysites()[size_t(i)].Z, x, y);
        const std::optional<RecordHit> hit = SymbolAt(records, view, {true, true, true}, 6, x, y);
        if (hit && hit->Kind == KeysiteKind && hit->Index < 10000 && x > 100 && y > 100 && x < 800 && y < 400) {
            from = QPoint(x, y);
            break;
        }
    }
    b.Mouse(QEvent::MouseButtonPress, from, Qt::LeftButton);
    if (b.Session->SelectedRecords(RecordList::Keysites).size() != 10000)
        state.SkipWithError("the press did not keep the selection");
    int step = 0;
    for (auto _ : state) {
        ++step;
        b.Mouse(QEvent::MouseMove, from + QPoint(20 + step % 40, 10 + step % 25), Qt::LeftButton);
        b.Settle();
    }
    // Escape would cancel too; releasing where it began moves nothing.
    b.Mouse(QEvent::MouseMove, from, Qt::LeftButton);
    b.Mouse(QEvent::MouseButtonRelease, from, Qt::NoButton);
    b.Settle();
    state.counters["selected"] = 10000;
}

} // namespace

BENCHMARK(BM_RepaintFloor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SelectAll)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DragFrame)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    return bench::RunWidgetBenchmarks(argc, argv, [] { g_bench.reset(); });
}
