#pragma once
// A read-only grid of one record list, addressed like the record lists number them: row 0 is the
// header row when the grid has a fixed row, column 0 the narrow fixed column when it has one,
// and row r of a filled grid shows the r-th row the list's filter lets through (record r - 1
// without a filter; the "Number" column always shows the record's own number). Whole rows are
// selected: a click selects one, Ctrl+click adds or removes one, Shift+click and Shift+arrows
// extend from the anchor, Ctrl+A selects every row shown. The cells come from a
// CRecordTableModel, which formats only the rows on screen.
//
// Click() is raised when the user clicks a row, when the current row moves by keyboard, and when
// code sets another current row; never while rows come and go, and never for setting the row
// that is already current. The grid's selection mirrors the campaign session's for the list (a
// CSelectionLink): it follows its records when rows come and go or the filter changes. A grid
// left without a selected row (its rows were removed) or reset keeps the number of its current
// row (moved into range) and selects that row alone, as a grid filled anew would. A row made
// current elsewhere (the map, an undo, another grid) is where the user's next Shift+click or
// Shift+arrow starts.

#include <QTableView>

class CFilteredRecords;
class CRecordTableModel;

class CRecordGrid : public QTableView {
    Q_OBJECT
public:
    explicit CRecordGrid(QWidget* parent = nullptr);

    // The filtered rows of the list the grid shows and the session's selection of the list;
    // neither owned.
    void SetRecordModel(CFilteredRecords* view, QItemSelectionModel* selection);
    CRecordTableModel* RecordModel() const { return m_model; }

    int ColCount() const;
    int RowCount() const;
    int FixedRows() const;
    int FixedCols() const;
    int ColWidth(int col) const; // as drawn

    QString Cell(int col, int row) const;
    QStringList Cells(int row) const;

    int Row() const;
    // Makes `row` current and the whole selection, whatever keys are held; raises Click when the
    // row changes. Only the user's own clicks and keys extend a selection.
    void SetRow(int row);
    // The same, and Click even when the row was current already, as the user's click on it.
    void ClickRow(int row);
    // The first and last selected rows (one range unless the user picked rows apart); the
    // current row when nothing is selected.
    int SelectionTop() const;
    int SelectionBottom() const;
    // Every selected row, top to bottom (the session's SelectedRecords gives their records).
    QList<int> SelectedRows() const;

signals:
    void Click();
    // A double click on a row, or Enter: the page's Edit command.
    void EditRequested();
    // The Delete key: the page's Delete command.
    void DeleteRequested();
    // The user's click or key made a new selection of this grid's rows alone (not Ctrl or Shift).
    void SelectionReplaced();

protected:
    bool event(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event = nullptr) const override;

private:
    // Widths (designed for the 8-point font, scaled to the grid's; pages/columnwidth.h), header and
    // fixed column as the model's state asks.
    void ApplyStructure();
    void ApplyFont();
    void RowsAboutToChange();
    void RowsChanged(bool reset);
    void SelectSilently(int row);
    void SelectFromCode(int row);
    void CurrentRowChanged(const QModelIndex& current);

    CRecordTableModel* m_model = nullptr;
    CFilteredRecords* m_view = nullptr;
    int m_savedRow = 0;
    bool m_silent = false;
    bool m_selectingFromCode = false;
    bool m_anchoring = false;
    int m_userInput = 0; // the user's own click or key is being handled
};
