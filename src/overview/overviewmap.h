#pragma once
// The overview on screen: the whole terrain of the chosen map with the rectangle of the map
// area's view over it. It observes the map area (the view, the terrain, the mode) and the session
// (the faction layer and painted sectors) and repaints by itself; a left click or drag in it
// centres the map area's view there at the same zoom. Without a map it says how to choose one.

#include "overview/overviewpicture.h"

#include <QWidget>

class CCampaignSession;
class CMapArea;

class COverviewMap : public QWidget {
    Q_OBJECT
public:
    COverviewMap(CMapArea& mapArea, CCampaignSession& session, QWidget* parent = nullptr);

    // What is painted: the picture at the widget's size, in the screen's own pixels.
    const COverviewPicture& Picture() const { return m_picture; }
    // The picture, brought up to date.
    void UpdatePicture();

    // The terrain keeps its proportions: the widget is as deep as the terrain is for its width.
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void TerrainRedrawn();
    // A sector was painted or the faction layer replaced: the faction picture is out of date.
    void FactionsChanged();
    // Centres the map area's view on what the widget shows at `position`.
    void CentreOn(QPointF position, bool following);

    CMapArea& m_mapArea;
    CCampaignSession& m_session;
    COverviewPicture m_picture;
    uint64_t m_factionEdits = 0;
    QSize m_extent; // the terrain's, in world units
    bool m_dragging = false;
};
