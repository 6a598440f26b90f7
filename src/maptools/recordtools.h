#pragma once
// The tools that change the session: placing a record, selecting the record under the mouse and
// painting factions.

#include "document/recordkind.h"
#include "maptools/maptool.h"

// Place mode: the next left click moves one keysite, airbase or SAM site there, as one edit
// ("Place SAM site"). The middle button is passed over; any other click ends place mode without
// moving anything. A record that has gone meanwhile (the menus stay usable), or whose kind was
// locked meanwhile, is not moved.
class CPlaceTool : public CMapTool {
public:
    CPlaceTool(RecordKind kind, int index) : m_kind(kind), m_index(index) { }
    void Press(const MapToolContext& context, const MapPointer& pointer) override;

    RecordKind Kind() const { return m_kind; }
    int Index() const { return m_index; }
    // The click that ends place mode came.
    bool IsFinished() const { return m_finished; }

private:
    RecordKind m_kind;
    int m_index;
    bool m_finished = false;
};

// Ctrl + left click: the keysite, airbase or SAM site under the mouse becomes the selection of
// its list, and its page comes forward; records of a locked kind are passed over.
class CSelectTool : public CMapTool {
public:
    void Press(const MapToolContext& context, const MapPointer& pointer) override;
};

// Alt + left click: the square of sectors around the clicked one (the sector radius) gets the
// opposite of the clicked sector's faction, as one edit of the faction layer.
class CFactionPaintTool : public CMapTool {
public:
    void Press(const MapToolContext& context, const MapPointer& pointer) override;
};
