#pragma once
// The outline of a rectangle of sectors over the map: what a click of the faction brush would
// paint. Sectors are counted as the faction brush counts them, from record position 0, 0.

#include "mapview/viewport.h"

#include <QImage>
#include <cstdint>

// Outlines sectors firstColumn..lastColumn x firstRow..lastRow (edges included) in `bitmap`, in
// black with white inside, so that it shows on either faction's colour and on the heights.
void DrawSectorOutline(const CViewport& view, QImage& bitmap, int32_t firstColumn, int32_t firstRow, int32_t lastColumn,
                       int32_t lastRow);
