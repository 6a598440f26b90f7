// Layered image / faction files: whatever parses is written back byte for byte; a file with a
// usable Background layer gives a faction grid that, painted as an Alt+click paints it, saved to a
// file and read back, is the painted grid, while every other layer is written back unchanged.
// The click comes from the six reserved header bytes, which no reader looks at.
#include "factions/factionpaint.h"
#include "factions/factionsinfo.h"
#include "fuzzcommon.h"

#include <QtEndian>
#include <cmath>

namespace {

// The click: sector column and row from two 16-bit values, a position inside the sector from the
// fifth byte, the radius from the sixth.
struct Click {
    float X;
    float Z;
    int32_t Radius;
};

Click ClickOf(const QByteArray& input)
{
    const auto* raw = reinterpret_cast<const unsigned char*>(input.constData()) + 6;
    const float inside = float(raw[4]) * 16.0f;
    return {float(qFromBigEndian<int16_t>(raw)) * 4096.0f + inside,
            float(qFromBigEndian<int16_t>(raw + 2)) * 4096.0f + inside, int32_t(int8_t(raw[5]))};
}

// The rule, kept apart from PaintFactionSquare: the clicked sector (truncated toward zero), when
// it lies in the grid, and every sector of the grid within the radius around it take the opposite
// of the clicked sector's faction. `grid` is column by column, as Grid() gives it.
void PaintReference(std::vector<int>& grid, int32_t columns, int32_t rows, const Click& click)
{
    const double column = std::trunc(double(click.X * 0.000244140625f));
    const double row = std::trunc(double(click.Z * 0.000244140625f));
    if (column < 0 || row < 0 || column >= columns || row >= rows || click.Radius < 0)
        return;
    const int64_t c = int64_t(column);
    const int64_t r = int64_t(row);
    const int value = 1 - grid[size_t(c * rows + r)];
    for (int64_t i = std::max<int64_t>(c - click.Radius, 0); i <= std::min<int64_t>(c + click.Radius, columns - 1);
         ++i) {
        for (int64_t j = std::max<int64_t>(r - click.Radius, 0); j <= std::min<int64_t>(r + click.Radius, rows - 1);
             ++j)
            grid[size_t(i * rows + j)] = value;
    }
}

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

    // Paint a corner so that the stored channels differ from the file's, then click.
    info.SetFaction(1 - info.GetFaction(0, 0), 0, 0);
    std::vector<int> painted = grid;
    painted[0] = 1 - painted[0];
    const Click click = ClickOf(input);
    PaintFactionSquare(info, click.X, click.Z, click.Radius);
    PaintReference(painted, info.Columns, info.Rows, click);
    FUZZ_CHECK(Grid(info) == painted);

    const QString path = fuzz::Scratch().filePath(QStringLiteral("painted.sid"));
    QFile::remove(path);
    if (!info.SaveToFile(path, &reason)) {
        // Only a row too long for its 16-bit packed length may refuse; then nothing was written.
        FUZZ_CHECK(!QFile::exists(path));
        return 0;
    }
    CFactionsInfo reloaded;
    if (!reloaded.LoadFromFile(path, &reason)) {
        std::fprintf(stderr, "saved faction file does not load: %s\n", qPrintable(reason));
        FUZZ_CHECK(false);
    }
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
