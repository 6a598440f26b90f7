#pragma once
// Small map packages written byte by byte for the map view tests.

#include "platform/streams.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <functional>
#include <vector>

namespace fixtures {

inline void WriteBytes(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

// A terrain of columns x rows samples, heights from `height(c, r)`.
inline QByteArray TerrainBytes(int32_t columns, int32_t rows, float cellX, float cellZ,
                               const std::function<float(int, int)>& height)
{
    CByteWriter writer;
    writer.WriteInt32(columns);
    writer.WriteInt32(rows);
    writer.WriteFloat(cellX);
    writer.WriteFloat(cellZ);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            writer.WriteFloat(height(c, r));
    return writer.Bytes();
}

inline QByteArray SectorBytes(int32_t x, int32_t z)
{
    CByteWriter writer;
    writer.WriteInt32(0);
    writer.WriteInt16(x);
    writer.WriteInt16(z);
    return writer.Bytes();
}

struct Link {
    int32_t A;
    int32_t B;
    std::vector<std::pair<float, float>> Points;
};

inline QByteArray NodeBytes(const std::vector<std::pair<float, float>>& nodes)
{
    CByteWriter writer;
    writer.WriteInt32(static_cast<int32_t>(nodes.size()));
    for (const auto& [x, z] : nodes) {
        writer.WriteFloat(x);
        writer.WriteFloat(0);
        writer.WriteFloat(z);
    }
    return writer.Bytes();
}

inline QByteArray LinkBytes(const std::vector<Link>& links)
{
    CByteWriter writer;
    writer.WriteInt32(static_cast<int32_t>(links.size()));
    for (const Link& link : links) {
        writer.WriteInt32(link.A);
        writer.WriteInt32(link.B);
        writer.WriteInt32(0);
        writer.WriteInt32(static_cast<int32_t>(link.Points.size()));
        for (const auto& [x, z] : link.Points) {
            writer.WriteFloat(x);
            writer.WriteFloat(0);
            writer.WriteFloat(z);
        }
    }
    return writer.Bytes();
}

} // namespace fixtures
