#pragma once
// The ruler's line over the map: a measured line between two record positions with a mark across
// each end and its label in a small dark box beside the second end, readable over any terrain.

#include <QString>

class CViewport;
class QImage;

struct MapRuler {
    // The ends in record coordinates; they may lie off the terrain and off the picture.
    float FromX = 0;
    float FromZ = 0;
    float ToX = 0;
    float ToZ = 0;
    QString Label;
    bool operator==(const MapRuler&) const = default;
};

// Draws the ruler where the view puts it: a white line outlined in black, so that it shows on any
// colour, end marks across it, and the label beside the second end on the side away from the line,
// kept inside the picture. Sizes follow the view's symbol scale. The label needs a running
// QGuiApplication (fonts); without one only the line is drawn.
void DrawRuler(const CViewport& view, QImage& bitmap, const MapRuler& ruler);
