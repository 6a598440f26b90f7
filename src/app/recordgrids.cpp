// The five record grids of the main window: how each is rebuilt from the document, and how the
// current row of one drives another.
#include "app/mainwindow.h"

#include "app/stringgrid.h"
#include "document/binfile.h"
#include "document/recordcolumns.h"

#include <span>

namespace {

constexpr int kFixedColumnWidth = 5;

// The common part of every fill: n records under a header row, beside the narrow fixed column;
// an empty list keeps one blank data row. Call between BeginUpdate and EndUpdate.
void PrepareGrid(CStringGrid* grid, std::span<const RecordColumn> columns, int records)
{
    const int colCount = static_cast<int>(columns.size()) + 1;
    grid->SetColCount(colCount);
    grid->SetRowCount(records > 0 ? records + 1 : 2);
    grid->SetFixedRows(1);
    grid->SetFixedCols(1);
    grid->SetColWidth(0, kFixedColumnWidth);
    QStringList header{QString()};
    for (size_t i = 0; i < columns.size(); ++i) {
        grid->SetColWidth(static_cast<int>(i) + 1, columns[i].Width, QLatin1String(columns[i].Typical));
        header << QLatin1String(columns[i].Header);
    }
    grid->SetCells(0, header);
    if (records == 0)
        grid->SetCells(1, QStringList());
}

void FillGrid(CStringGrid* grid, const CBINFile& document, ListAddress list, const TextFormat& format)
{
    const std::span<const RecordColumn> columns = RecordColumns(list.List);
    const int records = document.Count(list);
    grid->BeginUpdate();
    PrepareGrid(grid, columns, records);
    GridRow row;
    for (int i = 0; i < records; ++i) {
        row.fill(QString(), static_cast<qsizetype>(columns.size()) + 1);
        FillGridRow(document, list, i, format, row);
        grid->SetCells(i + 1, row);
    }
    grid->EndUpdate();
}

} // namespace

int TfrmMain::CurrentIndex(const CStringGrid* grid)
{
    return grid->Row() - 1;
}

void TfrmMain::FillTemplateGrid()
{
    if (!Document)
        return;
    FillGrid(grPopTemplates, *Document, {RecordList::Templates}, m_format);
    FillTemplateObjectGrid(CurrentIndex(grPopTemplates));
}

void TfrmMain::FillTemplateObjectGrid(int templateIndex)
{
    grTemplateObjects->BeginUpdate();
    grTemplateObjects->SetFixedRows(0);
    grTemplateObjects->SetFixedCols(0);
    grTemplateObjects->SetColCount(1);
    grTemplateObjects->SetRowCount(1);
    grTemplateObjects->SetColWidth(0, 64);
    grTemplateObjects->SetCells(0, QStringList());
    grTemplateObjects->EndUpdate();
    if (!Document || templateIndex < 0 || templateIndex >= Document->TemplateCount())
        return;
    FillGrid(grTemplateObjects, *Document, {RecordList::TemplateObjects, templateIndex}, m_format);
}

void TfrmMain::FillKeysiteGrid()
{
    if (!Document)
        return;
    FillGrid(grKeysites, *Document, {RecordList::Keysites}, m_format);
}

void TfrmMain::FillAirbaseGrid()
{
    if (!Document)
        return;
    FillGrid(grAirbases, *Document, {RecordList::Airbases}, m_format);
}

void TfrmMain::FillSamGrid()
{
    if (!Document)
        return;
    FillGrid(grSAMs, *Document, {RecordList::Sams}, m_format);
}

void TfrmMain::grPopTemplatesClick()
{
    FillTemplateObjectGrid(CurrentIndex(grPopTemplates));
}

void TfrmMain::grKeysitesClick()
{
    const int keysite = CurrentIndex(grKeysites);
    if (keysite < 0 || !Document)
        return;
    const int templateIndex = Document->KeysiteTemplateIndex(keysite);
    if (templateIndex >= 0 && templateIndex + 1 < grPopTemplates->RowCount())
        grPopTemplates->SetRow(templateIndex + 1);
}
