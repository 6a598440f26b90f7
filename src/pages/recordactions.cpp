#include "pages/recordactions.h"

#include "dialogs/recorddialogs.h"
#include "dialogs/userprompts.h"
#include "document/recordlists.h"
#include "document/recordtablemodel.h"
#include "session/campaignsession.h"

#include <QItemSelectionModel>

namespace recordactions {

namespace {

// A keysite's dialog may give any number; only an existing template's moves the keysite.
template <typename Record>
void KeepValid(const CCampaignSession&, const Record&, Record&)
{
}

void KeepValid(const CCampaignSession& session, const CKeysitePlacement& before, CKeysitePlacement& after)
{
    if (after.TemplateNumber < 0 || after.TemplateNumber >= session.Records().TemplateCount())
        after.TemplateNumber = before.TemplateNumber;
}

} // namespace

void SelectedRows(const CCampaignSession& session, RecordList list, int& first, int& last)
{
    const QItemSelectionModel& selection = session.Selection(list);
    const QModelIndexList rows = selection.selectedRows();
    if (rows.isEmpty()) {
        first = last = selection.currentIndex().isValid() ? selection.currentIndex().row() : 0;
        return;
    }
    first = last = rows.constFirst().row();
    for (const QModelIndex& index : rows) {
        first = std::min(first, index.row());
        last = std::max(last, index.row());
    }
}

template <typename Record>
bool Add(CCampaignSession& session, CRecordDialogs& dialogs, int templateNumber)
{
    const ListAddress list = AddressOf<Record>(templateNumber);
    if (!session.Records().HasList(list))
        return false;
    // A new keysite starts without a template; the dialog names one or leaves it so.
    const std::optional<Record> value = dialogs.Edit(Record{});
    if (!value)
        return false;
    Record record = *value;
    KeepValid(session, Record{}, record);
    const int row = session.Records().Count(list);
    auto* edit = new CRecordEdit(session, QStringLiteral("Add ") + RecordNoun(list.List));
    edit->Add(InsertRecords(row, std::vector{std::move(record)}, templateNumber));
    session.Push(CEditHistory::MapBin, edit);
    return true;
}

template <typename Record>
bool Edit(CCampaignSession& session, CRecordDialogs& dialogs, int index, int templateNumber)
{
    const ListAddress list = AddressOf<Record>(templateNumber);
    if (index < 0 || index >= session.Records().Count(list))
        return false;
    const Record before = session.Records().Rows<Record>(templateNumber)[size_t(index)];
    const std::optional<Record> value = dialogs.Edit(before);
    if (!value)
        return false;
    Record after = *value;
    KeepValid(session, before, after);
    if constexpr (std::is_same_v<Record, CPopTemplate>) {
        // A template's objects and users are not part of what its dialog edits.
        after.Objects = before.Objects;
        after.UseCount = before.UseCount;
    }
    auto* edit = new CRecordEdit(session, QStringLiteral("Edit ") + RecordNoun(list.List));
    edit->Add(ReplaceRecord(index, std::move(after), templateNumber));
    session.Push(CEditHistory::MapBin, edit);
    return true;
}

template <typename Record>
void Delete(CCampaignSession& session, CUserPrompts& prompts, QWidget* parent, int templateNumber)
{
    const ListAddress list = AddressOf<Record>(templateNumber);
    int first = 0;
    int last = 0;
    SelectedRows(session, list.List, first, last);
    if (!prompts.Confirm(parent,
                         QStringLiteral("Do you want to delete ") + QString::number(last - first + 1)
                             + QLatin1String(InfoOf(list.List).DeleteWord)))
        return;
    const CBINFile& records = session.Records();
    // Rows past the end of the list, such as an empty list's blank row, delete nothing.
    last = std::min(last, records.Count(list) - 1);
    if (first < 0 || first > last)
        return;
    auto* edit = new CRecordEdit(session, QString());
    int deleted = 0;
    if constexpr (std::is_same_v<Record, CPopTemplate>) {
        // From the bottom up, so that the templates still to go keep their numbers; a template in
        // use stays, and is named.
        for (int index = last; index >= first; --index) {
            if (!records.Templates()[size_t(index)].HasNoUsers()) {
                prompts.Message(parent,
                                QStringLiteral("Can't delete template ") + QString::number(index) + QLatin1Char('!'));
                continue;
            }
            edit->Add(RemoveRecords<Record>(index, 1));
            ++deleted;
        }
    } else {
        edit->Add(RemoveRecords<Record>(first, last - first + 1, templateNumber));
        deleted = last - first + 1;
    }
    edit->setText(QStringLiteral("Delete ") + CountedRecords(list.List, deleted));
    if (deleted == 0) {
        delete edit;
        return;
    }
    session.Push(CEditHistory::MapBin, edit);
}

#define SABLEMAP_RECORD_ACTIONS(Record)                                                                                \
    template bool Add<Record>(CCampaignSession&, CRecordDialogs&, int);                                                \
    template bool Edit<Record>(CCampaignSession&, CRecordDialogs&, int, int);                                          \
    template void Delete<Record>(CCampaignSession&, CUserPrompts&, QWidget*, int);
SABLEMAP_RECORD_ACTIONS(CPopTemplate)
SABLEMAP_RECORD_ACTIONS(CThreeDObject)
SABLEMAP_RECORD_ACTIONS(CKeysitePlacement)
SABLEMAP_RECORD_ACTIONS(CAirbasePlacement)
SABLEMAP_RECORD_ACTIONS(CSAMPlacement)
#undef SABLEMAP_RECORD_ACTIONS

} // namespace recordactions
