#pragma once
// The records of a campaign document as plain values, stored side by side in their lists (a
// template holds its objects the same way). Records hold catalogue indices, never object names;
// a keysite holds the number of its template, which the document keeps right when templates
// come and go, and each template counts its keysites.

#include "catalogues/objectslist.h"
#include "document/recordkind.h"

#include <QStringList>
#include <cstdint>
#include <type_traits>
#include <vector>

// A grid row as the list of its cell texts; column 0 is the grid's fixed column.
using GridRow = QStringList;

// How numbers become cell text: the locale's decimal separator in the window, "." in the tool.
struct TextFormat {
    QChar DecimalSeparator = QLatin1Char('.');
};

// A 3D object placed inside a keysite template.
struct CThreeDObject {
    float X = 0;
    float Z = 0;
    float Heading = 0;
    int32_t ObjectIndex = NoObjectIndex;
};

// A keysite template (population template).
struct CPopTemplate {
    int32_t TypeCode = -1;
    int32_t ApproximationObject = NoObjectIndex;
    int32_t BaseObject = NoObjectIndex;
    int32_t RouteObject = NoObjectIndex;
    // The keysites whose template this is; kept by the document, never set by its users.
    int32_t UseCount = 0;
    std::vector<CThreeDObject> Objects;

    bool HasNoUsers() const { return UseCount == 0; }
};

// A keysite: a template placed on the map.
struct CKeysitePlacement {
    int32_t TemplateNumber = -1; // the template's position in the document's list; -1 without
    float X = 0;
    float Z = 0;
};

struct CAirbasePlacement {
    float X = 0;
    float Z = 0;
    int32_t ObjectIndex = NoObjectIndex;
};

struct CSAMPlacement {
    float X = 0;
    float Z = 0;
};

// The five record lists of a document. The objects of a template are a list of their own,
// addressed with the template's number.
enum class RecordList : uint8_t { Templates, TemplateObjects, Keysites, Airbases, Sams };

struct ListAddress {
    RecordList List = RecordList::Templates;
    int32_t Template = -1; // the template whose objects, for TemplateObjects; -1 otherwise

    bool operator==(const ListAddress&) const = default;
};

// Which list holds each kind of record.
template <typename Record>
inline constexpr RecordList ListOf = std::is_same_v<Record, CPopTemplate> ? RecordList::Templates
    : std::is_same_v<Record, CThreeDObject>                               ? RecordList::TemplateObjects
    : std::is_same_v<Record, CKeysitePlacement>                           ? RecordList::Keysites
    : std::is_same_v<Record, CAirbasePlacement>                           ? RecordList::Airbases
                                                                          : RecordList::Sams;

// The list of `Record`; `templateNumber` names the template for its objects and is dropped for
// the other lists.
template <typename Record>
constexpr ListAddress AddressOf(int32_t templateNumber = -1)
{
    return {ListOf<Record>, ListOf<Record> == RecordList::TemplateObjects ? templateNumber : -1};
}
