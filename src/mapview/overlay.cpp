#include "mapview/overlay.h"

#include "document/binfile.h"
#include "factions/sectorsize.h"
#include "mapview/raster.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

// Sizes beyond this are drawn directly rather than through a stamp (the mask would be large).
constexpr int64_t kLargestStamp = 256;
// Sizes are taken as the settings file gives them; beyond this no symbol fits any picture anyway.
constexpr int64_t kLargestSize = int64_t(1) << 24;
// Stamping through a mask of centres costs about one pass over the picture's mask words per stamp
// pixel, stamping each symbol one scattered write per stamp pixel: with at least this many symbols
// per mask word the mask is the cheaper (measured in the overlay benchmark).
constexpr double kMaskedPerWord = 0.75;

QRgb ColourOf(int32_t windowsColour)
{
    const auto bits = static_cast<uint32_t>(windowsColour);
    return qRgb(static_cast<int>(bits & 0xFF), static_cast<int>((bits >> 8) & 0xFF),
                static_cast<int>((bits >> 16) & 0xFF));
}

void DrawShape(QImage& bitmap, uint8_t shape, int64_t s, int64_t cx, int64_t cy, QRgb colour)
{
    switch (shape) {
    case SquareShape: raster::DrawRectOutline(bitmap, cx - s, cy - s, cx + s, cy + s, colour); break;
    case CircleShape: raster::DrawEllipseOutline(bitmap, cx - s, cy - s, cx + s, cy + s, colour); break;
    case CrossShape:
        raster::DrawLine(bitmap, cx - s, cy - s, cx + s + 1, cy + s + 1, colour);
        raster::DrawLine(bitmap, cx - s, cy + s, cx + s + 1, cy - s - 1, colour);
        break;
    case TriangleShape: // flat side at the top, point at the bottom
        raster::DrawLine(bitmap, cx - s, cy - s, cx + s, cy - s, colour);
        raster::DrawLine(bitmap, cx + s, cy - s, cx, cy + s, colour);
        raster::DrawLine(bitmap, cx, cy + s, cx - s, cy - s, colour);
        break;
    default: break; // an unknown shape code draws nothing
    }
}

// Draws one kind's symbol many times: small symbols are drawn once and stamped.
class CSymbolPainter {
public:
    CSymbolPainter(const SymbolStyle& style, const CViewport& view)
        : m_shape(style.Shape), m_size(view.SymbolSize(std::clamp<int64_t>(style.Size, -kLargestSize, kLargestSize))),
          m_colour(ColourOf(style.Color))
    {
        const int64_t reach = std::llabs(m_size) + 2;
        if (reach <= kLargestStamp) {
            const int r = static_cast<int>(reach);
            m_stamp = CStamp::Capture(-r, -r, r + 1, r + 1, [this](QImage& mask, int ox, int oy) {
                DrawShape(mask, m_shape, m_size, ox, oy, qRgb(255, 255, 255));
            });
            m_stamped = true;
        }
    }

    // How far from its centre a symbol can set a pixel.
    int64_t Reach() const { return std::llabs(m_size) + 2; }

    void Draw(QImage& bitmap, int64_t cx, int64_t cy) const
    {
        if (m_stamped)
            m_stamp.Apply(bitmap, cx, cy, m_colour);
        else
            DrawShape(bitmap, m_shape, m_size, cx, cy, m_colour);
    }
    void Draw(QImage& bitmap, const CPixels& pixels, int64_t cx, int64_t cy) const
    {
        if (m_stamped)
            m_stamp.Apply(pixels, cx, cy, m_colour);
        else
            DrawShape(bitmap, m_shape, m_size, cx, cy, m_colour);
    }

    // Draws all centres at once through a mask of them when there are enough that this is cheaper;
    // false leaves the drawing to the caller.
    bool DrawMasked(const CPixels& pixels, const std::vector<QPoint>& centres) const
    {
        if (!m_stamped
            || double(centres.size()) < kMaskedPerWord * double(pixels.Height) * double((pixels.Width + 63) / 64))
            return false;
        m_stamp.ApplyMasked(pixels, centres, m_colour);
        return true;
    }

private:
    uint8_t m_shape;
    int64_t m_size;
    QRgb m_colour;
    CStamp m_stamp;
    bool m_stamped = false;
};

template <typename List>
void DrawRecords(const CTarnConfig& symbology, const CViewport& view, const List& records, int kind, QImage& bitmap)
{
    if (records.empty())
        return;
    const CSymbolPainter painter(symbology.Style(kind), view);
    // Every symbol of a kind sets the same pixels to the same colour, so the order they are drawn
    // in changes nothing. Drawn top to bottom, neighbours share the picture lines they touch, which
    // then stay in the cache: with many records that is most of the time.
    const int64_t reach = painter.Reach();
    const int64_t height = bitmap.height();
    std::vector<QPoint> centres;
    centres.reserve(records.size());
    for (const auto& record : records) {
        if (!view.IsOnMap(record.X, record.Z))
            continue;
        int32_t column = 0;
        int32_t row = 0;
        view.MapToPixel(record.X, record.Z, column, row);
        if (int64_t(row) + reach < 0 || int64_t(row) - reach >= height)
            continue; // no line of the picture is touched
        centres.push_back(QPoint(column, row));
    }
    if (centres.size() < 64) {
        for (const QPoint& c : centres)
            painter.Draw(bitmap, c.x(), c.y());
        return;
    }
    const CPixels pixels(bitmap);
    if (painter.DrawMasked(pixels, centres))
        return;
    // A counting sort on the row, clamped to the picture (symbols above or below it keep their
    // place at its edge).
    const auto bucketOf = [height](int row) {
        return size_t(std::clamp<int64_t>(row, 0, std::max<int64_t>(height - 1, 0)));
    };
    std::vector<uint32_t> starts(size_t(std::max<int64_t>(height, 1)) + 1, 0);
    for (const QPoint& c : centres)
        ++starts[bucketOf(c.y()) + 1];
    for (size_t i = 1; i < starts.size(); ++i)
        starts[i] += starts[i - 1];
    std::vector<QPoint> sorted(centres.size());
    for (const QPoint& c : centres)
        sorted[starts[bucketOf(c.y())]++] = c;
    for (const QPoint& c : sorted)
        painter.Draw(bitmap, pixels, c.x(), c.y());
}

struct HitCandidate {
    RecordKind Kind;
    int32_t Index;
    float Distance;
};

template <typename List>
void Collect(const List& records, RecordKind kind, float cx, float cz, double tolerance,
             std::vector<HitCandidate>& candidates)
{
    for (size_t i = 0; i < records.size(); ++i) {
        const double x = records[i].X;
        const double z = records[i].Z;
        if (cx - tolerance <= x && x <= cx + tolerance && cz - tolerance <= z && z <= cz + tolerance)
            candidates.push_back({kind, static_cast<int32_t>(i),
                                  static_cast<float>(std::sqrt((x - cx) * (x - cx) + (z - cz) * (z - cz)))});
    }
}

} // namespace

void DrawKeysites(const CBINFile& document, const CTarnConfig& symbology, const CViewport& view, QImage& bitmap)
{
    DrawRecords(symbology, view, document.Keysites(), KeysiteKind, bitmap);
}
void DrawAirbases(const CBINFile& document, const CTarnConfig& symbology, const CViewport& view, QImage& bitmap)
{
    DrawRecords(symbology, view, document.Airbases(), AirbaseKind, bitmap);
}
void DrawSAMs(const CBINFile& document, const CTarnConfig& symbology, const CViewport& view, QImage& bitmap)
{
    DrawRecords(symbology, view, document.Sams(), SamKind, bitmap);
}

void DrawSymbol(const CTarnConfig& symbology, QImage& bitmap, int64_t cx, int64_t cy, int kind)
{
    const SymbolStyle& style = symbology.Style(kind);
    DrawShape(bitmap, style.Shape, std::clamp<int64_t>(style.Size, -kLargestSize, kLargestSize), cx, cy,
              ColourOf(style.Color));
}

namespace {

// Calls `each` with every record of `kind` at `records` (ascending; those beyond the list ended).
template <typename Each>
void ForSelected(const CBINFile& document, RecordKind kind, std::span<const int> records, Each each)
{
    const auto visit = [&](const auto& list) {
        for (const int i : records) {
            if (i < 0)
                continue;
            if (size_t(i) >= list.size())
                break;
            each(list[size_t(i)]);
        }
    };
    switch (kind) {
    case KeysiteKind: visit(document.Keysites()); break;
    case AirbaseKind: visit(document.Airbases()); break;
    case SamKind: visit(document.Sams()); break;
    }
}

} // namespace

void DrawSelection(const CBINFile& document, const CTarnConfig& symbology, const CViewport& view, QImage& bitmap,
                   RecordKind kind, std::span<const int> records, float dx, float dz)
{
    // One pixel clear of the largest symbol of the kind's size (a cross reaches one further).
    const int64_t reach =
        std::llabs(view.SymbolSize(std::clamp<int64_t>(symbology.Style(kind).Size, -kLargestSize, kLargestSize))) + 3;
    const int64_t height = bitmap.height();
    ForSelected(document, kind, records, [&](const auto& record) {
        const float x = record.X + dx;
        const float z = record.Z + dz;
        if (!view.IsOnMap(x, z))
            return;
        int32_t cx = 0;
        int32_t cy = 0;
        view.MapToPixel(x, z, cx, cy);
        if (int64_t(cy) + reach + 2 < 0 || int64_t(cy) - reach - 2 >= height)
            return;
        raster::DrawRectOutline(bitmap, int64_t(cx) - reach, int64_t(cy) - reach, int64_t(cx) + reach + 1,
                                int64_t(cy) + reach + 1, qRgb(255, 255, 255));
        raster::DrawRectOutline(bitmap, int64_t(cx) - reach - 1, int64_t(cy) - reach - 1, int64_t(cx) + reach + 2,
                                int64_t(cy) + reach + 2, qRgb(0, 0, 0));
    });
}

void DrawAccepted(const CBINFile& document, const CTarnConfig& symbology, const CViewport& view, QImage& bitmap,
                  RecordKind kind, const std::function<bool(int)>& accepts)
{
    struct Kept {
        float X;
        float Z;
    };
    std::vector<Kept> kept;
    const auto keep = [&](const auto& list) {
        for (size_t i = 0; i < list.size(); ++i)
            if (accepts(int(i)))
                kept.push_back({list[i].X, list[i].Z});
    };
    switch (kind) {
    case KeysiteKind: keep(document.Keysites()); break;
    case AirbaseKind: keep(document.Airbases()); break;
    case SamKind: keep(document.Sams()); break;
    }
    DrawRecords(symbology, view, kept, kind, bitmap);
}

void DrawMoved(const CBINFile& document, const CTarnConfig& symbology, const CViewport& view, QImage& bitmap,
               RecordKind kind, std::span<const int> records, float dx, float dz)
{
    struct Moved {
        float X;
        float Z;
    };
    std::vector<Moved> moved;
    moved.reserve(records.size());
    ForSelected(document, kind, records, [&](const auto& record) { moved.push_back({record.X + dx, record.Z + dz}); });
    DrawRecords(symbology, view, moved, kind, bitmap);
}

void DrawGrid(const CViewport& view, QImage& bitmap)
{
    const int64_t s = SectorSize;
    const int64_t i0 = view.MapLeft / s - 1;
    const int64_t i1 = view.MapRight / s + 1;
    const int64_t j0 = view.RecordTop / s - 1;
    const int64_t j1 = view.RecordBottom / s + 1;
    const QRgb white = qRgb(255, 255, 255);
    const auto pixel = [&view](int64_t x, int64_t z, int32_t& column, int32_t& row) {
        view.MapToPixel(static_cast<float>(x), static_cast<float>(z), column, row);
    };
    for (int64_t i = i0; i <= i1; ++i) {
        int32_t ac, ar, bc, br;
        pixel(i * s, j0 * s, ac, ar);
        pixel(i * s, j1 * s, bc, br);
        raster::DrawLine(bitmap, ac, ar, bc, int64_t(br) - 1, white);
    }
    for (int64_t j = j0; j <= j1; ++j) {
        int32_t ac, ar, bc, br;
        pixel(i0 * s, j * s, ac, ar);
        pixel(i1 * s, j * s, bc, br);
        raster::DrawLine(bitmap, ac, ar, int64_t(bc) + 1, br, white);
    }
}

bool HitTest(const CBINFile& document, const CViewport& view, int32_t column, int32_t row, RecordKind& kind,
             int32_t& index)
{
    if (!view.HasScale())
        return false;
    float cx = 0;
    float cz = 0;
    view.PixelToMap(column, row, cx, cz);
    const auto tolerance = static_cast<double>((int64_t(view.MapRight) - view.MapLeft) / 10);
    std::vector<HitCandidate> candidates;
    Collect(document.Keysites(), KeysiteKind, cx, cz, tolerance, candidates);
    Collect(document.Airbases(), AirbaseKind, cx, cz, tolerance, candidates);
    Collect(document.Sams(), SamKind, cx, cz, tolerance, candidates);
    if (candidates.empty())
        return false;
    const auto nearest =
        std::min_element(candidates.begin(), candidates.end(),
                         [](const HitCandidate& a, const HitCandidate& b) { return a.Distance < b.Distance; });
    kind = nearest->Kind;
    index = nearest->Index;
    return true;
}
