// The five record grids of the main window: how each is rebuilt from the document, and how the
// current row of one drives another.
#include "app/mainwindow.h"

#include "app/stringgrid.h"
#include "document/binfile.h"

#include <span>

namespace {

struct Column {
    const char* Header;
    int Width;                       // pixels for the 8-point font (app/columnwidth.h)
    const char* Typical = nullptr;   // a value the column must show whole
};

// A map position in full float precision: six digits before the point, seven after.
constexpr const char* kCoordinate = "100000.0078125";

constexpr Column kTemplateColumns[] = {{"Number", 40},      {"Type", 130},         {"Approximation object", 130},
                                       {"Base object", 130}, {"Route object", 130}, {"Used", 30}};
constexpr Column kObjectColumns[] = {{"Number", 40}, {"X", 60}, {"Z", 60}, {"Heading", 60}, {"Name", 300}};
constexpr Column kKeysiteColumns[] = {
    {"Number", 40}, {"X", 80, kCoordinate}, {"Z", 80, kCoordinate}, {"Population template", 60}};
constexpr Column kAirbaseColumns[] = {
    {"Number", 40}, {"X", 80, kCoordinate}, {"Z", 80, kCoordinate}, {"Object", 300}};
constexpr Column kSamColumns[] = {{"Number", 40}, {"X", 80, kCoordinate}, {"Z", 80, kCoordinate}};

constexpr int kFixedColumnWidth = 5;

// The common part of every fill: n records under a header row, beside the narrow fixed column;
// an empty list keeps one blank data row. Call between BeginUpdate and EndUpdate.
void PrepareGrid(CStringGrid* grid, std::span<const Column> columns, int records)
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

template <typename FillRow>
void FillGrid(CStringGrid* grid, std::span<const Column> columns, int records, FillRow fillRow)
{
    grid->BeginUpdate();
    PrepareGrid(grid, columns, records);
    GridRow row;
    for (int i = 0; i < records; ++i) {
        row.fill(QString(), static_cast<qsizetype>(columns.size()) + 1);
        fillRow(row, i);
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
    FillGrid(grPopTemplates, kTemplateColumns, Document->TemplateCount(),
             [this](GridRow& row, int i) { Document->TemplateFillRow(row, i, m_format); });
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
    FillGrid(grTemplateObjects, kObjectColumns, Document->ObjectCount(templateIndex),
             [this, templateIndex](GridRow& row, int i) { Document->ObjectFillRow(row, templateIndex, i, m_format); });
}

void TfrmMain::FillKeysiteGrid()
{
    if (!Document)
        return;
    // Numbering the templates once keeps a long keysite list from searching them per row.
    const auto numbers = Document->TemplateNumbers();
    FillGrid(grKeysites, kKeysiteColumns, Document->KeysiteCount(), [this, &numbers](GridRow& row, int i) {
        const CKeysitePlacement& keysite = *Document->Keysites[static_cast<size_t>(i)];
        const auto found = keysite.Template ? numbers.find(keysite.Template) : numbers.end();
        keysite.FillRow(row, i, found != numbers.end() ? found->second : -1, m_format);
    });
}

void TfrmMain::FillAirbaseGrid()
{
    if (!Document)
        return;
    FillGrid(grAirbases, kAirbaseColumns, Document->AirbaseCount(),
             [this](GridRow& row, int i) { Document->AirbaseFillRow(row, i, m_format); });
}

void TfrmMain::FillSamGrid()
{
    if (!Document)
        return;
    FillGrid(grSAMs, kSamColumns, Document->SamCount(),
             [this](GridRow& row, int i) { Document->SamFillRow(row, i, m_format); });
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
