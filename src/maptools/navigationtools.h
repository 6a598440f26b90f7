#pragma once
// The tools that move the view: dragging the picture, and centring it on a click.

#include "maptools/maptool.h"
#include "mapview/mapwindow.h"

#include <optional>

// A press of the left or middle button without a key: moving the mouse by the start-drag
// distance makes it a drag, which pans the picture with the hand; a press without a move does
// nothing. The drag is measured from the view at the press, so the whole drag moves the view by
// exactly its offset, whatever the steps in between; it belongs to the map it started on.
class CPanTool : public CMapTool {
public:
    void Press(const MapToolContext& context, const MapPointer& pointer) override;
    void Move(const MapToolContext& context, const MapPointer& pointer) override;
    void Release(const MapToolContext& context, const MapPointer& pointer) override;

    bool IsPressed() const { return m_start.has_value(); }
    bool IsDragging() const { return m_dragging; }

private:
    std::optional<CMapWindow> m_start; // the view at the press
    MapPointer m_press;
    bool m_dragging = false;
};

// Shift + left click: the clicked pixel becomes the picture's centre.
class CCentreTool : public CMapTool {
public:
    void Press(const MapToolContext& context, const MapPointer& pointer) override;
};
