#pragma once
// The map view: which rectangle of the terrain the map image shows, the navigation that moves it
// (pans, zooms, default view, centring on a pixel), and the heights picture with the route
// networks. All arithmetic follows the view's fixed rules: conversions truncate toward zero, scale
// factors are single precision and are widened to double where they are applied.
//
// The view window may leave the terrain and zooming out has no bound in the navigation, but every
// view coordinate stays within +-ViewLimit: an operation that would carry an axis beyond it leaves
// that axis as it was, so no arithmetic on the window can overflow.

#include "mapview/viewport.h"

#include <QColor>
#include <QImage>
#include <cstdint>

class CMap;

class CMapWindow {
public:
    static constexpr int32_t ViewLimit = 1 << 29;

    explicit CMapWindow(const CMap* map);

    void SetSize(int32_t width, int32_t height);
    void ResetView();
    void PanUp();
    void PanDown();
    void PanLeft();
    void PanRight();
    void ZoomIn();
    void ZoomOut();
    void CentreOn(int32_t px, int32_t py);
    // One zoom step (a tenth off or onto each side, as ZoomIn and ZoomOut take it) that keeps the
    // terrain point under the centre of pixel (px, py) under it, to the nearest world unit.
    void ZoomAround(int32_t px, int32_t py, bool in);
    // Scales the view window's width and depth by `factor` (below 1 zooms in), to whole world
    // units of at least one, keeping the terrain point under the centre of pixel (px, py) under it
    // to the nearest world unit.
    void ScaleAround(int32_t px, int32_t py, double factor);
    // Moves the picture's content by (dx, dy) pixels, as a hand dragging it: the view window
    // moves the opposite way by the nearest whole world units.
    void PanByPixels(int32_t dx, int32_t dy);
    // Centres the view window on terrain position (x, z), keeping its size.
    void CentreOnTerrain(double x, double z);
    void SetResolution(int32_t resolution) { Resolution = resolution; }
    void SetRouteLayers(bool roads, bool rivers, bool utilities, bool borders);

    void GetMapRect(int32_t& left, int32_t& bottom, int32_t& right, int32_t& top) const;
    void GetMapPixelRect(int32_t& left, int32_t& top, int32_t& right, int32_t& bottom) const;
    // What the picture shows now, for everything drawn over it or asked about its pixels.
    CViewport Viewport() const;

    // Draws the heights picture with the chosen route networks into `bitmap`, which becomes
    // PixelWidth x PixelHeight; outside the terrain it keeps `background` (the button face).
    void Render(QImage& bitmap, QColor background) const;

    static QRgb HeightColour(float height);

    int32_t WorldWidth = 0;
    int32_t WorldDepth = 0;
    int32_t PixelWidth = 0;
    int32_t PixelHeight = 0;
    int32_t ViewLeft = 0;
    int32_t ViewRight = 0;
    int32_t ViewBottom = 0;
    int32_t ViewTop = 0;
    int32_t MapLeft = 0;
    int32_t MapRight = 0;
    int32_t MapBottom = 0;
    int32_t MapTop = 0;
    int32_t MapPixelLeft = 0;
    int32_t MapPixelRight = 0;
    int32_t MapPixelTop = 0;
    int32_t MapPixelBottom = 0;
    int32_t Resolution = 0;
    bool ShowRoads = true;
    bool ShowRivers = true;
    bool ShowUtilities = true;
    bool ShowBorders = true;
    const CMap* Map = nullptr;

private:
    void UpdateMapRect();
    // Moves one axis to [low, high] unless either end would pass ViewLimit.
    static void MoveAxis(int32_t& low, int32_t& high, int64_t newLow, int64_t newHigh);
    void Pan(int32_t& low, int32_t& high, int direction);
    void RenderHeights(QImage& bitmap, float ux, float uz, QRgb background) const;
    void RenderRoutes(QImage& bitmap, float ux, float uz) const;
};
