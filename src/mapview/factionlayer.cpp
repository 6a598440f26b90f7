#include "mapview/factionlayer.h"

#include "factions/factionsinfo.h"
#include "factions/sectorsize.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

int32_t Saturate(float value)
{
    if (!(value == value))
        return 0;
    if (value >= 2147483520.0f)
        return INT32_MAX;
    if (value <= -2147483648.0f)
        return INT32_MIN;
    return int32_t(value);
}

// Faction coordinates count Z down from the grid's top (Rows sectors), not from the terrain's half
// sector count, and the layer maps them in single precision.
struct FactionMapping {
    int32_t Left = 0;
    int32_t Right = 0;
    int32_t Top = 0;
    int32_t Bottom = 0;
    int32_t PixelLeft = 0;
    int32_t PixelTop = 0;
    float ScaleX = 0.0f;
    float ScaleZ = 0.0f;

    FactionMapping(const CViewport& view, int32_t rows)
        : Left(view.MapLeft), Right(view.MapRight), PixelLeft(view.PixelLeft), PixelTop(view.PixelTop)
    {
        const int64_t extentZ = int64_t(rows) * SectorSize;
        Top = int32_t(extentZ - view.MapTop);
        Bottom = int32_t(extentZ - view.MapBottom);
        if (Right != Left)
            ScaleX = float(int64_t(view.PixelRight) - view.PixelLeft) / float(int64_t(Right) - Left);
        if (Bottom != Top)
            ScaleZ = float(int64_t(view.PixelBottom) - view.PixelTop) / float(int64_t(Bottom) - Top);
    }

    int32_t Column(float x) const { return Saturate((x - float(Left)) * ScaleX + float(PixelLeft)); }
    int32_t Row(float z) const { return Saturate((z - float(Top)) * ScaleZ + float(PixelTop)); }
};

} // namespace

void RenderFactions(const CFactionsInfo& factions, const CViewport& view, QImage& bitmap, QRgb buttonFace)
{
    const int width = std::max(view.Width, 0);
    const int height = std::max(view.Height, 0);
    if (bitmap.width() != width || bitmap.height() != height || bitmap.format() != QImage::Format_RGB32)
        bitmap = QImage(width, height, QImage::Format_RGB32);
    if (bitmap.isNull())
        return;
    buttonFace |= 0xFF000000u;
    bitmap.fill(buttonFace);
    const FactionMapping m(view, factions.Rows);
    const int32_t S = SectorSize;

    // Sectors around the view that lie outside the grid would be drawn in the button face colour
    // over the button face colour, so only the grid's part of the range is visited.
    const int64_t i0 = std::max<int64_t>(m.Left / S - 1, 0);
    const int64_t i1 = std::min<int64_t>(int64_t(m.Right / S) + 2, factions.Columns);
    const int64_t j0 = std::max<int64_t>(m.Top / S - 1, 0);
    const int64_t j1 = std::min<int64_t>(int64_t(m.Bottom / S) + 2, factions.Rows);
    if (i0 >= i1 || j0 >= j1)
        return;
    const QRgb colours[2] = {qRgb(0, 0, 255), qRgb(255, 0, 0)};

    // Neighbouring squares share their edges, so each edge is mapped once: square i spans the
    // columns from edge i up to, not including, edge i + 1 (likewise rows), clipped to the bitmap.
    std::vector<int32_t> columnEdges(size_t(i1 - i0 + 1));
    std::vector<int32_t> rowEdges(size_t(j1 - j0 + 1));
    for (int64_t i = i0; i <= i1; ++i)
        columnEdges[size_t(i - i0)] = m.Column(float(i * S));
    for (int64_t j = j0; j <= j1; ++j)
        rowEdges[size_t(j - j0)] = m.Row(float(j * S));

    uchar* bits = bitmap.bits();
    const int64_t stride = bitmap.bytesPerLine();
    for (int64_t j = j0; j < j1; ++j) {
        const int32_t a = rowEdges[size_t(j - j0)];
        const int32_t b = rowEdges[size_t(j - j0 + 1)];
        const int64_t top = std::max<int64_t>(std::min(a, b), 0);
        const int64_t bottom = std::min<int64_t>(std::max(a, b), height);
        if (top >= bottom)
            continue;
        auto* first = reinterpret_cast<QRgb*>(bits + top * stride);
        const unsigned char* row = factions.RowFactions(int32_t(j));
        for (int64_t i = i0; i < i1; ++i) {
            const int32_t c = columnEdges[size_t(i - i0)];
            const int32_t d = columnEdges[size_t(i - i0 + 1)];
            const int64_t left = std::max<int64_t>(std::min(c, d), 0);
            const int64_t right = std::min<int64_t>(std::max(c, d), width);
            if (left < right)
                std::fill(first + left, first + right, colours[row[i]]);
        }
        // The square's other rows repeat the first one over the same columns.
        const int64_t spanLeft = std::max<int64_t>(std::min(columnEdges.front(), columnEdges.back()), 0);
        const int64_t spanRight = std::min<int64_t>(std::max(columnEdges.front(), columnEdges.back()), width);
        if (spanLeft >= spanRight)
            continue;
        for (int64_t y = top + 1; y < bottom; ++y) {
            auto* line = reinterpret_cast<QRgb*>(bits + y * stride);
            std::memcpy(line + spanLeft, first + spanLeft, size_t(spanRight - spanLeft) * sizeof(QRgb));
        }
    }
}
