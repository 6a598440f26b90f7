#pragma once
// The ruler: how far apart two record positions lie and in which direction, and the map tool that
// measures between two points dragged out on the map. It never changes the document: the line and
// its label are only drawn over the map, until Escape, another tool or the next drag.
//
//   Drag                    measures from the press to the mouse; the line stays after release
//   Shift at press / drag   that end snaps to the nearest record symbol within reach
//   Click without a drag    takes the measurement away

#include "maptools/mapgeometry.h"
#include "maptools/maptool.h"

#include <optional>

class QLocale;
class QString;

struct RulerMeasurement {
    // World units.
    double Length = 0;
    // The length in sectors of the map's grid.
    double Sectors = 0;
    // Degrees clockwise from up on the map (decreasing record Z), 0 <= Bearing < 360; 0 for a
    // line without length.
    double Bearing = 0;
};

// The measurement of the line from `from` to `to` (record coordinates, anywhere, on the terrain
// or off it), with sectors `sectorSize` world units on a side (none when it is not above 0).
RulerMeasurement RulerMeasure(RecordPoint from, RecordPoint to, double sectorSize);

// The measurement as the map shows it, in `locale`'s digits and separators:
// "12,345 units · 3.1 sectors · 047°" (whole units, tenths of sectors, whole degrees).
QString RulerLabel(const RulerMeasurement& measurement, const QLocale& locale);

class CRulerTool : public CMapTool {
public:
    void Press(const MapToolContext& context, const MapPointer& pointer) override;
    void Move(const MapToolContext& context, const MapPointer& pointer) override;
    void Release(const MapToolContext& context, const MapPointer& pointer) override;
    // Escape or another tool: the drag ends and the measurement goes.
    void Cancel(const MapToolContext& context) override;

    bool IsPressed() const { return m_pressed; }
    // The line measured (or being measured), from its first end to its second.
    struct Line {
        RecordPoint From;
        RecordPoint To;
    };
    std::optional<Line> Shown() const { return m_shown; }

private:
    // The record position under the pointer, or the position of the symbol within reach with Shift.
    static RecordPoint EndAt(const MapToolContext& context, const MapPointer& pointer, bool snap);
    void Show(const MapToolContext& context, const Line& line);
    void Hide(const MapToolContext& context);

    bool m_pressed = false;
    bool m_dragging = false;
    bool m_snapEnd = false; // Shift was held at the last move
    MapPointer m_press;
    RecordPoint m_from;
    std::optional<Line> m_shown;
};
