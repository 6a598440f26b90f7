#pragma once
// The Edit menu: Undo and Redo of the session's history, named for the edit they act on
// ("Undo Delete 3 SAM sites") and usable only when there is one; "Filter records" (Ctrl+F) asks for
// the filter of the page shown.

#include <QObject>

class CEditHistory;
class QAction;
class QMenu;
class QWidget;

class CEditMenu : public QObject {
    Q_OBJECT
public:
    CEditMenu(CEditHistory& history, QWidget* parent);
    QMenu* Menu() const { return m_menu; }

signals:
    void FilterRequested();

private:
    void Update();

    CEditHistory& m_history;
    QMenu* m_menu;
    QAction* m_undo;
    QAction* m_redo;
};
