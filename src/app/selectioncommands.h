#pragma once
// The Edit menu's selection commands: Select similar, Select within distance…, Select none, and
// nudging the selected keysites, airbases and SAM sites by a picture pixel's worth of world units
// (Ctrl+arrows; ten with Shift). A run of nudges within a second is one edit.

#include <QObject>

class CCampaignSession;
class CMapArea;
class CUserPrompts;
class QAction;
class QMenu;
class QWidget;

class CSelectionCommands : public QObject {
    Q_OBJECT
public:
    CSelectionCommands(CCampaignSession& session, CMapArea& map, CUserPrompts& prompts, QMenu& menu, QWidget* parent);

    void SelectSimilar();
    // Asks for the distance (world units) and selects every shown record that near a selected one.
    void SelectWithin();
    void SelectNone();
    // Moves the selection by `columns` x `rows` picture pixels' worth of world units.
    void Nudge(int columns, int rows);

private:
    void Update();

    CCampaignSession& m_session;
    CMapArea& m_map;
    CUserPrompts& m_prompts;
    QWidget* m_parent;
    QList<QAction*> m_needSelection;
    QList<QAction*> m_nudges;
    double m_lastDistance = 10000;
    bool m_updateQueued = false;
};
