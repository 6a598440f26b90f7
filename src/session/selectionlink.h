#pragma once
// A view's own selection over the filtered rows of a list kept equal to the session's selection of
// the list, both ways: what the user selects in the grid becomes the selection of its records (and
// drops records the filter hides), and what the map, an undo or a command selects shows in the
// grid as far as the grid shows those records. The current row follows the same way. While rows
// come and go the two are left to settle and are matched once, from the session's side.

#include <QObject>

class CFilteredRecords;
class QItemSelectionModel;

class CSelectionLink : public QObject {
    Q_OBJECT
public:
    // `viewSelection` is over `view`, `listSelection` over the list's table model; neither owned.
    CSelectionLink(CFilteredRecords& view, QItemSelectionModel& viewSelection, QItemSelectionModel& listSelection,
                   QObject* parent = nullptr);

private:
    void FromList();
    void ToList();
    void CurrentToList();

    CFilteredRecords& m_view;
    QItemSelectionModel& m_viewSelection;
    QItemSelectionModel& m_listSelection;
    bool m_matching = false; // one side is being made equal to the other: its echo is no news
    bool m_rowsChanging = false;
};
