#include "app/editcommands.h"

#include "factions/factionsinfo.h"

#include <algorithm>

namespace {

template <typename Record>
class CInserted : public CRecordChange {
public:
    CInserted(int row, std::vector<Record> values, int templateNumber)
        : m_row(row), m_count(static_cast<int>(values.size())), m_templateNumber(templateNumber),
          m_values(std::move(values))
    {
    }
    bool Apply(CBINFile& document) override
    {
        // The values stay here too: a template's objects travel with it.
        return document.InsertRows(m_row, m_values, m_templateNumber);
    }
    bool Revert(CBINFile& document) override
    {
        std::vector<Record> removed = document.RemoveRows<Record>(m_row, m_count, m_templateNumber);
        if (removed.empty())
            return false;
        m_values = std::move(removed);
        return true;
    }
    ShownRows Shown(bool applied) const override
    {
        const ListAddress list = AddressOf<Record>(m_templateNumber);
        return applied ? ShownRows{list, m_row, m_row + m_count - 1} : ShownRows{list, m_row, m_row};
    }

private:
    int m_row;
    int m_count;
    int m_templateNumber;
    std::vector<Record> m_values;
};

// A removal is an insertion seen the other way round.
template <typename Record>
class CRemoved : public CRecordChange {
public:
    CRemoved(int row, std::vector<Record> values, int templateNumber)
        : m_inverse(row, std::move(values), templateNumber)
    {
    }
    bool Apply(CBINFile& document) override { return m_inverse.Revert(document); }
    bool Revert(CBINFile& document) override { return m_inverse.Apply(document); }
    ShownRows Shown(bool applied) const override { return m_inverse.Shown(!applied); }

private:
    CInserted<Record> m_inverse;
};

template <typename Record>
class CReplaced : public CRecordChange {
public:
    CReplaced(int row, Record other, int templateNumber)
        : m_row(row), m_templateNumber(templateNumber), m_other(std::move(other))
    {
    }
    bool Apply(CBINFile& document) override { return Swap(document); }
    bool Revert(CBINFile& document) override { return Swap(document); }
    ShownRows Shown(bool) const override { return {AddressOf<Record>(m_templateNumber), m_row, m_row}; }

private:
    bool Swap(CBINFile& document)
    {
        std::optional<Record> previous = document.ReplaceRow(m_row, m_other, m_templateNumber);
        if (!previous)
            return false;
        m_other = std::move(*previous);
        return true;
    }

    int m_row;
    int m_templateNumber;
    Record m_other; // the value the row does not hold now
};

} // namespace

template <typename Record>
std::unique_ptr<CRecordChange> RowsInserted(int row, std::vector<Record> values, int templateNumber)
{
    return std::make_unique<CInserted<Record>>(row, std::move(values), templateNumber);
}

template <typename Record>
std::unique_ptr<CRecordChange> RowsRemoved(int row, std::vector<Record> values, int templateNumber)
{
    return std::make_unique<CRemoved<Record>>(row, std::move(values), templateNumber);
}

template <typename Record>
std::unique_ptr<CRecordChange> RowReplaced(int row, Record old, int templateNumber)
{
    return std::make_unique<CReplaced<Record>>(row, std::move(old), templateNumber);
}

#define SABLEMAP_RECORD_CHANGES(Record)                                                                                \
    template std::unique_ptr<CRecordChange> RowsInserted<Record>(int, std::vector<Record>, int);                       \
    template std::unique_ptr<CRecordChange> RowsRemoved<Record>(int, std::vector<Record>, int);                        \
    template std::unique_ptr<CRecordChange> RowReplaced<Record>(int, Record, int);
SABLEMAP_RECORD_CHANGES(CPopTemplate)
SABLEMAP_RECORD_CHANGES(CThreeDObject)
SABLEMAP_RECORD_CHANGES(CKeysitePlacement)
SABLEMAP_RECORD_CHANGES(CAirbasePlacement)
SABLEMAP_RECORD_CHANGES(CSAMPlacement)
#undef SABLEMAP_RECORD_CHANGES

QString RecordNoun(RecordList list)
{
    switch (list) {
    case RecordList::Templates: return QStringLiteral("keysite template");
    case RecordList::TemplateObjects: return QStringLiteral("template object");
    case RecordList::Keysites: return QStringLiteral("keysite");
    case RecordList::Airbases: return QStringLiteral("airbase");
    case RecordList::Sams: break;
    }
    return QStringLiteral("SAM site");
}

QString CountedRecords(RecordList list, int count)
{
    return QStringLiteral("%1 %2%3").arg(count).arg(RecordNoun(list), count == 1 ? QString() : QStringLiteral("s"));
}

CDocumentEdit::CDocumentEdit(CBINFile& document, const QString& text, ShowRows show)
    : m_document(document), m_show(std::move(show))
{
    setText(text);
}

void CDocumentEdit::redo()
{
    if (m_done)
        return;
    for (const auto& change : m_changes)
        change->Apply(m_document);
    m_done = true;
    Show(true);
}

void CDocumentEdit::undo()
{
    for (auto change = m_changes.rbegin(); change != m_changes.rend(); ++change)
        (*change)->Revert(m_document);
    m_done = false;
    Show(false);
}

void CDocumentEdit::Show(bool applied) const
{
    if (!m_show || m_changes.empty())
        return;
    // One range over the rows of every change (the changes of one edit share their list).
    ShownRows shown = m_changes.front()->Shown(applied);
    for (const auto& change : m_changes) {
        const ShownRows rows = change->Shown(applied);
        shown.First = std::min(shown.First, rows.First);
        shown.Last = std::max(shown.Last, rows.Last);
    }
    m_show(shown);
}

CFactionPaint::CFactionPaint(CFactionsInfo& factions, int32_t firstColumn, int32_t firstRow, int32_t lastColumn,
                             int32_t lastRow, int faction, Repaint repaint)
    : m_factions(factions), m_firstColumn(firstColumn), m_firstRow(firstRow), m_lastColumn(lastColumn),
      m_lastRow(lastRow), m_faction(faction), m_repaint(std::move(repaint))
{
    setText(QStringLiteral("Paint factions"));
    for (int32_t i = m_firstColumn; i <= m_lastColumn; ++i) {
        for (int32_t j = m_firstRow; j <= m_lastRow; ++j)
            m_before.push_back(static_cast<unsigned char>(m_factions.GetFaction(i, j)));
    }
}

void CFactionPaint::redo()
{
    for (int32_t i = m_firstColumn; i <= m_lastColumn; ++i) {
        for (int32_t j = m_firstRow; j <= m_lastRow; ++j)
            m_factions.SetFaction(m_faction, i, j);
    }
    if (m_repaint)
        m_repaint();
}

void CFactionPaint::undo()
{
    size_t next = 0;
    for (int32_t i = m_firstColumn; i <= m_lastColumn; ++i) {
        for (int32_t j = m_firstRow; j <= m_lastRow; ++j)
            m_factions.SetFaction(m_before[next++], i, j);
    }
    if (m_repaint)
        m_repaint();
}
