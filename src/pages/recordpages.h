#pragma once
// The four record pages below the map (keysite templates, keysites, airbases, SAM sites) in their
// tabs. The page shown is the session's active list; an undo or redo brings its rows' page
// forward.

#include "document/records.h"

#include <QWidget>
#include <functional>

class CCampaignSession;
class CPlacementPage;
class CRecordDialogs;
class CTemplatePage;
class CUserPrompts;
class QSplitter;
class QTabWidget;

class CRecordPages : public QWidget {
    Q_OBJECT
public:
    CRecordPages(CCampaignSession& session, CRecordDialogs& dialogs, CUserPrompts& prompts,
                 std::function<bool()> mapShown, QWidget* parent = nullptr);

    int CurrentPage() const;
    void SetCurrentPage(int page);
    QSplitter* TemplateSplitter() const;
    // The placement pages' buttons are not usable while a record is being placed.
    void SetPlacementButtonsEnabled(bool enabled);
    // Ctrl+F: the filter of the page shown takes the focus.
    void FocusFilter();

signals:
    void PlaceRequested(RecordKind kind, int index);
    void ShowOnMapRequested(RecordKind kind, int index);

private:
    void PageChanged();

    CCampaignSession& m_session;
    QTabWidget* m_tabs = nullptr;
    CTemplatePage* m_templates = nullptr;
    CPlacementPage* m_placements[3] = {};
};
