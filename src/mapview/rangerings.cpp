#include "mapview/rangerings.h"

#include "document/binfile.h"
#include "mapview/tarnconfig.h"
#include "mapview/viewport.h"
#include "platform/filelimits.h"
#include "platform/messagetext.h"

#include <QFileInfo>
#include <QImage>
#include <QLocale>
#include <QSettings>
#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

const char* const kKeys[3] = {"Keysites", "Airbases", "SAMs"};

// How much of the kind's colour a ring pixel takes: enough to read over any terrain, little
// enough that the terrain shows through where rings crowd.
constexpr int kRingAlpha = 190;
// How much darker the pixels beside a ring become.
constexpr int kEdgeAlpha = 70;
// Rings up to this many pixels high keep the extent of each of their rows in a table; larger
// ones (a close zoom) work each row out as they need it.
constexpr double kLargestTabled = 4096;
// Drawing a ring by rows costs about a pass over a bit row per picture row and ring row, drawing
// it around each centre about one span per ring row: with at least this many centres per bit row
// word of the picture, rows are the cheaper (measured in the editor's benchmark).
constexpr double kRowsPerCentre = 0.5;

// One ring's rows: on row dy from the centre (either side) the ring covers the columns from
// Inner to Outer on both sides, or the whole chord from -Outer to Outer when Inner is -1 (its top
// and bottom, where the inner edge does not reach). Outer -1: nothing on that row.
struct RingRow {
    int64_t Inner = -1;
    int64_t Outer = -1;
};

// The pixels whose centres lie between the ellipses of half-axes (rx - 1/2, rz - 1/2) and
// (rx + 1/2, rz + 1/2): a line one pixel wide, without gaps.
class CRingShape {
public:
    CRingShape(double rx, double rz) : m_rx(rx), m_rz(rz), m_height(int64_t(std::floor(rz + 0.5)))
    {
        if (rz <= kLargestTabled) {
            m_rows.resize(size_t(m_height) + 1);
            for (int64_t dy = 0; dy <= m_height; ++dy)
                m_rows[size_t(dy)] = Compute(dy);
        }
    }
    // Rows above and below the centre that the ring reaches.
    int64_t Height() const { return m_height; }
    int64_t Width() const { return int64_t(std::floor(m_rx + 0.5)); }
    RingRow Row(int64_t dy) const { return m_rows.empty() ? Compute(dy) : m_rows[size_t(dy)]; }

private:
    static double Chord(double rx, double rz, double dy)
    {
        const double t = 1.0 - (dy * dy) / (rz * rz);
        return t > 0 ? rx * std::sqrt(t) : 0.0;
    }
    RingRow Compute(int64_t dy) const
    {
        const double outer = Chord(m_rx + 0.5, m_rz + 0.5, double(dy));
        if (outer < 0.0 || (double(dy) > m_rz + 0.5))
            return {};
        RingRow row;
        row.Outer = int64_t(std::floor(outer));
        if (double(dy) < m_rz - 0.5 && m_rx > 0.5) {
            row.Inner = int64_t(std::ceil(Chord(m_rx - 0.5, m_rz - 0.5, double(dy))));
            if (row.Inner > row.Outer)
                row.Outer = -1;
        }
        return row;
    }

    double m_rx;
    double m_rz;
    int64_t m_height;
    std::vector<RingRow> m_rows;
};

struct Centre {
    int64_t X;
    int64_t Y;
};

// Bit rows, one bit a pixel column, lowest bit first: ORs into `dst` the row `src` moved by
// `shift` columns (towards higher columns when positive). `dst` may be `src` for a positive shift.
void OrShifted(uint64_t* dst, const uint64_t* src, int64_t words, int64_t shift)
{
    if (shift >= 0) {
        const int64_t ws = shift / 64;
        const int bs = int(shift % 64);
        for (int64_t j = words - 1; j >= ws; --j) {
            uint64_t v = src[j - ws] << bs;
            if (bs && j - ws - 1 >= 0)
                v |= src[j - ws - 1] >> (64 - bs);
            dst[j] |= v;
        }
        return;
    }
    const int64_t ws = -shift / 64;
    const int bs = int(-shift % 64);
    for (int64_t j = 0; j + ws < words; ++j) {
        uint64_t v = src[j + ws] >> bs;
        if (bs && j + ws + 1 < words)
            v |= src[j + ws + 1] << (64 - bs);
        dst[j] |= v;
    }
}

// Which pixels any ring covers, one byte each, and the rows touched, then blended once.
class CRingMask {
public:
    CRingMask(int64_t left, int64_t top, int64_t right, int64_t bottom)
        : m_left(left), m_top(top), m_right(right), m_bottom(bottom), m_width(right - left + 1),
          m_cover(size_t(std::max<int64_t>(m_width, 0) * std::max<int64_t>(bottom - top + 1, 0)), 0)
    {
    }
    bool IsEmpty() const { return m_width <= 0 || m_bottom < m_top; }

    void Draw(const CRingShape& ring, int64_t cx, int64_t cy)
    {
        const int64_t width = ring.Width();
        if (cx + width < m_left || cx - width > m_right || cy + ring.Height() < m_top || cy - ring.Height() > m_bottom)
            return;
        const int64_t y0 = std::max(m_top, cy - ring.Height());
        const int64_t y1 = std::min(m_bottom, cy + ring.Height());
        m_firstRow = std::min(m_firstRow, y0);
        m_lastRow = std::max(m_lastRow, y1);
        if (cx - width >= m_left && cx + width <= m_right) {
            // The whole width inside: no span needs clipping.
            uint8_t* centre = m_cover.data() + size_t((y0 - m_top) * m_width) + (cx - m_left);
            for (int64_t y = y0; y <= y1; ++y, centre += m_width) {
                const RingRow row = ring.Row(y > cy ? y - cy : cy - y);
                if (row.Outer < 0)
                    continue;
                for (int64_t x = row.Inner < 0 ? 0 : row.Inner; x <= row.Outer; ++x)
                    centre[x] = centre[-x] = 1;
            }
            return;
        }
        for (int64_t y = y0; y <= y1; ++y) {
            const RingRow row = ring.Row(y > cy ? y - cy : cy - y);
            if (row.Outer < 0)
                continue;
            uint8_t* line = m_cover.data() + size_t((y - m_top) * m_width);
            if (row.Inner < 0) {
                Span(line, cx - row.Outer, cx + row.Outer);
            } else {
                Span(line, cx - row.Outer, cx - row.Inner);
                Span(line, cx + row.Inner, cx + row.Outer);
            }
        }
    }

    // One ring around each centre. With many centres the ring is drawn by rows instead: each row
    // of the picture is the rows of centres above and below it, moved by the ring's spans there, as
    // bit rows; the cost then follows the size of the picture and the ring, not the centres.
    void DrawAll(const CRingShape& ring, const std::vector<Centre>& centres)
    {
        const int64_t w = ring.Width();
        const int64_t h = ring.Height();
        const int64_t left = m_left - w; // the columns and rows where a centre's ring can reach in
        const int64_t top = m_top - h;
        const int64_t columns = m_right + w - left + 1;
        const int64_t rows = m_bottom + h - top + 1;
        const int64_t words = (columns + 63) / 64;
        const double perRow = double(m_bottom - m_top + 1) * double(words);
        if (double(centres.size()) < perRow * kRowsPerCentre || rows > (int64_t(1) << 20)) {
            for (const Centre& c : centres)
                Draw(ring, c.X, c.Y);
            return;
        }
        std::vector<uint64_t> source(size_t(rows * words), 0);
        std::vector<uint8_t> used(size_t(rows), 0);
        for (const Centre& c : centres) {
            if (c.X < left || c.X >= left + columns || c.Y < top || c.Y >= top + rows)
                continue;
            const int64_t x = c.X - left;
            source[size_t((c.Y - top) * words + x / 64)] |= uint64_t(1) << (x % 64);
            used[size_t(c.Y - top)] = 1;
        }
        std::vector<uint64_t> out(static_cast<size_t>(words));
        std::vector<uint64_t> spread(static_cast<size_t>(words));
        const auto orRun = [&](const uint64_t* row, int64_t from, int64_t to) {
            // Every centre's bit spread over to - from + 1 columns, then moved to start at `from`.
            std::copy(row, row + words, spread.begin());
            for (int64_t have = 1, length = to - from + 1; have < length;) {
                const int64_t step = std::min(have, length - have);
                OrShifted(spread.data(), spread.data(), words, step);
                have += step;
            }
            OrShifted(out.data(), spread.data(), words, from);
        };
        for (int64_t y = m_top; y <= m_bottom; ++y) {
            std::fill(out.begin(), out.end(), 0);
            bool any = false;
            for (int64_t d = -h; d <= h; ++d) {
                const int64_t sourceRow = y - d - top;
                if (!used[size_t(sourceRow)])
                    continue;
                const RingRow span = ring.Row(d < 0 ? -d : d);
                if (span.Outer < 0)
                    continue;
                const uint64_t* row = source.data() + size_t(sourceRow * words);
                any = true;
                if (span.Inner < 0) {
                    orRun(row, -span.Outer, span.Outer);
                } else {
                    orRun(row, -span.Outer, -span.Inner);
                    orRun(row, span.Inner, span.Outer);
                }
            }
            if (!any)
                continue;
            m_firstRow = std::min(m_firstRow, y);
            m_lastRow = std::max(m_lastRow, y);
            uint8_t* line = m_cover.data() + size_t((y - m_top) * m_width);
            for (int64_t x = m_left; x <= m_right; ++x) {
                const int64_t bit = x - left;
                if ((out[size_t(bit / 64)] >> (bit % 64)) & 1u)
                    line[x - m_left] = 1;
            }
        }
    }

    // The rings in `colour`, with a faint dark edge on the pixels beside them, so that a light
    // colour still reads over light terrain and a dark one over dark.
    void Blend(QImage& bitmap, QRgb colour) const
    {
        const int a = kRingAlpha;
        const int r = qRed(colour) * a;
        const int g = qGreen(colour) * a;
        const int b = qBlue(colour) * a;
        const int keep = 255 - kEdgeAlpha;
        const int64_t first = std::max(m_firstRow - 1, m_top);
        const int64_t last = std::min(m_lastRow + 1, m_bottom);
        for (int64_t y = first; y <= last; ++y) {
            const uint8_t* cover = m_cover.data() + size_t((y - m_top) * m_width);
            const uint8_t* above = y > m_top ? cover - m_width : nullptr;
            const uint8_t* below = y < m_bottom ? cover + m_width : nullptr;
            auto* pixels = reinterpret_cast<QRgb*>(bitmap.scanLine(int(y))) + m_left;
            for (int64_t x = 0; x < m_width; ++x) {
                const QRgb p = pixels[x];
                if (cover[x]) {
                    pixels[x] = qRgb((r + qRed(p) * (255 - a)) / 255, (g + qGreen(p) * (255 - a)) / 255,
                                     (b + qBlue(p) * (255 - a)) / 255);
                } else if ((x > 0 && cover[x - 1]) || (x + 1 < m_width && cover[x + 1]) || (above && above[x])
                           || (below && below[x])) {
                    pixels[x] = qRgb(qRed(p) * keep / 255, qGreen(p) * keep / 255, qBlue(p) * keep / 255);
                }
            }
        }
    }

private:
    void Span(uint8_t* line, int64_t x0, int64_t x1) const
    {
        x0 = std::max(x0, m_left);
        x1 = std::min(x1, m_right);
        if (x0 <= x1)
            std::memset(line + (x0 - m_left), 1, size_t(x1 - x0 + 1));
    }

    int64_t m_left, m_top, m_right, m_bottom, m_width;
    int64_t m_firstRow = INT64_MAX;
    int64_t m_lastRow = INT64_MIN;
    std::vector<uint8_t> m_cover;
};

QRgb ColourOf(int32_t windowsColour)
{
    const auto bits = static_cast<uint32_t>(windowsColour);
    return qRgb(int(bits & 0xFF), int((bits >> 8) & 0xFF), int((bits >> 16) & 0xFF));
}

// The pixel centres of the records' symbols (all, or those `only` names) that have a position.
template <typename List>
std::vector<Centre> CentresOf(const List& records, const CViewport& view, const std::vector<int>* only)
{
    std::vector<Centre> centres;
    const auto add = [&](size_t i) {
        if (!std::isfinite(records[i].X) || !std::isfinite(records[i].Z))
            return;
        int32_t column = 0;
        int32_t row = 0;
        // The symbol's own centre, so that ring and symbol line up.
        view.MapToPixel(records[i].X, records[i].Z, column, row);
        centres.push_back({column, row});
    };
    if (!only) {
        centres.reserve(records.size());
        for (size_t i = 0; i < records.size(); ++i)
            add(i);
        return centres;
    }
    for (const int i : *only) {
        if (i >= 0 && size_t(i) < records.size())
            add(size_t(i));
    }
    return centres;
}

} // namespace

// --- Settings ----------------------------------------------------------------------------------

namespace {

// QSettings reads its whole file, waiting on a pipe and reading a device for ever: anything but a
// regular file of a settings file's size is left alone.
bool UsableSettings(const QString& file)
{
    const QFileInfo info(file);
    return !info.exists() || (info.isFile() && info.size() <= FileLimits::Settings.Bytes);
}

} // namespace

RangeRings RangeRings::Read(const QString& file)
{
    RangeRings rings;
    if (!UsableSettings(file))
        return rings;
    QSettings settings(file, QSettings::IniFormat);
    settings.beginGroup(QStringLiteral("RangeRings"));
    for (int kind = 0; kind < 3; ++kind)
        rings.Radii[size_t(kind)] = rangerings::ParseRadii(settings.value(QLatin1String(kKeys[kind])).toString())
                                        .value_or(std::vector<double>());
    rings.OnlySelected = settings.value(QStringLiteral("OnlySelected"), false).toBool();
    return rings;
}

void RangeRings::Write(const QString& file) const
{
    if (!UsableSettings(file))
        return;
    QSettings settings(file, QSettings::IniFormat);
    settings.beginGroup(QStringLiteral("RangeRings"));
    for (int kind = 0; kind < 3; ++kind)
        settings.setValue(QLatin1String(kKeys[kind]), rangerings::RadiiText(Radii[size_t(kind)]));
    settings.setValue(QStringLiteral("OnlySelected"), OnlySelected);
    settings.endGroup();
    settings.sync();
}

std::optional<std::vector<double>> rangerings::ParseRadii(QStringView text, QString* problem)
{
    std::vector<double> radii;
    if (text.trimmed().isEmpty())
        return radii;
    const QLocale c = QLocale::c();
    for (const QStringView item : text.split(QLatin1Char(','))) {
        bool ok = false;
        const double radius = c.toDouble(item.trimmed(), &ok);
        if (!ok || !(radius > 0) || radius > kLargestRadius) {
            if (problem)
                *problem = QStringLiteral("\"%1\" is no radius: give numbers from 1 to %2 separated by commas")
                               .arg(MessageText::Shortened(item.trimmed()), c.toString(kLargestRadius, 'f', 0));
            return std::nullopt;
        }
        radii.push_back(radius);
    }
    std::sort(radii.begin(), radii.end());
    radii.erase(std::unique(radii.begin(), radii.end()), radii.end());
    if (radii.size() > size_t(kMostRadii)) {
        if (problem)
            *problem = QStringLiteral("at most %1 radii").arg(kMostRadii);
        return std::nullopt;
    }
    return radii;
}

QString rangerings::RadiiText(std::span<const double> radii)
{
    QStringList items;
    for (const double radius : radii)
        items << QLocale::c().toString(radius, 'g', 12);
    return items.join(QStringLiteral(", "));
}

// --- Drawing -----------------------------------------------------------------------------------

void DrawRangeRings(const CBINFile& document, const CTarnConfig& symbology, const CViewport& view, QImage& bitmap,
                    RecordKind kind, std::span<const double> radii, const std::vector<int>* only)
{
    if (radii.empty() || !view.HasScale() || bitmap.isNull() || bitmap.format() != QImage::Format_RGB32)
        return;
    // Only over the terrain: the border around it stays plain.
    CRingMask mask(std::max<int64_t>(0, std::min(view.PixelLeft, view.PixelRight)),
                   std::max<int64_t>(0, std::min(view.PixelTop, view.PixelBottom)),
                   std::min<int64_t>(bitmap.width() - 1, std::max(view.PixelLeft, view.PixelRight)),
                   std::min<int64_t>(bitmap.height() - 1, std::max(view.PixelTop, view.PixelBottom)));
    if (mask.IsEmpty())
        return;
    const std::vector<Centre> centres = kind == KeysiteKind ? CentresOf(document.Keysites(), view, only)
        : kind == AirbaseKind                               ? CentresOf(document.Airbases(), view, only)
                                                            : CentresOf(document.Sams(), view, only);
    for (const double radius : radii) {
        const double rx = radius * std::fabs(double(view.ScaleX));
        const double rz = radius * std::fabs(double(view.ScaleZ));
        // A ring within its symbol's pixel says nothing; one wider than any picture reaches none of it
        // in a way a line could show.
        if (!(rx >= 1.0 && rz >= 1.0) || rx > 1.0e8 || rz > 1.0e8)
            continue;
        mask.DrawAll(CRingShape(rx, rz), centres);
    }
    mask.Blend(bitmap, ColourOf(symbology.Style(kind).Color));
}
