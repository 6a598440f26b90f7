#pragma once
// The Overview dock (View > Overview): the overview of the chosen map in a panel of the window
// that can be hidden, moved and floated. Its picture keeps the terrain's proportions at the
// panel's width; the room below stays empty.

#include <QDockWidget>

class CCampaignSession;
class CMapArea;
class COverviewMap;

class COverviewDock : public QDockWidget {
    Q_OBJECT
public:
    COverviewDock(CMapArea& mapArea, CCampaignSession& session, QWidget* parent = nullptr);

    COverviewMap* Map() const { return m_map; }

private:
    COverviewMap* m_map;
};
