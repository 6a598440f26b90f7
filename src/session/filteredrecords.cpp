#include "session/filteredrecords.h"

#include "document/binfile.h"
#include "document/recordtablemodel.h"

#include <QItemSelection>
#include <algorithm>

CFilteredRecords::CFilteredRecords(const CBINFile& document, CRecordTableModel& source, QObject* parent)
    : QAbstractProxyModel(parent), m_document(document), m_source(source)
{
    setSourceModel(&source);
    connect(&source, &CRecordTableModel::RowsAboutToChange, this, &CFilteredRecords::RowsAboutToChange);
    connect(&source, &QAbstractItemModel::rowsAboutToBeInserted, this,
            [this](const QModelIndex&, int first, int last) { SourceAboutToInsert(first, last); });
    connect(&source, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex&, int first, int last) { SourceInserted(first, last); });
    connect(&source, &QAbstractItemModel::rowsAboutToBeRemoved, this,
            [this](const QModelIndex&, int first, int last) { SourceAboutToRemove(first, last); });
    connect(&source, &QAbstractItemModel::rowsRemoved, this,
            [this](const QModelIndex&, int first, int last) { SourceRemoved(first, last); });
    connect(&source, &QAbstractItemModel::dataChanged, this, &CFilteredRecords::SourceChanged);
    connect(&source, &QAbstractItemModel::modelAboutToBeReset, this, &CFilteredRecords::SourceAboutToReset);
    connect(&source, &QAbstractItemModel::modelReset, this, &CFilteredRecords::SourceReset);
}

void CFilteredRecords::SetFilter(const CRecordFilter& filter)
{
    emit RowsAboutToChange();
    beginResetModel();
    m_filter = filter;
    Rebuild();
    endResetModel();
    emit Filtered();
    emit RowsSettled(false);
}

bool CFilteredRecords::Passes(int sourceRow) const
{
    return m_source.IsFilled() && sourceRow < m_document.Count(m_source.Address())
        && m_filter.Accepts(m_document, m_source.Address(), sourceRow);
}

void CFilteredRecords::Rebuild()
{
    m_rows.clear();
    m_accepted.clear();
    if (!IsFiltering())
        return;
    const int count = m_source.rowCount();
    m_accepted.resize(size_t(count));
    for (int row = 0; row < count; ++row) {
        m_accepted[size_t(row)] = Passes(row);
        if (m_accepted[size_t(row)])
            m_rows.push_back(row);
    }
}

bool CFilteredRecords::Accepts(int record) const
{
    if (!IsFiltering())
        return true;
    return record >= 0 && record < int(m_accepted.size()) && m_accepted[size_t(record)];
}

int CFilteredRecords::AcceptedCount() const
{
    if (IsFiltering())
        return int(m_rows.size());
    return m_source.IsFilled() ? m_document.Count(m_source.Address()) : 0;
}

int CFilteredRecords::LowerRow(int sourceRow) const
{
    return int(std::lower_bound(m_rows.begin(), m_rows.end(), sourceRow) - m_rows.begin());
}

// --- Following the table model -------------------------------------------------------------------

void CFilteredRecords::SourceAboutToInsert(int first, int last)
{
    if (IsFiltering())
        return; // tested once they are there
    m_inserting = true;
    beginInsertRows({}, first, last);
}

void CFilteredRecords::SourceInserted(int first, int last)
{
    if (m_inserting) {
        m_inserting = false;
        endInsertRows();
    } else if (IsFiltering()) {
        const int added = last - first + 1;
        for (int& row : m_rows)
            if (row >= first)
                row += added;
        m_accepted.insert(m_accepted.begin() + first, size_t(added), false);
        std::vector<int> shown;
        for (int row = first; row <= last; ++row) {
            m_accepted[size_t(row)] = Passes(row);
            if (m_accepted[size_t(row)])
                shown.push_back(row);
        }
        if (!shown.empty()) {
            // Records inserted together are neighbours here too.
            const int at = LowerRow(first);
            beginInsertRows({}, at, at + int(shown.size()) - 1);
            m_rows.insert(m_rows.begin() + at, shown.begin(), shown.end());
            endInsertRows();
        }
    }
    emit RowsSettled(false);
}

void CFilteredRecords::SourceAboutToRemove(int first, int last)
{
    if (!IsFiltering()) {
        m_removing = true;
        beginRemoveRows({}, first, last);
        return;
    }
    const int top = LowerRow(first);
    const int bottom = LowerRow(last + 1) - 1;
    if (top <= bottom) {
        m_removing = true;
        beginRemoveRows({}, top, bottom);
    }
}

void CFilteredRecords::SourceRemoved(int first, int last)
{
    if (IsFiltering()) {
        const int removed = last - first + 1;
        const int top = LowerRow(first);
        const int end = LowerRow(last + 1);
        m_rows.erase(m_rows.begin() + top, m_rows.begin() + end);
        for (auto row = m_rows.begin() + top; row != m_rows.end(); ++row)
            *row -= removed;
        const auto from = std::min(m_accepted.size(), size_t(first));
        const auto to = std::min(m_accepted.size(), size_t(last) + 1);
        m_accepted.erase(m_accepted.begin() + qsizetype(from), m_accepted.begin() + qsizetype(to));
    }
    if (m_removing) {
        m_removing = false;
        endRemoveRows();
    }
    emit RowsSettled(false);
}

void CFilteredRecords::SourceChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight)
{
    if (!IsFiltering()) {
        emit dataChanged(index(topLeft.row(), topLeft.column()), index(bottomRight.row(), bottomRight.column()));
        return;
    }
    const int first = topLeft.row();
    const int last = bottomRight.row();
    // Numbers move after rows before them came or went: only a filter on numbers cares.
    const bool numbersOnly = topLeft.column() == 0 && bottomRight.column() == 0;
    if (!numbersOnly || m_filter.ReadsNumbers())
        Retest(first, last);
    const int top = LowerRow(first);
    const int bottom = LowerRow(last + 1) - 1;
    if (top <= bottom)
        emit dataChanged(index(top, topLeft.column()), index(bottom, bottomRight.column()));
}

void CFilteredRecords::Retest(int first, int last)
{
    last = std::min(last, int(m_accepted.size()) - 1);
    std::vector<int> changed;
    for (int row = first; row <= last; ++row)
        if (Passes(row) != m_accepted[size_t(row)])
            changed.push_back(row);
    if (changed.empty())
        return;
    emit RowsAboutToChange();
    // Each run of neighbouring records that changed the same way comes or goes as one.
    size_t at = 0;
    while (at < changed.size()) {
        const bool shown = !m_accepted[size_t(changed[at])];
        size_t end = at + 1;
        while (end < changed.size() && changed[end] == changed[end - 1] + 1
               && !m_accepted[size_t(changed[end])] == shown)
            ++end;
        const int row = LowerRow(changed[at]);
        const int count = int(end - at);
        if (shown) {
            beginInsertRows({}, row, row + count - 1);
            m_rows.insert(m_rows.begin() + row, changed.begin() + qsizetype(at), changed.begin() + qsizetype(end));
        } else {
            beginRemoveRows({}, row, row + count - 1);
            m_rows.erase(m_rows.begin() + row, m_rows.begin() + row + count);
        }
        for (size_t i = at; i < end; ++i)
            m_accepted[size_t(changed[i])] = shown;
        if (shown)
            endInsertRows();
        else
            endRemoveRows();
        at = end;
    }
    emit RowsSettled(false);
}

void CFilteredRecords::SourceAboutToReset() { beginResetModel(); }

void CFilteredRecords::SourceReset()
{
    Rebuild();
    endResetModel();
    emit RowsSettled(true);
}

// --- The model ---------------------------------------------------------------------------------

QModelIndex CFilteredRecords::mapToSource(const QModelIndex& proxyIndex) const
{
    if (!proxyIndex.isValid())
        return {};
    if (!IsFiltering())
        return m_source.index(proxyIndex.row(), proxyIndex.column());
    if (proxyIndex.row() >= int(m_rows.size()))
        return {};
    return m_source.index(m_rows[size_t(proxyIndex.row())], proxyIndex.column());
}

QModelIndex CFilteredRecords::mapFromSource(const QModelIndex& sourceIndex) const
{
    if (!sourceIndex.isValid())
        return {};
    if (!IsFiltering())
        return index(sourceIndex.row(), sourceIndex.column());
    const int row = LowerRow(sourceIndex.row());
    if (row >= int(m_rows.size()) || m_rows[size_t(row)] != sourceIndex.row())
        return {};
    return index(row, sourceIndex.column());
}

QItemSelection CFilteredRecords::mapSelectionFromSource(const QItemSelection& selection) const
{
    QItemSelection mapped;
    for (const QItemSelectionRange& range : selection) {
        if (!range.isValid())
            continue;
        const int top = IsFiltering() ? LowerRow(range.top()) : range.top();
        const int bottom = IsFiltering() ? LowerRow(range.bottom() + 1) - 1 : range.bottom();
        if (top <= bottom)
            mapped.append(QItemSelectionRange(index(top, range.left()), index(bottom, range.right())));
    }
    return mapped;
}

QItemSelection CFilteredRecords::mapSelectionToSource(const QItemSelection& selection) const
{
    QItemSelection mapped;
    for (const QItemSelectionRange& range : selection) {
        if (!range.isValid())
            continue;
        const auto add = [&](int top, int bottom) {
            mapped.append(
                QItemSelectionRange(m_source.index(top, range.left()), m_source.index(bottom, range.right())));
        };
        if (!IsFiltering()) {
            add(range.top(), range.bottom());
            continue;
        }
        // Rows next to each other here may be records far apart: one range per run.
        int row = range.top();
        while (row <= range.bottom() && row < int(m_rows.size())) {
            int end = row + 1;
            while (end <= range.bottom() && end < int(m_rows.size())
                   && m_rows[size_t(end)] == m_rows[size_t(end - 1)] + 1)
                ++end;
            add(m_rows[size_t(row)], m_rows[size_t(end - 1)]);
            row = end;
        }
    }
    return mapped;
}

QModelIndex CFilteredRecords::index(int row, int column, const QModelIndex& parent) const
{
    if (parent.isValid() || row < 0 || column < 0 || row >= rowCount() || column >= columnCount())
        return {};
    return createIndex(row, column);
}

QModelIndex CFilteredRecords::parent(const QModelIndex&) const { return {}; }

int CFilteredRecords::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid())
        return 0;
    return IsFiltering() ? int(m_rows.size()) : m_source.rowCount();
}

int CFilteredRecords::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_source.columnCount();
}

QVariant CFilteredRecords::headerData(int section, Qt::Orientation orientation, int role) const
{
    // The headers are the list's whatever rows are shown.
    return m_source.headerData(section, orientation, role);
}
