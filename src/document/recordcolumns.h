#pragma once
// The columns of the record grids, once for the window and the tool: each list's headers, their
// widths, and the text of every cell. Column 0 here is the grid's "Number" column; the grid's
// narrow fixed column before it has no text and no definition.

#include "document/records.h"

#include <QString>
#include <span>

class CBINFile;

struct RecordColumn {
    const char* Header;
    int Width;                     // pixels for the 8-point font the grids were laid out with
    const char* Typical = nullptr; // a value the column must show whole, or none
};

std::span<const RecordColumn> RecordColumns(RecordList list);

// The text of `column` for record `row` of `list`, which must exist: numbers in plain decimal,
// floats as FloatText, names through the catalogue, type codes through the type table, and the
// empty text for a keysite without template.
QString CellText(const CBINFile& document, ListAddress list, int row, int column, const TextFormat& format);

// Cells 1 onwards of a grid row for record `row` (cell 0 is the fixed column's). False, writing
// nothing, when the record does not exist or `cells` is shorter than the grid's row.
bool FillGridRow(const CBINFile& document, ListAddress list, int row, const TextFormat& format, GridRow& cells);
