#pragma once
// The Map BIN file and its first section, the template list, which is also the whole of a
// template file. Reading yields plain records that join a document only when the whole file (or
// list) was read: a damaged file adds nothing.

#include "document/missingnames.h"
#include "document/records.h"

#include <QString>
#include <memory>
#include <vector>

class CByteReader;
class CWriter;
class CPopTemplatesTypesList;

struct ParsedKeysite {
    int32_t TemplateNumber;
    float X;
    float Z;
};

struct ParsedMapFile {
    TemplateList Templates;
    std::vector<ParsedKeysite> Keysites;
    std::vector<std::unique_ptr<CAirbasePlacement>> Airbases;
    std::vector<std::unique_ptr<CSAMPlacement>> SAMs;
};

// Where the records read will stand in the document: the numbers of the first template and of the
// first airbase. Names the catalogue does not hold are added to `Missing` under those numbers.
struct ReadNumbering {
    int32_t FirstTemplate = 0;
    int32_t FirstAirbase = 0;
    CMissingNames* Missing = nullptr;
};

// Reads a template list (either variant, chosen by the sign of its count). Names become indices of
// `catalogue`. Returns false, with the reader's reason, when the list is damaged or cut short.
bool ReadTemplateList(CByteReader& reader, const C3DObjectsList* catalogue, const CPopTemplatesTypesList* types,
                      TemplateList& templates, const ReadNumbering& numbering = {});
// Reads a whole Map BIN file; whatever follows the SAM section is ignored.
bool ReadMapFile(CByteReader& reader, const C3DObjectsList* catalogue, const CPopTemplatesTypesList* types,
                 ParsedMapFile& file, const ReadNumbering& numbering = {});

// One template record; with route objects for the extended variant.
void WriteTemplate(CWriter& writer, const CPopTemplate& tmpl, bool withRouteObjects);
