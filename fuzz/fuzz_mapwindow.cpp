// The map view and the heights renderer: any terrain header (sample counts, cell sizes) and any
// run of view operations, view windows and resolutions keep every view coordinate within the
// view's limit, and the picture shows, block by block, the sample that GetHeight gives under the
// block's top-left pixel inside the map's pixel rectangle, and the background around it. Route
// networks of any coordinates are drawn over it without harm.
#include "fuzzcommon.h"
#include "mapview/map.h"
#include "mapview/mapwindow.h"

#include <cmath>
#include <cstring>
#include <fuzzer/FuzzedDataProvider.h>

namespace {

float RawFloat(FuzzedDataProvider& in)
{
    const uint32_t bits = in.ConsumeIntegral<uint32_t>();
    float value;
    std::memcpy(&value, &bits, 4);
    return value;
}

// Cell sizes as the terrain reader lets them through: any finite float.
float FiniteFloat(FuzzedDataProvider& in)
{
    const float value = RawFloat(in);
    return std::isfinite(value) ? value : 1.0f;
}

void FillTerrain(FuzzedDataProvider& in, CMap& map)
{
    map.CellSizeX = FiniteFloat(in);
    map.CellSizeZ = FiniteFloat(in);
    map.SectorCountX = in.ConsumeIntegral<uint16_t>();
    map.SectorCountZ = in.ConsumeIntegral<uint16_t>();
    if (in.ConsumeBool()) {
        // A header without samples: any counts, nothing read (as the view sees a map whose
        // terrain did not load).
        map.ColumnCount = in.ConsumeIntegral<int32_t>();
        map.RowCount = in.ConsumeIntegral<int32_t>();
        return;
    }
    map.ColumnCount = in.ConsumeIntegralInRange<int32_t>(0, 40);
    map.RowCount = in.ConsumeIntegralInRange<int32_t>(0, 40);
    map.Heights.resize(size_t(map.ColumnCount) * size_t(map.RowCount));
    for (float& height : map.Heights)
        height = RawFloat(in);
    map.UpdateShades();
    map.TerrainLoaded = true;
}

void FillRoutes(FuzzedDataProvider& in, CMap& map)
{
    for (RouteList* list : {&map.Roads, &map.Rivers, &map.Utilities, &map.Boundary}) {
        const int count = in.ConsumeIntegralInRange(0, 3);
        for (int i = 0; i < count; ++i)
            list->push_back({RawFloat(in), RawFloat(in), RawFloat(in), RawFloat(in)});
    }
}

void CheckLimits(const CMapWindow& view)
{
    for (int32_t value : {view.ViewLeft, view.ViewRight, view.ViewBottom, view.ViewTop})
        FUZZ_CHECK(value >= -CMapWindow::ViewLimit && value <= CMapWindow::ViewLimit);
}

void Operate(FuzzedDataProvider& in, CMapWindow& view)
{
    constexpr int32_t kLimit = CMapWindow::ViewLimit;
    switch (in.ConsumeIntegralInRange(0, 10)) {
    case 0: view.PanUp(); break;
    case 1: view.PanDown(); break;
    case 2: view.PanLeft(); break;
    case 3: view.PanRight(); break;
    case 4: view.ZoomIn(); break;
    case 5: view.ZoomOut(); break;
    case 6: view.ResetView(); break;
    case 7: view.CentreOn(in.ConsumeIntegral<int32_t>(), in.ConsumeIntegral<int32_t>()); break;
    case 8: view.SetSize(in.ConsumeIntegralInRange(-2, 150), in.ConsumeIntegralInRange(-2, 150)); break;
    case 9: view.SetResolution(in.ConsumeIntegralInRange(-1, 12)); break;
    default:
        // Any window within the limit, then a resize to the same size to bring the map's
        // rectangles up to date.
        view.ViewLeft = in.ConsumeIntegralInRange(-kLimit, kLimit);
        view.ViewRight = in.ConsumeIntegralInRange(-kLimit, kLimit);
        view.ViewBottom = in.ConsumeIntegralInRange(-kLimit, kLimit);
        view.ViewTop = in.ConsumeIntegralInRange(-kLimit, kLimit);
        view.SetSize(view.PixelWidth, view.PixelHeight);
        break;
    }
}

// The colour the renderer must give pixel (x, y): the block's sample, or the background.
QRgb Expected(const CMapWindow& view, const CMap& map, int64_t x, int64_t y, QRgb background)
{
    const int64_t step = std::max(view.Resolution, 1);
    const int64_t right = step == 1 ? int64_t(view.MapPixelRight) + 1 : view.MapPixelRight;
    const int64_t bottom = step == 1 ? int64_t(view.MapPixelBottom) + 1 : view.MapPixelBottom;
    if (x < view.MapPixelLeft || x >= right || y < view.MapPixelTop || y >= bottom)
        return background;
    const int64_t bx = view.MapPixelLeft + (x - view.MapPixelLeft) / step * step;
    const int64_t by = view.MapPixelTop + (y - view.MapPixelTop) / step * step;
    const auto ux = static_cast<float>(double(int64_t(view.ViewRight) - view.ViewLeft) / double(view.PixelWidth));
    const auto uz = static_cast<float>(double(int64_t(view.ViewTop) - view.ViewBottom) / double(view.PixelHeight));
    return CMapWindow::HeightColour(map.GetHeight(static_cast<float>(double(view.ViewLeft) + double(bx) * double(ux)),
                                                  static_cast<float>(double(view.ViewTop) - double(by) * double(uz))));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    CMap map;
    FillTerrain(in, map);
    FillRoutes(in, map);

    CMapWindow view(&map);
    view.SetSize(in.ConsumeIntegralInRange(-2, 150), in.ConsumeIntegralInRange(-2, 150));
    view.ResetView();
    view.SetResolution(in.ConsumeIntegralInRange(1, 10));
    CheckLimits(view);
    const int operations = in.ConsumeIntegralInRange(0, 12);
    for (int i = 0; i < operations; ++i) {
        Operate(in, view);
        CheckLimits(view);
    }

    const QRgb background = qRgb(1, 2, 3); // no shade of the heights picture
    QImage picture;
    view.SetRouteLayers(false, false, false, false);
    view.Render(picture, QColor(background));
    // A picture without pixels in one direction has none at all.
    if (view.PixelWidth <= 0 || view.PixelHeight <= 0) {
        FUZZ_CHECK(picture.isNull());
        return 0;
    }
    FUZZ_CHECK(picture.width() == view.PixelWidth && picture.height() == view.PixelHeight);
    const bool flat = view.ViewRight == view.ViewLeft || view.ViewTop == view.ViewBottom;
    for (int y = 0; y < picture.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb expected = flat ? background : Expected(view, map, x, y, background);
            FUZZ_CHECK((line[x] & 0xFFFFFFu) == (expected & 0xFFFFFFu));
        }
    }

    view.SetRouteLayers(true, true, true, true);
    view.Render(picture, QColor(background));
    return 0;
}
