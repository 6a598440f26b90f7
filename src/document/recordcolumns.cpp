#include "document/recordcolumns.h"

#include "catalogues/templatetypes.h"
#include "document/binfile.h"
#include "document/numbertext.h"
#include "platform/ansitext.h"

namespace {

// A map position in full float precision: six digits before the point, seven after.
constexpr const char* kCoordinate = "100000.0078125";

constexpr RecordColumn kTemplateColumns[] = {{"Number", 40},       {"Type", 130},         {"Approximation object", 130},
                                             {"Base object", 130}, {"Route object", 130}, {"Used", 30}};
constexpr RecordColumn kObjectColumns[] = {{"Number", 40}, {"X", 60}, {"Z", 60}, {"Heading", 60}, {"Name", 300}};
constexpr RecordColumn kKeysiteColumns[] = {
    {"Number", 40}, {"X", 80, kCoordinate}, {"Z", 80, kCoordinate}, {"Population template", 60}};
constexpr RecordColumn kAirbaseColumns[] = {
    {"Number", 40}, {"X", 80, kCoordinate}, {"Z", 80, kCoordinate}, {"Object", 300}};
constexpr RecordColumn kSamColumns[] = {{"Number", 40}, {"X", 80, kCoordinate}, {"Z", 80, kCoordinate}};

QString Name(const CBINFile& document, int32_t index) { return AnsiToQString(document.Catalogue()->NameOf(index)); }

QString Number(float value, const TextFormat& format) { return FloatText(value, format.DecimalSeparator); }

} // namespace

std::span<const RecordColumn> RecordColumns(RecordList list)
{
    switch (list) {
    case RecordList::Templates: return kTemplateColumns;
    case RecordList::TemplateObjects: return kObjectColumns;
    case RecordList::Keysites: return kKeysiteColumns;
    case RecordList::Airbases: return kAirbaseColumns;
    case RecordList::Sams: return kSamColumns;
    }
    return {};
}

QString CellText(const CBINFile& document, ListAddress list, int row, int column, const TextFormat& format)
{
    if (column == 0)
        return IntegerText(row);
    const auto at = static_cast<size_t>(row);
    switch (list.List) {
    case RecordList::Templates: {
        const CPopTemplate& tmpl = document.Templates()[at];
        switch (column) {
        case 1: return AnsiToQString(document.Types()->TypeNameOf(tmpl.TypeCode));
        case 2: return Name(document, tmpl.ApproximationObject);
        case 3: return Name(document, tmpl.BaseObject);
        case 4: return Name(document, tmpl.RouteObject);
        default: return IntegerText(tmpl.UseCount);
        }
    }
    case RecordList::TemplateObjects: {
        const CThreeDObject& object = document.Objects(list.Template)[at];
        switch (column) {
        case 1: return Number(object.X, format);
        case 2: return Number(object.Z, format);
        case 3: return Number(object.Heading, format);
        default: return Name(document, object.ObjectIndex);
        }
    }
    case RecordList::Keysites: {
        const CKeysitePlacement& keysite = document.Keysites()[at];
        switch (column) {
        case 1: return Number(keysite.X, format);
        case 2: return Number(keysite.Z, format);
        default: return keysite.TemplateNumber >= 0 ? IntegerText(keysite.TemplateNumber) : QString();
        }
    }
    case RecordList::Airbases: {
        const CAirbasePlacement& airbase = document.Airbases()[at];
        switch (column) {
        case 1: return Number(airbase.X, format);
        case 2: return Number(airbase.Z, format);
        default: return Name(document, airbase.ObjectIndex);
        }
    }
    case RecordList::Sams: {
        const CSAMPlacement& sam = document.Sams()[at];
        return Number(column == 1 ? sam.X : sam.Z, format);
    }
    }
    return QString();
}

bool FillGridRow(const CBINFile& document, ListAddress list, int row, const TextFormat& format, GridRow& cells)
{
    const auto columns = static_cast<qsizetype>(RecordColumns(list.List).size());
    if (row < 0 || row >= document.Count(list) || cells.size() < columns + 1)
        return false;
    for (int column = 0; column < columns; ++column)
        cells[column + 1] = CellText(document, list, row, column, format);
    return true;
}
