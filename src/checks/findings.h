#pragma once
// What a check finds in the records of a Map BIN file, as data: which record (its list and
// number), what is wrong with it (the kind and, for a value or a name, which field) and the few
// values its text needs. Texts are made from findings when they are shown, so that the tool and
// the editor say the same thing and a finding compares equal to the same finding found again.

#include "document/records.h"
#include "mapview/mapextent.h"

#include <QString>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// In the order a record's findings are listed.
enum class FindingKind : uint8_t {
    UnknownName,     // a name the catalogue lacks: a save writes INVALID_OBJECT
    NoObjects,       // a template without objects
    Unused,          // a template no keysite uses (a note)
    NoTemplate,      // a keysite without template (a note)
    MissingTemplate, // a keysite naming a template the file does not have
    NotFinite,       // a coordinate or heading that is not a number
    OutsideMap,      // a placement the open map does not hold
    SharedPosition,  // a placement at the same position as an earlier one of its list
};
inline constexpr int FindingKindCount = 8;

enum class Severity : uint8_t { Problem, Note };

// Only a template no keysite uses and a keysite without template are notes: neither breaks anything.
Severity LevelOf(FindingKind kind);

// The value a finding is about.
enum class FindingField : uint8_t { None, X, Z, Heading, ApproximationObject, BaseObject, RouteObject, Object };

struct Finding {
    FindingKind Kind = FindingKind::UnknownName;
    FindingField Field = FindingField::None;
    // The record's list and number; for a template object, the objects of its template.
    ListAddress List;
    int32_t Record = 0;
    // SharedPosition: the record first at that position. MissingTemplate: the template number.
    // UnknownName: the object index. NotFinite: the value's bits (so that NaN compares equal).
    int32_t Other = -1;
    // OutsideMap: the position.
    float X = 0;
    float Z = 0;

    bool operator==(const Finding&) const = default;
    Severity Level() const;
    // The template a finding about a template or one of its objects belongs to; -1 for others.
    int32_t TemplateOf() const;
};

// What a finding's text needs besides the finding.
struct FindingWords {
    int32_t TemplateCount = 0;
    // The names the object indices point at (a file's names as stored); null when the indices are
    // catalogue indices whose stored name is gone (the editor's document): the text names none.
    const std::vector<std::string>* Names = nullptr;
    std::optional<MapExtent> Extent;
};

// "template 0 object 1", "keysite 3", "SAM 2".
QString FindingPlace(const Finding& finding);
// The record as the tool's JSON names it: "template", "keysite", "airbase", "SAM".
const char* FindingRecordWord(const Finding& finding);
// What is wrong: "template 5 does not exist (the file has 2 templates)".
QString FindingText(const Finding& finding, const FindingWords& words);
// The heading of a group of findings of one kind: "Keysites whose template does not exist".
QString FindingKindTitle(FindingKind kind);
