#pragma once
// The two drawing layers of the map area, without any widget: the terrain bitmap (heights with
// route networks, or the faction picture), which is slow to draw, and the composite bitmap, a copy
// of it with the record symbols and the sector grid, which is cheap to rebuild. The main window
// owns one, sets the plain fields from its check boxes and radio buttons, and shows
// CompositeBitmap after RefreshMap.

#include "mapview/map.h"
#include "mapview/mapwindow.h"
#include "mapview/tarnconfig.h"

#include <QColor>
#include <QImage>
#include <QSize>
#include <memory>

class CBINFile;
class CFactionsInfo;

enum class MapMode { Heights, Factions };

class CMapCanvas {
public:
    // Replaces the map package and view with the map in `mapFolder`, sized to `imageSize`, with
    // the default view and `resolution`; selects Heights mode and draws both layers. A folder
    // whose terrain cannot be read keeps the current map and gives false with the reason (the
    // window then shows "Wrong map data!").
    bool ChangeMap(const QString& mapFolder, QSize imageSize, int resolution, QString* error = nullptr);
    // The same with a map already read.
    void UseMap(std::unique_ptr<CMap> map, QSize imageSize, int resolution);

    bool HasMap() const { return m_view != nullptr; }
    const CMap* Map() const { return m_map.get(); }
    // The view of the current map for the navigation commands, or null before the first map.
    CMapWindow* View() { return m_view.get(); }
    const CMapWindow* View() const { return m_view.get(); }

    // Renders the terrain layer into TerrainBitmap; nothing while there is no map.
    void RedrawTerrain();
    // Copies TerrainBitmap into CompositeBitmap and draws the symbols and the grid the flags ask
    // for over it; nothing before the first map.
    void RefreshMap();
    // Until the next RedrawTerrain, shows the last rendered terrain picture moved and scaled to
    // the current view (cheap, for navigation that must follow the hand); the parts it does not
    // cover show the button face. Nothing when the view is the rendered one.
    void PreviewTerrain();
    // What the pictures show; no scale before the first map.
    CViewport Viewport() const { return m_view ? m_view->Viewport() : CViewport(); }

    // Route networks drawn over the heights.
    bool ShowRoads = false;
    bool ShowRivers = false;
    bool ShowUtilities = false;
    bool ShowBorders = false;
    // Overlays over the terrain, drawn in this order.
    bool ShowKeysites = false;
    bool ShowAirbases = false;
    bool ShowSAMs = false;
    bool ShowGrid = false;
    MapMode Mode = MapMode::Heights;

    CBINFile* Document = nullptr;      // not owned
    const CTarnConfig* Symbology = nullptr; // not owned; the construction defaults while none
    CFactionsInfo* Factions = nullptr; // not owned; the faction layer, once one was loaded
    QColor ButtonFace = QColor(240, 240, 240);
    // Picture pixels per symbol size unit: the screen's device pixel ratio, so that symbols keep
    // their size on the screen however fine its pixels are.
    double SymbolScale = 1.0;
    // The records of one kind selected in its grid (list indices, first > last for none), marked
    // over the overlay.
    RecordKind SelectionKind = KeysiteKind;
    int SelectionFirst = 0;
    int SelectionLast = -1;

    QImage TerrainBitmap;
    QImage CompositeBitmap;

private:
    struct ViewWindow {
        int32_t Left = 0, Right = 0, Bottom = 0, Top = 0, Width = 0, Height = 0;
        bool operator==(const ViewWindow&) const = default;
    };
    ViewWindow CurrentWindow() const;

    std::unique_ptr<CMap> m_map;
    QImage m_rendered; // the terrain picture as last rendered, and the view it was rendered for
    ViewWindow m_renderedWindow;
    std::unique_ptr<CMapWindow> m_view;
};
