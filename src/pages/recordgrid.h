#pragma once
// A read-only grid of one record list, addressed like the record lists number them: row 0 is the
// header row when the grid has a fixed row, column 0 the narrow fixed column when it has one,
// and row r of a filled grid shows record r - 1. Whole rows are selected, a contiguous range at
// a time. The cells come from a CRecordTableModel, which formats only the rows on screen.
//
// Click() is raised when the user clicks a row, when the current row moves by keyboard, and when
// code sets another current row; never while rows come and go, and never for setting the row
// that is already current. The selection is the campaign session's for the list: it follows its
// records when rows come and go. A grid left without a selected row (its rows were removed) or
// reset keeps the number of its current row (moved into range) and selects that row alone, as a
// grid filled anew would. A row made current elsewhere (the map, an undo, another grid) is where
// the user's next Shift+click or Shift+arrow starts.

#include <QTableView>

class CRecordTableModel;

class CRecordGrid : public QTableView {
    Q_OBJECT
public:
    explicit CRecordGrid(QWidget* parent = nullptr);

    // The list the grid shows and its selection; neither owned.
    void SetRecordModel(CRecordTableModel* model, QItemSelectionModel* selection);
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
    // The selected range, top to bottom; the current row when nothing is selected.
    int SelectionTop() const;
    int SelectionBottom() const;

signals:
    void Click();
    // A double click on a row, or Enter: the page's Edit command.
    void EditRequested();
    // The Delete key: the page's Delete command.
    void DeleteRequested();

protected:
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
    int m_savedRow = 0;
    bool m_silent = false;
    bool m_selectingFromCode = false;
    bool m_anchoring = false;
    int m_userInput = 0; // the user's own click or key is being handled
};
