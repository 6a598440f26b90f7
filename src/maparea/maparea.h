#pragma once
// The map area: the map picture, its control column, the mouse tools and the two drawing layers,
// as one component. It observes the campaign session (records, selection, sectors, files) and its
// own view and controls, and repaints by itself, at most once per turn of the event loop: nobody
// outside tells it to redraw. The main window only places it and asks it for the few things a
// menu command does to the map (choose a map, centre on a record, start placing a record).

#include "document/records.h"
#include "maparea/mapcontrolcolumn.h"
#include "maptools/mapgeometry.h"
#include "maptools/maptool.h"
#include "mapview/mapextent.h"

#include <QString>
#include <QWidget>
#include <array>
#include <memory>
#include <optional>
#include <utility>

class CCampaignSession;
class CMapWindow;
class CTarnConfig;
class CUserPrompts;
struct RangeRings;
class QSplitter;

enum class MapMode;

class CMapArea : public QWidget {
    Q_OBJECT
public:
    // `symbology` is the editor's symbol styles, read at every repaint; `installation` the folder
    // whose common/maps the maps come from.
    CMapArea(CCampaignSession& session, const CTarnConfig& symbology, CUserPrompts& prompts, QWidget* parent = nullptr);
    ~CMapArea() override;

    // --- The map -------------------------------------------------------------------------------
    // Reads the map in `folder` ("Wrong map data!" when it is no map, keeping the current one);
    // a new map opens in Heights mode. True when it changed.
    bool OpenMapFolder(const QString& folder);
    bool HasMap() const;
    // The chosen map's folder with a trailing separator, as the system writes it; empty before one.
    QString MapFolder() const;
    // The view shown, to read (which part of the terrain, at what size); null before a map.
    const CMapWindow* View() const;
    // Centres the map on a keysite, airbase or SAM site at the same zoom; nothing without a map.
    void ShowOnMap(RecordKind kind, int index);
    // Place mode: the next left click on the map moves that record there, as one edit. A locked
    // kind is refused with a message saying so.
    bool EnterPlaceMode(RecordKind kind, int index);
    bool IsPlacing() const;
    // The symbol styles changed (the Settings dialog).
    void SymbologyChanged();
    // The range rings drawn around the records shown (none at first); the map repaints.
    void SetRangeRings(const RangeRings& rings);
    const RangeRings& Rings() const;
    // How many keysites, airbases and SAM sites lie outside the chosen map (0 without one).
    int PlacementsOutside() const;
    // The record coordinates the chosen map covers; none without a map.
    std::optional<MapExtent> Extent() const;
    // The record position under the mouse while it is over the map picture; nothing when it is
    // elsewhere or there is no map (a paste lands there).
    std::optional<RecordPoint> PointUnderMouse() const;
    // Centres the view on record position `at` at the same zoom; nothing without a map. While the
    // hand still drags (`following`) a cheap picture follows it and the terrain is rendered once
    // it rests; otherwise the terrain is rendered at once.
    void CentreViewOn(RecordPoint at, bool following = false);
    // World units one picture pixel spans at the current zoom; 0 without a map.
    double UnitsPerPixel() const;
    // The kinds shown on the map, by RecordKind, locked or not.
    std::array<bool, 3> ShownKinds() const;
    // The kinds shown and not locked, by RecordKind: the ones the mouse and Select within take.
    std::array<bool, 3> PickableKinds() const;

    // --- Tools ---------------------------------------------------------------------------------
    // What a plain left press on the map does (Select at first). Choosing another mode ends what
    // the current one had in progress.
    void SetToolMode(MapToolMode mode);
    MapToolMode ToolMode() const;
    // The faction the brush and the fill paint with (Toggle at first; Alt+click always toggles).
    void SetBrushFaction(FactionBrush brush);
    FactionBrush BrushFaction() const;
    // What the ruler measures, as the map labels it ("12,345 units · 3.1 sectors · 047°"); empty
    // while it shows nothing.
    QString RulerText() const;

    // --- What the mouse would take -------------------------------------------------------------
    // What a press on the map would see now: the view, the kinds and records the mouse takes and
    // the symbol reach (the status bar names the records under the mouse with it).
    MapToolContext PointerContext() const;
    // The record place mode puts down, while it is on.
    std::optional<std::pair<RecordKind, int>> PlacedRecord() const;

    // --- What a later run brings back ----------------------------------------------------------
    MapAreaState State() const;
    void SetState(const MapAreaState& state);
    // The splitter between the picture and the control column.
    QSplitter* Splitter() const;

signals:
    // Place mode began or ended: the record buttons are usable only outside it.
    void PlaceModeChanged(bool placing);
    // After every render of the terrain layer.
    void TerrainRedrawn();
    // After every repaint of the picture shown.
    void Repainted();
    // The tool bar's mode changed.
    void ToolModeChanged(MapToolMode mode);
    // The brush's faction changed (the tool bar or the picker).
    void BrushFactionChanged(FactionBrush brush);
    // The mouse moved over the map picture, now at record position `at` with those modifiers
    // held (a drag included); without a map nothing is said.
    void PointerMoved(RecordPoint at, Qt::KeyboardModifiers modifiers);
    // The mouse left the map picture.
    void PointerLeft();
    // The ruler's measurement changed; empty when it went.
    void RulerChanged(const QString& text);
    // The part of the terrain in view changed (a pan, zoom, centring, resize or another map),
    // said once the picture shows it.
    void ViewChanged();

private:
    class Private;
    std::unique_ptr<Private> d;
};
