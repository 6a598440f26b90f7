#include "document/recordtablemodel.h"

#include "document/binfile.h"

CRecordTableModel::CRecordTableModel(const CBINFile& document, RecordList list, const TextFormat& format,
                                     QObject* parent)
    : QAbstractTableModel(parent), m_document(document), m_address{list, -1}, m_format(format),
      m_columns(RecordColumns(list))
{
    connect(&document, &CBINFile::RowsAboutToBeInserted, this, &CRecordTableModel::AboutToInsert);
    connect(&document, &CBINFile::RowsInserted, this, &CRecordTableModel::Inserted);
    connect(&document, &CBINFile::RowsAboutToBeRemoved, this, &CRecordTableModel::AboutToRemove);
    connect(&document, &CBINFile::RowsRemoved, this, &CRecordTableModel::Removed);
    connect(&document, &CBINFile::RowsChanged, this, &CRecordTableModel::Changed);
    connect(&document, &CBINFile::AboutToReset, this, [this] {
        emit RowsAboutToChange();
        beginResetModel();
    });
    connect(&document, &CBINFile::DocumentReset, this, &CRecordTableModel::Reset);
}

bool CRecordTableModel::IsFilled() const
{
    return m_address.List == RecordList::TemplateObjects ? m_document.HasList(m_address) : m_listFilled;
}

void CRecordTableModel::ShowTemplate(int templateNumber)
{
    emit RowsAboutToChange();
    beginResetModel();
    m_address.Template = templateNumber;
    m_count = m_document.Count(m_address);
    endResetModel();
}

int CRecordTableModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid())
        return 0;
    return IsFilled() ? std::max(m_count, 1) : 1;
}

int CRecordTableModel::columnCount(const QModelIndex& parent) const
{
    if (parent.isValid())
        return 0;
    return IsFilled() ? static_cast<int>(m_columns.size()) : 1;
}

QVariant CRecordTableModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    if (!IsFilled() || index.row() >= m_count)
        return QString(); // the single cell of a grid never filled, the blank row of an empty list
    return CellText(m_document, m_address, index.row(), index.column(), m_format);
}

QVariant CRecordTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal && IsFilled() && section >= 0 && section < static_cast<int>(m_columns.size()))
        return QLatin1String(m_columns[static_cast<size_t>(section)].Header);
    return QString(); // the fixed column has no text
}

bool CRecordTableModel::FillOnce()
{
    if (IsFilled() || m_address.List == RecordList::TemplateObjects)
        return false;
    emit RowsAboutToChange();
    beginResetModel();
    m_listFilled = true;
    m_count = m_document.Count(m_address);
    endResetModel();
    return true;
}

bool CRecordTableModel::IsObjectsOfTemplates(ListAddress list) const
{
    return list.List == RecordList::Templates && m_address.List == RecordList::TemplateObjects;
}

// An empty list shows one blank row: the first record takes its place, the last leaves it. Qt's
// rules want rows outside an insertion or removal untouched by it, so the blank row changes on
// its own: after the records arrived, before the rest of them is inserted; after the rest of the
// records were removed, before the last one goes.
void CRecordTableModel::AboutToInsert(ListAddress list, int first, int last)
{
    if (IsMine(list) && m_count > 0) {
        emit RowsAboutToChange();
        beginInsertRows({}, first, last);
    }
}

void CRecordTableModel::Inserted(ListAddress list, int first, int last)
{
    if (IsObjectsOfTemplates(list)) {
        if (m_address.Template >= first) // the same template, renumbered
            m_address.Template += last - first + 1;
        return;
    }
    if (FillOnce() || !IsMine(list))
        return;
    const int added = last - first + 1;
    if (m_count > 0) {
        m_count += added;
        endInsertRows();
        NumbersFrom(last + 1);
        return;
    }
    m_count = 1;
    emit dataChanged(index(0, 0), index(0, columnCount() - 1));
    if (added > 1) {
        emit RowsAboutToChange();
        beginInsertRows({}, 1, added - 1);
        m_count = added;
        endInsertRows();
    }
}

void CRecordTableModel::AboutToRemove(ListAddress list, int first, int last)
{
    if (IsObjectsOfTemplates(list)) {
        // The objects go with their template.
        m_losingTemplate = m_address.Template >= first && m_address.Template <= last;
        if (m_losingTemplate)
            emit RowsAboutToChange();
        beginResetModel();
        return;
    }
    if (!IsMine(list))
        return;
    if (last - first + 1 < m_count) {
        emit RowsAboutToChange();
        beginRemoveRows({}, first, last);
    } else if (m_count > 1) { // all of them: every row but the first goes now
        emit RowsAboutToChange();
        beginRemoveRows({}, 1, m_count - 1);
        m_count = 1;
        endRemoveRows();
    }
}

void CRecordTableModel::Removed(ListAddress list, int first, int last)
{
    if (IsObjectsOfTemplates(list)) {
        if (m_losingTemplate) {
            m_address.Template = -1;
            m_count = 0;
            m_losingTemplate = false;
            endResetModel();
        } else if (m_address.Template > last) {
            m_address.Template -= last - first + 1;
        }
        return;
    }
    if (FillOnce() || !IsMine(list))
        return;
    if (m_document.Count(m_address) > 0) {
        m_count -= last - first + 1;
        endRemoveRows();
        NumbersFrom(first);
        return;
    }
    m_count = 0;
    emit dataChanged(index(0, 0), index(0, columnCount() - 1));
}

// The "Number" column shows a record's position, which moves for every record after rows that
// came or went.
void CRecordTableModel::NumbersFrom(int row)
{
    if (row < m_count)
        emit dataChanged(index(row, 0), index(m_count - 1, 0));
}

void CRecordTableModel::Changed(ListAddress list, int first, int last)
{
    if (FillOnce() || !IsMine(list))
        return;
    emit dataChanged(index(first, 0), index(last, columnCount() - 1));
}

void CRecordTableModel::Reset()
{
    m_listFilled = true;
    m_count = m_document.Count(m_address);
    endResetModel();
}
