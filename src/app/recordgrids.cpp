// The five record grids of the main window: each a view on its list's table model, and how the
// current row of one drives another.
#include "app/mainwindow.h"

#include "app/stringgrid.h"
#include "document/binfile.h"
#include "document/recordtablemodel.h"

void TfrmMain::AttachRecordGrids()
{
    const std::pair<CStringGrid*, RecordList> grids[] = {{grPopTemplates, RecordList::Templates},
                                                         {grTemplateObjects, RecordList::TemplateObjects},
                                                         {grKeysites, RecordList::Keysites},
                                                         {grAirbases, RecordList::Airbases},
                                                         {grSAMs, RecordList::Sams}};
    for (const auto& [grid, list] : grids) {
        m_recordModels.push_back(std::make_unique<CRecordTableModel>(*Document, list, m_format));
        grid->SetRecordModel(m_recordModels.back().get());
    }
    // When templates come or go the current template row may show another template: its objects
    // follow. Connected after the models, so that the template grid has settled its current row.
    const auto templatesMoved = [this](ListAddress list) {
        if (list.List == RecordList::Templates)
            FillTemplateObjectGrid(CurrentIndex(grPopTemplates));
    };
    connect(Document.get(), &CBINFile::RowsInserted, this, templatesMoved);
    connect(Document.get(), &CBINFile::RowsRemoved, this, templatesMoved);
    connect(Document.get(), &CBINFile::DocumentReset, this,
            [this] { FillTemplateObjectGrid(CurrentIndex(grPopTemplates)); });
}

int TfrmMain::CurrentIndex(const CStringGrid* grid) { return grid->Row() - 1; }

void TfrmMain::FillTemplateObjectGrid(int templateIndex)
{
    CRecordTableModel* objects = grTemplateObjects->RecordModel();
    if (!objects)
        return;
    objects->ShowTemplate(templateIndex);
    grTemplateObjects->SetRow(grTemplateObjects->FixedRows());
}

void TfrmMain::grPopTemplatesClick() { FillTemplateObjectGrid(CurrentIndex(grPopTemplates)); }

void TfrmMain::grKeysitesClick()
{
    const int keysite = CurrentIndex(grKeysites);
    if (keysite < 0 || !Document)
        return;
    const int templateIndex = Document->KeysiteTemplateIndex(keysite);
    if (templateIndex >= 0 && templateIndex + 1 < grPopTemplates->RowCount())
        grPopTemplates->SetRow(templateIndex + 1);
}
