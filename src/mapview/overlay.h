#pragma once
// The record overlay of the map: one symbol per keysite, airbase and SAM site, the sector grid,
// and the hit test that finds the record under a pixel. They work on the view they are given and
// the document's symbol styles.

#include "mapview/tarnconfig.h"
#include "mapview/viewport.h"

#include <QImage>
#include <cstdint>
#include <functional>
#include <span>

class CBINFile;

// Symbols of every record of the kind that lies in the visible rectangle, in list order.
void DrawKeysites(const CBINFile& document, const CTarnConfig& symbology, const CViewport& view, QImage& bitmap);
void DrawAirbases(const CBINFile& document, const CTarnConfig& symbology, const CViewport& view, QImage& bitmap);
void DrawSAMs(const CBINFile& document, const CTarnConfig& symbology, const CViewport& view, QImage& bitmap);
// Symbols of the records of the kind that `accepts` lets through and that lie in view.
void DrawAccepted(const CBINFile& document, const CTarnConfig& symbology, const CViewport& view, QImage& bitmap,
                  RecordKind kind, const std::function<bool(int)>& accepts);
// One symbol of the kind's style centred on (cx, cy).
void DrawSymbol(const CTarnConfig& symbology, QImage& bitmap, int64_t cx, int64_t cy, int kind);
// Marks the records of `kind` at `records` (list indices in ascending order; those beyond the list
// are passed over) that lie in view with a square ring around
// their symbol: a black outline around a white line, so that it shows on any symbol colour and any
// terrain. Only the ring's pixels change. With an offset (record units), the marks are drawn that
// far from the records, where a drag would put them.
void DrawSelection(const CBINFile& document, const CTarnConfig& symbology, const CViewport& view, QImage& bitmap,
                   RecordKind kind, std::span<const int> records, float dx = 0, float dz = 0);
// The symbols of the records of `kind` at `records` (ascending) drawn again, moved by (dx, dz).
void DrawMoved(const CBINFile& document, const CTarnConfig& symbology, const CViewport& view, QImage& bitmap,
               RecordKind kind, std::span<const int> records, float dx, float dz);
// White lines on multiples of the sector size, one sector beyond the visible rectangle.
void DrawGrid(const CViewport& view, QImage& bitmap);

// The nearest record (keysites, then airbases, then SAM sites at equal distance) within a tenth
// of the visible width of the pixel's position on both axes; false when none is, or while the
// view has no scale.
bool HitTest(const CBINFile& document, const CViewport& view, int32_t column, int32_t row, RecordKind& kind,
             int32_t& index);
