#pragma once
// The problems panel: a dock listing what is wrong in the Map BIN document, grouped by kind,
// problems before notes, its title counting them ("Problems (3)"). It observes the session, so
// the list follows every edit, undo and load by itself. Activating a finding brings its record
// forward (its page, selected) and asks for the map to centre on it; a finding with a plain fix
// offers it in its context menu and on the Fix button. After a load with problems it shows
// itself; after a save it says how many problems went out with the file.

#include "checks/findings.h"

#include <QDockWidget>
#include <memory>
#include <optional>

class C3DObjectsList;
class CCampaignSession;
class CProblemsModel;
class CQuickFixes;
class CUserPrompts;
class QPushButton;
class QTreeView;

class CProblemsDock : public QDockWidget {
    Q_OBJECT
public:
    CProblemsDock(CCampaignSession& session, const C3DObjectsList& catalogue, CUserPrompts& prompts,
                  QWidget* parent = nullptr);
    ~CProblemsDock() override;

    CProblemsModel& Model() const { return *m_model; }
    // The open map's extent (none without a map).
    void SetMapExtent(std::optional<MapExtent> extent);
    // Brings the record of the finding at `index` forward, as activating it does.
    void Jump(const QModelIndex& index);
    // Applies the fix of the finding at `index`; false when it has none or nothing was done.
    bool Fix(const QModelIndex& index);

signals:
    // The map should centre on this record.
    void ShowOnMapRequested(RecordKind kind, int index);
    // The Map BIN document was saved holding `problems` problems (notes not counted).
    void SavedWithProblems(int problems);

private:
    void UpdateTitle();
    void UpdateFixButton();
    void ShowMenu(const QPoint& at);
    void FileChanged();

    CCampaignSession& m_session;
    CProblemsModel* m_model;
    std::unique_ptr<CQuickFixes> m_fixes;
    QTreeView* m_tree;
    QPushButton* m_fixButton;
    // A load or New announces a reset before its file; a save announces its file alone.
    bool m_resetSinceFile = false;
};
