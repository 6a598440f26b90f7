#include "mapview/sectoroutline.h"

#include "factions/sectorsize.h"
#include "mapview/raster.h"

void DrawSectorOutline(const CViewport& view, QImage& bitmap, int32_t firstColumn, int32_t firstRow, int32_t lastColumn,
                       int32_t lastRow)
{
    if (!view.HasScale() || firstColumn > lastColumn || firstRow > lastRow)
        return;
    const int64_t s = SectorSize;
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    view.MapToPixel(float(firstColumn * s), float(firstRow * s), left, top);
    view.MapToPixel(float((int64_t(lastColumn) + 1) * s), float((int64_t(lastRow) + 1) * s), right, bottom);
    raster::DrawRectOutline(bitmap, left, top, right, bottom, qRgb(0, 0, 0));
    if (right - left > 2 && bottom - top > 2)
        raster::DrawRectOutline(bitmap, int64_t(left) + 1, int64_t(top) + 1, int64_t(right) - 1, int64_t(bottom) - 1,
                                qRgb(255, 255, 255));
}
