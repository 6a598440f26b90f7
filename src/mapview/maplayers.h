#pragma once
// The two drawing layers of the map, without any widget: the terrain layer (heights with route
// networks, or the faction picture), which is slow to draw, and the composite, a copy of it with
// the record symbols, the sector grid and the selection marks, which is cheap to rebuild. Whoever
// shows the map sets what is drawn (SetOptions, SetSelection and the sources), asks for the layers
// it needs redrawn and shows Composite().

#include "document/records.h"
#include "mapview/map.h"
#include "mapview/mapwindow.h"
#include "mapview/rangerings.h"
#include "mapview/rulerdrawing.h"
#include "mapview/tarnconfig.h"

#include <QColor>
#include <QImage>
#include <QRect>
#include <QSize>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class CBINFile;
class CFactionsInfo;

enum class MapMode { Heights, Factions };

// What the layers show.
struct MapLayerOptions {
    // Route networks drawn over the heights.
    bool Roads = false;
    bool Rivers = false;
    bool Utilities = false;
    bool Borders = false;
    // Overlays over the terrain, drawn in this order.
    bool Keysites = false;
    bool Airbases = false;
    bool Sams = false;
    bool Grid = false;
    MapMode Mode = MapMode::Heights;
    // Picture pixels per symbol size unit: the screen's device pixel ratio, so that symbols keep
    // their size on the screen however fine its pixels are.
    double SymbolScale = 1.0;
};

class CMapLayers {
public:
    // Replaces the map package and view with the map in `mapFolder`, sized to `imageSize`, with
    // the default view and `resolution`; selects Heights mode and draws both layers. A folder
    // whose terrain cannot be read keeps the current map and gives false with the reason (the
    // map area then shows "Wrong map data!").
    bool ChangeMap(const QString& mapFolder, QSize imageSize, int resolution, QString* error = nullptr);
    // The same with a map already read.
    void UseMap(std::unique_ptr<CMap> map, QSize imageSize, int resolution);

    bool HasMap() const { return m_view != nullptr; }
    const CMap* Map() const { return m_map.get(); }
    // The view of the current map for the navigation commands, or null before the first map.
    CMapWindow* View() { return m_view.get(); }
    const CMapWindow* View() const { return m_view.get(); }
    // What the pictures show; no scale before the first map.
    CViewport Viewport() const;

    // --- What is drawn -------------------------------------------------------------------------
    const MapLayerOptions& Options() const { return m_options; }
    void SetOptions(const MapLayerOptions& options) { m_options = options; }
    void SetMode(MapMode mode) { m_options.Mode = mode; }
    // The records, symbol styles and faction layer drawn; none of them owned, each may be null
    // (no symbols; the construction defaults; the heights in Factions mode).
    void SetDocument(const CBINFile* document) { m_document = document; }
    void SetSymbology(const CTarnConfig* symbology) { m_symbology = symbology; }
    void SetFactions(const CFactionsInfo* factions) { m_factions = factions; }
    // Outside the terrain the pictures show this colour.
    void SetButtonFace(QColor colour) { m_buttonFace = colour; }
    // The records of `kind` marked over the overlay (list indices, in ascending order); each kind
    // keeps its own.
    void SetSelection(RecordKind kind, std::vector<int> records);
    // While the selection is dragged: the selected records are drawn again this far (record
    // units) from where they are, marked there. (0, 0) draws them in place.
    void SetMoveOffset(float dx, float dz);
    // The kinds (by RecordKind) whose selected records stay in place, marked there, while the
    // selection is dragged: the kinds locked on the map.
    void SetHeldKinds(std::array<bool, 3> held) { m_held = held; }
    // Only the records of `kind` that `accepts` lets through get a symbol; an empty function draws
    // them all.
    void SetRecordFilter(RecordKind kind, std::function<bool(int)> accepts)
    {
        m_filters[size_t(kind)] = std::move(accepts);
    }
    // A selection rectangle in picture pixels drawn over everything; an empty one draws none.
    void SetRubberBand(QRect band) { m_band = band; }
    // Range rings around the records of the kinds shown (only around the marked ones when the
    // rings say so), under the symbols.
    void SetRangeRings(RangeRings rings) { m_rings = std::move(rings); }
    const RangeRings& Rings() const { return m_rings; }
    // The sectors a click of the faction brush would paint, outlined over everything (sector
    // columns and rows, edges included); an empty rectangle draws none.
    void SetSectorOutline(QRect sectors) { m_sectorOutline = sectors; }
    QRect SectorOutline() const { return m_sectorOutline; }
    // The ruler's measured line drawn over everything; none draws none.
    void SetRuler(std::optional<MapRuler> ruler) { m_ruler = std::move(ruler); }
    const std::optional<MapRuler>& Ruler() const { return m_ruler; }

    // --- Drawing -------------------------------------------------------------------------------
    // Renders the terrain layer; nothing while there is no map.
    void RedrawTerrain();
    // Copies the terrain layer into the composite and draws the symbols, the grid and the
    // selection over it; nothing before the first map.
    void RefreshMap();
    // Until the next RedrawTerrain, shows the last rendered terrain picture moved and scaled to
    // the current view (cheap, for navigation that must follow the hand); the parts it does not
    // cover show the button face. Nothing when the view is the rendered one.
    void PreviewTerrain();

    const QImage& Terrain() const { return m_terrain; }
    const QImage& Composite() const { return m_composite; }

private:
    struct ViewWindow {
        int32_t Left = 0, Right = 0, Bottom = 0, Top = 0, Width = 0, Height = 0;
        bool operator==(const ViewWindow&) const = default;
    };
    ViewWindow CurrentWindow() const;
    void DrawRings(const CTarnConfig& symbology, const CViewport& view);

    MapLayerOptions m_options;
    const CBINFile* m_document = nullptr;
    const CTarnConfig* m_symbology = nullptr;
    const CFactionsInfo* m_factions = nullptr;
    QColor m_buttonFace = QColor(240, 240, 240);
    std::array<std::vector<int>, 3> m_selection; // by RecordKind
    float m_moveX = 0;
    float m_moveZ = 0;
    std::array<bool, 3> m_held{}; // by RecordKind
    QRect m_band;
    std::array<std::function<bool(int)>, 3> m_filters; // by RecordKind
    RangeRings m_rings;
    QRect m_sectorOutline;
    std::optional<MapRuler> m_ruler;

    std::unique_ptr<CMap> m_map;
    std::unique_ptr<CMapWindow> m_view;
    QImage m_terrain;
    QImage m_composite;
    QImage m_rendered; // the terrain picture as last rendered, and the view it was rendered for
    ViewWindow m_renderedWindow;
};
