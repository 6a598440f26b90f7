// The Add, Edit and Delete buttons of the record pages: each asks the document, then refills what
// shows the change.
#include "app/mainwindow.h"

#include "app/stringgrid.h"
#include "document/binfile.h"

bool TfrmMain::ConfirmDelete(int count, const QString& listWord)
{
    return m_prompts.Confirm(this, QStringLiteral("Do you want to delete ") + QString::number(count) + listWord);
}

// --- Templates ---------------------------------------------------------------------------------

void TfrmMain::btnTemplateAddClick()
{
    if (!Document || !Document->TemplateAdd())
        return;
    FillTemplateGrid();
    grPopTemplates->SetRow(grPopTemplates->RowCount() - 1);
}

void TfrmMain::btnTemplateEdClick()
{
    if (Document && Document->TemplateEdit(CurrentIndex(grPopTemplates)))
        FillTemplateGrid();
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
    FillTemplateGrid();
    // The keysites show template numbers, which have moved up.
    FillKeysiteGrid();
}

// --- Template objects --------------------------------------------------------------------------

void TfrmMain::btnTemplateObjectAddClick()
{
    const int templateIndex = CurrentIndex(grPopTemplates);
    if (Document && Document->ObjectAdd(templateIndex))
        FillTemplateObjectGrid(templateIndex);
}

void TfrmMain::btnTemplateObjectEdClick()
{
    if (!Document)
        return;
    const int templateIndex = CurrentIndex(grPopTemplates);
    const int object = CurrentIndex(grTemplateObjects);
    if (!Document->ObjectEdit(templateIndex, object))
        return;
    GridRow row(grTemplateObjects->ColCount());
    if (Document->ObjectFillRow(row, templateIndex, object, m_format))
        grTemplateObjects->SetCells(object + 1, row);
}

void TfrmMain::btnTemplateObjectDelClick()
{
    if (!Document)
        return;
    const int top = grTemplateObjects->SelectionTop();
    const int count = grTemplateObjects->SelectionBottom() - top + 1;
    if (!ConfirmDelete(count, QStringLiteral(" objects of template")))
        return;
    const int templateIndex = CurrentIndex(grPopTemplates);
    for (int i = 0; i < count; ++i)
        Document->ObjectDelete(templateIndex, top - 1);
    FillTemplateObjectGrid(templateIndex);
}

// --- Keysites ----------------------------------------------------------------------------------

void TfrmMain::btnKeysiteAddClick()
{
    if (!Document || !Document->KeysiteAdd())
        return;
    FillKeysiteGrid();
    grKeysites->SetRow(grKeysites->RowCount() - 1);
    FillTemplateGrid(); // use counts changed
    RefreshMap();
}

void TfrmMain::btnKeysiteEdClick()
{
    if (!Document)
        return;
    const int keysite = CurrentIndex(grKeysites);
    if (!Document->KeysiteEdit(keysite))
        return;
    GridRow row(grKeysites->ColCount());
    if (Document->KeysiteFillRow(row, keysite, m_format))
        grKeysites->SetCells(keysite + 1, row);
    FillTemplateGrid(); // the keysite may use another template now
    RefreshMap();
}

void TfrmMain::btnKeysiteDelClick()
{
    if (!Document)
        return;
    const int top = grKeysites->SelectionTop();
    const int count = grKeysites->SelectionBottom() - top + 1;
    if (!ConfirmDelete(count, QStringLiteral(" keysites")))
        return;
    for (int i = 0; i < count; ++i)
        Document->KeysiteDelete(top - 1);
    FillKeysiteGrid();
    FillTemplateGrid(); // use counts changed
    RefreshMap();
}

// --- Airbases ----------------------------------------------------------------------------------

void TfrmMain::btnAirbaseAddClick()
{
    if (!Document || !Document->AirbaseAdd())
        return;
    FillAirbaseGrid();
    grAirbases->SetRow(grAirbases->RowCount() - 1);
    RefreshMap();
}

void TfrmMain::btnAirbaseEdClick()
{
    if (!Document)
        return;
    const int airbase = CurrentIndex(grAirbases);
    if (!Document->AirbaseEdit(airbase))
        return;
    GridRow row(grAirbases->ColCount());
    if (Document->AirbaseFillRow(row, airbase, m_format))
        grAirbases->SetCells(airbase + 1, row);
    RefreshMap();
}

void TfrmMain::btnAirbaseDelClick()
{
    if (!Document)
        return;
    const int top = grAirbases->SelectionTop();
    const int count = grAirbases->SelectionBottom() - top + 1;
    if (!ConfirmDelete(count, QStringLiteral(" airbases")))
        return;
    for (int i = 0; i < count; ++i)
        Document->AirbaseDelete(top - 1);
    FillAirbaseGrid();
    RefreshMap();
}

// --- SAMs --------------------------------------------------------------------------------------

void TfrmMain::btnSAMAddClick()
{
    if (!Document || !Document->SamAdd())
        return;
    FillSamGrid();
    grSAMs->SetRow(grSAMs->RowCount() - 1);
    RefreshMap();
}

void TfrmMain::btnSAMEditClick()
{
    if (!Document)
        return;
    const int sam = CurrentIndex(grSAMs);
    if (!Document->SamEdit(sam))
        return;
    GridRow row(grSAMs->ColCount());
    if (Document->SamFillRow(row, sam, m_format))
        grSAMs->SetCells(sam + 1, row);
    RefreshMap();
}

void TfrmMain::btnSAMDelClick()
{
    if (!Document)
        return;
    const int top = grSAMs->SelectionTop();
    const int count = grSAMs->SelectionBottom() - top + 1;
    if (!ConfirmDelete(count, QStringLiteral(" SAMs")))
        return;
    for (int i = 0; i < count; ++i)
        Document->SamDelete(top - 1);
    FillSamGrid();
    RefreshMap();
}
