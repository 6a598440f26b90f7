#include "app/stringgrid.h"

#include "app/columnwidth.h"

#include <QFontMetricsF>
#include <QHeaderView>
#include <QMouseEvent>
#include <QStyle>
#include <algorithm>
#include <cmath>

// --- Model -------------------------------------------------------------------------------------

int CGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : RowCount - FixedRows;
}

int CGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColCount - FixedCols;
}

QVariant CGridModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    const size_t row = static_cast<size_t>(index.row() + FixedRows);
    const int col = index.column() + FixedCols;
    if (row >= Cells.size() || col >= Cells[row].size())
        return {};
    return Cells[row][col];
}

QVariant CGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal) {
        const int col = section + FixedCols;
        if (FixedRows == 0 || Cells.empty() || col >= Cells[0].size())
            return QString();
        return Cells[0][col];
    }
    const size_t row = static_cast<size_t>(section + FixedRows);
    if (FixedCols == 0 || row >= Cells.size() || Cells[row].isEmpty())
        return QString();
    return Cells[row][0];
}

void CGridModel::Resize(int colCount, int rowCount)
{
    ColCount = std::max(1, colCount);
    RowCount = std::max(1, rowCount);
    FixedRows = std::min(FixedRows, RowCount - 1);
    FixedCols = std::min(FixedCols, ColCount - 1);
    Cells.resize(static_cast<size_t>(RowCount));
    for (QStringList& row : Cells)
        row.resize(ColCount);
}

void CGridModel::SetFixed(int fixedRows, int fixedCols)
{
    FixedRows = std::clamp(fixedRows, 0, RowCount - 1);
    FixedCols = std::clamp(fixedCols, 0, ColCount - 1);
}

void CGridModel::SetCell(int col, int row, const QString& text, bool notify)
{
    if (row < 0 || row >= RowCount || col < 0 || col >= ColCount)
        return;
    Cells[static_cast<size_t>(row)][col] = text;
    if (notify)
        NotifyRow(row, col, col);
}

void CGridModel::SetRow(int row, const QStringList& cells, bool notify)
{
    if (row < 0 || row >= RowCount)
        return;
    QStringList& target = Cells[static_cast<size_t>(row)];
    for (int col = 0; col < ColCount; ++col)
        target[col] = col < cells.size() ? cells[col] : QString();
    if (notify)
        NotifyRow(row, 0, ColCount - 1);
}

void CGridModel::NotifyRow(int row, int firstCol, int lastCol)
{
    if (row < FixedRows) {
        emit headerDataChanged(Qt::Horizontal, std::max(0, firstCol - FixedCols), ColCount - FixedCols - 1);
        return;
    }
    if (firstCol < FixedCols)
        emit headerDataChanged(Qt::Vertical, row - FixedRows, row - FixedRows);
    const int first = std::max(0, firstCol - FixedCols);
    const int last = lastCol - FixedCols;
    if (last >= first)
        emit dataChanged(index(row - FixedRows, first), index(row - FixedRows, last), {Qt::DisplayRole});
}

// --- View --------------------------------------------------------------------------------------

CStringGrid::CStringGrid(QWidget* parent) : QTableView(parent)
{
    m_model.Resize(1, 1);
    m_widths.assign(1, ColumnWidth{});
    setModel(&m_model);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setShowGrid(true);
    setWordWrap(false);
    setTabKeyNavigation(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setMinimumSectionSize(5);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setHighlightSections(false);
    verticalHeader()->setMinimumSectionSize(5);
    horizontalHeader()->setDefaultSectionSize(15);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this, &CStringGrid::CurrentRowChanged);
    ApplyFont();
    SelectSilently(0);
}

void CStringGrid::ApplyFont()
{
    // Rows are 15 pixels at 96 dpi; a larger desktop font gets the room it needs.
    verticalHeader()->setDefaultSectionSize(std::max(15, fontMetrics().height() + 3));
    if (m_updating == 0)
        ApplyStructure();
}

void CStringGrid::changeEvent(QEvent* event)
{
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        ApplyFont();
}

void CStringGrid::BeginUpdate()
{
    if (m_updating++ == 0) {
        m_savedRow = Row();
        m_silent = true;
        m_model.Begin();
    }
}

void CStringGrid::EndUpdate()
{
    if (m_updating == 0 || --m_updating > 0)
        return;
    m_model.End();
    ApplyStructure();
    SelectSilently(std::clamp(m_savedRow, m_model.FixedRows, m_model.RowCount - 1));
    m_silent = false;
}

void CStringGrid::SetColCount(int count)
{
    BeginUpdate();
    m_model.Resize(count, m_model.RowCount);
    m_widths.resize(static_cast<size_t>(m_model.ColCount), ColumnWidth{});
    EndUpdate();
}

void CStringGrid::SetRowCount(int count)
{
    BeginUpdate();
    m_model.Resize(m_model.ColCount, count);
    EndUpdate();
}

void CStringGrid::SetFixedRows(int count)
{
    BeginUpdate();
    m_model.SetFixed(count, m_model.FixedCols);
    EndUpdate();
}

void CStringGrid::SetFixedCols(int count)
{
    BeginUpdate();
    m_model.SetFixed(m_model.FixedRows, count);
    EndUpdate();
}

void CStringGrid::SetColWidth(int col, int width, const QString& typical)
{
    if (col < 0 || col >= m_model.ColCount)
        return;
    m_widths[static_cast<size_t>(col)] = {width, typical};
    if (m_updating == 0)
        ApplyStructure();
}

int CStringGrid::ColWidth(int col) const
{
    if (col < 0 || col >= m_model.ColCount)
        return 0;
    if (col < m_model.FixedCols)
        return verticalHeader()->width();
    return columnWidth(col - m_model.FixedCols);
}

void CStringGrid::ApplyStructure()
{
    horizontalHeader()->setVisible(m_model.FixedRows > 0);
    if (m_model.FixedCols > 0) {
        verticalHeader()->setVisible(true);
        verticalHeader()->setFixedWidth(m_widths[0].Designed);
    } else {
        verticalHeader()->setVisible(false);
    }
    const QFontMetricsF metrics(font());
    const double average = AverageCharWidth(metrics);
    // A cell's text keeps the item margins on both sides, and the grid line takes one pixel.
    const int cellMargins = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1) + 1;
    for (int col = m_model.FixedCols; col < m_model.ColCount; ++col) {
        const ColumnWidth& width = m_widths[static_cast<size_t>(col)];
        const int section = col - m_model.FixedCols;
        int needed = m_model.FixedRows > 0 ? horizontalHeader()->sectionSizeHint(section) : 0;
        if (!width.Typical.isEmpty())
            needed = std::max(needed, static_cast<int>(std::ceil(metrics.horizontalAdvance(width.Typical))) + cellMargins);
        setColumnWidth(section, ScaledColumnWidth(width.Designed, average, needed));
    }
}

QString CStringGrid::Cell(int col, int row) const
{
    if (row < 0 || row >= m_model.RowCount || col < 0 || col >= m_model.ColCount)
        return {};
    return m_model.Cells[static_cast<size_t>(row)][col];
}

void CStringGrid::SetCell(int col, int row, const QString& text)
{
    m_model.SetCell(col, row, text, m_updating == 0);
}

QStringList CStringGrid::Cells(int row) const
{
    if (row < 0 || row >= m_model.RowCount)
        return {};
    return m_model.Cells[static_cast<size_t>(row)];
}

void CStringGrid::SetCells(int row, const QStringList& cells)
{
    m_model.SetRow(row, cells, m_updating == 0);
}

int CStringGrid::Row() const
{
    const QModelIndex current = currentIndex();
    return (current.isValid() ? current.row() : 0) + m_model.FixedRows;
}

void CStringGrid::SetRow(int row)
{
    if (row < m_model.FixedRows || row >= m_model.RowCount)
        return;
    SelectFromCode(row); // raises Click through CurrentRowChanged when the row changes
}

int CStringGrid::SelectionTop() const
{
    const QModelIndexList rows = selectionModel()->selectedRows();
    if (rows.isEmpty())
        return Row();
    int top = rows.constFirst().row();
    for (const QModelIndex& index : rows)
        top = std::min(top, index.row());
    return top + m_model.FixedRows;
}

int CStringGrid::SelectionBottom() const
{
    const QModelIndexList rows = selectionModel()->selectedRows();
    if (rows.isEmpty())
        return Row();
    int bottom = rows.constFirst().row();
    for (const QModelIndex& index : rows)
        bottom = std::max(bottom, index.row());
    return bottom + m_model.FixedRows;
}

void CStringGrid::SelectSilently(int row)
{
    const bool wasSilent = m_silent;
    m_silent = true;
    SelectFromCode(row);
    m_silent = wasSilent;
}

void CStringGrid::SelectFromCode(int row)
{
    // The view's own rules would read a Ctrl or Shift that the user still holds (from a click on
    // the map or in another grid) as extending the selection. Going through setCurrentIndex with
    // a command of our own also makes this row the anchor of the user's next Shift+click or
    // Shift+arrow.
    m_selectingFromCode = true;
    setCurrentIndex(m_model.index(row - m_model.FixedRows, 0));
    m_selectingFromCode = false;
}

QItemSelectionModel::SelectionFlags CStringGrid::selectionCommand(const QModelIndex& index, const QEvent* event) const
{
    if (!m_selectingFromCode)
        return QTableView::selectionCommand(index, event);
    // The single blank cell of a grid never filled is not highlighted.
    return m_model.FixedRows > 0 ? QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows
                                 : QItemSelectionModel::Clear;
}

void CStringGrid::CurrentRowChanged()
{
    if (!m_silent)
        emit Click();
}

void CStringGrid::mousePressEvent(QMouseEvent* event)
{
    const int before = Row();
    QTableView::mousePressEvent(event);
    // A click on the row that was already current is a click all the same.
    if (event->button() == Qt::LeftButton && Row() == before && indexAt(event->position().toPoint()).isValid())
        emit Click();
}
