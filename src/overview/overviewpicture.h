#pragma once
// The overview's picture, without any widget: the whole terrain of a map fitted into a small
// picture (heights, or the faction layer in Factions mode), and the two ways between it and the
// terrain: where a view's window lies in the picture, and which record position a picture pixel
// shows. Rendered again only when what it shows changed (another map, mode, faction layer, painted
// sectors or size), so that following the view costs only the drawing of a rectangle.

#include "maptools/mapgeometry.h"

#include <QColor>
#include <QImage>
#include <QRectF>
#include <QSize>
#include <QString>
#include <cstdint>
#include <optional>

class CMap;
class CMapWindow;
class CFactionsInfo;

// What the picture is made from. `Factions` is drawn instead of the heights when set (Factions
// mode with a faction layer); `FactionEdits` counts the painted sectors and replaced layers, so
// that each shows.
struct OverviewSource {
    const CMap* Map = nullptr;
    QString MapFolder;
    const CFactionsInfo* Factions = nullptr;
    uint64_t FactionEdits = 0;
    QSize Size;
    QRgb Background = 0;
    bool operator==(const OverviewSource&) const = default;
};

class COverviewPicture {
public:
    // Renders the picture when `source` differs from the one it shows; true when it rendered.
    // Without a map, or at an empty size, the picture is empty.
    bool Update(const OverviewSource& source);

    const QImage& Image() const { return m_image; }
    bool IsEmpty() const { return m_image.isNull(); }
    // Where the terrain lies in the picture, in picture pixels; empty without a picture.
    QRectF TerrainRect() const;
    // Where the window of `view` lies in the picture, in picture pixels (it may reach beyond the
    // picture); empty without a picture.
    QRectF ViewRect(const CMapWindow& view) const;
    // The record position shown at picture position `pixel`, held to the terrain, so that the view
    // centred there stays over it; nothing without a picture.
    std::optional<RecordPoint> RecordAt(QPointF pixel) const;

private:
    // Picture position of terrain position (x, z), Z growing up the map.
    QPointF PixelOf(double x, double z) const;

    OverviewSource m_source;
    QImage m_image;
    // The terrain window the picture shows (fitted to its size, so wider or deeper than the
    // terrain), the terrain's extent and its half sector count along Z.
    double m_left = 0, m_right = 0, m_bottom = 0, m_top = 0;
    double m_worldWidth = 0, m_worldDepth = 0;
    int32_t m_halfSectorsZ = 0;
};
