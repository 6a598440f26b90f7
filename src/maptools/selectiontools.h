#pragma once
// The tools that select records on the map and move them.
//
//   Click on a symbol              the record becomes the selection (its page comes forward)
//   Drag a selected symbol         moves every selected record by the drag; Escape cancels
//                                  (the records of a locked kind stay where they are)
//   Right-click on a symbol        the record joins the selection, or leaves it
//   Ctrl+drag from empty ground    selects the records in the rectangle
//   Right-drag from empty ground   adds the records in the rectangle
//
// Shift, Alt and Ctrl+click keep the meanings they had (centre, paint, select the nearest), so
// the one free way to add to a selection is the right button.

#include "maptools/mapgeometry.h"
#include "maptools/maptool.h"

#include <array>
#include <optional>
#include <vector>

// The record whose symbol is under the pointer, among the kinds the context lets the mouse take.
std::optional<RecordHit> SymbolUnder(const MapToolContext& context, const MapPointer& pointer);

// The records of `selected` (by RecordKind) that the mouse may move: those of locked kinds stay.
std::array<std::vector<int>, 3> UnlockedRecords(std::array<std::vector<int>, 3> selected,
                                                const std::array<bool, 3>& locked);

// A press on a symbol: selects its record (unless it already is part of the selection), and a
// drag from it moves the whole selection, drawn live, as one edit when released. A click without
// a drag leaves the record the only one selected.
class CMoveTool : public CMapTool {
public:
    // True when the press landed on a symbol and the tool took it.
    bool Begin(const MapToolContext& context, const MapPointer& pointer);
    void Press(const MapToolContext& context, const MapPointer& pointer) override { Begin(context, pointer); }
    void Move(const MapToolContext& context, const MapPointer& pointer) override;
    void Release(const MapToolContext& context, const MapPointer& pointer) override;
    // Escape: the drag ends and nothing moves.
    void Cancel(const MapToolContext& context);

    bool IsPressed() const { return m_hit.has_value(); }
    bool IsDragging() const { return m_dragging; }

private:
    std::optional<RecordHit> m_hit;
    MapPointer m_press;
    bool m_dragging = false;
    bool m_selectedByPress = false;
    float m_dx = 0;
    float m_dz = 0;
};

// A drag from empty ground draws a rectangle; the release selects the records inside it (or adds
// them). A press released without a drag is a click, handed to `click` (Ctrl+click selects the
// nearest record as before).
class CRubberBandTool : public CMapTool {
public:
    void Press(const MapToolContext& context, const MapPointer& pointer) override;
    void Move(const MapToolContext& context, const MapPointer& pointer) override;
    void Release(const MapToolContext& context, const MapPointer& pointer) override;
    void Cancel(const MapToolContext& context);
    // Press with what a click without a drag does.
    void Begin(const MapToolContext& context, const MapPointer& pointer, bool add, CMapTool* click);

    bool IsPressed() const { return m_pressed; }

private:
    MapPointer m_press;
    MapPointer m_last;
    CMapTool* m_click = nullptr;
    bool m_pressed = false;
    bool m_dragging = false;
    bool m_add = false;
};

// Right-click on a symbol: the record joins the selection, or leaves it.
class CToggleTool : public CMapTool {
public:
    void Press(const MapToolContext& context, const MapPointer& pointer) override;
};
