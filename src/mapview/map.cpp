#include "mapview/map.h"

#include "mapview/truncation.h"
#include "platform/atomicsave.h"
#include "platform/filepaths.h"
#include "platform/fileread.h"
#include "platform/streams.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <cmath>

namespace {

constexpr qint64 kTerrainHeaderSize = 16;

bool Refuse(QString* error, const QString& reason)
{
    if (error)
        *error = reason;
    return false;
}

// Checks a terrain header against the most samples a terrain has and, when known (not for a pipe
// or device: -1), against the bytes that follow the header.
bool CheckTerrainHeader(int32_t columns, int32_t rows, float cellX, float cellZ, qint64 bytesAfterHeader,
                        QString* error)
{
    QString reason;
    const qint64 samples = qint64(columns) * qint64(rows);
    const auto need = [&] { return quint64(columns) * quint64(rows) * 4; }; // fits 64 bits unsigned
    if (columns < 0 || rows < 0)
        reason = QStringLiteral("negative sample count %1 x %2").arg(columns).arg(rows);
    else if (!std::isfinite(cellX) || !std::isfinite(cellZ))
        reason = QStringLiteral("cell size is not a number");
    else if (samples > FileLimits::MostTerrainSamples)
        reason = QStringLiteral("%1 x %2 samples need %3 bytes, more than any terrain file holds")
                     .arg(columns)
                     .arg(rows)
                     .arg(need());
    else if (bytesAfterHeader >= 0 && samples > bytesAfterHeader / 4)
        reason = QStringLiteral("%1 x %2 samples need %3 bytes, the file holds %4 after its header")
                     .arg(columns)
                     .arg(rows)
                     .arg(need())
                     .arg(bytesAfterHeader);
    if (reason.isEmpty())
        return true;
    if (error)
        *error = reason;
    return false;
}

// Reads a terrain from `device`: the header, then exactly the samples it announces, straight into
// the height grid. `length` is the device's length, or -1 for a pipe or device. On failure `map`
// is unchanged.
bool ReadTerrain(QIODevice& device, qint64 length, CMap& map, QString* error)
{
    char header[kTerrainHeaderSize];
    const qint64 got = device.read(header, kTerrainHeaderSize);
    if (got < 0) {
        if (error)
            *error = device.errorString();
        return false;
    }
    if (got < kTerrainHeaderSize) {
        if (error)
            *error = QStringLiteral("terrain header: unexpected end of data at offset %1").arg(got);
        return false;
    }
    const auto columns = qFromLittleEndian<int32_t>(header);
    const auto rows = qFromLittleEndian<int32_t>(header + 4);
    const auto cellX = qFromLittleEndian<float>(header + 8);
    const auto cellZ = qFromLittleEndian<float>(header + 12);
    if (!CheckTerrainHeader(columns, rows, cellX, cellZ, length < 0 ? -1 : length - kTerrainHeaderSize, error))
        return false;
    const qint64 count = qint64(columns) * qint64(rows);
    std::vector<float> heights(static_cast<size_t>(count));
    char* data = reinterpret_cast<char*>(heights.data());
    const qint64 need = 4 * count;
    qint64 have = 0;
    while (have < need) {
        const qint64 read = device.read(data + have, need - have);
        if (read < 0) {
            if (error)
                *error = device.errorString();
            return false;
        }
        if (read == 0)
            break;
        have += read;
    }
    if (have < need) {
        if (error)
            *error = QStringLiteral("%1 x %2 samples need %3 bytes, the file holds %4 after its header")
                         .arg(columns)
                         .arg(rows)
                         .arg(need)
                         .arg(have);
        return false;
    }
    // The samples are stored exactly as they are kept: little-endian floats, row after row.
    std::vector<uint8_t> shades(heights.size());
    for (size_t i = 0; i < heights.size(); ++i) {
        heights[i] = qFromLittleEndian<float>(data + 4 * i);
        shades[i] = HeightShade(heights[i]);
    }
    map.Heights = std::move(heights);
    map.Shades = std::move(shades);
    map.ColumnCount = columns;
    map.RowCount = rows;
    map.CellSizeX = cellX;
    map.CellSizeZ = cellZ;
    return true;
}

} // namespace

QString CMap::PackageFile(const char* relative) const { return ResolveGamePath(MapPath, QLatin1String(relative)); }

bool CMap::Load(const QString& mapFolder, QString* error)
{
    MapPath = mapFolder;
    QString reason;
    // Sectors and route networks may be missing or damaged, but running out of memory on any of
    // them fails the whole load: the map would look complete without being so.
    const bool loaded = GuardAllocation(&reason, [&] {
        LoadSectors();
        TerrainLoaded = LoadTerrain(&reason);
        LoadRoads();
        LoadRivers();
        LoadUtilities();
        LoadBoundary();
        return TerrainLoaded;
    });
    if (!loaded) {
        TerrainLoaded = false;
        if (error)
            *error = reason == OutOfMemoryReason() ? QStringLiteral("%1: %2").arg(mapFolder, reason) : reason;
    }
    return loaded;
}

bool CMap::LoadSectors()
{
    const QString name = PackageFile("terrain\\default.sec");
    if (!QFileInfo::exists(name))
        return false;
    // Only the first 8 bytes are read, so the file's length does not matter.
    QByteArray start;
    if (!ReadFileStart(name, FileLimits::SectorHeaderBytes, start))
        return false;
    CByteReader reader(start);
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
    return GuardAllocation(error, [&] {
        QBuffer buffer;
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        return ReadTerrain(buffer, bytes.size(), map, error);
    });
}

bool CMap::LoadTerrain(QString* error)
{
    QString name;
    QString reason;
    const bool loaded = GuardAllocation(&reason, [&] {
        name = PackageFile("terrain\\terrain.sim");
        if (!QFileInfo::exists(name)) {
            reason = QStringLiteral("no such file");
            return false;
        }
        QFile file(name);
        if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
            reason = file.errorString();
            return false;
        }
        return CheckFileLength(file, FileLimits::Terrain, &reason)
            && ReadTerrain(file, file.isSequential() ? -1 : file.size(), *this, &reason);
    });
    if (!loaded && error)
        *error = name.isEmpty() ? reason : QStringLiteral("%1: %2").arg(name, reason);
    return loaded;
}

bool IsReadableTerrain(const QString& mapFolder, QString* error)
{
    const QString name = ResolveGamePath(mapFolder, QStringLiteral("terrain\\terrain.sim"));
    QFile file(name);
    QString reason;
    const bool readable = [&] {
        if (!file.exists() || !QFileInfo(name).isFile()) {
            reason = QStringLiteral("no such file");
            return false;
        }
        if (!file.open(QIODevice::ReadOnly)) {
            reason = file.errorString();
            return false;
        }
        if (!CheckFileLength(file, FileLimits::Terrain, &reason))
            return false;
        const QByteArray header = file.read(kTerrainHeaderSize);
        if (header.size() < kTerrainHeaderSize) {
            reason = QStringLiteral("shorter than a terrain header");
            return false;
        }
        const auto columns = qFromLittleEndian<int32_t>(header.constData());
        const auto rows = qFromLittleEndian<int32_t>(header.constData() + 4);
        const auto cellX = qFromLittleEndian<float>(header.constData() + 8);
        const auto cellZ = qFromLittleEndian<float>(header.constData() + 12);
        return CheckTerrainHeader(columns, rows, cellX, cellZ, file.size() - kTerrainHeaderSize, &reason);
    }();
    if (!readable && error)
        *error = QStringLiteral("%1: %2").arg(name, reason);
    return readable;
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

float CMap::GetHeight(float x, float z) const { return Sample(ColumnOf(x), RowOf(z)); }

void CMap::GetHalfSectorCounts(int32_t& halfX, int32_t& halfZ) const
{
    halfX = SectorCountX / 2;
    halfZ = SectorCountZ / 2;
}

QByteArray TerrainFileBytes(const TerrainGrid& grid, QString* error)
{
    // The reader's own header check, so that whatever is written reads back.
    if (!CheckTerrainHeader(grid.ColumnCount, grid.RowCount, grid.CellSizeX, grid.CellSizeZ, -1, error))
        return {};
    const auto samples = static_cast<size_t>(qint64(grid.ColumnCount) * qint64(grid.RowCount));
    if (grid.Heights.size() != samples) {
        Refuse(error,
               QStringLiteral("%1 x %2 samples, but %3 heights")
                   .arg(grid.ColumnCount)
                   .arg(grid.RowCount)
                   .arg(grid.Heights.size()));
        return {};
    }
    QByteArray bytes(kTerrainHeaderSize + 4 * qsizetype(samples), Qt::Uninitialized);
    char* out = bytes.data();
    qToLittleEndian<int32_t>(grid.ColumnCount, out);
    qToLittleEndian<int32_t>(grid.RowCount, out + 4);
    qToLittleEndian<float>(grid.CellSizeX, out + 8);
    qToLittleEndian<float>(grid.CellSizeZ, out + 12);
    if (samples > 0)
        qToLittleEndian<float>(grid.Heights.data(), qsizetype(samples), out + kTerrainHeaderSize);
    return bytes;
}

bool SaveTerrainFile(const QString& fileName, const TerrainGrid& grid, QString* error)
{
    const QByteArray bytes = TerrainFileBytes(grid, error);
    return !bytes.isEmpty() && SaveFileAtomically(fileName, bytes, error);
}

QByteArray SectorFileBytes(int32_t countX, int32_t countZ, QString* error)
{
    if (countX < 0 || countX > 0xFFFF || countZ < 0 || countZ > 0xFFFF) {
        Refuse(error,
               QStringLiteral("sector counts %1 x %2: a sector file holds counts from 0 to 65535")
                   .arg(countX)
                   .arg(countZ));
        return {};
    }
    CByteWriter writer;
    writer.WriteInt32(0);
    writer.WriteInt16(countX);
    writer.WriteInt16(countZ);
    return writer.Bytes();
}

bool SaveSectorFile(const QString& fileName, int32_t countX, int32_t countZ, QString* error)
{
    const QByteArray bytes = SectorFileBytes(countX, countZ, error);
    return !bytes.isEmpty() && SaveFileAtomically(fileName, bytes, error);
}
