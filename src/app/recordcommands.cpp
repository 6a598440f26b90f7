// The Add, Edit, Delete and Place buttons of the record pages: each asks the document, whose
// announcements update the grids; the keysite, airbase and SAM pages share one piece of code.
#include "app/mainwindow.h"

#include "app/editcommands.h"
#include "app/stringgrid.h"
#include "document/binfile.h"
#include "mapview/mapcanvas.h"

namespace {

// Calls `visit` with a value of the record type of a placement kind.
template <typename Visit>
auto WithPlacementType(RecordKind kind, Visit visit)
{
    switch (kind) {
    case KeysiteKind: return visit(CKeysitePlacement{});
    case AirbaseKind: return visit(CAirbasePlacement{});
    case SamKind: break;
    }
    return visit(CSAMPlacement{});
}

// Deletes the records of the grid's selected rows (`count` of them from grid row `top`), in one
// step; rows past the end of the list, such as an empty list's blank row, delete nothing. The
// change made, or none.
template <typename Record>
std::unique_ptr<CRecordChange> DeleteRows(CBINFile& document, int top, int count, int templateNumber = -1)
{
    const int first = top - 1;
    const int available = document.Count(AddressOf<Record>(templateNumber)) - first;
    if (first < 0 || available <= 0)
        return nullptr;
    std::vector<Record> removed = document.RemoveRows<Record>(first, std::min(count, available), templateNumber);
    return removed.empty() ? nullptr : RowsRemoved(first, std::move(removed), templateNumber);
}

// The text of a deletion of the change's rows: "Delete 3 SAM sites".
QString DeletionText(const CRecordChange& change)
{
    const ShownRows rows = change.Shown(false);
    return QStringLiteral("Delete ") + CountedRecords(rows.List.List, rows.Last - rows.First + 1);
}

} // namespace

template <typename Record>
bool TfrmMain::AddRecord(int templateNumber)
{
    const ListAddress list = AddressOf<Record>(templateNumber);
    if (!Document || !Document->Add<Record>(templateNumber))
        return false;
    const int row = Document->Count(list) - 1;
    RecordEdit(QStringLiteral("Add ") + RecordNoun(list.List),
               RowsInserted(row, std::vector{Document->Rows<Record>(templateNumber)[size_t(row)]}, templateNumber));
    return true;
}

template <typename Record>
bool TfrmMain::EditRecord(int index, int templateNumber)
{
    const ListAddress list = AddressOf<Record>(templateNumber);
    if (!Document || index < 0 || index >= Document->Count(list))
        return false;
    const Record old = Document->Rows<Record>(templateNumber)[size_t(index)];
    if (!Document->Edit<Record>(index, templateNumber))
        return false;
    RecordEdit(QStringLiteral("Edit ") + RecordNoun(list.List), RowReplaced(index, old, templateNumber));
    return true;
}

bool TfrmMain::ConfirmDelete(int count, const QString& listWord)
{
    return m_prompts.Confirm(this, QStringLiteral("Do you want to delete ") + QString::number(count) + listWord);
}

// --- Templates ---------------------------------------------------------------------------------

void TfrmMain::btnTemplateAddClick()
{
    if (AddRecord<CPopTemplate>())
        grPopTemplates->SetRow(grPopTemplates->RowCount() - 1);
}

void TfrmMain::btnTemplateEdClick() { EditRecord<CPopTemplate>(CurrentIndex(grPopTemplates)); }

void TfrmMain::btnTemplateDelClick()
{
    if (!Document)
        return;
    const int top = grPopTemplates->SelectionTop();
    const int bottom = grPopTemplates->SelectionBottom();
    if (!ConfirmDelete(bottom - top + 1, QStringLiteral(" keysite templates")))
        return;
    // From the bottom up, so that the templates still to go keep their numbers; the templates
    // deleted are one edit, whatever was refused among them.
    std::vector<std::unique_ptr<CRecordChange>> changes;
    for (int index = bottom - 1; index >= top - 1; --index) {
        const bool exists = index >= 0 && index < Document->TemplateCount();
        std::vector<CPopTemplate> removed =
            exists ? Document->RemoveRows<CPopTemplate>(index, 1) : std::vector<CPopTemplate>{};
        if (!removed.empty())
            changes.push_back(RowsRemoved(index, std::move(removed)));
        else if (exists) // the blank row of an empty list is no template and gets no refusal either
            m_prompts.Message(this,
                              QStringLiteral("Can't delete template ") + QString::number(index) + QLatin1Char('!'));
    }
    const int deleted = int(changes.size());
    RecordEdit(QStringLiteral("Delete ") + CountedRecords(RecordList::Templates, deleted), std::move(changes));
}

// --- Template objects --------------------------------------------------------------------------

void TfrmMain::btnTemplateObjectAddClick() { AddRecord<CThreeDObject>(CurrentIndex(grPopTemplates)); }

void TfrmMain::btnTemplateObjectEdClick()
{
    EditRecord<CThreeDObject>(CurrentIndex(grTemplateObjects), CurrentIndex(grPopTemplates));
}

void TfrmMain::btnTemplateObjectDelClick()
{
    if (!Document)
        return;
    const int top = grTemplateObjects->SelectionTop();
    const int count = grTemplateObjects->SelectionBottom() - top + 1;
    if (!ConfirmDelete(count, QStringLiteral(" objects of template")))
        return;
    if (auto change = DeleteRows<CThreeDObject>(*Document, top, count, CurrentIndex(grPopTemplates))) {
        const QString text = DeletionText(*change);
        RecordEdit(text, std::move(change));
    }
}

// --- Keysites, airbases and SAM sites ----------------------------------------------------------

TfrmMain::PlacementPage TfrmMain::Page(RecordKind kind) const
{
    switch (kind) {
    case KeysiteKind: return {grKeysites, tsKeysites, " keysites"};
    case AirbaseKind: return {grAirbases, tsAirbases, " airbases"};
    case SamKind: break;
    }
    return {grSAMs, tsSAMs, " SAMs"};
}

void TfrmMain::AddPlacement(RecordKind kind)
{
    if (!WithPlacementType(kind, [this](auto record) { return AddRecord<decltype(record)>(); }))
        return;
    // The new last row; for a keysite this selects its template.
    CStringGrid* grid = Page(kind).Grid;
    grid->SetRow(grid->RowCount() - 1);
    RefreshMap();
}

void TfrmMain::EditPlacement(RecordKind kind)
{
    const int index = CurrentIndex(Page(kind).Grid);
    if (WithPlacementType(kind, [&](auto record) { return EditRecord<decltype(record)>(index); }))
        RefreshMap();
}

void TfrmMain::DeletePlacements(RecordKind kind)
{
    if (!Document)
        return;
    const PlacementPage page = Page(kind);
    const int top = page.Grid->SelectionTop();
    const int count = page.Grid->SelectionBottom() - top + 1;
    if (!ConfirmDelete(count, QLatin1String(page.ListWord)))
        return;
    if (auto change =
            WithPlacementType(kind, [&](auto record) { return DeleteRows<decltype(record)>(*Document, top, count); })) {
        const QString text = DeletionText(*change);
        RecordEdit(text, std::move(change));
    }
    RefreshMap();
}

void TfrmMain::StartPlacing(RecordKind kind)
{
    const RecordList list = WithPlacementType(kind, [](auto record) { return ListOf<decltype(record)>; });
    if (Document && MapCanvas && MapCanvas->HasMap() && Document->Count({list}) >= 1)
        EnterPlaceMode(kind, Page(kind).Grid->Row() - 1);
}

bool TfrmMain::SetPlacementPosition(RecordKind kind, int index, float x, float z)
{
    return Document && WithPlacementType(kind, [&](auto record) {
               using Record = decltype(record);
               const std::span<const Record> rows = Document->Rows<Record>();
               if (index < 0 || index >= int(rows.size()))
                   return false;
               const Record old = rows[size_t(index)];
               if (!Document->SetPosition<Record>(index, x, z))
                   return false;
               RecordEdit(QStringLiteral("Place ") + RecordNoun(ListOf<Record>), RowReplaced(index, old));
               return true;
           });
}

void TfrmMain::SelectPlacement(RecordKind kind, int index)
{
    const PlacementPage page = Page(kind);
    pcBINFile->setCurrentWidget(page.Tab);
    // A click on the row, even the current one: a keysite brings its template forward.
    page.Grid->ClickRow(index + 1);
}

void TfrmMain::btnKeysiteAddClick() { AddPlacement(KeysiteKind); }
void TfrmMain::btnKeysiteEdClick() { EditPlacement(KeysiteKind); }
void TfrmMain::btnKeysiteDelClick() { DeletePlacements(KeysiteKind); }
void TfrmMain::btnAirbaseAddClick() { AddPlacement(AirbaseKind); }
void TfrmMain::btnAirbaseEdClick() { EditPlacement(AirbaseKind); }
void TfrmMain::btnAirbaseDelClick() { DeletePlacements(AirbaseKind); }
void TfrmMain::btnSAMAddClick() { AddPlacement(SamKind); }
void TfrmMain::btnSAMEditClick() { EditPlacement(SamKind); }
void TfrmMain::btnSAMDelClick() { DeletePlacements(SamKind); }
