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
        return Fail(
            reason,
            QStringLiteral("the Background layer's first channel is too short for its %1 row byte counts").arg(h));
    pixels.assign(size_t(int64_t(w) * h), 0);
    int64_t rowStart = tableEnd;
    for (int32_t row = 0; row < h; ++row) {
        const int64_t count = qFromBigEndian<uint16_t>(bytes + 2 + 2 * row);
        if (rowStart + count > length)
            return Fail(reason,
                        QStringLiteral("packed row %1 of the Background layer's first channel runs past "
                                       "its %2 bytes")
                            .arg(row)
                            .arg(length));
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
        return Fail(
            reason,
            QStringLiteral("the Background layer has %1 channel(s); factions need three").arg(layer.Channels.size()));
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
