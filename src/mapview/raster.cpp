#include "mapview/raster.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace raster {

namespace {

// Minor-axis coordinate of step i of a line whose major axis advances `major` steps while the
// minor one advances `minor` (signed), for lines reaching far outside any picture: exact rounding
// no longer matters there (nearer lines step the exact rounding in DrawLine).
inline int64_t FarMinorAt(int64_t i, int64_t major, int64_t minor)
{
    const auto magnitude =
        static_cast<int64_t>(std::floor(double(i) * double(std::llabs(minor)) / double(major) + 0.5));
    return minor < 0 ? -magnitude : magnitude;
}

// For each byte of a coverage word, the eight pixel masks it selects (all ones where its bit is set).
struct CByteMasks {
    uint32_t Lanes[256][8];
    constexpr CByteMasks() : Lanes{}
    {
        for (int b = 0; b < 256; ++b)
            for (int j = 0; j < 8; ++j)
                Lanes[b][j] = (b >> j) & 1 ? ~uint32_t(0) : 0u;
    }
};
constexpr CByteMasks kByteMasks;

// Sets the pixels of `block` (64 of them) whose bit is set in `word` to `colour`.
inline void ColourCovered(QRgb* block, uint64_t word, QRgb colour)
{
    if (word == 0)
        return;
    if (word == ~uint64_t(0)) {
        std::fill(block, block + 64, colour);
        return;
    }
    // A blend of every pixel costs no branch per bit; dense words are the common case here.
    // Copied through locals, the eight lanes are one vector operation to the compiler.
    for (int byte = 0; byte < 8; ++byte) {
        uint32_t masks[8];
        uint32_t pixels[8];
        std::memcpy(masks, kByteMasks.Lanes[(word >> (8 * byte)) & 0xFF], sizeof masks);
        std::memcpy(pixels, block + 8 * byte, sizeof pixels);
        for (int j = 0; j < 8; ++j)
            pixels[j] = (pixels[j] & ~masks[j]) | (colour & masks[j]);
        std::memcpy(block + 8 * byte, pixels, sizeof pixels);
    }
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
    if (minorDelta == 0) {
        // Along an axis: one run of pixels on a line or a column (the grid is all such lines).
        const int64_t from = majorStart + (majorStep > 0 ? first : -last);
        const int64_t to = majorStart + (majorStep > 0 ? last : -first);
        if (xMajor) {
            QRgb* line = pixels.Line(minorStart);
            std::fill(line + from, line + to + 1, colour);
        } else {
            for (int64_t y = from; y <= to; ++y)
                pixels.Line(y)[minorStart] = colour;
        }
        return;
    }
    const int64_t size = std::llabs(minorDelta);
    if (major < (int64_t(1) << 30) && size < (int64_t(1) << 30)) {
        // MinorAt stepped without a division: its numerator 2 i size + major grows by 2 size per
        // step, never more than the divisor 2 major, so the quotient grows by at most one.
        const int64_t divisor = 2 * major;
        const int64_t numerator = 2 * first * size + major;
        int64_t quotient = numerator / divisor;
        int64_t remainder = numerator % divisor;
        const int64_t minorStep = minorDelta < 0 ? -1 : 1;
        for (int64_t i = first; i <= last; ++i) {
            const int64_t a = majorStart + i * majorStep;
            const int64_t b = minorStart + quotient * minorStep;
            if (xMajor)
                pixels.Plot(a, b, colour);
            else
                pixels.Plot(b, a, colour);
            remainder += 2 * size;
            if (remainder >= divisor) {
                remainder -= divisor;
                ++quotient;
            }
        }
        return;
    }
    for (int64_t i = first; i <= last; ++i) {
        const int64_t a = majorStart + i * majorStep;
        const int64_t b = minorStart + FarMinorAt(i, major, minorDelta);
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
            if (inside(x, y) && (!inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) || !inside(x, y + 1)))
                pixels.Plot(x, y, colour);
        }
    }
}

} // namespace raster

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

void CStamp::ApplyMasked(const CPixels& pixels, const std::vector<QPoint>& centres, QRgb colour) const
{
    if (m_offsets.empty() || pixels.Width <= 0 || pixels.Height <= 0)
        return;
    int64_t minDx = m_offsets.front().x(), maxDx = minDx;
    int64_t minDy = m_offsets.front().y(), maxDy = minDy;
    for (const QPoint& offset : m_offsets) {
        minDx = std::min<int64_t>(minDx, offset.x());
        maxDx = std::max<int64_t>(maxDx, offset.x());
        minDy = std::min<int64_t>(minDy, offset.y());
        maxDy = std::max<int64_t>(maxDy, offset.y());
    }
    // The centre mask holds every centre whose stamp can reach the picture: columns from -maxDx
    // to Width - minDx, rows from -maxDy to Height - minDy. Each row has a spare zero word at its
    // end so that a shifted read never needs a bounds test.
    const int64_t spanX = maxDx - minDx;
    const int64_t rows = pixels.Height + maxDy - minDy;
    const int64_t coverWords = (pixels.Width + 63) / 64;
    const int64_t maskWords = coverWords + spanX / 64 + 2;
    std::vector<uint64_t> mask(size_t(rows * maskWords), 0);
    std::vector<uint8_t> rowUsed(size_t(rows), 0);
    for (const QPoint& c : centres) {
        const int64_t bit = int64_t(c.x()) + maxDx;
        const int64_t row = int64_t(c.y()) + maxDy;
        if (bit < 0 || bit >= pixels.Width + spanX || row < 0 || row >= rows)
            continue;
        mask[size_t(row * maskWords + bit / 64)] |= uint64_t(1) << (bit % 64);
        rowUsed[size_t(row)] = 1;
    }
    // Pixel (x, y) is covered by offset (dx, dy) when a centre lies at (x - dx, y - dy): mask bit
    // x + (maxDx - dx) of mask row y + (maxDy - dy).
    const uint64_t lastWordBits = pixels.Width % 64 == 0 ? ~uint64_t(0) : (uint64_t(1) << (pixels.Width % 64)) - 1;
    std::vector<uint64_t> cover(static_cast<size_t>(coverWords));
    for (int64_t y = 0; y < pixels.Height; ++y) {
        bool any = false;
        std::fill(cover.begin(), cover.end(), 0);
        for (const QPoint& offset : m_offsets) {
            const int64_t row = y + maxDy - offset.y();
            if (!rowUsed[size_t(row)])
                continue;
            any = true;
            const int64_t shift = maxDx - offset.x();
            const uint64_t* source = mask.data() + row * maskWords + shift / 64;
            const unsigned bit = unsigned(shift % 64);
            if (bit == 0) {
                for (int64_t k = 0; k < coverWords; ++k)
                    cover[size_t(k)] |= source[k];
            } else {
                for (int64_t k = 0; k < coverWords; ++k)
                    cover[size_t(k)] |= (source[k] >> bit) | (source[k + 1] << (64 - bit));
            }
        }
        if (!any)
            continue;
        cover[size_t(coverWords - 1)] &= lastWordBits;
        QRgb* line = pixels.Line(y);
        const int64_t wholeWords = pixels.Width / 64;
        for (int64_t k = 0; k < wholeWords; ++k)
            raster::ColourCovered(line + k * 64, cover[size_t(k)], colour);
        // The last, partial word: its block ends at the picture's edge.
        for (uint64_t word = wholeWords < coverWords ? cover[size_t(wholeWords)] : 0; word != 0; word &= word - 1)
            line[wholeWords * 64 + std::countr_zero(word)] = colour;
    }
}
