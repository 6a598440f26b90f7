// The two drawing layers of the map: the heights picture of a large terrain at resolutions 1 and
// 4, against the floor of filling the same picture pixel by pixel, the overlay refresh with many
// records and the grid, and one navigation step (wheel notch or drag move) before the terrain is
// rendered again.

#include "catalogues/objectslist.h"
#include "catalogues/templatetypes.h"
#include "document/binfile.h"
#include "mapview/map.h"
#include "mapview/maplayers.h"
#include "mapview/mapwindow.h"
#include "mapview/overlay.h"

#include <QImage>
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstring>

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

const CMap& LargeTerrain()
{
    static const CMap map = [] {
        CMap m;
        m.ColumnCount = 4096;
        m.RowCount = 4096;
        m.CellSizeX = 64.0f;
        m.CellSizeZ = 64.0f;
        m.SectorCountX = 64;
        m.SectorCountZ = 64;
        m.Heights.resize(size_t(4096) * 4096);
        for (int r = 0; r < 4096; ++r)
            for (int c = 0; c < 4096; ++c)
                m.Heights[size_t(r) * 4096 + c] = float(1200.0 * std::sin(c * 0.01) * std::cos(r * 0.013) + 300.0);
        m.UpdateShades();
        m.TerrainLoaded = true;
        return m;
    }();
    return map;
}

void Floor(benchmark::State& state)
{
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        for (int y = 0; y < kHeight; ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < kWidth; ++x)
                line[x] = qRgb(100, 100, 100);
        }
        benchmark::DoNotOptimize(image.constBits());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(Floor)->Unit(benchmark::kMillisecond);

// The same fill through the image's per-pixel call, for comparison.
void FloorSetPixel(benchmark::State& state)
{
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                image.setPixel(x, y, qRgb(100, 100, 100));
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(FloorSetPixel)->Unit(benchmark::kMillisecond);

void RedrawTerrain(benchmark::State& state)
{
    CMapWindow window(&LargeTerrain());
    window.SetSize(kWidth, kHeight);
    window.ResetView();
    window.SetResolution(static_cast<int32_t>(state.range(0)));
    window.SetRouteLayers(false, false, false, false);
    QImage image;
    for (auto _ : state) {
        window.Render(image, QColor(240, 240, 240));
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(RedrawTerrain)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond);

// A campaign with `count` of each kind spread over the whole map, record Z from -131072 to 131072,
// and a canvas on the large terrain at `resolution` with every overlay layer shown.
struct Scene {
    C3DObjectsList Catalogue{QLocale::c()};
    CPopTemplatesTypesList Types;
    CBINFile Document{&Catalogue, &Types};
    CTarnConfig Styles;
    CMapLayers Canvas;

    Scene(int count, int resolution)
    {
        uint32_t seed = 12345;
        const auto next = [&seed] {
            seed = seed * 1664525u + 1013904223u;
            return float(seed >> 8) / float(1 << 24);
        };
        std::vector<CKeysitePlacement> keysites;
        std::vector<CAirbasePlacement> airbases;
        std::vector<CSAMPlacement> sams;
        for (int i = 0; i < count; ++i) {
            const float kx = next() * 262144.0f;
            keysites.push_back({-1, kx, next() * 262144.0f - 131072.0f});
            const float ax = next() * 262144.0f;
            airbases.push_back({ax, next() * 262144.0f - 131072.0f});
            const float sx = next() * 262144.0f;
            sams.push_back({sx, next() * 262144.0f - 131072.0f});
        }
        Document.InsertRows(0, std::move(keysites));
        Document.InsertRows(0, std::move(airbases));
        Document.InsertRows(0, std::move(sams));
        Canvas.SetDocument(&Document);
        Canvas.SetSymbology(&Styles);
        MapLayerOptions options;
        options.Keysites = options.Airbases = options.Sams = options.Grid = true;
        Canvas.SetOptions(options);
        Canvas.UseMap(std::make_unique<CMap>(LargeTerrain()), QSize(kWidth, kHeight), resolution);
    }
};

// The overlay over an unchanged terrain picture: the composite, the symbols and the grid.
void RefreshMap(benchmark::State& state)
{
    Scene scene(int(state.range(0)), 4);
    for (auto _ : state) {
        scene.Canvas.RefreshMap();
        benchmark::DoNotOptimize(scene.Canvas.Composite().constBits());
    }
}
BENCHMARK(RefreshMap)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// The parts of the refresh on their own: 0 the composite copy, 1 the grid, 2 to 4 one kind of symbols.
void RefreshPart(benchmark::State& state)
{
    Scene scene(int(state.range(0)), 4);
    scene.Canvas.RefreshMap();
    const CViewport view = scene.Canvas.Viewport();
    QImage image = scene.Canvas.Composite().copy();
    const int part = int(state.range(1));
    for (auto _ : state) {
        switch (part) {
        case 0: std::memcpy(image.bits(), scene.Canvas.Terrain().constBits(), size_t(image.sizeInBytes())); break;
        case 1: DrawGrid(view, image); break;
        case 2: DrawKeysites(scene.Document, scene.Styles, view, image); break;
        case 3: DrawAirbases(scene.Document, scene.Styles, view, image); break;
        case 4: DrawSAMs(scene.Document, scene.Styles, view, image); break;
        }
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(RefreshPart)->ArgsProduct({{10000, 100000}, {0, 1, 2, 3, 4}})->Unit(benchmark::kMillisecond);

// One wheel notch or one drag move at resolution 1 as the map area answers it before the
// terrain is rendered again: the view moves, the last terrain picture is placed for it and the
// overlay is drawn over it.
void NavigationStep(benchmark::State& state)
{
    Scene scene(10000, 1);
    CMapWindow* view = scene.Canvas.View();
    const CMapWindow start = *view;
    const bool wheel = state.range(0) == 0;
    int step = 0;
    for (auto _ : state) {
        *view = start;
        if (wheel)
            view->ZoomAround(700, 400, true);
        else
            view->PanByPixels(7 + step % 50, -3);
        scene.Canvas.PreviewTerrain();
        scene.Canvas.RefreshMap();
        benchmark::DoNotOptimize(scene.Canvas.Composite().constBits());
        ++step;
    }
    state.SetLabel(wheel ? "wheel notch" : "drag move");
}
BENCHMARK(NavigationStep)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
