#pragma once
// Pixel and record position on the map picture, and the record under a pixel: plain functions
// over the view, for the tools and their tests.

#include "document/recordkind.h"
#include "mapview/viewport.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

class CBINFile;

// A position in record coordinates (X as on the terrain, Z growing downward like picture rows).
struct RecordPoint {
    float X = 0;
    float Z = 0;
    bool operator==(const RecordPoint&) const = default;
};

// The record position under picture pixel (column, row); (0, 0) while the view has no scale.
RecordPoint PixelToRecord(const CViewport& view, int32_t column, int32_t row);

// A keysite, airbase or SAM site by its list index.
struct RecordHit {
    RecordKind Kind = KeysiteKind;
    int Index = -1;
    bool operator==(const RecordHit&) const = default;
};

// Whether a record may be taken (drawn on the map); an empty test takes every record.
using RecordTest = std::function<bool(RecordKind kind, int index)>;

// The record whose symbol is under the pixel: the nearest whose position lies within `reach`
// pixels along both axes, among the kinds `pickable` allows and the records `takes` lets through;
// none while the view has no scale.
std::optional<RecordHit> SymbolAt(const CBINFile& document, const CViewport& view, const std::array<bool, 3>& pickable,
                                  int reach, int32_t column, int32_t row, const RecordTest& takes = {});

// The records of the kinds `pickable` allows (and `takes` lets through) whose positions show inside
// the picture rectangle between two pixels (corners in any order), ascending per kind.
std::array<std::vector<int>, 3> RecordsInRect(const CBINFile& document, const CViewport& view,
                                              const std::array<bool, 3>& pickable, int32_t x0, int32_t y0, int32_t x1,
                                              int32_t y1, const RecordTest& takes = {});

// The record nearest to the pixel within a tenth of the visible width (keysites, then airbases,
// then SAM sites at equal distance); none while the view has no scale.
std::optional<RecordHit> RecordAt(const CBINFile& document, const CViewport& view, int32_t column, int32_t row);

// The same among the kinds `kinds` allows (by RecordKind): the nearest of those, as if the others
// were not there.
std::optional<RecordHit> RecordAt(const CBINFile& document, const CViewport& view, int32_t column, int32_t row,
                                  const std::array<bool, 3>& kinds);
