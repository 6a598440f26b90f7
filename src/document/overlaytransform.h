#pragma once
// The mapping between record coordinates and pixels of the map image that the overlay symbols,
// the X=/Z= read-out, placing, painting and the hit test share. Record Z grows downward:
// record Z = half sector count Z * sector size - terrain Z.

#include <cstdint>

struct COverlayTransform {
    int32_t OverlayLeft = 0;
    int32_t OverlayRight = 0;
    int32_t OverlayTop = 0;
    int32_t OverlayBottom = 0;
    int32_t OverlayPixelLeft = 0;
    int32_t OverlayPixelRight = 0;
    int32_t OverlayPixelTop = 0;
    int32_t OverlayPixelBottom = 0;
    int32_t OverlayHalfSectorsX = 0;
    int32_t OverlayHalfSectorsZ = 0;
    int32_t OverlaySectorSize = 4096;
    float OverlayScaleX = 0.0f; // pixels per world unit along X; 0 until a map is shown
    float OverlayScaleZ = 0.0f; // pixels per world unit along record Z

    void SetMapTransform(int32_t mapLeft, int32_t mapBottom, int32_t mapRight, int32_t mapTop, int32_t pixelLeft,
                         int32_t pixelTop, int32_t pixelRight, int32_t pixelBottom, int32_t halfX, int32_t halfZ,
                         int32_t sectorSize);
    // Edges included; a position that is not a number is outside.
    bool IsOnMap(float x, float z) const;
    // Truncates toward zero; positions far outside the view saturate instead of overflowing.
    void MapToPixel(float x, float z, int32_t& column, int32_t& row) const;
    // Leaves the outputs untouched while either scale is 0.
    void PixelToMap(int32_t column, int32_t row, float& x, float& z) const;
};
