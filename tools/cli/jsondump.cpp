#include "jsondump.h"

#include "cli.h"
#include "document/binfile.h"
#include "document/recordcolumns.h"
#include "jsonwriter.h"

namespace cli {
namespace {

const TextFormat kToolFormat{QLatin1Char('.')};

// One grid row as an object, its keys in the grid's column order; `more` adds members after them.
template <typename More>
void Row(CJsonWriter& out, const CBINFile& document, ListAddress list, int row, More more)
{
    out.Raw('{');
    const auto columns = RecordColumns(list.List);
    for (size_t column = 0; column < columns.size(); ++column) {
        if (column > 0)
            out.Raw(", ");
        out.String(QLatin1String(columns[column].Header));
        out.Raw(": ");
        out.String(CellText(document, list, row, static_cast<int>(column), kToolFormat));
    }
    more();
    out.Raw('}');
}

void Rows(CJsonWriter& out, const CBINFile& document, ListAddress list, const char* indent)
{
    Array(out, document.Count(list), indent, [&](int row) { Row(out, document, list, row, [] {}); });
}

} // namespace

void DumpDocument(const CBINFile& document)
{
    CJsonWriter out;
    out.Raw("{\n  \"templates\": ");
    Array(out, document.TemplateCount(), "  ", [&](int t) {
        Row(out, document, {RecordList::Templates}, t, [&] {
            out.Raw(", \"objects\": ");
            Rows(out, document, {RecordList::TemplateObjects, t}, "    ");
        });
    });
    out.Raw(",\n  \"keysites\": ");
    Rows(out, document, {RecordList::Keysites}, "  ");
    out.Raw(",\n  \"airbases\": ");
    Rows(out, document, {RecordList::Airbases}, "  ");
    out.Raw(",\n  \"SAMs\": ");
    Rows(out, document, {RecordList::Sams}, "  ");
    out.Raw("\n}\n");
}

} // namespace cli
