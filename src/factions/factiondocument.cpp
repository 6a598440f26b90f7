#include "factions/factiondocument.h"

#include "factions/packbits.h"

#include <QtEndian>
#include <cstring>
#include <vector>

namespace {

template <size_t N>
void SetBigEndian(std::array<unsigned char, N>& raw, size_t at, uint32_t value, int bytes)
{
    for (int b = 0; b < bytes; ++b)
        raw[at + size_t(b)] = static_cast<unsigned char>(value >> (8 * (bytes - 1 - b)));
}

// The flattened picture: compression code 1, the byte counts of every row of every channel, then
// the packed rows, channel after channel.
QByteArray FlattenedPicture(const std::vector<std::vector<unsigned char>>& planes, int32_t columns, int32_t rows)
{
    QByteArray counts;
    QByteArray packedRows;
    for (const auto& plane : planes) {
        const QByteArray channel = PackChannel(plane.data(), rows, columns);
        counts += channel.mid(2, 2 * qsizetype(rows));
        packedRows += channel.mid(2 + 2 * qsizetype(rows));
    }
    return QByteArray("\0\1", 2) + counts + packedRows;
}

} // namespace

CLayeredDocument NewFactionDocument(int32_t columns, int32_t rows,
                                    const std::function<int(int32_t column, int32_t row)>& factionOf)
{
    std::vector<std::vector<unsigned char>> planes(3, std::vector<unsigned char>(size_t(columns) * size_t(rows), 0));
    for (int32_t j = 0; j < rows; ++j) {
        for (int32_t i = 0; i < columns; ++i) {
            const bool red = factionOf(i, j) != 0;
            planes[0][size_t(j) * columns + i] = red ? 255 : 0;
            planes[2][size_t(j) * columns + i] = red ? 0 : 255;
        }
    }

    CLayeredDocument doc;
    std::memcpy(doc.Header.data(), "8BPS", 4);
    SetBigEndian(doc.Header, 4, 1, 2);  // version
    SetBigEndian(doc.Header, 12, 3, 2); // channels
    SetBigEndian(doc.Header, 14, uint32_t(rows), 4);
    SetBigEndian(doc.Header, 18, uint32_t(columns), 4);
    SetBigEndian(doc.Header, 22, 8, 2); // bits per channel
    SetBigEndian(doc.Header, 24, 3, 2); // RGB

    LayerRecord layer;
    SetBigEndian(layer.Rectangle, 8, uint32_t(rows), 4);
    SetBigEndian(layer.Rectangle, 12, uint32_t(columns), 4);
    for (int c = 0; c < 3; ++c) {
        ChannelRecord channel;
        channel.Identifier = {0, static_cast<unsigned char>(c)};
        channel.Data = PackChannel(planes[size_t(c)].data(), rows, columns);
        channel.Length = uint32_t(channel.Data.size());
        layer.Channels.push_back(std::move(channel));
    }
    std::memcpy(layer.BlendSignature.data(), "8BIM", 4);
    std::memcpy(layer.BlendKey.data(), "norm", 4);
    layer.Opacity = 255;
    layer.NameBlock = QByteArray("\nBackground\0", 12); // length byte (10), name, pad to 4
    layer.ExtraLength = uint32_t(8 + layer.NameBlock.size());
    doc.Layers.push_back(std::move(layer));
    doc.LayerCount = 1;
    doc.TrailingData = FlattenedPicture(planes, columns, rows);
    // The section holds the layer information and the empty global mask.
    doc.LayerInfoLength = 0;
    doc.LayerSectionLength = 8;
    doc.RecomputeLengths();
    return doc;
}
