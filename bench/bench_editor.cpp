// The editor window, offscreen, on a Map BIN file of 200,000 records.
//   Load:         CBINFile::Load alone (DocumentLoad) beside the window's Load with every grid
//                 filled and the first screen of each grid painted at the size it is shown at
//                 (EditorLoad; PaintGrids is its painting alone); compare medians.
//   Single edits: deleting a keysite, editing an airbase, adding a SAM site through the page's
//                 button, the grid updated and its visible rows painted, the map repainted. Argument 0: no map is
//                 shown, so the map refresh is not included; 1: the demonstration map is shown
//                 with every symbol ticked, so each edit includes its map refresh.
//   RefreshMap:   the map refresh alone, with the 200,000 records' symbols.
//   RefreshMapWithRings: the same with range rings at two radii around the 15,000 SAM sites
//                 (argument: the radii in world units, 5,000 and 10,000, or 20,000 and 40,000);
//                 its floor is RefreshMap.
//   Filter:       a two-term filter typed on the keysites page (60,000 keysites): the filter read,
//                 every keysite tested, the grid's rows and selection rebuilt and its visible rows
//                 painted (FilterKeysites; argument 0: without the painting), beside one plain pass over the keysites
//                 comparing the same two fields into a list of rows (FilterFloor); compare medians.
//   Edit many:    one field (X) of 10,000 scattered keysites (every sixth) edited at once through the
//                 page's Edit (EditManyKeysites) and that step undone (UndoEditManyKeysites), the grid
//                 painted and, with argument 1, the map refreshed; the "steps" counter is the history's
//                 growth per edit (1). The floor, EditManyFloor, assigns X in the same 10,000
//                 records of a copy of the list in a plain loop.
//   build/bench/bench_editor --benchmark_repetitions=7 --benchmark_report_aggregates_only=true
#include "app/appfixture.h"
#include "app/scriptedrecorddialogs.h"
#include "bigcampaign.h"
#include "demo/demoinstall.h"
#include "dialogs/scriptedprompts.h"
#include "maparea/maparea.h"
#include "mapview/rangerings.h"
#include "session/recordfilters.h"
#include "widgetbenchmain.h"

#include <QApplication>
#include <QImage>
#include <QTabWidget>
#include <benchmark/benchmark.h>
#include <chrono>
#include <map>
#include <memory>

namespace {

struct Editor {
    CTestInstallation Installation;
    CScriptedPrompts Prompts;
    CScriptedRecordDialogs RecordDialogs;
    std::unique_ptr<TfrmMain> Window;
    QString Campaign;

    Editor()
    {
        QString error;
        WriteDemoInstallation(Installation.Root(), nullptr, &error);
        Installation.WriteCatalogueFile(CTestInstallation::CatalogueBytes([] {
            QList<QByteArray> names;
            for (const std::string& name : bench::CatalogueNames())
                names << QByteArray::fromStdString(name);
            return names;
        }()));
        Installation.RegisterRoot();
        Window = std::make_unique<TfrmMain>(Prompts, Installation.Environment(), &RecordDialogs);
        Window->InitializeMainWindow();
        Window->resize(1000, 760);
        if (!QTest::qWaitForWindowExposed(Window.get()))
            qFatal("the window is not shown");
        // Every page once on screen, so that each grid has the size it is shown at.
        QTabWidget* pages = Pages(*Window);
        for (int page = pages->count() - 1; page >= 0; --page) {
            pages->setCurrentIndex(page);
            QApplication::processEvents();
        }
        Campaign = Installation.Dir.filePath(QStringLiteral("big.bin"));
        bench::WriteBigCampaign(Campaign, *Records(*Window).Catalogue(), 200000);
        Window->Files()->LoadBinFile(Campaign);
    }

    // Shows or hides the demonstration map with every symbol ticked.
    void ShowMap(bool shown)
    {
        CMapArea* map = Window->MapArea();
        if (shown && !map->HasMap())
            map->OpenMapFolder(Installation.Root() + QStringLiteral("/common/maps/") + QLatin1String(kDemoFirstMap));
        MapAreaState state = map->State();
        state.Keysites = state.Airbases = state.Sams = shown;
        map->SetState(state);
        QApplication::processEvents();
    }
};

// Made at the first benchmark, released before the application.
std::unique_ptr<Editor> g_editor;

Editor& TheEditor()
{
    if (!g_editor)
        g_editor = std::make_unique<Editor>();
    return *g_editor;
}

// Paints what the grid shows on screen now, as the next frame would.
void Paint(CRecordGrid* grid)
{
    static std::map<CRecordGrid*, QImage> images;
    QImage& image = images[grid];
    if (image.size() != grid->size())
        image = QImage(grid->size(), QImage::Format_RGB32);
    grid->render(&image);
}

// The map's own repaint, which it leaves for the event loop's next turn, done now.
void SettleMap() { QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall); }

using Clock = std::chrono::steady_clock;

// Times `edit`, the map's repaint and the repaint of the page's grid alone; `restore` puts the
// document back.
template <typename Edit, typename Restore>
void TimeEdits(benchmark::State& state, const char* pageName, const char* gridName, Edit edit, Restore restore)
{
    Editor& editor = TheEditor();
    const bool mapShown = state.range(0) != 0;
    editor.ShowMap(mapShown);
    CRecordGrid* grid = Grid(*editor.Window, gridName);
    Pages(*editor.Window)->setCurrentWidget(Find<QWidget>(*editor.Window, pageName));
    QApplication::processEvents();
    for (auto _ : state) {
        const auto start = Clock::now();
        edit();
        if (mapShown)
            SettleMap();
        grid->viewport()->repaint();
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        restore();
        SettleMap();
    }
    editor.ShowMap(false);
}

void BM_DocumentLoad(benchmark::State& state)
{
    const CBINFile& records = Records(*TheEditor().Window);
    for (auto _ : state) {
        CBINFile document(records.Catalogue(), records.Types());
        benchmark::DoNotOptimize(document.Load(TheEditor().Campaign));
    }
}

void PaintAllGrids(TfrmMain& window)
{
    for (const char* grid : {"grPopTemplates", "grTemplateObjects", "grKeysites", "grAirbases", "grSAMs"})
        Paint(Grid(window, grid));
}

void BM_EditorLoad(benchmark::State& state)
{
    TfrmMain& window = *TheEditor().Window;
    for (auto _ : state) {
        window.Files()->LoadBinFile(TheEditor().Campaign);
        PaintAllGrids(window);
    }
}

// The painting part of EditorLoad alone.
void BM_PaintGrids(benchmark::State& state)
{
    TfrmMain& window = *TheEditor().Window;
    for (auto _ : state)
        PaintAllGrids(window);
}

void BM_DeleteKeysite(benchmark::State& state)
{
    TfrmMain& window = *TheEditor().Window;
    CBINFile& document = window.Session()->MutableRecords();
    // Found before the clock runs: the search is the benchmark's, not the editor's.
    CRecordGrid* grid = Grid(window, "grKeysites");
    QPushButton* button = Button(window, "btnKeysiteDel");
    TimeEdits(
        state, "tsKeysites", "grKeysites",
        [&] {
            grid->SetRow(30001);
            button->click(); // the scripted prompts answer Yes
        },
        [&] {
            document.InsertRows(30000, std::vector{CKeysitePlacement{7, 1.0f, 2.0f}});
            // The selection follows its record down a row; the next delete starts where this one did.
            grid->SetRow(30001);
            TheEditor().Prompts.Shown.clear();
        });
}

void BM_EditAirbase(benchmark::State& state)
{
    TfrmMain& window = *TheEditor().Window;
    CScriptedRecordDialogs& dialogs = TheEditor().RecordDialogs;
    Grid(window, "grAirbases")->SetRow(7501);
    QPushButton* button = Button(window, "btnAirbaseEd");
    TimeEdits(
        state, "tsAirbases", "grAirbases",
        [&] {
            dialogs.X += 1.0f;
            button->click();
        },
        [] {});
}

void BM_AddSam(benchmark::State& state)
{
    TfrmMain& window = *TheEditor().Window;
    CBINFile& document = window.Session()->MutableRecords();
    QPushButton* button = Button(window, "btnSAMAdd");
    TimeEdits(
        state, "tsSAMs", "grSAMs", [&] { button->click(); },
        [&] { document.RemoveRows<CSAMPlacement>(document.SamCount() - 1, 1); });
}

// Every sixth keysite of the 60,000: 10,000 rows, none next to another.
std::vector<int> EverySixthKeysite()
{
    std::vector<int> rows;
    for (int row = 0; row < 60000; row += 6)
        rows.push_back(row);
    return rows;
}

// Times the edit of X over 10,000 selected keysites (`timeEdit`) or its undo (`!timeEdit`).
void TimeEditMany(benchmark::State& state, bool timeEdit)
{
    Editor& editor = TheEditor();
    TfrmMain& window = *editor.Window;
    CCampaignSession& session = *window.Session();
    CScriptedRecordDialogs& dialogs = editor.RecordDialogs;
    const bool mapShown = state.range(0) != 0;
    editor.ShowMap(mapShown);
    CRecordGrid* grid = Grid(window, "grKeysites");
    QPushButton* button = Button(window, "btnKeysiteEd");
    QAction* undo = Action(window, "Undo1");
    Pages(window)->setCurrentWidget(Find<QWidget>(window, "tsKeysites"));
    session.SelectRecords(RecordList::Keysites, EverySixthKeysite());
    QApplication::processEvents();
    dialogs.Changes = RecordField::X;
    const QUndoStack& stack = session.History().Stack(CEditHistory::MapBin);
    int steps = 0;
    const auto timed = [&](auto work) {
        const auto start = Clock::now();
        work();
        if (mapShown)
            SettleMap();
        grid->viewport()->repaint();
        return std::chrono::duration<double>(Clock::now() - start).count();
    };
    for (auto _ : state) {
        dialogs.X += 1.0f;
        const int before = stack.index();
        double seconds = 0;
        if (timeEdit)
            seconds = timed([&] { button->click(); });
        else
            button->click();
        steps += stack.index() - before;
        SettleMap();
        if (!timeEdit)
            seconds = timed([&] { undo->trigger(); });
        else
            undo->trigger();
        SettleMap();
        state.SetIterationTime(seconds);
    }
    state.counters["steps"] = benchmark::Counter(double(steps), benchmark::Counter::kAvgIterations);
    dialogs.Changes = {};
    editor.ShowMap(false);
}

void BM_EditManyKeysites(benchmark::State& state) { TimeEditMany(state, true); }
void BM_UndoEditManyKeysites(benchmark::State& state) { TimeEditMany(state, false); }

void BM_EditManyFloor(benchmark::State& state)
{
    const std::span<const CKeysitePlacement> keysites = Records(*TheEditor().Window).Keysites();
    std::vector<CKeysitePlacement> copy(keysites.begin(), keysites.end());
    const std::vector<int> rows = EverySixthKeysite();
    float x = 0;
    for (auto _ : state) {
        x += 1.0f;
        for (const int row : rows)
            copy[size_t(row)].X = x;
        benchmark::ClobberMemory();
    }
}

void BM_RefreshMap(benchmark::State& state)
{
    Editor& editor = TheEditor();
    editor.ShowMap(true);
    CMapArea* map = editor.Window->MapArea();
    // The symbol styles changing is a refresh of the overlay alone.
    for (auto _ : state) {
        map->SymbologyChanged();
        SettleMap();
    }
    editor.ShowMap(false);
}

void BM_RefreshMapWithRings(benchmark::State& state)
{
    Editor& editor = TheEditor();
    editor.ShowMap(true);
    CMapArea* map = editor.Window->MapArea();
    const RangeRings before = map->Rings();
    RangeRings rings;
    rings.Radii[SamKind] = {double(state.range(0)), double(state.range(0)) * 2};
    map->SetRangeRings(rings);
    SettleMap();
    for (auto _ : state) {
        map->SymbologyChanged();
        SettleMap();
    }
    map->SetRangeRings(before);
    editor.ShowMap(false);
    state.SetLabel(std::to_string(Records(*editor.Window).SamCount()) + " SAM sites");
}

// The filter of the keysites page; half of them have a template below 5,000, about three in five
// lie east of x = 50,000.
const QString kKeysiteFilter = QStringLiteral("template<5000 x>50000");

void BM_FilterKeysites(benchmark::State& state)
{
    Editor& editor = TheEditor();
    CRecordFilters& filters = editor.Window->Session()->Filters();
    CRecordGrid* grid = Grid(*editor.Window, "grKeysites");
    Pages(*editor.Window)->setCurrentWidget(Find<QWidget>(*editor.Window, "tsKeysites"));
    QApplication::processEvents();
    const bool painted = state.range(0) != 0;
    int shown = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        filters.SetText(RecordList::Keysites, kKeysiteFilter);
        if (painted)
            grid->viewport()->repaint();
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        shown = filters.AcceptedCount(RecordList::Keysites);
        filters.SetText(RecordList::Keysites, QString());
    }
    state.counters["shown"] = shown;
}

// The least a filter needs: each keysite's two fields compared once, the rows that pass kept.
void BM_FilterFloor(benchmark::State& state)
{
    const CBINFile& records = Records(*TheEditor().Window);
    std::vector<int> rows;
    for (auto _ : state) {
        rows.clear();
        const auto keysites = records.Keysites();
        for (size_t k = 0; k < keysites.size(); ++k)
            if (keysites[k].TemplateNumber >= 0 && keysites[k].TemplateNumber < 5000 && keysites[k].X > 50000.0f)
                rows.push_back(int(k));
        benchmark::DoNotOptimize(rows.data());
    }
    state.counters["shown"] = double(rows.size());
}

} // namespace

BENCHMARK(BM_DocumentLoad)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EditorLoad)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintGrids)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DeleteKeysite)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EditAirbase)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AddSam)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RefreshMap)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RefreshMapWithRings)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FilterKeysites)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FilterFloor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EditManyKeysites)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UndoEditManyKeysites)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EditManyFloor)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv)
{
    return bench::RunWidgetBenchmarks(argc, argv, [] { g_editor.reset(); });
}
