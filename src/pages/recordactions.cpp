#include "pages/recordactions.h"

#include "dialogs/recorddialogs.h"
#include "dialogs/userprompts.h"
#include "document/binformat.h"
#include "document/recordlists.h"
#include "document/recordtablemodel.h"
#include "platform/atomicsave.h"
#include "session/campaignsession.h"

#include <QItemSelectionModel>
#include <algorithm>

namespace recordactions {

namespace {

// A keysite's dialog may give any number; only an existing template's moves the keysite.
template <typename Record>
void KeepValid(const CCampaignSession&, const Record&, Record&)
{
}

bool NamesTemplate(const CCampaignSession& session, int32_t number)
{
    return number >= 0 && number < session.Records().TemplateCount();
}

void KeepValid(const CCampaignSession& session, const CKeysitePlacement& before, CKeysitePlacement& after)
{
    if (!NamesTemplate(session, after.TemplateNumber))
        after.TemplateNumber = before.TemplateNumber;
}

// The same over several keysites: a number that names no template is no change.
template <typename Record>
void KeepValid(const CCampaignSession&, PartialRecord<Record>&)
{
}

void KeepValid(const CCampaignSession& session, PartialRecord<CKeysitePlacement>& changes)
{
    if (!NamesTemplate(session, changes.Value.TemplateNumber))
        changes.Fields &= ~RecordFields(RecordField::Template);
}

} // namespace

std::vector<int> SelectedRows(const CCampaignSession& session, RecordList list)
{
    const QItemSelectionModel& selection = session.Selection(list);
    std::vector<int> rows;
    // Whole rows are selected, so a range's top left cell stands for each of its rows.
    for (const QItemSelectionRange& range : selection.selection())
        for (int row = range.top(); row <= range.bottom(); ++row)
            rows.push_back(row);
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    if (rows.empty())
        rows.push_back(selection.currentIndex().isValid() ? selection.currentIndex().row() : 0);
    return rows;
}

bool ExportTemplates(const CBINFile& records, const std::vector<int>& rows, const QString& path, QString* reason)
{
    // A run of neighbours is the document's own range; so is a row that is no template, which the
    // document refuses with its reason.
    if (rows.empty())
        return records.ExportTemplates(path, 0, -1, reason);
    if (rows.back() - rows.front() + 1 == int(rows.size()))
        return records.ExportTemplates(path, rows.front(), rows.back(), reason);
    std::vector<CPopTemplate> chosen;
    chosen.reserve(rows.size());
    for (const int row : rows) {
        if (row < 0 || row >= records.TemplateCount())
            return records.ExportTemplates(path, row, row, reason);
        chosen.push_back(records.Templates()[size_t(row)]);
    }
    return SaveFileAtomically(path, WriteTemplateList(*records.Catalogue(), chosen, true), reason);
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
bool EditMany(CCampaignSession& session, CRecordDialogs& dialogs, const std::vector<int>& indices, int templateNumber)
{
    const ListAddress list = AddressOf<Record>(templateNumber);
    const std::span<const Record> rows = session.Records().Rows<Record>(templateNumber);
    if (indices.empty() || std::any_of(indices.begin(), indices.end(), [&](int index) {
            return index < 0 || index >= int(rows.size());
        }))
        return false;
    const int count = int(indices.size());
    std::optional<PartialRecord<Record>> changes =
        dialogs.EditShared(SharedFields(rows, std::span<const int>(indices)), count);
    if (!changes)
        return false;
    KeepValid(session, *changes);
    if (!changes->Fields)
        return false;
    // Every record selected is part of the edit, so that undo and redo select them all again.
    auto* edit = new CRecordEdit(session, QStringLiteral("Edit ") + CountedRecords(list.List, count));
    for (const int index : indices) {
        Record after = rows[size_t(index)];
        if constexpr (std::is_same_v<Record, CPopTemplate>)
            after.Objects.clear(); // not part of the value replaced: no copy to keep
        ApplyFields(*changes, after);
        edit->Add(ReplaceRecord(index, std::move(after), templateNumber));
    }
    session.Push(CEditHistory::MapBin, edit);
    return true;
}

template <typename Record>
bool EditSelected(CCampaignSession& session, CRecordDialogs& dialogs, int templateNumber)
{
    const std::vector<int> selected = session.SelectedRecords(ListOf<Record>);
    if (selected.size() > 1)
        return EditMany<Record>(session, dialogs, selected, templateNumber);
    return Edit<Record>(session, dialogs, session.CurrentRecord(ListOf<Record>), templateNumber);
}

template <typename Record>
void Delete(CCampaignSession& session, CUserPrompts& prompts, QWidget* parent, int templateNumber)
{
    const ListAddress list = AddressOf<Record>(templateNumber);
    const std::vector<int> rows = SelectedRows(session, list.List);
    if (!prompts.Confirm(parent,
                         QStringLiteral("Do you want to delete ") + QString::number(rows.size())
                             + QLatin1String(InfoOf(list.List).DeleteWord)))
        return;
    const CBINFile& records = session.Records();
    // Rows past the end of the list, such as an empty list's blank row, delete nothing.
    std::vector<int> doomed;
    for (const int row : rows)
        if (row >= 0 && row < records.Count(list))
            doomed.push_back(row);
    if constexpr (std::is_same_v<Record, CPopTemplate>) {
        // From the bottom up, as the templates go; a template in use stays, and is named.
        std::vector<int> unused;
        for (auto row = doomed.rbegin(); row != doomed.rend(); ++row) {
            if (records.Templates()[size_t(*row)].HasNoUsers()) {
                unused.push_back(*row);
                continue;
            }
            prompts.Message(parent,
                            QStringLiteral("Can't delete template ") + QString::number(*row) + QLatin1Char('!'));
        }
        std::reverse(unused.begin(), unused.end());
        doomed = std::move(unused);
    }
    if (doomed.empty())
        return;
    auto* edit = new CRecordEdit(session, QStringLiteral("Delete ") + CountedRecords(list.List, int(doomed.size())));
    edit->Add(RemoveRecords<Record>(std::move(doomed), templateNumber));
    session.Push(CEditHistory::MapBin, edit);
}

#define SABLEMAP_RECORD_ACTIONS(Record)                                                                                \
    template bool Add<Record>(CCampaignSession&, CRecordDialogs&, int);                                                \
    template bool Edit<Record>(CCampaignSession&, CRecordDialogs&, int, int);                                          \
    template bool EditMany<Record>(CCampaignSession&, CRecordDialogs&, const std::vector<int>&, int);                  \
    template bool EditSelected<Record>(CCampaignSession&, CRecordDialogs&, int);                                       \
    template void Delete<Record>(CCampaignSession&, CUserPrompts&, QWidget*, int);
SABLEMAP_RECORD_ACTIONS(CPopTemplate)
SABLEMAP_RECORD_ACTIONS(CThreeDObject)
SABLEMAP_RECORD_ACTIONS(CKeysitePlacement)
SABLEMAP_RECORD_ACTIONS(CAirbasePlacement)
SABLEMAP_RECORD_ACTIONS(CSAMPlacement)
#undef SABLEMAP_RECORD_ACTIONS

} // namespace recordactions
