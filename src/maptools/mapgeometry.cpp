#include "maptools/mapgeometry.h"

#include "mapview/overlay.h"

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
