#include "maptools/mapgeometry.h"

#include "document/binfile.h"
#include "mapview/overlay.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

RecordPoint PixelToRecord(const CViewport& view, int32_t column, int32_t row)
{
    RecordPoint point;
    view.PixelToMap(column, row, point.X, point.Z);
    return point;
}

std::optional<RecordHit> RecordAt(const CBINFile& document, const CViewport& view, int32_t column, int32_t row)
{
    RecordKind kind = KeysiteKind;
    int32_t index = -1;
    if (!HitTest(document, view, column, row, kind, index))
        return std::nullopt;
    return RecordHit{kind, index};
}

std::optional<RecordHit> RecordAt(const CBINFile& document, const CViewport& view, int32_t column, int32_t row,
                                  const std::array<bool, 3>& kinds)
{
    if (kinds[KeysiteKind] && kinds[AirbaseKind] && kinds[SamKind])
        return RecordAt(document, view, column, row);
    if (!view.HasScale())
        return std::nullopt;
    // The same reach and order as the whole hit test: a square a tenth of the visible width
    // around the pixel, the first of the nearest in the order keysites, airbases, SAM sites.
    float cx = 0;
    float cz = 0;
    view.PixelToMap(column, row, cx, cz);
    const auto tolerance = static_cast<double>((int64_t(view.MapRight) - view.MapLeft) / 10);
    std::optional<RecordHit> best;
    float bestDistance = 0;
    const auto search = [&](RecordKind kind, const auto& records) {
        if (!kinds[size_t(kind)])
            return;
        for (size_t i = 0; i < records.size(); ++i) {
            const double x = records[i].X;
            const double z = records[i].Z;
            if (!(cx - tolerance <= x && x <= cx + tolerance && cz - tolerance <= z && z <= cz + tolerance))
                continue;
            const auto distance = static_cast<float>(std::sqrt((x - cx) * (x - cx) + (z - cz) * (z - cz)));
            if (!best || distance < bestDistance) {
                best = RecordHit{kind, int(i)};
                bestDistance = distance;
            }
        }
    };
    search(KeysiteKind, document.Keysites());
    search(AirbaseKind, document.Airbases());
    search(SamKind, document.Sams());
    return best;
}

std::optional<RecordHit> SymbolAt(const CBINFile& document, const CViewport& view, const std::array<bool, 3>& pickable,
                                  int reach, int32_t column, int32_t row, const RecordTest& takes)
{
    if (!view.HasScale())
        return std::nullopt;
    std::optional<RecordHit> best;
    int64_t bestDistance = 0;
    const auto search = [&](RecordKind kind, const auto& records) {
        if (!pickable[size_t(kind)])
            return;
        for (size_t i = 0; i < records.size(); ++i) {
            const auto& record = records[i];
            if (!view.IsOnMap(record.X, record.Z) || (takes && !takes(kind, int(i))))
                continue;
            int32_t x = 0;
            int32_t y = 0;
            view.MapToPixel(record.X, record.Z, x, y);
            const int64_t dx = int64_t(x) - column;
            const int64_t dy = int64_t(y) - row;
            if (std::llabs(dx) > reach || std::llabs(dy) > reach)
                continue;
            // Later records are drawn over earlier ones: at equal distance the later one is taken.
            const int64_t distance = dx * dx + dy * dy;
            if (!best || distance <= bestDistance) {
                best = RecordHit{kind, int(i)};
                bestDistance = distance;
            }
        }
    };
    search(KeysiteKind, document.Keysites());
    search(AirbaseKind, document.Airbases());
    search(SamKind, document.Sams());
    return best;
}

std::array<std::vector<int>, 3> RecordsInRect(const CBINFile& document, const CViewport& view,
                                              const std::array<bool, 3>& pickable, int32_t x0, int32_t y0, int32_t x1,
                                              int32_t y1, const RecordTest& takes)
{
    std::array<std::vector<int>, 3> inside;
    if (!view.HasScale())
        return inside;
    const int32_t left = std::min(x0, x1);
    const int32_t right = std::max(x0, x1);
    const int32_t top = std::min(y0, y1);
    const int32_t bottom = std::max(y0, y1);
    const auto collect = [&](RecordKind kind, const auto& records) {
        if (!pickable[size_t(kind)])
            return;
        std::vector<int>& chosen = inside[size_t(kind)];
        for (size_t i = 0; i < records.size(); ++i) {
            if (!view.IsOnMap(records[i].X, records[i].Z) || (takes && !takes(kind, int(i))))
                continue;
            int32_t x = 0;
            int32_t y = 0;
            view.MapToPixel(records[i].X, records[i].Z, x, y);
            if (left <= x && x <= right && top <= y && y <= bottom)
                chosen.push_back(int(i));
        }
    };
    collect(KeysiteKind, document.Keysites());
    collect(AirbaseKind, document.Airbases());
    collect(SamKind, document.Sams());
    return inside;
}
