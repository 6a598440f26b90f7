#include "session/recordedits.h"

#include "factions/factionsinfo.h"
#include "session/campaignsession.h"

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
    // Rows not read yet: the first Revert takes them.
    CInserted(int row, int count, int templateNumber) : m_row(row), m_count(count), m_templateNumber(templateNumber) { }
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
    void MoveRows(std::vector<int>& rows, bool applied) const override
    {
        for (int& row : rows) {
            if (applied)
                row += row >= m_row ? m_count : 0;
            else
                row = row < m_row ? row : row < m_row + m_count ? -1 : row - m_count;
        }
        std::erase(rows, -1);
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
    CRemoved(int row, int count, int templateNumber) : m_inverse(row, count, templateNumber) { }
    bool Apply(CBINFile& document) override { return m_inverse.Revert(document); }
    bool Revert(CBINFile& document) override { return m_inverse.Apply(document); }
    ShownRows Shown(bool applied) const override { return m_inverse.Shown(!applied); }
    void MoveRows(std::vector<int>& rows, bool applied) const override { m_inverse.MoveRows(rows, !applied); }

private:
    CInserted<Record> m_inverse;
};

// Any set of rows, removed run by run from the bottom up so that the runs still to go keep their
// numbers, and put back from the top down.
template <typename Record>
class CRemovedSet : public CRecordChange {
public:
    CRemovedSet(std::vector<int> rows, int templateNumber) : m_rows(std::move(rows)), m_templateNumber(templateNumber)
    {
        std::sort(m_rows.begin(), m_rows.end());
        m_rows.erase(std::unique(m_rows.begin(), m_rows.end()), m_rows.end());
        for (size_t end = m_rows.size(); end > 0;) {
            size_t first = end - 1;
            while (first > 0 && m_rows[first - 1] + 1 == m_rows[first])
                --first;
            m_runs.emplace_back(m_rows[first], int(end - first), templateNumber);
            end = first;
        }
    }
    bool Apply(CBINFile& document) override
    {
        for (size_t run = 0; run < m_runs.size(); ++run) {
            if (m_runs[run].Apply(document))
                continue;
            while (run > 0)
                m_runs[--run].Revert(document);
            return false;
        }
        return !m_runs.empty();
    }
    bool Revert(CBINFile& document) override
    {
        bool reverted = false;
        for (auto run = m_runs.rbegin(); run != m_runs.rend(); ++run)
            reverted = run->Revert(document) || reverted;
        return reverted;
    }
    ShownRows Shown(bool applied) const override
    {
        const ListAddress list = AddressOf<Record>(m_templateNumber);
        if (m_rows.empty())
            return {list};
        // Once removed: the row that took the place of the first.
        if (applied)
            return {list, m_rows.front(), m_rows.front()};
        return {list, m_rows.front(), m_rows.back(), m_rows};
    }
    void MoveRows(std::vector<int>& rows, bool applied) const override
    {
        for (int& row : rows) {
            if (applied) {
                const auto below = std::lower_bound(m_rows.begin(), m_rows.end(), row);
                row = below != m_rows.end() && *below == row ? -1 : row - int(below - m_rows.begin());
            } else {
                // The k-th removed row r (from 0) goes back before the row numbered r - k, and
                // r - k grows with k: count the removed rows that go back at or before `row`.
                int low = 0;
                int high = int(m_rows.size());
                while (low < high) {
                    const int middle = (low + high) / 2;
                    if (m_rows[size_t(middle)] - middle <= row)
                        low = middle + 1;
                    else
                        high = middle;
                }
                row += low;
            }
        }
        std::erase(rows, -1);
    }

private:
    std::vector<int> m_rows; // in order
    int m_templateNumber;
    std::vector<CRemoved<Record>> m_runs; // from the bottom up
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
    Record m_other; // the value the row does not hold now: first the new one, then the old
};

} // namespace

template <typename Record>
std::unique_ptr<CRecordChange> InsertRecords(int row, std::vector<Record> values, int templateNumber)
{
    return std::make_unique<CInserted<Record>>(row, std::move(values), templateNumber);
}

template <typename Record>
std::unique_ptr<CRecordChange> RemoveRecords(int row, int count, int templateNumber)
{
    return std::make_unique<CRemoved<Record>>(row, count, templateNumber);
}

template <typename Record>
std::unique_ptr<CRecordChange> RemoveRecords(std::vector<int> rows, int templateNumber)
{
    return std::make_unique<CRemovedSet<Record>>(std::move(rows), templateNumber);
}

template <typename Record>
std::unique_ptr<CRecordChange> ReplaceRecord(int row, Record value, int templateNumber)
{
    return std::make_unique<CReplaced<Record>>(row, std::move(value), templateNumber);
}

#define SABLEMAP_RECORD_CHANGES(Record)                                                                                \
    template std::unique_ptr<CRecordChange> InsertRecords<Record>(int, std::vector<Record>, int);                      \
    template std::unique_ptr<CRecordChange> RemoveRecords<Record>(int, int, int);                                      \
    template std::unique_ptr<CRecordChange> RemoveRecords<Record>(std::vector<int>, int);                              \
    template std::unique_ptr<CRecordChange> ReplaceRecord<Record>(int, Record, int);
SABLEMAP_RECORD_CHANGES(CPopTemplate)
SABLEMAP_RECORD_CHANGES(CThreeDObject)
SABLEMAP_RECORD_CHANGES(CKeysitePlacement)
SABLEMAP_RECORD_CHANGES(CAirbasePlacement)
SABLEMAP_RECORD_CHANGES(CSAMPlacement)
#undef SABLEMAP_RECORD_CHANGES

CRecordEdit::CRecordEdit(CCampaignSession& session, const QString& text) : m_session(session) { setText(text); }

void CRecordEdit::redo()
{
    bool applied = false;
    for (const auto& change : m_changes)
        applied = change->Apply(m_session.MutableRecords()) || applied;
    const bool first = !m_pushed;
    m_pushed = true;
    if (first) {
        // Nothing the document took is nothing to undo.
        if (!applied)
            setObsolete(true);
        return;
    }
    m_session.BringForward(Shown(true));
}

void CRecordEdit::undo()
{
    for (auto change = m_changes.rbegin(); change != m_changes.rend(); ++change)
        (*change)->Revert(m_session.MutableRecords());
    m_session.BringForward(Shown(false));
}

ShownRows CRecordEdit::Shown(bool applied) const
{
    if (m_changes.empty())
        return {};
    if (m_changes.size() == 1)
        return m_changes.front()->Shown(applied);
    const ListAddress list = m_changes.front()->Shown(applied).List;
    std::vector<int> rows;
    // In the order the changes were done: forward when applied, backward when reverted.
    const auto take = [&](const CRecordChange& change) {
        ShownRows own = change.Shown(applied);
        if (!(own.List == list))
            return;
        change.MoveRows(rows, applied);
        if (!own.Rows.empty()) {
            rows.insert(rows.end(), own.Rows.begin(), own.Rows.end());
        } else {
            for (int row = own.First; row <= own.Last; ++row)
                rows.push_back(row);
        }
    };
    if (applied) {
        for (const auto& change : m_changes)
            take(*change);
    } else {
        for (auto change = m_changes.rbegin(); change != m_changes.rend(); ++change)
            take(**change);
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    if (rows.empty())
        return {list};
    ShownRows shown{list, rows.front(), rows.back()};
    // A run of neighbours is said as its span.
    if (rows.back() - rows.front() + 1 != int(rows.size()))
        shown.Rows = std::move(rows);
    return shown;
}

CFactionPaint::CFactionPaint(CCampaignSession& session, int32_t firstColumn, int32_t firstRow, int32_t lastColumn,
                             int32_t lastRow, int faction)
    : m_session(session), m_firstColumn(firstColumn), m_firstRow(firstRow), m_lastColumn(lastColumn),
      m_lastRow(lastRow), m_faction(faction)
{
    setText(QStringLiteral("Paint factions"));
    const CFactionsInfo* factions = m_session.Factions();
    for (int32_t i = m_firstColumn; i <= m_lastColumn; ++i) {
        for (int32_t j = m_firstRow; j <= m_lastRow; ++j)
            m_before.push_back(static_cast<unsigned char>(factions ? factions->GetFaction(i, j) : 0));
    }
}

void CFactionPaint::redo()
{
    CFactionsInfo* factions = m_session.MutableFactions();
    if (!factions)
        return;
    for (int32_t i = m_firstColumn; i <= m_lastColumn; ++i) {
        for (int32_t j = m_firstRow; j <= m_lastRow; ++j)
            factions->SetFaction(m_faction, i, j);
    }
    m_session.AnnounceSectors(m_firstColumn, m_firstRow, m_lastColumn, m_lastRow);
}

void CFactionPaint::undo()
{
    CFactionsInfo* factions = m_session.MutableFactions();
    if (!factions)
        return;
    size_t next = 0;
    for (int32_t i = m_firstColumn; i <= m_lastColumn; ++i) {
        for (int32_t j = m_firstRow; j <= m_lastRow; ++j)
            factions->SetFaction(m_before[next++], i, j);
    }
    m_session.AnnounceSectors(m_firstColumn, m_firstRow, m_lastColumn, m_lastRow);
}
