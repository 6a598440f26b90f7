#include "mapview/map.h"

#include "mapview/truncation.h"
#include "platform/filepaths.h"
#include "platform/streams.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <cmath>

namespace {

constexpr qint64 kTerrainHeaderSize = 16;

// Checks a terrain header against the bytes that follow it.
bool CheckTerrainHeader(int32_t columns, int32_t rows, float cellX, float cellZ, qint64 bytesAfterHeader,
                        QString* error)
{
    QString reason;
    if (columns < 0 || rows < 0)
        reason = QStringLiteral("negative sample count %1 x %2").arg(columns).arg(rows);
    else if (!std::isfinite(cellX) || !std::isfinite(cellZ))
        reason = QStringLiteral("cell size is not a number");
    else if (qint64(columns) * qint64(rows) > bytesAfterHeader / 4)
        reason = QStringLiteral("%1 x %2 samples need %3 bytes, the file holds %4 after its header")
                     .arg(columns).arg(rows).arg(quint64(columns) * quint64(rows) * 4).arg(bytesAfterHeader); // fits 64 bits unsigned
    if (reason.isEmpty())
        return true;
    if (error)
        *error = reason;
    return false;
}

} // namespace

QString CMap::PackageFile(const char* relative) const
{
    return ResolveGamePath(MapPath, QLatin1String(relative));
}

bool CMap::Load(const QString& mapFolder, QString* error)
{
    MapPath = mapFolder;
    LoadSectors();
    TerrainLoaded = LoadTerrain(error);
    LoadRoads();
    LoadRivers();
    LoadUtilities();
    LoadBoundary();
    return TerrainLoaded;
}

bool CMap::LoadSectors()
{
    const QString name = PackageFile("terrain\\default.sec");
    if (!QFileInfo::exists(name))
        return false;
    CFileReader reader(name);
    int32_t unused = 0;
    int32_t countX = 0;
    int32_t countZ = 0;
    reader.ReadInt32(unused);
    reader.ReadInt16(countX);
    reader.ReadInt16(countZ);
    // A sector file too short for both counts leaves them at 0, as a missing one does.
    if (reader.Failed())
        return false;
    SectorCountX = countX;
    SectorCountZ = countZ;
    return true;
}

bool ParseTerrain(const QByteArray& bytes, CMap& map, QString* error)
{
    CByteReader reader(bytes);
    int32_t columns = 0;
    int32_t rows = 0;
    float cellX = 0;
    float cellZ = 0;
    reader.ReadInt32(columns);
    reader.ReadInt32(rows);
    reader.ReadFloat(cellX);
    reader.ReadFloat(cellZ);
    if (reader.Failed()) {
        if (error)
            *error = QStringLiteral("terrain header: %1").arg(reader.Error());
        return false;
    }
    if (!CheckTerrainHeader(columns, rows, cellX, cellZ, reader.Remaining(), error))
        return false;
    const qint64 count = qint64(columns) * qint64(rows);
    std::vector<float> heights(static_cast<size_t>(count));
    // The samples are stored exactly as they are kept: little-endian floats, row after row.
    const char* data = bytes.constData() + kTerrainHeaderSize;
    for (qint64 i = 0; i < count; ++i)
        heights[static_cast<size_t>(i)] = qFromLittleEndian<float>(data + 4 * i);
    map.Heights = std::move(heights);
    map.UpdateShades();
    map.ColumnCount = columns;
    map.RowCount = rows;
    map.CellSizeX = cellX;
    map.CellSizeZ = cellZ;
    return true;
}

bool CMap::LoadTerrain(QString* error)
{
    const QString name = PackageFile("terrain\\terrain.sim");
    if (!QFileInfo::exists(name)) {
        if (error)
            *error = QStringLiteral("%1: no such file").arg(name);
        return false;
    }
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(name, file.errorString());
        return false;
    }
    QString reason;
    if (!ParseTerrain(file.readAll(), *this, &reason)) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(name, reason);
        return false;
    }
    return true;
}

bool IsReadableTerrain(const QString& mapFolder, QString* error)
{
    const QString name = ResolveGamePath(mapFolder, QStringLiteral("terrain\\terrain.sim"));
    QFile file(name);
    if (!file.exists() || !QFileInfo(name).isFile()) {
        if (error)
            *error = QStringLiteral("%1: no such file").arg(name);
        return false;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(name, file.errorString());
        return false;
    }
    const QByteArray header = file.read(kTerrainHeaderSize);
    if (header.size() < kTerrainHeaderSize) {
        if (error)
            *error = QStringLiteral("%1: shorter than a terrain header").arg(name);
        return false;
    }
    const auto columns = qFromLittleEndian<int32_t>(header.constData());
    const auto rows = qFromLittleEndian<int32_t>(header.constData() + 4);
    const auto cellX = qFromLittleEndian<float>(header.constData() + 8);
    const auto cellZ = qFromLittleEndian<float>(header.constData() + 12);
    QString reason;
    if (!CheckTerrainHeader(columns, rows, cellX, cellZ, file.size() - kTerrainHeaderSize, &reason)) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(name, reason);
        return false;
    }
    return true;
}

uint8_t HeightShade(float height)
{
    if (!(height >= 0.0f))
        return 0;
    if (height >= 2325.0f)
        return 255;
    // For h >= 0, trunc(h + 1500) is 1500 + trunc(h): no rounding, whatever the precision.
    return static_cast<uint8_t>((1500 + static_cast<int>(height)) / 15);
}

void CMap::UpdateShades()
{
    Shades.resize(Heights.size());
    for (size_t i = 0; i < Heights.size(); ++i)
        Shades[i] = HeightShade(Heights[i]);
}

int32_t CMap::ColumnOf(float x) const
{
    // A terrain without samples in either direction has no cell 0 for the truncation below.
    if (!TerrainLoaded || ColumnCount <= 0 || RowCount <= 0)
        return -1;
    // Truncation toward zero puts -CellSizeX < x < 0 into column 0, as the simulator does.
    const double column = double(x) / double(CellSizeX);
    if (!(column > -1.0 && column < double(ColumnCount)))
        return -1;
    return static_cast<int32_t>(column);
}

int32_t CMap::RowOf(float z) const
{
    if (!TerrainLoaded || ColumnCount <= 0 || RowCount <= 0)
        return -1;
    const double row = double(z) / double(CellSizeZ);
    if (!(row > -1.0 && row < double(RowCount)))
        return -1;
    return static_cast<int32_t>(row);
}

float CMap::GetHeight(float x, float z) const
{
    return Sample(ColumnOf(x), RowOf(z));
}

void CMap::GetHalfSectorCounts(int32_t& halfX, int32_t& halfZ) const
{
    halfX = SectorCountX / 2;
    halfZ = SectorCountZ / 2;
}
