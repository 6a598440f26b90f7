#pragma once
// Pixel drawing on RGB32 images with the conventions of the map's drawing calls: a filled or
// outlined rectangle covers its first corner up to, not including, its second; a line excludes
// its end point. Everything is clipped to the image, and coordinates may lie far outside it
// (64-bit, so that no computation overflows).

#include <QImage>
#include <QPoint>
#include <cstdint>
#include <vector>

// The pixels of an image taken once for many drawing calls: asking the image for its lines checks
// whether it must be detached, which costs more than setting a pixel.
struct CPixels {
    uchar* Bits;
    int64_t Stride;
    int64_t Width;
    int64_t Height;

    explicit CPixels(QImage& image)
        : Bits(image.bits()), Stride(image.bytesPerLine()), Width(image.width()), Height(image.height())
    {
    }
    QRgb* Line(int64_t y) const { return reinterpret_cast<QRgb*>(Bits + y * Stride); }
    void Plot(int64_t x, int64_t y, QRgb colour) const
    {
        if (x >= 0 && y >= 0 && x < Width && y < Height)
            Line(y)[x] = colour;
    }
};

namespace raster {

// Fills [x1, x2) x [y1, y2); an empty or reversed rectangle draws nothing.
void FillRect(QImage& image, int64_t x1, int64_t y1, int64_t x2, int64_t y2, QRgb colour);

// Sets the pixels of the line from (x1, y1) towards (x2, y2), the end point excluded; a line of
// length 0 draws nothing. The pixels depend only on the two points, never on the clipping.
void DrawLine(QImage& image, int64_t x1, int64_t y1, int64_t x2, int64_t y2, QRgb colour);

// Outline of [x1, x2) x [y1, y2), corners in any order.
void DrawRectOutline(QImage& image, int64_t x1, int64_t y1, int64_t x2, int64_t y2, QRgb colour);

// Outline of the ellipse that fits [x1, x2) x [y1, y2), corners in any order: the pixels inside
// the ellipse that have a neighbour (left, right, above, below) outside it.
void DrawEllipseOutline(QImage& image, int64_t x1, int64_t y1, int64_t x2, int64_t y2, QRgb colour);

} // namespace raster

// The pixels one drawing sets, as offsets: symbols repeat the same shape thousands of times, so
// the shape is drawn once into a small mask and then stamped.
class CStamp {
public:
    // Records what `draw` sets inside [left, right) x [top, bottom) (offsets from (0, 0)).
    template <typename Draw>
    static CStamp Capture(int left, int top, int right, int bottom, Draw draw)
    {
        CStamp stamp;
        if (right <= left || bottom <= top)
            return stamp;
        QImage mask(right - left, bottom - top, QImage::Format_RGB32);
        mask.fill(qRgb(0, 0, 0));
        draw(mask, -left, -top);
        for (int y = 0; y < mask.height(); ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(mask.constScanLine(y));
            for (int x = 0; x < mask.width(); ++x) {
                if ((line[x] & 0xFFFFFFu) != 0u)
                    stamp.m_offsets.push_back(QPoint(x + left, y + top));
            }
        }
        stamp.m_left = left;
        stamp.m_top = top;
        stamp.m_right = right;
        stamp.m_bottom = bottom;
        return stamp;
    }

    void Apply(QImage& image, int64_t cx, int64_t cy, QRgb colour) const { Apply(CPixels(image), cx, cy, colour); }
    void Apply(const CPixels& pixels, int64_t cx, int64_t cy, QRgb colour) const;
    // Stamps at every centre at once, through a bit mask of the centres: the cost follows the size
    // of the picture and of the stamp, not the number of centres, and repeated centres cost nothing.
    // The pixels are those of stamping each centre in turn.
    void ApplyMasked(const CPixels& pixels, const std::vector<QPoint>& centres, QRgb colour) const;
    const std::vector<QPoint>& Offsets() const { return m_offsets; }

private:
    std::vector<QPoint> m_offsets;
    int m_left = 0; // the captured rectangle: no offset lies outside it
    int m_top = 0;
    int m_right = 0;
    int m_bottom = 0;
};
