// The Add, Edit, Delete and Place buttons of the record pages: each asks the document, whose
// announcements update the grids; the keysite, airbase and SAM pages share one piece of code.
#include "app/mainwindow.h"

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
// step; rows past the end of the list, such as an empty list's blank row, delete nothing.
template <typename Record>
void DeleteRows(CBINFile& document, int top, int count, int templateNumber = -1)
{
    const int first = top - 1;
    const int available = document.Count(AddressOf<Record>(templateNumber)) - first;
    if (first >= 0 && available > 0)
        document.RemoveRows<Record>(first, std::min(count, available), templateNumber);
}

} // namespace

bool TfrmMain::ConfirmDelete(int count, const QString& listWord)
{
    return m_prompts.Confirm(this, QStringLiteral("Do you want to delete ") + QString::number(count) + listWord);
}

// --- Templates ---------------------------------------------------------------------------------

void TfrmMain::btnTemplateAddClick()
{
    if (Document && Document->TemplateAdd())
        grPopTemplates->SetRow(grPopTemplates->RowCount() - 1);
}

void TfrmMain::btnTemplateEdClick()
{
    if (Document)
        Document->TemplateEdit(CurrentIndex(grPopTemplates));
}

void TfrmMain::btnTemplateDelClick()
{
    if (!Document)
        return;
    const int top = grPopTemplates->SelectionTop();
    const int bottom = grPopTemplates->SelectionBottom();
    if (!ConfirmDelete(bottom - top + 1, QStringLiteral(" keysite templates")))
        return;
    // From the bottom up, so that the templates still to go keep their numbers.
    for (int index = bottom - 1; index >= top - 1; --index) {
        const bool exists = index >= 0 && index < Document->TemplateCount();
        // The blank row of an empty list is no template and gets no refusal either.
        if (!Document->TemplateDelete(index) && exists)
            m_prompts.Message(this, QStringLiteral("Can't delete template ") + QString::number(index) +
                                        QLatin1Char('!'));
    }
}

// --- Template objects --------------------------------------------------------------------------

void TfrmMain::btnTemplateObjectAddClick()
{
    if (Document)
        Document->ObjectAdd(CurrentIndex(grPopTemplates));
}

void TfrmMain::btnTemplateObjectEdClick()
{
    if (Document)
        Document->ObjectEdit(CurrentIndex(grPopTemplates), CurrentIndex(grTemplateObjects));
}

void TfrmMain::btnTemplateObjectDelClick()
{
    if (!Document)
        return;
    const int top = grTemplateObjects->SelectionTop();
    const int count = grTemplateObjects->SelectionBottom() - top + 1;
    if (ConfirmDelete(count, QStringLiteral(" objects of template")))
        DeleteRows<CThreeDObject>(*Document, top, count, CurrentIndex(grPopTemplates));
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
    if (!Document || !WithPlacementType(kind, [this](auto record) { return Document->Add<decltype(record)>(); }))
        return;
    // The new last row; for a keysite this selects its template.
    CStringGrid* grid = Page(kind).Grid;
    grid->SetRow(grid->RowCount() - 1);
    RefreshMap();
}

void TfrmMain::EditPlacement(RecordKind kind)
{
    const int index = CurrentIndex(Page(kind).Grid);
    if (Document && WithPlacementType(kind, [&](auto record) { return Document->Edit<decltype(record)>(index); }))
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
    WithPlacementType(kind, [&](auto record) { DeleteRows<decltype(record)>(*Document, top, count); });
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
    return Document
        && WithPlacementType(kind, [&](auto record) { return Document->SetPosition<decltype(record)>(index, x, z); });
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
