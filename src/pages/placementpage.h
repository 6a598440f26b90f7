#pragma once
// The page of one kind of record placed on the map (keysites, airbases or SAM sites): its grid,
// a view on the session's list and selection, and the Add, Edit, Delete and Place buttons. One
// class for the three kinds; the record list table names their grids and buttons.

#include "document/records.h"

#include <QWidget>
#include <functional>

class CCampaignSession;
class CFilterBar;
class CRecordDialogs;
class CRecordGrid;
class CUserPrompts;
class QPushButton;

class CPlacementPage : public QWidget {
    Q_OBJECT
public:
    // `mapShown` tells whether a map is on screen, for the grid's "Show on map".
    CPlacementPage(RecordKind kind, CCampaignSession& session, CRecordDialogs& dialogs, CUserPrompts& prompts,
                   std::function<bool()> mapShown, QWidget* parent = nullptr);

    RecordKind Kind() const { return m_kind; }
    // The buttons are not usable while a record is being placed.
    void SetButtonsEnabled(bool enabled);
    // Ctrl+F: the page's filter field takes the focus.
    void FocusFilter();

signals:
    // Place: the next click on the map moves the current record.
    void PlaceRequested(RecordKind kind, int index);
    void ShowOnMapRequested(RecordKind kind, int index);

private:
    void AddClick();
    void EditClick();
    void DeleteClick();
    void PlaceClick();
    // A click on a keysite brings its template forward on the templates page.
    void GridClick();
    void ShowMenu(QPoint at);

    RecordKind m_kind;
    CCampaignSession& m_session;
    CRecordDialogs& m_dialogs;
    CUserPrompts& m_prompts;
    std::function<bool()> m_mapShown;
    CRecordGrid* m_grid = nullptr;
    CFilterBar* m_filter = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_edit = nullptr;
    QPushButton* m_delete = nullptr;
    QPushButton* m_place = nullptr;
};
