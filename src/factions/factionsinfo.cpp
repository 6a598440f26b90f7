#include "factions/factionsinfo.h"

#include "factions/packbits.h"
#include "platform/fileread.h"

#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

const QByteArray& BackgroundName()
{
    static const QByteArray name("Background");
    return name;
}

bool Fail(QString* reason, const QString& text)
{
    if (reason)
        *reason = text;
    return false;
}

// Unpacks a channel of a w x h layer into `pixels` (made w * h bytes, zero to start with, once the
// channel is known to hold its row table, so that a short file cannot claim a large buffer).
bool UnpackChannel(const QByteArray& data, int32_t w, int32_t h, std::vector<unsigned char>& pixels, QString* reason)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(data.constData());
    const int64_t length = data.size();
    if (length < 2)
        return Fail(reason, QStringLiteral("the Background layer's first channel has no compression code"));
    const uint16_t code = qFromBigEndian<uint16_t>(bytes);
    if (code != 1) {
        const int64_t count = std::min<int64_t>(int64_t(w) * h, length - 2);
        pixels.assign(size_t(int64_t(w) * h), 0);
        std::memcpy(pixels.data(), bytes + 2, size_t(count));
        return true;
    }
    const int64_t tableEnd = 2 + 2 * int64_t(h);
    if (tableEnd > length)
        return Fail(reason, QStringLiteral("the Background layer's first channel is too short for its %1 row byte counts")
                                .arg(h));
    pixels.assign(size_t(int64_t(w) * h), 0);
    int64_t rowStart = tableEnd;
    for (int32_t row = 0; row < h; ++row) {
        const int64_t count = qFromBigEndian<uint16_t>(bytes + 2 + 2 * row);
        if (rowStart + count > length)
            return Fail(reason, QStringLiteral("packed row %1 of the Background layer's first channel runs past "
                                               "its %2 bytes").arg(row).arg(length));
        UnpackRow(bytes + rowStart, count, pixels.data() + int64_t(row) * w, w);
        rowStart += count;
    }
    return true;
}

// The grid of the Background layer of `doc`, row by row as the image stores it.
bool ExtractGrid(const CLayeredDocument& doc, int32_t& columns, int32_t& rows, std::vector<unsigned char>& grid,
                 QString* reason)
{
    const int index = doc.FindLayer(BackgroundName());
    if (index < 0)
        return Fail(reason, QStringLiteral("no layer named Background"));
    const LayerRecord& layer = doc.Layers[size_t(index)];
    if (layer.Channels.size() < 3)
        return Fail(reason, QStringLiteral("the Background layer has %1 channel(s); factions need three")
                                .arg(layer.Channels.size()));
    const int64_t w = int64_t(layer.Right()) - layer.Left();
    const int64_t h = int64_t(layer.Bottom()) - layer.Top();
    if (w <= 0 || h <= 0)
        return Fail(reason, QStringLiteral("the Background layer is %1 x %2 pixels").arg(w).arg(h));
    if (w > CFactionsInfo::MaxSide || h > CFactionsInfo::MaxSide || w * h > CFactionsInfo::MaxSectors)
        return Fail(reason, QStringLiteral("the Background layer of %1 x %2 pixels is too large").arg(w).arg(h));

    std::vector<unsigned char> pixels;
    if (!UnpackChannel(layer.Channels[0].Data, int32_t(w), int32_t(h), pixels, reason))
        return false;
    for (unsigned char& pixel : pixels)
        pixel = pixel > 127 ? 1 : 0;
    grid = std::move(pixels);
    columns = int32_t(w);
    rows = int32_t(h);
    return true;
}

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

} // namespace

bool CFactionsInfo::LoadFromFile(const QString& fileName, QString* reason)
{
    return GuardAllocation(reason, [&] { return Load(fileName, reason); });
}

bool CFactionsInfo::Load(const QString& fileName, QString* reason)
{
    CLayeredDocument doc;
    if (!doc.ReadDocument(fileName, reason))
        return false;
    int32_t columns = 0;
    int32_t rows = 0;
    std::vector<unsigned char> grid;
    if (!ExtractGrid(doc, columns, rows, grid, reason))
        return false;
    m_document = std::move(doc);
    m_factions = std::move(grid);
    Columns = columns;
    Rows = rows;
    m_loaded = true;
    return true;
}

bool CFactionsInfo::SaveToFile(const QString& fileName, QString* reason)
{
    if (!m_loaded)
        return Fail(reason, QStringLiteral("no faction file is loaded"));
    StoreFactions();
    return m_document.WriteDocument(fileName, reason);
}

bool CFactionsInfo::ExtractFactions(QString* reason)
{
    return GuardAllocation(reason, [&] { return Extract(reason); });
}

bool CFactionsInfo::Extract(QString* reason)
{
    int32_t columns = 0;
    int32_t rows = 0;
    std::vector<unsigned char> grid;
    if (!ExtractGrid(m_document, columns, rows, grid, reason))
        return false;
    m_factions = std::move(grid);
    Columns = columns;
    Rows = rows;
    m_loaded = true;
    return true;
}

bool CFactionsInfo::StoreFactions()
{
    const int index = m_document.FindLayer(BackgroundName());
    if (index < 0 || Columns <= 0 || Rows <= 0 || m_document.Layers[size_t(index)].Channels.size() < 3)
        return false;
    std::vector<unsigned char> pixels(m_factions.size());
    for (size_t k = 0; k < pixels.size(); ++k)
        pixels[k] = m_factions[k] ? 255 : 0;
    QByteArray first = PackChannel(pixels.data(), Rows, Columns);
    for (unsigned char& pixel : pixels)
        pixel = 255 - pixel;
    QByteArray third = PackChannel(pixels.data(), Rows, Columns);
    if (first.isEmpty() || third.isEmpty())
        return false;
    m_document.SetChannelData(index, 0, std::move(first));
    m_document.SetChannelData(index, 2, std::move(third));
    m_document.RecomputeLengths();
    return true;
}

int CFactionsInfo::GetFaction(int32_t column, int32_t row) const
{
    if (column < 0 || row < 0 || column >= Columns || row >= Rows)
        return -1;
    return m_factions[size_t(row) * size_t(Columns) + size_t(column)];
}

bool CFactionsInfo::SetFaction(int value, int32_t column, int32_t row)
{
    if (column < 0 || row < 0 || column >= Columns || row >= Rows)
        return false;
    m_factions[size_t(row) * size_t(Columns) + size_t(column)] = value != 0 ? 1 : 0;
    return true;
}

void CFactionsInfo::SetMapTransform(int32_t left, int32_t bottom, int32_t right, int32_t top, int32_t pixelLeft,
                                    int32_t pixelTop, int32_t pixelRight, int32_t pixelBottom, int32_t sectorSize,
                                    int32_t width, int32_t height)
{
    FactionSectorSize = sectorSize;
    ImageWidth = width;
    ImageHeight = height;
    const int64_t extentZ = int64_t(Rows) * sectorSize;
    FactionLeft = left;
    FactionRight = right;
    FactionTop = int32_t(extentZ - top);
    FactionBottom = int32_t(extentZ - bottom);
    FactionPixelLeft = pixelLeft;
    FactionPixelTop = pixelTop;
    FactionPixelRight = pixelRight;
    FactionPixelBottom = pixelBottom;
    if (FactionRight != FactionLeft)
        FactionScaleX = float(FactionPixelRight - FactionPixelLeft) / float(FactionRight - FactionLeft);
    if (FactionBottom != FactionTop)
        FactionScaleZ = float(FactionPixelBottom - FactionPixelTop) / float(FactionBottom - FactionTop);
}

void CFactionsInfo::MapToPixel(float x, float z, int32_t& column, int32_t& row) const
{
    column = Saturate((x - float(FactionLeft)) * FactionScaleX + float(FactionPixelLeft));
    row = Saturate((z - float(FactionTop)) * FactionScaleZ + float(FactionPixelTop));
}

void CFactionsInfo::Render(QImage& bitmap, QRgb buttonFace) const
{
    const int width = std::max(ImageWidth, 0);
    const int height = std::max(ImageHeight, 0);
    if (bitmap.width() != width || bitmap.height() != height || bitmap.format() != QImage::Format_RGB32)
        bitmap = QImage(width, height, QImage::Format_RGB32);
    if (bitmap.isNull())
        return;
    buttonFace |= 0xFF000000u;
    bitmap.fill(buttonFace);
    const int32_t S = FactionSectorSize;
    if (S <= 0)
        return;

    // Sectors around the view that lie outside the grid would be drawn in the button face colour
    // over the button face colour, so only the grid's part of the range is visited.
    const int64_t i0 = std::max<int64_t>(FactionLeft / S - 1, 0);
    const int64_t i1 = std::min<int64_t>(int64_t(FactionRight / S) + 2, Columns);
    const int64_t j0 = std::max<int64_t>(FactionTop / S - 1, 0);
    const int64_t j1 = std::min<int64_t>(int64_t(FactionBottom / S) + 2, Rows);
    if (i0 >= i1 || j0 >= j1)
        return;
    const QRgb colours[2] = {qRgb(0, 0, 255), qRgb(255, 0, 0)};

    // Neighbouring squares share their edges, so each edge is mapped once: square i spans the
    // columns from edge i up to, not including, edge i + 1 (likewise rows), clipped to the bitmap.
    std::vector<int32_t> columnEdges(size_t(i1 - i0 + 1));
    std::vector<int32_t> rowEdges(size_t(j1 - j0 + 1));
    int32_t unused = 0;
    for (int64_t i = i0; i <= i1; ++i)
        MapToPixel(float(i * S), 0.0f, columnEdges[size_t(i - i0)], unused);
    for (int64_t j = j0; j <= j1; ++j)
        MapToPixel(0.0f, float(j * S), unused, rowEdges[size_t(j - j0)]);

    for (int64_t j = j0; j < j1; ++j) {
        const int32_t a = rowEdges[size_t(j - j0)];
        const int32_t b = rowEdges[size_t(j - j0 + 1)];
        const int64_t top = std::max<int64_t>(std::min(a, b), 0);
        const int64_t bottom = std::min<int64_t>(std::max(a, b), height);
        if (top >= bottom)
            continue;
        auto* first = reinterpret_cast<QRgb*>(bitmap.scanLine(int(top)));
        const unsigned char* factions = m_factions.data() + size_t(j) * size_t(Columns);
        for (int64_t i = i0; i < i1; ++i) {
            const int32_t c = columnEdges[size_t(i - i0)];
            const int32_t d = columnEdges[size_t(i - i0 + 1)];
            const int64_t left = std::max<int64_t>(std::min(c, d), 0);
            const int64_t right = std::min<int64_t>(std::max(c, d), width);
            if (left < right)
                std::fill(first + left, first + right, colours[factions[i]]);
        }
        // The square's other rows repeat the first one over the same columns.
        const int64_t spanLeft = std::max<int64_t>(std::min(columnEdges.front(), columnEdges.back()), 0);
        const int64_t spanRight = std::min<int64_t>(std::max(columnEdges.front(), columnEdges.back()), width);
        if (spanLeft >= spanRight)
            continue;
        for (int64_t y = top + 1; y < bottom; ++y) {
            auto* line = reinterpret_cast<QRgb*>(bitmap.scanLine(int(y)));
            std::memcpy(line + spanLeft, first + spanLeft, size_t(spanRight - spanLeft) * sizeof(QRgb));
        }
    }
}
