// Sector files: a file too short for both counts leaves them at 0; otherwise the counts are the
// two 16-bit words after the first word, zero-extended, and the rest of the file is not read.
#include "fuzzcommon.h"
#include "mapview/map.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input = fuzz::Bytes(data, size);
    fuzz::WriteScratchFile(QStringLiteral("sectors/terrain/default.sec"), input);
    CMap map;
    map.MapPath = fuzz::Scratch().filePath(QStringLiteral("sectors"));
    const bool loaded = map.LoadSectors();
    FUZZ_CHECK(loaded == (size >= 8));
    if (!loaded) {
        FUZZ_CHECK(map.SectorCountX == 0 && map.SectorCountZ == 0);
        return 0;
    }
    FUZZ_CHECK(map.SectorCountX == (data[4] | (data[5] << 8)));
    FUZZ_CHECK(map.SectorCountZ == (data[6] | (data[7] << 8)));
    // The sector writer gives back the counts' bytes.
    FUZZ_CHECK(SectorFileBytes(map.SectorCountX, map.SectorCountZ).mid(4) == input.mid(4, 4));
    int32_t halfX = -1;
    int32_t halfZ = -1;
    map.GetHalfSectorCounts(halfX, halfZ);
    FUZZ_CHECK(halfX == map.SectorCountX / 2 && halfZ == map.SectorCountZ / 2);
    return 0;
}
