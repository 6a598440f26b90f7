#include "session/selectionlink.h"

#include "session/filteredrecords.h"

#include <QItemSelectionModel>

CSelectionLink::CSelectionLink(CFilteredRecords& view, QItemSelectionModel& viewSelection,
                               QItemSelectionModel& listSelection, QObject* parent)
    : QObject(parent), m_view(view), m_viewSelection(viewSelection), m_listSelection(listSelection)
{
    connect(&view, &CFilteredRecords::RowsAboutToChange, this, [this] { m_rowsChanging = true; });
    connect(&view, &CFilteredRecords::RowsSettled, this, [this] {
        m_rowsChanging = false;
        FromList();
    });
    connect(&listSelection, &QItemSelectionModel::selectionChanged, this, &CSelectionLink::FromList);
    connect(&listSelection, &QItemSelectionModel::currentChanged, this, &CSelectionLink::FromList);
    connect(&viewSelection, &QItemSelectionModel::selectionChanged, this, &CSelectionLink::ToList);
    connect(&viewSelection, &QItemSelectionModel::currentChanged, this, &CSelectionLink::CurrentToList);
    FromList();
}

void CSelectionLink::FromList()
{
    if (m_matching || m_rowsChanging)
        return;
    m_matching = true;
    const QModelIndex current = m_view.mapFromSource(m_listSelection.currentIndex());
    if (current != m_viewSelection.currentIndex())
        m_viewSelection.setCurrentIndex(current, QItemSelectionModel::NoUpdate);
    const QItemSelection selection = m_view.mapSelectionFromSource(m_listSelection.selection());
    if (selection != m_viewSelection.selection())
        m_viewSelection.select(selection, QItemSelectionModel::ClearAndSelect);
    m_matching = false;
}

void CSelectionLink::ToList()
{
    if (m_matching || m_rowsChanging)
        return;
    m_matching = true;
    m_listSelection.select(m_view.mapSelectionToSource(m_viewSelection.selection()),
                           QItemSelectionModel::ClearAndSelect);
    m_matching = false;
}

void CSelectionLink::CurrentToList()
{
    if (m_matching || m_rowsChanging)
        return;
    m_matching = true;
    const QModelIndex current = m_view.mapToSource(m_viewSelection.currentIndex());
    if (current != m_listSelection.currentIndex())
        m_listSelection.setCurrentIndex(current, QItemSelectionModel::NoUpdate);
    m_matching = false;
}
