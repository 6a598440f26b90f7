#pragma once
// The fields of a record as a dialog over several records speaks of them: which fields the
// records share (the dialog shows the others as mixed), and which fields the user changed (only
// those are written, each record keeping its other fields). A template's objects and use count
// are no fields here: no dialog edits them.

#include "document/records.h"

#include <QFlags>
#include <bit>
#include <cstdint>
#include <optional>
#include <span>
#include <tuple>
#include <type_traits>

enum class RecordField : uint16_t {
    X = 0x001,
    Z = 0x002,
    Heading = 0x004,
    Object = 0x008,   // a template object's or an airbase's 3D object
    Template = 0x010, // a keysite's template number
    Type = 0x020,     // a template's type code
    ApproximationObject = 0x040,
    BaseObject = 0x080,
    RouteObject = 0x100,
};
Q_DECLARE_FLAGS(RecordFields, RecordField)
Q_DECLARE_OPERATORS_FOR_FLAGS(RecordFields)

// Some fields of a record: those named in Fields hold their values in Value; the others say
// nothing. Given to a dialog: the fields all the records share. Given back: the fields changed.
template <typename Record>
struct PartialRecord {
    Record Value;
    RecordFields Fields;
};

namespace recordfields {

template <typename Record, typename Type>
struct Field {
    RecordField Name;
    Type Record::*Member;
};

// The fields of each record kind.
template <typename Record>
constexpr auto Table()
{
    if constexpr (std::is_same_v<Record, CSAMPlacement>)
        return std::tuple{Field{RecordField::X, &CSAMPlacement::X}, Field{RecordField::Z, &CSAMPlacement::Z}};
    else if constexpr (std::is_same_v<Record, CAirbasePlacement>)
        return std::tuple{Field{RecordField::X, &CAirbasePlacement::X}, Field{RecordField::Z, &CAirbasePlacement::Z},
                          Field{RecordField::Object, &CAirbasePlacement::ObjectIndex}};
    else if constexpr (std::is_same_v<Record, CKeysitePlacement>)
        return std::tuple{Field{RecordField::Template, &CKeysitePlacement::TemplateNumber},
                          Field{RecordField::X, &CKeysitePlacement::X}, Field{RecordField::Z, &CKeysitePlacement::Z}};
    else if constexpr (std::is_same_v<Record, CThreeDObject>)
        return std::tuple{Field{RecordField::X, &CThreeDObject::X}, Field{RecordField::Z, &CThreeDObject::Z},
                          Field{RecordField::Heading, &CThreeDObject::Heading},
                          Field{RecordField::Object, &CThreeDObject::ObjectIndex}};
    else
        return std::tuple{Field{RecordField::Type, &CPopTemplate::TypeCode},
                          Field{RecordField::ApproximationObject, &CPopTemplate::ApproximationObject},
                          Field{RecordField::BaseObject, &CPopTemplate::BaseObject},
                          Field{RecordField::RouteObject, &CPopTemplate::RouteObject}};
}

// Calls `visit(name, member)` for each field of `Record`.
template <typename Record, typename Visit>
void ForEach(Visit visit)
{
    std::apply([&](const auto&... field) { (visit(field.Name, field.Member), ...); }, Table<Record>());
}

// Equal down to the bit: a number that only prints the same (0 and -0) is another value.
inline bool Same(float a, float b) { return std::bit_cast<uint32_t>(a) == std::bit_cast<uint32_t>(b); }
inline bool Same(int32_t a, int32_t b) { return a == b; }

} // namespace recordfields

template <typename Record>
RecordFields AllFields()
{
    RecordFields all;
    recordfields::ForEach<Record>([&](RecordField name, auto) { all |= name; });
    return all;
}

// The fields that the records at `indices` (at least one) of `rows` all hold alike, with the
// values of the first.
template <typename Record>
PartialRecord<Record> SharedFields(std::span<const Record> rows, std::span<const int> indices)
{
    PartialRecord<Record> shared{rows[size_t(indices.front())], AllFields<Record>()};
    if constexpr (std::is_same_v<Record, CPopTemplate>)
        shared.Value.Objects.clear(); // no field: not worth copying
    for (const int index : indices.subspan(1)) {
        const Record& record = rows[size_t(index)];
        recordfields::ForEach<Record>([&](RecordField name, auto member) {
            if (shared.Fields.testFlag(name) && !recordfields::Same(record.*member, shared.Value.*member))
                shared.Fields &= ~RecordFields(name);
        });
        if (!shared.Fields)
            break;
    }
    return shared;
}

// `record` with the fields of `change` written; its other fields stay. True when that changed it.
template <typename Record>
bool ApplyFields(const PartialRecord<Record>& change, Record& record)
{
    bool changed = false;
    recordfields::ForEach<Record>([&](RecordField name, auto member) {
        if (change.Fields.testFlag(name) && !recordfields::Same(record.*member, change.Value.*member)) {
            record.*member = change.Value.*member;
            changed = true;
        }
    });
    return changed;
}

// The value of a field that every record shares; nothing where they differ.
template <typename Record, typename Type>
std::optional<Type> SharedValue(const PartialRecord<Record>& shared, RecordField name, Type Record::*member)
{
    return shared.Fields.testFlag(name) ? std::optional<Type>(shared.Value.*member) : std::nullopt;
}

// Takes the user's `value` for one field into `changes`: a change, unless every record holds that
// value already (`shown` shares it).
template <typename Record, typename Type>
void NoteChoice(const PartialRecord<Record>& shown, PartialRecord<Record>& changes, RecordField name,
                Type Record::*member, Type value)
{
    changes.Value.*member = value;
    if (shown.Fields.testFlag(name) && recordfields::Same(shown.Value.*member, value))
        changes.Fields &= ~RecordFields(name);
    else
        changes.Fields |= name;
}
