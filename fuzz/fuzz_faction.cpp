// Layered image / faction files: whatever parses is written back byte for byte; a file with a
// usable Background layer gives a faction grid that, stored and saved, reads back to the same grid
// while every other layer is written back unchanged.
#include "factions/factionsinfo.h"
#include "fuzzcommon.h"

namespace {

std::vector<int> Grid(const CFactionsInfo& info)
{
    std::vector<int> grid;
    grid.reserve(size_t(info.Columns) * size_t(info.Rows));
    for (int32_t i = 0; i < info.Columns; ++i) {
        for (int32_t j = 0; j < info.Rows; ++j)
            grid.push_back(info.GetFaction(i, j));
    }
    return grid;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input = fuzz::Bytes(data, size);
    CLayeredDocument doc;
    QString reason;
    if (!doc.Parse(input, &reason)) {
        FUZZ_CHECK(!reason.isEmpty());
        return 0;
    }
    FUZZ_CHECK(doc.Serialize() == input);
    FUZZ_CHECK(doc.Layers.size() == doc.LayerCount);

    CFactionsInfo info;
    info.Document() = doc;
    if (!info.ExtractFactions(&reason)) {
        FUZZ_CHECK(!info.HasDocument());
        return 0;
    }
    FUZZ_CHECK(info.Columns > 0 && info.Rows > 0);
    FUZZ_CHECK(info.Columns <= CFactionsInfo::MaxSide && info.Rows <= CFactionsInfo::MaxSide);
    // The round trip below copies the grid a few times; large grids are checked by extraction alone.
    if (int64_t(info.Columns) * info.Rows > (int64_t(1) << 20))
        return 0;
    const std::vector<int> grid = Grid(info);
    for (int value : grid)
        FUZZ_CHECK(value == 0 || value == 1);

    // Paint a corner so that the stored channels differ from the file's.
    info.SetFaction(1 - info.GetFaction(0, 0), 0, 0);
    std::vector<int> painted = grid;
    painted[0] = 1 - painted[0];
    if (!info.StoreFactions())
        return 0; // a row too long for its 16-bit packed length: nothing was changed
    const QByteArray saved = info.Document().Serialize();

    CFactionsInfo reloaded;
    if (!reloaded.Document().Parse(saved, &reason)) {
        std::fprintf(stderr, "saved faction file does not parse: %s\n", qPrintable(reason));
        FUZZ_CHECK(false);
    }
    FUZZ_CHECK(reloaded.ExtractFactions(&reason));
    FUZZ_CHECK(reloaded.Columns == info.Columns && reloaded.Rows == info.Rows);
    FUZZ_CHECK(Grid(reloaded) == painted);
    const CLayeredDocument& after = reloaded.Document();
    FUZZ_CHECK(after.Layers.size() == doc.Layers.size());
    const int background = doc.FindLayer(QByteArrayLiteral("Background"));
    for (size_t l = 0; l < doc.Layers.size(); ++l) {
        const auto& was = doc.Layers[l].Channels;
        const auto& now = after.Layers[l].Channels;
        FUZZ_CHECK(was.size() == now.size());
        for (size_t c = 0; c < was.size(); ++c) {
            if (int(l) != background || c == 1 || c > 2)
                FUZZ_CHECK(was[c].Data == now[c].Data);
        }
    }
    FUZZ_CHECK(after.TrailingData == doc.TrailingData);
    return 0;
}
