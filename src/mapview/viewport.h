#pragma once
// What the map picture shows, as one value: the part of the terrain in view, where it lies in the
// picture, the terrain's half sector counts and the picture size. The map view makes it; the
// overlay, the grid, the hit test, the faction layer and the mouse read-out take it. Record
// coordinates: X as on the terrain, record Z = half sector count Z * SectorSize - terrain Z, so
// record Z grows downward like picture rows.

#include <cstdint>

class CViewport {
public:
    CViewport() = default;
    // `map*` is the terrain rectangle in view (terrain Z grows upward, so top >= bottom), `pixel*`
    // where it lies in the picture, `width` x `height` the picture.
    CViewport(int32_t mapLeft, int32_t mapBottom, int32_t mapRight, int32_t mapTop, int32_t pixelLeft, int32_t pixelTop,
              int32_t pixelRight, int32_t pixelBottom, int32_t halfSectorsX, int32_t halfSectorsZ, int32_t width,
              int32_t height);

    // Edges included; a position that is not a number is outside.
    bool IsOnMap(float x, float z) const;
    // Truncates toward zero; positions far outside the view saturate instead of overflowing.
    void MapToPixel(float x, float z, int32_t& column, int32_t& row) const;
    // Leaves the outputs untouched while the view has no scale (HasScale).
    void PixelToMap(int32_t column, int32_t row, float& x, float& z) const;
    bool HasScale() const { return ScaleX != 0.0f && ScaleZ != 0.0f; }

    // The terrain rectangle in view and its place in the picture.
    int32_t MapLeft = 0;
    int32_t MapBottom = 0;
    int32_t MapRight = 0;
    int32_t MapTop = 0;
    int32_t PixelLeft = 0;
    int32_t PixelTop = 0;
    int32_t PixelRight = 0;
    int32_t PixelBottom = 0;
    int32_t HalfSectorsX = 0;
    int32_t HalfSectorsZ = 0;
    int32_t Width = 0;
    int32_t Height = 0;
    // The rectangle in view in record coordinates (RecordTop <= RecordBottom) and the pixels per
    // world unit, 0 along an axis without extent.
    int32_t RecordTop = 0;
    int32_t RecordBottom = 0;
    float ScaleX = 0.0f;
    float ScaleZ = 0.0f;
    // Picture pixels per symbol size unit (the screen's device pixel ratio).
    double SymbolScale = 1.0;
    // A symbol size from the settings in picture pixels.
    int64_t SymbolSize(int64_t size) const;
};
