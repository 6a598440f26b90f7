#include "mapview/mapwindow.h"

#include "mapview/map.h"
#include "mapview/raster.h"
#include "mapview/truncation.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr float kStep = 0.1f; // pan and zoom step, a tenth of the view window

int32_t ClampToView(double value)
{
    return std::clamp(TruncToInt32(value), -CMapWindow::ViewLimit, CMapWindow::ViewLimit);
}

// A tenth of an extent, as the pans and zooms take it: the single-precision factor widened.
int64_t Tenth(int32_t low, int32_t high)
{
    return TruncToInt32(double(int64_t(high) - int64_t(low)) * double(kStep));
}

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
        ViewBottom = ClampToView(double(ViewTop) - double(height) / double(PixelHeight) * double(int64_t(ViewTop) - ViewBottom));
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

void CMapWindow::PanUp()
{
    const int64_t d = Tenth(ViewBottom, ViewTop);
    MoveAxis(ViewBottom, ViewTop, ViewBottom + d, ViewTop + d);
    UpdateMapRect();
}

void CMapWindow::PanDown()
{
    const int64_t d = Tenth(ViewBottom, ViewTop);
    MoveAxis(ViewBottom, ViewTop, ViewBottom - d, ViewTop - d);
    UpdateMapRect();
}

void CMapWindow::PanLeft()
{
    const int64_t d = Tenth(ViewLeft, ViewRight);
    MoveAxis(ViewLeft, ViewRight, ViewLeft - d, ViewRight - d);
    UpdateMapRect();
}

void CMapWindow::PanRight()
{
    const int64_t d = Tenth(ViewLeft, ViewRight);
    MoveAxis(ViewLeft, ViewRight, ViewLeft + d, ViewRight + d);
    UpdateMapRect();
}

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
        const int64_t dz = (((int64_t(PixelHeight) - 2 * int64_t(py)) * (int64_t(ViewTop) - ViewBottom)) / 2) / PixelHeight;
        MoveAxis(ViewBottom, ViewTop, ViewBottom + dz, ViewTop + dz);
    }
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

QRgb CMapWindow::HeightColour(float height)
{
    if (!(height >= 0.0f))
        return qRgb(0, 0, 128); // sea, and anything that is not a number
    if (height >= 2325.0f)
        return qRgb(255, 255, 255);
    const int g = static_cast<int>(double(height) + 1500.0) / 15;
    return qRgb(g, g, g);
}

void CMapWindow::Render(QImage& bitmap, QColor background) const
{
    const int width = std::max(PixelWidth, 0);
    const int height = std::max(PixelHeight, 0);
    if (bitmap.width() != width || bitmap.height() != height || bitmap.format() != QImage::Format_RGB32)
        bitmap = QImage(width, height, QImage::Format_RGB32);
    if (bitmap.isNull())
        return;
    bitmap.fill(background.rgb());
    // A view window without extent has no scale: only the background.
    if (ViewRight == ViewLeft || ViewTop == ViewBottom)
        return;
    const auto ux = static_cast<float>(double(int64_t(ViewRight) - ViewLeft) / double(PixelWidth));
    const auto uz = static_cast<float>(double(int64_t(ViewTop) - ViewBottom) / double(PixelHeight));
    if (Map)
        RenderHeights(bitmap, ux, uz);
    RenderRoutes(bitmap, ux, uz);
}

void CMapWindow::RenderHeights(QImage& bitmap, float ux, float uz) const
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
    if (x0 >= xEnd || y0 >= yEnd)
        return;

    // The grid column of every block column: the sample under the block's top-left pixel.
    std::vector<int32_t> columns;
    for (int64_t x = x0; x < xEnd; x += step)
        columns.push_back(Map->ColumnOf(static_cast<float>(double(ViewLeft) + double(x) * double(ux))));

    uchar* bits = bitmap.bits();
    const int64_t stride = bitmap.bytesPerLine();
    for (int64_t y = y0; y < yEnd; y += step) {
        const int32_t row = Map->RowOf(static_cast<float>(double(ViewTop) - double(y) * double(uz)));
        const float* samples = row >= 0 ? Map->RowSamples(row) : nullptr;
        const int64_t top = std::max<int64_t>(y, 0);
        const int64_t blockBottom = std::min(y + step, yEnd);
        auto* line = reinterpret_cast<QRgb*>(bits + top * stride);
        size_t block = 0;
        for (int64_t x = x0; x < xEnd; x += step, ++block) {
            const int32_t column = columns[block];
            const float h = (samples && column >= 0) ? samples[column] : 0.0f;
            const QRgb colour = HeightColour(h);
            const int64_t left = std::max<int64_t>(x, 0);
            const int64_t blockRight = std::min(x + step, xEnd);
            for (int64_t px = left; px < blockRight; ++px)
                line[px] = colour;
        }
        // The other rows of the block row repeat the first.
        const int64_t left = std::max<int64_t>(x0, 0);
        const size_t bytes = static_cast<size_t>(xEnd - left) * sizeof(QRgb);
        for (int64_t py = top + 1; py < blockBottom; ++py)
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
