#pragma once
// What a mouse tool of the map sees and does. The map area turns the picture's mouse events into
// MapPointer values and hands them to the tool the buttons and keys choose; a tool acts on the
// session (edits, selection) or on the view, and says when the view changed. A new way of using
// the mouse on the map (a rubber band, moving records, a ruler, a brush) is one more CMapTool.

#include "document/recordkind.h"
#include "maptools/factionbrush.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

class CCampaignSession;
class CMapWindow;
class CViewport;
class QString;

// The tool the map's tool bar chooses: what a plain left press does. Select is the default; the
// other modes keep the map's modifier meanings (Ctrl+click selects, Alt+click paints) and the
// middle button pans.
enum class MapToolMode : uint8_t { Select, Brush, Fill, Picker, Ruler };
inline constexpr int MapToolModeCount = 5;

// The mouse over the map picture, as plain values.
struct MapPointer {
    enum Button : uint8_t { NoButton, Left, Middle, Right, Other };
    int32_t X = 0; // picture pixel
    int32_t Y = 0;
    Button Pressed = NoButton; // the button pressed or released; NoButton on a move
    bool Shift = false;
    bool Control = false;
    bool Alt = false;
    bool Meta = false;

    bool NoModifier() const { return !Shift && !Control && !Alt && !Meta; }
};

// Where a tool works, made afresh for every event: the map may have changed in between.
struct MapToolContext {
    CCampaignSession* Session = nullptr;
    // The view of the map shown; null before the first map.
    CMapWindow* View = nullptr;
    // Sectors painted around the clicked one (the Sectors box).
    int SectorRadius = 0;
    // How far (in pixels, along both axes together) the mouse moves before a press is a drag.
    int StartDragDistance = 10;
    // The view moved: show it at once, cheaply, and render it properly once it rests.
    std::function<void()> ViewPreview;
    // The view moved and rests: render it now.
    std::function<void()> ViewSettled;
    // The kinds whose symbols the mouse can take (shown on the map), by RecordKind.
    std::array<bool, 3> Pickable = {true, true, true};
    // The records drawn of those kinds (a filter may hide some); empty when all are.
    std::function<bool(RecordKind kind, int index)> Takes;
    // How far (in pixels) from a record's position its symbol takes a click.
    int SymbolReach = 6;
    // The selection dragged this far (record units) so far; (0, 0) when the drag ended.
    std::function<void(float dx, float dz)> MovePreview;
    // A selection rectangle from one picture pixel to another; Active false when it went.
    std::function<void(int32_t x0, int32_t y0, int32_t x1, int32_t y1, bool active)> BandPreview;
    // The faction the brush and the fill paint with.
    FactionBrush Brush = FactionBrush::Toggle;
    // The sectors a click would paint, from one corner sector to the other (edges included),
    // outlined over the map; Active false when the outline went.
    std::function<void(int32_t firstColumn, int32_t firstRow, int32_t lastColumn, int32_t lastRow, bool active)>
        OutlinePreview;
    // The picker took a faction: it becomes the brush's, and the brush the tool.
    std::function<void(FactionBrush brush)> PickBrush;
    // The kinds locked beside the map, by RecordKind: drawn, but the mouse neither takes (they are
    // not Pickable either), moves nor places their records. The grids still edit them.
    std::array<bool, 3> Locked = {false, false, false};
    // The ruler's line from one record position to another with its label; active false when it went.
    std::function<void(float x0, float z0, float x1, float z1, const QString& label, bool active)> RulerPreview;

    CViewport Viewport() const;
};

class CMapTool {
public:
    virtual ~CMapTool() = default;
    virtual void Press(const MapToolContext& context, const MapPointer& pointer) = 0;
    virtual void Move(const MapToolContext&, const MapPointer&) { }
    virtual void Release(const MapToolContext&, const MapPointer&) { }
    // Escape, or another tool was chosen: what is in progress ends without effect.
    virtual void Cancel(const MapToolContext&) { }
    // The mouse left the map picture: what follows it (an outline) goes.
    virtual void Leave(const MapToolContext&) { }
};

// The tool of a mode of the tool bar; null for Select, whose meanings the map area dispatches by
// button and modifier itself.
std::unique_ptr<CMapTool> MakeModeTool(MapToolMode mode);
