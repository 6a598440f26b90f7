// The two drawing layers of the map: the heights picture of a large terrain at resolutions 1 and
// 4, against the floor of filling the same picture pixel by pixel, and the overlay refresh with
// many records and the grid.

#include "catalogues/objectslist.h"
#include "catalogues/templatetypes.h"
#include "document/binfile.h"
#include "mapview/map.h"
#include "mapview/mapwindow.h"
#include "mapview/overlay.h"

#include <QImage>
#include <benchmark/benchmark.h>
#include <cmath>

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

void RefreshMap(benchmark::State& state)
{
    static const C3DObjectsList catalogue(QLocale::c());
    static const CPopTemplatesTypesList types;
    CBINFile document(&catalogue, &types);
    CTarnConfig styles;
    document.Symbology = &styles;
    // 10,000 of each kind spread over the whole map, record Z from -131072 to 131072.
    uint32_t seed = 12345;
    const auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return float(seed >> 8) / float(1 << 24);
    };
    std::vector<CKeysitePlacement> keysites;
    std::vector<CAirbasePlacement> airbases;
    std::vector<CSAMPlacement> sams;
    for (int i = 0; i < 10000; ++i) {
        const float kx = next() * 262144.0f;
        keysites.push_back({-1, kx, next() * 262144.0f - 131072.0f});
        const float ax = next() * 262144.0f;
        airbases.push_back({ax, next() * 262144.0f - 131072.0f});
        const float sx = next() * 262144.0f;
        sams.push_back({sx, next() * 262144.0f - 131072.0f});
    }
    document.InsertRows(0, std::move(keysites));
    document.InsertRows(0, std::move(airbases));
    document.InsertRows(0, std::move(sams));
    CMapWindow window(&LargeTerrain());
    window.SetSize(kWidth, kHeight);
    window.ResetView();
    window.SetResolution(4);
    QImage terrain;
    window.Render(terrain, QColor(240, 240, 240));
    int32_t l, b, r, t, pl, pt, pr, pb;
    window.GetMapRect(l, b, r, t);
    window.GetMapPixelRect(pl, pt, pr, pb);
    for (auto _ : state) {
        QImage composite = terrain.copy();
        document.SetMapTransform(l, b, r, t, pl, pt, pr, pb, 32, 32, 4096);
        DrawKeysites(document, composite);
        DrawAirbases(document, composite);
        DrawSAMs(document, composite);
        DrawGrid(document, composite);
        benchmark::DoNotOptimize(composite.constBits());
    }
}
BENCHMARK(RefreshMap)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
