#pragma once
// A read-only grid of texts addressed like the record lists number them: row 0 is the header row
// when the grid has a fixed row, column 0 the narrow fixed column when it has one, and row r of a
// filled record grid shows record r - 1. Whole rows are selected, a contiguous range at a time.
//
// Click() is raised when the user clicks a row, when the current row moves by keyboard, and when
// code sets another current row; never while the grid is being rebuilt, and never for setting the
// row that is already current.

#include <QAbstractTableModel>
#include <QStringList>
#include <QTableView>
#include <vector>

class CGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void Begin() { beginResetModel(); }
    void End() { endResetModel(); }
    void Resize(int colCount, int rowCount);
    void SetFixed(int fixedRows, int fixedCols);
    // Sets a cell; `notify` tells attached views (not needed between Begin and End).
    void SetCell(int col, int row, const QString& text, bool notify);
    void SetRow(int row, const QStringList& cells, bool notify);

    int ColCount = 1;
    int RowCount = 1;
    int FixedRows = 0;
    int FixedCols = 0;
    std::vector<QStringList> Cells; // [row][col], grid coordinates

private:
    void NotifyRow(int row, int firstCol, int lastCol);
};

class CStringGrid : public QTableView {
    Q_OBJECT
public:
    explicit CStringGrid(QWidget* parent = nullptr);

    // Structure changes go between BeginUpdate and EndUpdate; the current row survives them,
    // moved into range (and below the fixed row) when needed, without a Click.
    void BeginUpdate();
    void EndUpdate();
    void SetColCount(int count);
    void SetRowCount(int count);
    void SetFixedRows(int count);
    void SetFixedCols(int count);
    // `width` is in pixels for the 8-point font the grids were laid out with; the grid scales it
    // to its own font (app/columnwidth.h) and widens the column where its header, or `typical`
    // (a value the column must show whole), would be cut off. The fixed column keeps its width.
    void SetColWidth(int col, int width, const QString& typical = QString());

    int ColCount() const { return m_model.ColCount; }
    int RowCount() const { return m_model.RowCount; }
    int FixedRows() const { return m_model.FixedRows; }
    int FixedCols() const { return m_model.FixedCols; }
    int ColWidth(int col) const; // as drawn

    QString Cell(int col, int row) const;
    void SetCell(int col, int row, const QString& text);
    QStringList Cells(int row) const;
    // Replaces a whole row (the fixed column's cell included).
    void SetCells(int row, const QStringList& cells);

    int Row() const;
    // Makes `row` current and the whole selection, whatever keys are held; raises Click when the
    // row changes. Only the user's own clicks and keys extend a selection.
    void SetRow(int row);
    // The selected range, top to bottom; the current row when nothing is selected.
    int SelectionTop() const;
    int SelectionBottom() const;

signals:
    void Click();

protected:
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event = nullptr) const override;

private:
    void ApplyStructure();
    void ApplyFont();
    void SelectSilently(int row);
    void SelectFromCode(int row);
    void CurrentRowChanged();

    struct ColumnWidth {
        int Designed = 64;
        QString Typical;
    };

    CGridModel m_model;
    std::vector<ColumnWidth> m_widths; // by grid column
    int m_savedRow = 0;
    int m_updating = 0;
    bool m_silent = false;
    bool m_selectingFromCode = false;
};
