#include "mapview/raster.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace raster {

namespace {

// Minor-axis coordinate of step i of a line whose major axis advances `major` steps while the
// minor one advances `minor` (signed): rounded to the nearest pixel, halves away from the start.
inline int64_t MinorAt(int64_t i, int64_t major, int64_t minor)
{
    const int64_t size = std::llabs(minor);
    int64_t magnitude;
    if (major < (int64_t(1) << 30) && size < (int64_t(1) << 30))
        magnitude = (2 * i * size + major) / (2 * major);
    else // only lines reaching far outside any picture; exact rounding no longer matters there
        magnitude = static_cast<int64_t>(std::floor(double(i) * double(size) / double(major) + 0.5));
    return minor < 0 ? -magnitude : magnitude;
}

} // namespace

void FillRect(QImage& image, int64_t x1, int64_t y1, int64_t x2, int64_t y2, QRgb colour)
{
    x1 = std::max<int64_t>(x1, 0);
    y1 = std::max<int64_t>(y1, 0);
    x2 = std::min<int64_t>(x2, image.width());
    y2 = std::min<int64_t>(y2, image.height());
    if (x2 <= x1 || y2 <= y1)
        return;
    const CPixels pixels(image);
    for (int64_t y = y1; y < y2; ++y) {
        auto* line = reinterpret_cast<QRgb*>(pixels.Bits + y * pixels.Stride);
        std::fill(line + x1, line + x2, colour);
    }
}

void DrawLine(QImage& image, int64_t x1, int64_t y1, int64_t x2, int64_t y2, QRgb colour)
{
    const int64_t dx = x2 - x1;
    const int64_t dy = y2 - y1;
    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    const int64_t major = xMajor ? std::llabs(dx) : std::llabs(dy);
    if (major == 0)
        return;
    const int64_t majorStep = (xMajor ? dx : dy) < 0 ? -1 : 1;
    const int64_t minorDelta = xMajor ? dy : dx;
    const int64_t majorStart = xMajor ? x1 : y1;
    const int64_t minorStart = xMajor ? y1 : x1;
    const int64_t majorSize = xMajor ? image.width() : image.height();
    const int64_t minorSize = xMajor ? image.height() : image.width();

    // Lines wholly beside the image on the minor axis set nothing.
    const int64_t minorEnd = minorStart + minorDelta;
    if (std::max(minorStart, minorEnd) < 0 || std::min(minorStart, minorEnd) >= minorSize)
        return;
    // Steps whose major coordinate lies inside the image: majorStart + i * majorStep in [0, size).
    int64_t first = 0;
    int64_t last = major - 1;
    if (majorStep > 0) {
        first = std::max(first, -majorStart);
        last = std::min(last, majorSize - 1 - majorStart);
    } else {
        first = std::max(first, majorStart - (majorSize - 1));
        last = std::min(last, majorStart);
    }
    if (first > last)
        return;
    const CPixels pixels(image);
    for (int64_t i = first; i <= last; ++i) {
        const int64_t a = majorStart + i * majorStep;
        const int64_t b = minorStart + MinorAt(i, major, minorDelta);
        if (xMajor)
            pixels.Plot(a, b, colour);
        else
            pixels.Plot(b, a, colour);
    }
}

void DrawRectOutline(QImage& image, int64_t x1, int64_t y1, int64_t x2, int64_t y2, QRgb colour)
{
    const int64_t left = std::min(x1, x2);
    const int64_t right = std::max(x1, x2) - 1;
    const int64_t top = std::min(y1, y2);
    const int64_t bottom = std::max(y1, y2) - 1;
    if (right < left || bottom < top)
        return;
    FillRect(image, left, top, right + 1, top + 1, colour);
    FillRect(image, left, bottom, right + 1, bottom + 1, colour);
    FillRect(image, left, top, left + 1, bottom + 1, colour);
    FillRect(image, right, top, right + 1, bottom + 1, colour);
}

void DrawEllipseOutline(QImage& image, int64_t x1, int64_t y1, int64_t x2, int64_t y2, QRgb colour)
{
    const int64_t left = std::min(x1, x2);
    const int64_t right = std::max(x1, x2);
    const int64_t top = std::min(y1, y2);
    const int64_t bottom = std::max(y1, y2);
    if (right <= left || bottom <= top)
        return;
    // Pixel centres are tested against the ellipse inscribed in the box, in units of its radii.
    const double cx = (double(left) + double(right)) / 2.0;
    const double cy = (double(top) + double(bottom)) / 2.0;
    const double rx = (double(right) - double(left)) / 2.0;
    const double ry = (double(bottom) - double(top)) / 2.0;
    const auto inside = [&](int64_t x, int64_t y) {
        if (x < left || x >= right || y < top || y >= bottom)
            return false;
        const double u = (double(x) + 0.5 - cx) / rx;
        const double v = (double(y) + 0.5 - cy) / ry;
        return u * u + v * v <= 1.0;
    };
    const int64_t fromX = std::max<int64_t>(left, 0);
    const int64_t toX = std::min<int64_t>(right, image.width());
    const int64_t fromY = std::max<int64_t>(top, 0);
    const int64_t toY = std::min<int64_t>(bottom, image.height());
    if (fromX >= toX || fromY >= toY)
        return;
    const CPixels pixels(image);
    for (int64_t y = fromY; y < toY; ++y) {
        for (int64_t x = fromX; x < toX; ++x) {
            if (inside(x, y) &&
                (!inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) || !inside(x, y + 1)))
                pixels.Plot(x, y, colour);
        }
    }
}

void CStamp::Apply(const CPixels& pixels, int64_t cx, int64_t cy, QRgb colour) const
{
    if (m_offsets.empty())
        return;
    if (cx + m_left >= 0 && cy + m_top >= 0 && cx + m_right <= pixels.Width && cy + m_bottom <= pixels.Height) {
        // Wholly inside: no pixel needs its own test.
        QRgb* centre = pixels.Line(cy) + cx;
        const int64_t stride = pixels.Stride / int64_t(sizeof(QRgb));
        for (const QPoint& offset : m_offsets)
            centre[offset.y() * stride + offset.x()] = colour;
        return;
    }
    for (const QPoint& offset : m_offsets)
        pixels.Plot(cx + offset.x(), cy + offset.y(), colour);
}

} // namespace raster
