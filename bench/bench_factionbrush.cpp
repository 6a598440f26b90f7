// A brush stroke across the largest demonstration map with its faction file, in Factions mode (the
// map area alone, offscreen), a 3 x 3 brush, every mouse move entering the next sector of a row.
//   PaintFloor:  the same squares set straight into the faction layer and the map's plain repaint
//                (the symbols over the terrain picture, shown): the least any move that changes
//                sectors needs, since the picture has to be shown again anyway.
//   BrushMove:   one mouse move of a stroke: the squares painted as part of the stroke, the
//                outline moved, the changed sectors drawn and the picture shown.
//   HoverMove:   one mouse move without a button: the outline alone follows.
//   build/bench/bench_factionbrush --benchmark_repetitions=7 --benchmark_report_aggregates_only=true
#include "factions/factionsinfo.h"
#include "factions/sectorsize.h"
#include "maparea/mapareafixture.h"
#include "widgetbenchmain.h"

#include <QMouseEvent>
#include <QSpinBox>
#include <chrono>
#include <memory>

namespace {

struct BrushBench : CMapAreaFixture {
    BrushBench()
    {
        if (!Start(QSize(1000, 700)) || !OpenDemo() || !LoadFactions())
            qFatal("the demonstration does not open");
        Control<QSpinBox>("seSectors")->setValue(1);
        Area->SetToolMode(MapToolMode::Brush);
        Settle();
        QObject::connect(Area.get(), &CMapArea::Repainted, [this] { ++Repaints; });
        QObject::connect(Area.get(), &CMapArea::TerrainRedrawn, [this] { ++TerrainRenders; });
        const CFactionsInfo& layer = *Session->Factions();
        Columns = layer.Columns;
        Rows = layer.Rows;
    }
    static void Settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall); }
    void Mouse(QEvent::Type type, QPoint at, Qt::MouseButtons buttons)
    {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, QPointF(at), QPointF(Image->mapToGlobal(at)), button, buttons, Qt::NoModifier);
        QCoreApplication::sendEvent(Image, &event);
    }
    QPoint SectorPixel(int column, int row) const
    {
        return PixelOf((float(column) + 0.5f) * SectorSize, (float(row) + 0.5f) * SectorSize);
    }
    // Per iteration, as counters: every timed move has to show the picture again.
    void Count(benchmark::State& state) const
    {
        state.counters["repaints"] = benchmark::Counter(double(Repaints), benchmark::Counter::kAvgIterations);
        state.counters["terrain"] = benchmark::Counter(double(TerrainRenders), benchmark::Counter::kAvgIterations);
        state.counters["pixels"] = double(Image->pixmap().width()) * Image->pixmap().height();
    }
    int32_t Columns = 0;
    int32_t Rows = 0;
    int64_t Repaints = 0;
    int64_t TerrainRenders = 0;
};

std::unique_ptr<BrushBench> g_bench;

BrushBench& TheBench()
{
    if (!g_bench)
        g_bench = std::make_unique<BrushBench>();
    return *g_bench;
}

using Clock = std::chrono::steady_clock;

// Row by row, each pass with the other faction, so that every move changes sectors.
struct Walk {
    int Column = 0;
    int Row = 1;
    int Pass = 0;
    // The next sector; true when a new row (a new stroke) begins.
    bool Next(const BrushBench& b)
    {
        if (++Column < b.Columns - 1)
            return false;
        Column = 1;
        Row += 3;
        if (Row >= b.Rows - 1) {
            Row = 1;
            ++Pass;
        }
        return true;
    }
};

void BM_PaintFloor(benchmark::State& state)
{
    BrushBench& b = TheBench();
    CFactionsInfo& layer = *b.Session->MutableFactions();
    Walk walk;
    b.Repaints = b.TerrainRenders = 0;
    for (auto _ : state) {
        walk.Next(b);
        const auto start = Clock::now();
        for (int i = walk.Column - 1; i <= walk.Column + 1; ++i)
            for (int j = walk.Row - 1; j <= walk.Row + 1; ++j)
                layer.SetFaction(walk.Pass % 2, i, j);
        b.Area->SymbologyChanged();
        b.Settle();
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
    }
    b.Count(state);
}

void BM_BrushMove(benchmark::State& state)
{
    BrushBench& b = TheBench();
    Walk walk;
    b.Area->SetBrushFaction(FactionBrush::Red);
    b.Mouse(QEvent::MouseButtonPress, b.SectorPixel(walk.Column, walk.Row), Qt::LeftButton);
    b.Settle();
    b.Repaints = b.TerrainRenders = 0;
    int64_t untimed = 0;
    for (auto _ : state) {
        if (walk.Next(b)) {
            // A new stroke, untimed: the release makes the last one a step of the history.
            b.Mouse(QEvent::MouseButtonRelease, b.SectorPixel(b.Columns - 1, walk.Row), Qt::NoButton);
            b.Area->SetBrushFaction(walk.Pass % 2 ? FactionBrush::Red : FactionBrush::Blue);
            b.Mouse(QEvent::MouseButtonPress, b.SectorPixel(0, walk.Row), Qt::LeftButton);
            const int64_t before = b.Repaints;
            b.Settle();
            untimed += b.Repaints - before;
        }
        const auto start = Clock::now();
        b.Mouse(QEvent::MouseMove, b.SectorPixel(walk.Column, walk.Row), Qt::LeftButton);
        b.Settle();
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
    }
    b.Repaints -= untimed;
    b.Count(state);
    b.Mouse(QEvent::MouseButtonRelease, b.SectorPixel(walk.Column, walk.Row), Qt::NoButton);
    b.Settle();
    state.counters["steps"] = double(b.Session->History().Stack(CEditHistory::Factions).count());
}

void BM_HoverMove(benchmark::State& state)
{
    BrushBench& b = TheBench();
    Walk walk;
    b.Repaints = b.TerrainRenders = 0;
    for (auto _ : state) {
        walk.Next(b);
        const auto start = Clock::now();
        b.Mouse(QEvent::MouseMove, b.SectorPixel(walk.Column, walk.Row), Qt::NoButton);
        b.Settle();
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
    }
    b.Count(state);
}

} // namespace

BENCHMARK(BM_PaintFloor)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BrushMove)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HoverMove)->UseManualTime()->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    return bench::RunWidgetBenchmarks(argc, argv, [] { g_bench.reset(); });
}
