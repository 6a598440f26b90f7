#pragma once
// What the editor says about each record list, in one table: the noun of one record in edit texts
// ("SAM site"), the words of the delete question (" SAMs"), the record kind for the lists placed
// on the map, and the names of the page and grid that show the list. Everything that names a list
// reads it here.

#include "document/records.h"

#include <QString>
#include <array>
#include <optional>

struct RecordListInfo {
    RecordList List;
    const char* Noun;       // one record, as edit texts name it
    const char* DeleteWord; // the list in "Do you want to delete 3 SAMs"
    const char* PageName;   // the object names of the page and of the grid that show the list
    const char* GridName;
    std::optional<RecordKind> Kind; // for the lists placed on the map
};

inline constexpr std::array<RecordListInfo, 5> RecordLists{{
    {RecordList::Templates, "keysite template", " keysite templates", "tsPopTemplates", "grPopTemplates", {}},
    {RecordList::TemplateObjects, "template object", " objects of template", "tsPopTemplates", "grTemplateObjects", {}},
    {RecordList::Keysites, "keysite", " keysites", "tsKeysites", "grKeysites", KeysiteKind},
    {RecordList::Airbases, "airbase", " airbases", "tsAirbases", "grAirbases", AirbaseKind},
    {RecordList::Sams, "SAM site", " SAMs", "tsSAMs", "grSAMs", SamKind},
}};

inline constexpr const RecordListInfo& InfoOf(RecordList list) { return RecordLists[static_cast<size_t>(list)]; }

// The list of the records of a kind.
inline constexpr RecordList ListOfKind(RecordKind kind)
{
    return kind == KeysiteKind ? RecordList::Keysites : kind == AirbaseKind ? RecordList::Airbases : RecordList::Sams;
}

// "keysite template", "SAM site", ...: one record of a list, as the edit texts name it; counted
// ("3 SAM sites", "1 SAM site") for edits of several.
QString RecordNoun(RecordList list);
QString CountedRecords(RecordList list, int count);
