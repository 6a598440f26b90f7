#include "session/recordfilters.h"

#include "document/recordfilter.h"
#include "document/recordlists.h"
#include "document/recordtablemodel.h"
#include "session/campaignsession.h"
#include "session/filteredrecords.h"

#include <QItemSelectionModel>

CRecordFilters::CRecordFilters(CCampaignSession& session, const TextFormat& format, QObject* parent)
    : QObject(parent), m_session(session), m_format(format)
{
    for (const RecordListInfo& info : RecordLists) {
        const RecordList list = info.List;
        ListFilter& state = m_lists[size_t(list)];
        state.View = std::make_unique<CFilteredRecords>(session.Records(), session.Model(list));
        state.Count = state.View->AcceptedCount();
        connect(state.View.get(), &CFilteredRecords::Filtered, this, [this, list] { DropHidden(list); });
        connect(state.View.get(), &CFilteredRecords::RowsSettled, this, [this, list] { Settled(list); });
    }
}

CRecordFilters::~CRecordFilters() = default;

void CRecordFilters::SetText(RecordList list, const QString& text)
{
    ListFilter& state = m_lists[size_t(list)];
    if (text == state.Text)
        return;
    state.Text = text;
    const CRecordFilter filter = CRecordFilter::Read(text, list, m_format);
    // Filter() gives the reason of an unreadable text, which still shows every record; a text
    // without terms after another leaves the rows alone.
    if (filter.Filters() || state.View->IsFiltering() || filter.Reason() != state.View->Filter().Reason())
        state.View->SetFilter(filter);
    state.Count = state.View->AcceptedCount();
    emit FilterChanged(list);
}

const CRecordFilter& CRecordFilters::Filter(RecordList list) const { return View(list).Filter(); }

bool CRecordFilters::IsFiltering(RecordList list) const { return View(list).IsFiltering(); }

int CRecordFilters::AcceptedCount(RecordList list) const { return View(list).AcceptedCount(); }

bool CRecordFilters::Accepts(RecordList list, int record) const { return View(list).Accepts(record); }

void CRecordFilters::Settled(RecordList list)
{
    ListFilter& state = m_lists[size_t(list)];
    const int count = state.View->AcceptedCount();
    if (count == state.Count && !state.View->IsFiltering())
        return;
    state.Count = count;
    emit FilterChanged(list);
}

void CRecordFilters::DropHidden(RecordList list)
{
    const CFilteredRecords& view = View(list);
    if (!view.IsFiltering())
        return;
    const std::vector<int> selected = m_session.SelectedRecords(list);
    const int current = m_session.CurrentRecord(list);
    std::vector<int> kept;
    for (int record : selected)
        if (view.Accepts(record))
            kept.push_back(record);
    if (kept.size() == selected.size() && (current < 0 || view.Accepts(current)))
        return;
    const int count = m_session.Records().Count(m_session.Model(list).Address());
    const auto nearest = [current](const std::vector<int>& records) {
        // The first at or after the current record, else the last before it.
        const auto after = std::lower_bound(records.begin(), records.end(), std::max(current, 0));
        return after != records.end() ? *after : records.back();
    };
    if (kept.empty()) {
        std::vector<int> shown;
        for (int record = 0; record < count; ++record)
            if (view.Accepts(record))
                shown.push_back(record);
        if (!shown.empty())
            kept.push_back(nearest(shown));
    }
    const CRecordTableModel& model = m_session.Model(list);
    QItemSelectionModel& selection = m_session.Selection(list);
    const int newCurrent = current >= 0 && view.Accepts(current) ? current : kept.empty() ? -1 : nearest(kept);
    selection.setCurrentIndex(newCurrent >= 0 ? model.index(newCurrent, 0) : QModelIndex(),
                              QItemSelectionModel::NoUpdate);
    QItemSelection ranges;
    for (size_t at = 0; at < kept.size();) {
        size_t end = at + 1;
        while (end < kept.size() && kept[end] == kept[end - 1] + 1)
            ++end;
        ranges.append(
            QItemSelectionRange(model.index(kept[at], 0), model.index(kept[end - 1], model.columnCount() - 1)));
        at = end;
    }
    selection.select(ranges, QItemSelectionModel::ClearAndSelect);
}

void CRecordFilters::SetOnlyOnMap(RecordList list, bool only)
{
    if (m_lists[size_t(list)].OnlyOnMap == only)
        return;
    m_lists[size_t(list)].OnlyOnMap = only;
    emit FilterChanged(list);
}
