// The selection across the three placement lists: what the map marks, drags and copies.
#include "document/recordlists.h"
#include "document/recordtablemodel.h"
#include "session/campaignsession.h"

#include <QItemSelectionModel>

namespace {

constexpr std::array<RecordKind, 3> kKinds = {KeysiteKind, AirbaseKind, SamKind};

// Runs of consecutive indices as one range each, so that selecting many records stays cheap.
QItemSelection RangesOf(const CRecordTableModel& model, const std::vector<int>& records, int count)
{
    QItemSelection selection;
    const int lastColumn = model.columnCount() - 1;
    for (size_t i = 0; i < records.size();) {
        size_t j = i;
        while (j + 1 < records.size() && records[j + 1] == records[j] + 1)
            ++j;
        const int first = records[i];
        const int last = records[j];
        if (first >= 0 && last < count)
            selection.append(QItemSelectionRange(model.index(first, 0), model.index(last, lastColumn)));
        i = j + 1;
    }
    return selection;
}

} // namespace

CCampaignSession::Placements CCampaignSession::SelectedPlacements() const
{
    Placements placements;
    for (const RecordKind kind : kKinds)
        placements[size_t(kind)] = SelectedRecords(ListOfKind(kind));
    return placements;
}

bool CCampaignSession::HasSelectedPlacements() const
{
    // Asked after every change: hasSelection() does not copy the ranges, selection() would. A
    // list with records has no blank row, so any selection in it is of records.
    for (const RecordKind kind : kKinds) {
        const RecordList list = ListOfKind(kind);
        if (m_records->Count(Model(list).Address()) > 0 && Selection(list).hasSelection())
            return true;
    }
    return false;
}

void CCampaignSession::SelectPlacements(const Placements& records, bool add)
{
    for (const RecordKind kind : kKinds) {
        const RecordList list = ListOfKind(kind);
        const CRecordTableModel& model = Model(list);
        QItemSelectionModel& selection = Selection(list);
        const std::vector<int>& chosen = records[size_t(kind)];
        const int count = m_records->Count(model.Address());
        if (chosen.empty() || count == 0 || !model.IsFilled()) {
            if (!add)
                selection.clearSelection();
            continue;
        }
        selection.setCurrentIndex(model.index(std::clamp(chosen.front(), 0, count - 1), 0),
                                  QItemSelectionModel::NoUpdate);
        const auto flags =
            (add ? QItemSelectionModel::Select : QItemSelectionModel::ClearAndSelect) | QItemSelectionModel::Rows;
        selection.select(RangesOf(model, chosen, count), flags);
    }
}

void CCampaignSession::ToggleSelected(RecordKind kind, int index)
{
    const RecordList list = ListOfKind(kind);
    const CRecordTableModel& model = Model(list);
    if (index < 0 || index >= m_records->Count(model.Address()) || !model.IsFilled())
        return;
    QItemSelectionModel& selection = Selection(list);
    const QModelIndex row = model.index(index, 0);
    const bool selected = selection.isRowSelected(index, QModelIndex());
    selection.setCurrentIndex(row, QItemSelectionModel::NoUpdate);
    selection.select(
        row, (selected ? QItemSelectionModel::Deselect : QItemSelectionModel::Select) | QItemSelectionModel::Rows);
}

void CCampaignSession::ClearOtherPlacements(RecordList kept)
{
    for (const RecordKind kind : kKinds)
        if (ListOfKind(kind) != kept)
            Selection(ListOfKind(kind)).clearSelection();
}
