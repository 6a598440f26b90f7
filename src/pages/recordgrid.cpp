#include "pages/recordgrid.h"

#include "document/recordtablemodel.h"
#include "pages/columnwidth.h"
#include "session/filteredrecords.h"
#include "session/selectionlink.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyledItemDelegate>
#include <algorithm>
#include <array>
#include <cmath>

namespace {

// The fixed column, and the one column of a grid never filled, in pixels for the 8-point font.
constexpr int kFixedColumnWidth = 5;
constexpr int kEmptyGridWidth = 64;

// The narrow fixed column: no text, one size for every row. Qt would otherwise measure the texts
// of two hundred rows' headers after every row that comes or goes.
class CFixedColumnHeader : public QHeaderView {
public:
    CFixedColumnHeader() : QHeaderView(Qt::Vertical) { }

protected:
    QSize sectionSizeFromContents(int) const override { return {minimumWidth(), defaultSectionSize()}; }
    // A plain face with the grid's lines: a header section's full drawing for a column this
    // narrow and empty costs more than all the cells of its row.
    void paintSection(QPainter* painter, const QRect& rect, int) const override
    {
        painter->fillRect(rect, palette().button());
        painter->setPen(palette().color(QPalette::Mid));
        painter->drawLine(rect.topRight(), rect.bottomRight());
        painter->drawLine(rect.bottomLeft(), rect.bottomRight());
    }
};

// Cells drawn as the style draws an item view's item, but with the text laid out the short way:
// one line, left aligned and centred in height, elided only when it does not fit. Most of the
// time of showing a grid went into the general layout of every cell's text.
class CGridCellDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem item = option;
        initStyleOption(&item, index);
        const QWidget* widget = item.widget;
        QStyle* style = widget ? widget->style() : QApplication::style();
        // The panel shows only a selection or a background of the item's own.
        if ((item.state & QStyle::State_Selected) || item.backgroundBrush.style() != Qt::NoBrush)
            style->drawPrimitive(QStyle::PE_PanelItemViewItem, &item, painter, widget);
        if (!item.text.isEmpty()) {
            const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
            const QRect text = item.rect.adjusted(margin, 0, -margin, 0);
            const QFontMetrics& metrics = item.fontMetrics;
            const QString shown = Fits(item.font, metrics, item.text, text.width())
                ? item.text
                : metrics.elidedText(item.text, item.textElideMode, text.width());
            const QPalette::ColorGroup group = !(item.state & QStyle::State_Enabled) ? QPalette::Disabled
                : (item.state & QStyle::State_Active)                                ? QPalette::Normal
                                                                                     : QPalette::Inactive;
            painter->setPen(item.palette.color(
                group, (item.state & QStyle::State_Selected) ? QPalette::HighlightedText : QPalette::Text));
            painter->setFont(item.font);
            const int baseline = text.top() + (text.height() - metrics.height()) / 2 + metrics.ascent();
            painter->drawText(QPoint(text.left(), baseline), shown);
        }
        if (item.state & QStyle::State_HasFocus) {
            QStyleOptionFocusRect focus;
            focus.QStyleOption::operator=(item);
            focus.rect = style->subElementRect(QStyle::SE_ItemViewItemFocusRect, &item, widget);
            focus.state |= QStyle::State_KeyboardFocusChange | QStyle::State_Item;
            style->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, widget);
        }
    }

private:
    // Whether `text` fits in `width`. Numbers and most names are printable ASCII, whose width is
    // about the sum of its characters' advances; only text near the edge is measured whole.
    bool Fits(const QFont& font, const QFontMetrics& metrics, const QString& text, int width) const
    {
        if (font != m_advancesFont) {
            m_advancesFont = font;
            for (int c = 0; c < int(m_advances.size()); ++c)
                m_advances[size_t(c)] = metrics.horizontalAdvance(QChar(c + ' '));
        }
        int sum = 0;
        for (const QChar c : text) {
            const int index = c.unicode() - ' ';
            if (index < 0 || index >= int(m_advances.size()))
                return metrics.horizontalAdvance(text) <= width;
            sum += m_advances[size_t(index)];
        }
        // Kerning moves a pair of letters by a pixel at most.
        const int slack = text.size() / 2 + 1;
        if (sum + slack <= width)
            return true;
        return sum - slack <= width && metrics.horizontalAdvance(text) <= width;
    }

    mutable QFont m_advancesFont;
    mutable std::array<int, 95> m_advances{}; // ' ' to '~'
};

} // namespace

CRecordGrid::CRecordGrid(QWidget* parent) : QTableView(parent)
{
    setVerticalHeader(new CFixedColumnHeader);
    setItemDelegate(new CGridCellDelegate(this));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
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
}

void CRecordGrid::SetRecordModel(CFilteredRecords* view, QItemSelectionModel* selection)
{
    m_view = view;
    m_model = &view->Records();
    // Before the view and its selection hear of a change, so that the row is taken before the
    // selection moves it, and silently; after them, once they have settled, the row is put back.
    connect(view, &CFilteredRecords::RowsAboutToChange, this, &CRecordGrid::RowsAboutToChange);
    setModel(view);
    // The grid selects among the rows it shows; the link keeps the session's selection of the
    // records the same, and is told of settled rows before the grid puts its row back.
    new CSelectionLink(*view, *selectionModel(), *selection, this);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this, &CRecordGrid::CurrentRowChanged);
    connect(view, &CFilteredRecords::RowsSettled, this, &CRecordGrid::RowsChanged);
    ApplyFont();
    if (!selectionModel()->hasSelection())
        SelectSilently(0);
}

void CRecordGrid::ApplyFont()
{
    // Rows are 15 pixels at 96 dpi; a larger desktop font gets the room it needs.
    verticalHeader()->setDefaultSectionSize(std::max(15, fontMetrics().height() + 3));
    ApplyStructure();
}

bool CRecordGrid::event(QEvent* event)
{
    // Ctrl+A selects the grid's rows even when a menu entry has the same keys.
    if (event->type() == QEvent::ShortcutOverride && static_cast<QKeyEvent*>(event)->matches(QKeySequence::SelectAll)) {
        event->accept();
        return true;
    }
    return QTableView::event(event);
}

void CRecordGrid::changeEvent(QEvent* event)
{
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        ApplyFont();
}

int CRecordGrid::ColCount() const { return m_model ? m_model->columnCount() + FixedCols() : 1; }

int CRecordGrid::RowCount() const { return m_view ? m_view->rowCount() + FixedRows() : 1; }

int CRecordGrid::FixedRows() const { return m_model && m_model->IsFilled() ? 1 : 0; }

int CRecordGrid::FixedCols() const { return FixedRows(); }

int CRecordGrid::ColWidth(int col) const
{
    if (col < 0 || col >= ColCount())
        return 0;
    if (col < FixedCols())
        return verticalHeader()->width();
    return columnWidth(col - FixedCols());
}

void CRecordGrid::ApplyStructure()
{
    if (!m_model)
        return;
    const bool filled = m_model->IsFilled();
    horizontalHeader()->setVisible(filled);
    verticalHeader()->setVisible(filled);
    const QFontMetricsF metrics(font());
    const double average = AverageCharWidth(metrics);
    if (filled)
        verticalHeader()->setFixedWidth(kFixedColumnWidth);
    else {
        setColumnWidth(0, ScaledColumnWidth(kEmptyGridWidth, average));
        return;
    }
    // A cell's text keeps the item margins on both sides, and the grid line takes one pixel.
    const int cellMargins = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1) + 1;
    for (int section = 0; section < m_model->columnCount(); ++section) {
        const RecordColumn& column = m_model->Column(section);
        int needed = horizontalHeader()->sectionSizeHint(section);
        if (column.Typical)
            needed = std::max(needed,
                              static_cast<int>(std::ceil(metrics.horizontalAdvance(QLatin1String(column.Typical))))
                                  + cellMargins);
        setColumnWidth(section, ScaledColumnWidth(column.Width, average, needed));
    }
}

QString CRecordGrid::Cell(int col, int row) const
{
    if (!m_model || row < 0 || row >= RowCount() || col < 0 || col >= ColCount())
        return {};
    if (col < FixedCols())
        return QString();
    if (row < FixedRows())
        return m_model->headerData(col - FixedCols(), Qt::Horizontal).toString();
    return m_view->index(row - FixedRows(), col - FixedCols()).data().toString();
}

QStringList CRecordGrid::Cells(int row) const
{
    if (row < 0 || row >= RowCount())
        return {};
    QStringList cells;
    for (int col = 0; col < ColCount(); ++col)
        cells << Cell(col, row);
    return cells;
}

int CRecordGrid::Row() const
{
    const QModelIndex current = currentIndex();
    return (current.isValid() ? current.row() : 0) + FixedRows();
}

void CRecordGrid::SetRow(int row)
{
    if (row < FixedRows() || row >= RowCount())
        return;
    SelectFromCode(row); // raises Click through CurrentRowChanged when the row changes
}

void CRecordGrid::ClickRow(int row)
{
    if (row < FixedRows() || row >= RowCount())
        return;
    const int before = Row();
    SelectFromCode(row);
    if (Row() == before)
        emit Click();
}

int CRecordGrid::SelectionTop() const
{
    const QModelIndexList rows = selectionModel()->selectedRows();
    if (rows.isEmpty())
        return Row();
    int top = rows.constFirst().row();
    for (const QModelIndex& index : rows)
        top = std::min(top, index.row());
    return top + FixedRows();
}

int CRecordGrid::SelectionBottom() const
{
    const QModelIndexList rows = selectionModel()->selectedRows();
    if (rows.isEmpty())
        return Row();
    int bottom = rows.constFirst().row();
    for (const QModelIndex& index : rows)
        bottom = std::max(bottom, index.row());
    return bottom + FixedRows();
}

QList<int> CRecordGrid::SelectedRows() const
{
    QList<int> rows;
    for (const QModelIndex& index : selectionModel()->selectedRows())
        rows << index.row() + FixedRows();
    std::sort(rows.begin(), rows.end());
    return rows;
}

void CRecordGrid::RowsAboutToChange()
{
    m_savedRow = Row();
    m_silent = true;
}

void CRecordGrid::RowsChanged(bool reset)
{
    if (reset)
        ApplyStructure();
    // A filter may leave no row at all.
    if ((reset || !selectionModel()->hasSelection()) && RowCount() > FixedRows())
        SelectSilently(std::clamp(m_savedRow, FixedRows(), RowCount() - 1));
    m_silent = false;
}

void CRecordGrid::SelectSilently(int row)
{
    const bool wasSilent = m_silent;
    m_silent = true;
    SelectFromCode(row);
    m_silent = wasSilent;
}

void CRecordGrid::SelectFromCode(int row)
{
    // The view's own rules would read a Ctrl or Shift that the user still holds (from a click on
    // the map or in another grid) as extending the selection. Going through setCurrentIndex with
    // a command of our own also makes this row the anchor of the user's next Shift+click or
    // Shift+arrow.
    m_selectingFromCode = true;
    setCurrentIndex(model()->index(row - FixedRows(), 0));
    m_selectingFromCode = false;
}

QItemSelectionModel::SelectionFlags CRecordGrid::selectionCommand(const QModelIndex& index, const QEvent* event) const
{
    if (m_anchoring)
        return QItemSelectionModel::NoUpdate;
    if (!m_selectingFromCode)
        return QTableView::selectionCommand(index, event);
    // The single blank cell of a grid never filled is not highlighted.
    return FixedRows() > 0 ? QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows
                           : QItemSelectionModel::Clear;
}

void CRecordGrid::CurrentRowChanged(const QModelIndex& current)
{
    // A row made current elsewhere (another grid's click, the map, an undo) is where the user's
    // next Shift+click or Shift+arrow starts, as a row set by SetRow is. The view's own
    // setCurrentIndex makes it the anchor; the command leaves the selection as it is.
    if (!m_selectingFromCode && m_userInput == 0 && current.isValid()) {
        m_anchoring = true;
        setCurrentIndex(current);
        m_anchoring = false;
    }
    if (!m_silent)
        emit Click();
}

void CRecordGrid::mousePressEvent(QMouseEvent* event)
{
    const int before = Row();
    ++m_userInput;
    QTableView::mousePressEvent(event);
    --m_userInput;
    if (event->button() == Qt::LeftButton && !(event->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier))
        && indexAt(event->position().toPoint()).isValid())
        emit SelectionReplaced();
    // A click on the row that was already current is a click all the same.
    if (event->button() == Qt::LeftButton && Row() == before && indexAt(event->position().toPoint()).isValid())
        emit Click();
}

void CRecordGrid::mouseMoveEvent(QMouseEvent* event)
{
    ++m_userInput;
    QTableView::mouseMoveEvent(event);
    --m_userInput;
}

void CRecordGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTableView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton && indexAt(event->position().toPoint()).isValid())
        emit EditRequested();
}

void CRecordGrid::keyPressEvent(QKeyEvent* event)
{
    if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            event->accept();
            emit EditRequested();
            return;
        }
        if (event->key() == Qt::Key_Delete) {
            event->accept();
            emit DeleteRequested();
            return;
        }
    }
    const int before = Row();
    ++m_userInput;
    QTableView::keyPressEvent(event);
    --m_userInput;
    if (Row() != before && !(event->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier)))
        emit SelectionReplaced();
}
