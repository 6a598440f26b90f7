#include "mapview/mapwindow.h"

#include "mapview/map.h"
#include "mapview/raster.h"
#include "mapview/truncation.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

constexpr float kStep = 0.1f; // pan and zoom step, a tenth of the view window

int32_t ClampToView(double value)
{
    return std::clamp(TruncToInt32(value), -CMapWindow::ViewLimit, CMapWindow::ViewLimit);
}

// A tenth of an extent, as the pans and zooms take it: the single-precision factor widened.
int64_t Tenth(int32_t low, int32_t high) { return TruncToInt32(double(int64_t(high) - int64_t(low)) * double(kStep)); }

// The colour of every shade: 0 is the sea's navy, the others grey.
struct ShadeColours {
    QRgb Colours[256];
    ShadeColours()
    {
        Colours[0] = qRgb(0, 0, 128);
        for (int g = 1; g < 256; ++g)
            Colours[g] = qRgb(g, g, g);
    }
};
const ShadeColours kShades;

inline void Prefetch(const void* address)
{
#if defined(__GNUC__) || defined(__clang__)
    __builtin_prefetch(address);
#else
    (void)address;
#endif
}

inline QRgb Colour(float height) { return kShades.Colours[HeightShade(height)]; }

} // namespace

CMapWindow::CMapWindow(const CMap* map) : Map(map)
{
    if (map) {
        WorldWidth = ClampToView(map->GetExtentX());
        WorldDepth = ClampToView(map->GetExtentZ());
    }
}

void CMapWindow::MoveAxis(int32_t& low, int32_t& high, int64_t newLow, int64_t newHigh)
{
    if (newLow < -ViewLimit || newLow > ViewLimit || newHigh < -ViewLimit || newHigh > ViewLimit)
        return;
    low = static_cast<int32_t>(newLow);
    high = static_cast<int32_t>(newHigh);
}

void CMapWindow::UpdateMapRect()
{
    MapLeft = ViewLeft < 0 ? 0 : ViewLeft;
    MapRight = ViewRight > WorldWidth ? WorldWidth : ViewRight;
    MapBottom = ViewBottom < 0 ? 0 : ViewBottom;
    MapTop = ViewTop > WorldDepth ? WorldDepth : ViewTop;
    if (ViewRight == ViewLeft || ViewTop == ViewBottom)
        return;
    const auto sx = static_cast<float>(double(PixelWidth) / double(int64_t(ViewRight) - ViewLeft));
    const auto sz = static_cast<float>(double(PixelHeight) / double(int64_t(ViewTop) - ViewBottom));
    MapPixelLeft = TruncToInt32(double(int64_t(MapLeft) - ViewLeft) * double(sx));
    MapPixelRight = TruncToInt32(double(int64_t(MapRight) - ViewLeft) * double(sx));
    MapPixelTop = TruncToInt32(double(int64_t(ViewTop) - MapTop) * double(sz));
    MapPixelBottom = TruncToInt32(double(int64_t(ViewTop) - MapBottom) * double(sz));
}

void CMapWindow::SetSize(int32_t width, int32_t height)
{
    if (PixelWidth == 0 && PixelHeight == 0) {
        PixelWidth = width;
        PixelHeight = height;
        return;
    }
    // Keep the top-left corner and the scale. A previous size of zero has no scale to keep.
    if (PixelWidth != 0)
        ViewRight = ClampToView(double(width) / double(PixelWidth) * double(int64_t(ViewRight) - ViewLeft) + ViewLeft);
    if (PixelHeight != 0)
        ViewBottom =
            ClampToView(double(ViewTop) - double(height) / double(PixelHeight) * double(int64_t(ViewTop) - ViewBottom));
    PixelWidth = width;
    PixelHeight = height;
    UpdateMapRect();
}

void CMapWindow::ResetView()
{
    const auto a = static_cast<float>(double(PixelWidth) / double(PixelHeight));
    const auto t = static_cast<float>(double(WorldWidth) / double(WorldDepth));
    if (t > a) {
        ViewLeft = 0;
        ViewRight = WorldWidth;
        const int64_t n = ClampToView(double(WorldWidth) / double(a));
        ViewBottom = static_cast<int32_t>((WorldDepth - n) / 2);
        ViewTop = static_cast<int32_t>((n + WorldDepth) / 2);
    } else {
        ViewBottom = 0;
        ViewTop = WorldDepth;
        const int64_t n = ClampToView(double(WorldDepth) * double(a));
        ViewLeft = static_cast<int32_t>((WorldWidth - n) / 2);
        ViewRight = static_cast<int32_t>((n + WorldWidth) / 2);
    }
    UpdateMapRect();
}

// A pan moves the view a tenth of its extent along one axis, towards the higher values for +1.
void CMapWindow::Pan(int32_t& low, int32_t& high, int direction)
{
    const int64_t d = direction * Tenth(low, high);
    MoveAxis(low, high, low + d, high + d);
    UpdateMapRect();
}

void CMapWindow::PanUp() { Pan(ViewBottom, ViewTop, +1); }
void CMapWindow::PanDown() { Pan(ViewBottom, ViewTop, -1); }
void CMapWindow::PanLeft() { Pan(ViewLeft, ViewRight, -1); }
void CMapWindow::PanRight() { Pan(ViewLeft, ViewRight, +1); }

void CMapWindow::ZoomIn()
{
    const int64_t dx = Tenth(ViewLeft, ViewRight);
    const int64_t dz = Tenth(ViewBottom, ViewTop);
    MoveAxis(ViewLeft, ViewRight, ViewLeft + dx, ViewRight - dx);
    MoveAxis(ViewBottom, ViewTop, ViewBottom + dz, ViewTop - dz);
    UpdateMapRect();
}

void CMapWindow::ZoomOut()
{
    const int64_t dx = Tenth(ViewLeft, ViewRight);
    const int64_t dz = Tenth(ViewBottom, ViewTop);
    MoveAxis(ViewLeft, ViewRight, ViewLeft - dx, ViewRight + dx);
    MoveAxis(ViewBottom, ViewTop, ViewBottom - dz, ViewTop + dz);
    UpdateMapRect();
}

void CMapWindow::CentreOn(int32_t px, int32_t py)
{
    // Integer arithmetic as the view defines it, carried out in 64 bits so that it cannot wrap.
    if (PixelWidth != 0) {
        const int64_t dx = (((2 * int64_t(px) - PixelWidth) * (int64_t(ViewRight) - ViewLeft)) / 2) / PixelWidth;
        MoveAxis(ViewLeft, ViewRight, ViewLeft + dx, ViewRight + dx);
    }
    if (PixelHeight != 0) {
        const int64_t dz =
            (((int64_t(PixelHeight) - 2 * int64_t(py)) * (int64_t(ViewTop) - ViewBottom)) / 2) / PixelHeight;
        MoveAxis(ViewBottom, ViewTop, ViewBottom + dz, ViewTop + dz);
    }
    UpdateMapRect();
}

void CMapWindow::ZoomAround(int32_t px, int32_t py, bool in)
{
    if (PixelWidth <= 0 || PixelHeight <= 0)
        return;
    const int64_t width = int64_t(ViewRight) - ViewLeft;
    const int64_t depth = int64_t(ViewTop) - ViewBottom;
    const int64_t dx = Tenth(ViewLeft, ViewRight);
    const int64_t dz = Tenth(ViewBottom, ViewTop);
    const int64_t newWidth = in ? width - 2 * dx : width + 2 * dx;
    const int64_t newDepth = in ? depth - 2 * dz : depth + 2 * dz;
    // The point at fraction f across the picture stays there: the left edge moves by f times the
    // change of width (likewise the top edge, counted from the top).
    const double fx = (double(px) + 0.5) / double(PixelWidth);
    const double fz = (double(py) + 0.5) / double(PixelHeight);
    const int64_t left = ViewLeft + std::llround(fx * double(width - newWidth));
    const int64_t top = ViewTop - std::llround(fz * double(depth - newDepth));
    MoveAxis(ViewLeft, ViewRight, left, left + newWidth);
    MoveAxis(ViewBottom, ViewTop, top - newDepth, top);
    UpdateMapRect();
}

void CMapWindow::ScaleAround(int32_t px, int32_t py, double factor)
{
    if (PixelWidth <= 0 || PixelHeight <= 0 || !(factor > 0))
        return;
    const int64_t width = int64_t(ViewRight) - ViewLeft;
    const int64_t depth = int64_t(ViewTop) - ViewBottom;
    // Bounded before rounding, so that no factor can overflow; MoveAxis refuses what is too large.
    const auto scaled = [factor](int64_t extent) {
        return std::llround(std::clamp(double(extent) * factor, 1.0, 4.0 * ViewLimit));
    };
    const int64_t newWidth = scaled(width);
    const int64_t newDepth = scaled(depth);
    const double fx = (double(px) + 0.5) / double(PixelWidth);
    const double fz = (double(py) + 0.5) / double(PixelHeight);
    const int64_t left = ViewLeft + std::llround(fx * double(width - newWidth));
    const int64_t top = ViewTop - std::llround(fz * double(depth - newDepth));
    MoveAxis(ViewLeft, ViewRight, left, left + newWidth);
    MoveAxis(ViewBottom, ViewTop, top - newDepth, top);
    UpdateMapRect();
}

void CMapWindow::PanByPixels(int32_t dx, int32_t dy)
{
    if (PixelWidth <= 0 || PixelHeight <= 0)
        return;
    const int64_t ux = std::llround(double(dx) * double(int64_t(ViewRight) - ViewLeft) / double(PixelWidth));
    const int64_t uz = std::llround(double(dy) * double(int64_t(ViewTop) - ViewBottom) / double(PixelHeight));
    MoveAxis(ViewLeft, ViewRight, int64_t(ViewLeft) - ux, int64_t(ViewRight) - ux);
    MoveAxis(ViewBottom, ViewTop, int64_t(ViewBottom) + uz, int64_t(ViewTop) + uz);
    UpdateMapRect();
}

void CMapWindow::CentreOnTerrain(double x, double z)
{
    if (!std::isfinite(x) || !std::isfinite(z) || std::fabs(x) > ViewLimit || std::fabs(z) > ViewLimit)
        return;
    const int64_t dx = std::llround(x - (double(ViewLeft) + double(ViewRight)) / 2.0);
    const int64_t dz = std::llround(z - (double(ViewBottom) + double(ViewTop)) / 2.0);
    MoveAxis(ViewLeft, ViewRight, ViewLeft + dx, ViewRight + dx);
    MoveAxis(ViewBottom, ViewTop, ViewBottom + dz, ViewTop + dz);
    UpdateMapRect();
}

void CMapWindow::SetRouteLayers(bool roads, bool rivers, bool utilities, bool borders)
{
    ShowRoads = roads;
    ShowRivers = rivers;
    ShowUtilities = utilities;
    ShowBorders = borders;
}

void CMapWindow::GetMapRect(int32_t& left, int32_t& bottom, int32_t& right, int32_t& top) const
{
    left = MapLeft;
    bottom = MapBottom;
    right = MapRight;
    top = MapTop;
}

void CMapWindow::GetMapPixelRect(int32_t& left, int32_t& top, int32_t& right, int32_t& bottom) const
{
    left = MapPixelLeft;
    top = MapPixelTop;
    right = MapPixelRight;
    bottom = MapPixelBottom;
}

CViewport CMapWindow::Viewport() const
{
    int32_t halfX = 0;
    int32_t halfZ = 0;
    if (Map)
        Map->GetHalfSectorCounts(halfX, halfZ);
    return CViewport(MapLeft, MapBottom, MapRight, MapTop, MapPixelLeft, MapPixelTop, MapPixelRight, MapPixelBottom,
                     halfX, halfZ, PixelWidth, PixelHeight);
}

QRgb CMapWindow::HeightColour(float height) { return Colour(height); }

void CMapWindow::Render(QImage& bitmap, QColor background) const
{
    const int width = std::max(PixelWidth, 0);
    const int height = std::max(PixelHeight, 0);
    if (bitmap.width() != width || bitmap.height() != height || bitmap.format() != QImage::Format_RGB32)
        bitmap = QImage(width, height, QImage::Format_RGB32);
    if (bitmap.isNull())
        return;
    // A view window without extent has no scale: only the background.
    if (ViewRight == ViewLeft || ViewTop == ViewBottom || !Map) {
        bitmap.fill(background.rgb());
        return;
    }
    const auto ux = static_cast<float>(double(int64_t(ViewRight) - ViewLeft) / double(PixelWidth));
    const auto uz = static_cast<float>(double(int64_t(ViewTop) - ViewBottom) / double(PixelHeight));
    RenderHeights(bitmap, ux, uz, background.rgb());
    RenderRoutes(bitmap, ux, uz);
}

void CMapWindow::RenderHeights(QImage& bitmap, float ux, float uz, QRgb background) const
{
    const int64_t step = std::max(Resolution, 1);
    const int64_t width = bitmap.width();
    const int64_t height = bitmap.height();
    // Blocks start at MapPixelLeft + k * step. At resolution 1 the column MapPixelRight (row
    // MapPixelBottom) is set too; larger blocks stop before it. Blocks wholly outside the image
    // are skipped, which changes no pixel.
    const int64_t right = step == 1 ? int64_t(MapPixelRight) + 1 : MapPixelRight;
    const int64_t bottom = step == 1 ? int64_t(MapPixelBottom) + 1 : MapPixelBottom;
    const auto firstBlock = [step](int64_t start) { return start < 0 ? start + ((-start) / step) * step : start; };
    const int64_t x0 = firstBlock(MapPixelLeft);
    const int64_t y0 = firstBlock(MapPixelTop);
    const int64_t xEnd = std::min(right, width);
    const int64_t yEnd = std::min(bottom, height);
    // The blocks cover [left, xEnd) x [top, yEnd) completely; the background goes around it. A
    // first block that starts before the image and ends where the rectangle ends shows nothing.
    const int64_t left = std::max<int64_t>(x0, 0);
    const int64_t top = std::max<int64_t>(y0, 0);
    if (left >= xEnd || top >= yEnd) {
        bitmap.fill(background);
        return;
    }
    raster::FillRect(bitmap, 0, 0, width, top, background);
    raster::FillRect(bitmap, 0, yEnd, width, height, background);
    raster::FillRect(bitmap, 0, top, left, yEnd, background);
    raster::FillRect(bitmap, xEnd, top, width, yEnd, background);

    // The grid column of every block column: the sample under the block's top-left pixel.
    std::vector<int32_t> columns;
    for (int64_t x = x0; x < xEnd; x += step)
        columns.push_back(Map->ColumnOf(static_cast<float>(double(ViewLeft) + double(x) * double(ux))));

    // The columns on the grid form one run when they grow with x, as they do for any view with
    // extent; then the full-resolution loop needs no test per pixel.
    int64_t firstValid = xEnd;
    int64_t endValid = x0;
    for (size_t i = 0; i < columns.size(); ++i) {
        if (columns[i] >= 0) {
            firstValid = std::min(firstValid, x0 + int64_t(i) * step);
            endValid = x0 + int64_t(i) * step + 1;
        }
    }
    bool validContiguous = true;
    for (int64_t x = firstValid; x < endValid && step == 1; ++x)
        validContiguous = validContiguous && columns[size_t(x - x0)] >= 0;
    if (firstValid >= endValid)
        firstValid = endValid = x0;

    const QRgb outside = Colour(0.0f); // GetHeight's answer off the grid
    uchar* bits = bitmap.bits();
    const int64_t stride = bitmap.bytesPerLine();
    for (int64_t y = y0; y < yEnd; y += step) {
        const int32_t row = Map->RowOf(static_cast<float>(double(ViewTop) - double(y) * double(uz)));
        const uint8_t* shades = row >= 0 ? Map->RowShades(row) : nullptr;
        const float* samples = row >= 0 ? Map->RowSamples(row) : nullptr;
        const int64_t lineTop = std::max<int64_t>(y, 0);
        auto* line = reinterpret_cast<QRgb*>(bits + lineTop * stride);
        const int32_t* column = columns.data();
        if (row < 0) {
            std::fill(line + left, line + xEnd, outside);
        } else if (step == 1 && shades && validContiguous) {
            // One sample per pixel, the common case: the columns off the grid lie at the ends.
            // Each picture row reads a different terrain row; asking for the next one early
            // hides most of the wait for memory.
            const int32_t next = Map->RowOf(static_cast<float>(double(ViewTop) - double(y + 1) * double(uz)));
            if (next >= 0 && firstValid < endValid) {
                const uint8_t* ahead = Map->RowShades(next);
                for (int64_t c = columns[size_t(firstValid - x0)]; c <= columns[size_t(endValid - 1 - x0)]; c += 64)
                    Prefetch(ahead + c);
            }
            std::fill(line + x0, line + firstValid, outside);
            for (int64_t x = firstValid; x < endValid; ++x)
                line[x] = kShades.Colours[shades[column[x - x0]]];
            std::fill(line + endValid, line + xEnd, outside);
        } else {
            for (int64_t x = x0; x < xEnd; x += step, ++column) {
                const QRgb colour = *column < 0 ? outside
                    : shades                    ? kShades.Colours[shades[*column]]
                                                : Colour(samples[*column]);
                std::fill(line + std::max<int64_t>(x, 0), line + std::min(x + step, xEnd), colour);
            }
        }
        // The other rows of the block row repeat the first.
        const size_t bytes = static_cast<size_t>(xEnd - left) * sizeof(QRgb);
        for (int64_t py = lineTop + 1; py < std::min(y + step, yEnd); ++py)
            std::memcpy(bits + py * stride + left * int64_t(sizeof(QRgb)), line + left, bytes);
    }
}

void CMapWindow::RenderRoutes(QImage& bitmap, float ux, float uz) const
{
    if (!Map)
        return;
    const auto toPixel = [&](float x, float z, int64_t& px, int64_t& py) {
        px = TruncToInt32((double(x) - double(ViewLeft)) / double(ux));
        py = TruncToInt32((double(ViewTop) - double(z)) / double(uz));
    };
    const auto draw = [&](const RouteSegment* (CMap::*get)(int32_t) const, QRgb colour) {
        for (int32_t i = 0;; ++i) {
            const RouteSegment* segment = (Map->*get)(i);
            if (!segment)
                break;
            int64_t x1, y1, x2, y2;
            toPixel(segment->X1, segment->Z1, x1, y1);
            toPixel(segment->X2, segment->Z2, x2, y2);
            // There and back, so that both end pixels are set.
            raster::DrawLine(bitmap, x1, y1, x2, y2, colour);
            raster::DrawLine(bitmap, x2, y2, x1, y1, colour);
        }
    };
    if (ShowRivers)
        draw(&CMap::GetRiver, qRgb(0, 0, 255));
    if (ShowRoads)
        draw(&CMap::GetRoad, qRgb(255, 0, 0));
    if (ShowUtilities)
        draw(&CMap::GetUtility, qRgb(0, 255, 0));
    if (ShowBorders)
        draw(&CMap::GetBoundary, qRgb(255, 255, 0));
}
