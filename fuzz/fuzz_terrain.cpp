// Terrain files: a file that fails leaves the map as it was; one that loads holds exactly the
// samples its header announces, and the terrain writer gives back the file's own bytes.
#include "fuzzcommon.h"
#include "mapview/map.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input = fuzz::Bytes(data, size);
    CMap map;
    map.ColumnCount = 2;
    map.RowCount = 1;
    map.CellSizeX = 7.0f;
    map.CellSizeZ = 9.0f;
    map.Heights = {1.0f, 2.0f};

    QString reason;
    if (!ParseTerrain(input, map, &reason)) {
        FUZZ_CHECK(!reason.isEmpty());
        FUZZ_CHECK(map.ColumnCount == 2 && map.RowCount == 1 && map.CellSizeX == 7.0f && map.CellSizeZ == 9.0f);
        FUZZ_CHECK(map.Heights == (std::vector<float>{1.0f, 2.0f}));
        return 0;
    }
    const qint64 samples = qint64(map.ColumnCount) * map.RowCount;
    FUZZ_CHECK(map.ColumnCount >= 0 && map.RowCount >= 0);
    FUZZ_CHECK(qint64(map.Heights.size()) == samples);
    FUZZ_CHECK(16 + 4 * samples <= input.size());

    QString refused;
    const QByteArray written =
        TerrainFileBytes({map.ColumnCount, map.RowCount, map.CellSizeX, map.CellSizeZ, map.Heights}, &refused);
    FUZZ_CHECK(refused.isEmpty());
    FUZZ_CHECK(written == input.left(16 + 4 * samples));

    // Every lookup the renderer makes stays inside the samples.
    map.TerrainLoaded = true;
    const float probes[] = {-1.0f, 0.0f, 0.5f, map.GetExtentX(), map.GetExtentZ(), 1e30f, -1e30f};
    for (float x : probes) {
        for (float z : probes)
            (void)map.GetHeight(x, z);
    }
    return 0;
}
