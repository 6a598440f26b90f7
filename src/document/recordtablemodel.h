#pragma once
// One record list as a grid shows it: a table model over the document that formats a cell only
// when a view asks for it, and turns the document's announcements into the model's own
// (beginInsertRows, dataChanged, ...), never a full rebuild but for a reset.
//
// Rows are the records; an empty list keeps one blank row. A grid that was never filled shows a
// single empty cell without headers: the four lists are filled from the document's first
// announcement on (New, Load, Import, a record added), the objects of a template while the
// template exists. Column 0 is "Number"; the grid's narrow fixed column before it is the view's.

#include "document/recordcolumns.h"
#include "document/records.h"

#include <QAbstractTableModel>

class CBINFile;

class CRecordTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    CRecordTableModel(const CBINFile& document, RecordList list, const TextFormat& format, QObject* parent = nullptr);

    // The objects list only: shows the objects of another template (a reset; -1 or a number out
    // of range shows none). The model follows its template when templates before it come or go.
    void ShowTemplate(int templateNumber);
    ListAddress Address() const { return m_address; }

    // Whether the grid shows its list (headers, fixed column) rather than the single empty cell.
    bool IsFilled() const;
    // Shows the list now, as the document's first announcement would (the four lists).
    void Fill() { FillOnce(); }
    // The definition of a column, for its width; only while filled.
    const RecordColumn& Column(int column) const { return m_columns[static_cast<size_t>(column)]; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

signals:
    // Before rows are inserted or removed or the model is reset: said ahead of Qt's own
    // announcements, so that a view can take note of its row before a selection model on the
    // model moves it.
    void RowsAboutToChange();

private:
    bool IsMine(ListAddress list) const { return IsFilled() && list == m_address; }
    // The first announcement fills a list that was never filled, as a reset.
    bool FillOnce();
    void AboutToInsert(ListAddress list, int first, int last);
    void Inserted(ListAddress list, int first, int last);
    void AboutToRemove(ListAddress list, int first, int last);
    void Removed(ListAddress list, int first, int last);
    void Changed(ListAddress list, int first, int last);
    void Reset();
    void NumbersFrom(int row);
    // An announcement about the templates, to the model of a template's objects.
    bool IsObjectsOfTemplates(ListAddress list) const;

    const CBINFile& m_document;
    ListAddress m_address;
    TextFormat m_format;
    std::span<const RecordColumn> m_columns;
    bool m_listFilled = false; // the four lists; the objects' list follows its template
    int m_count = 0;           // the records as this model last announced them
    bool m_losingTemplate = false;
};
