#pragma once
// The Map BIN file and its first section, the template list (also the whole of a template file),
// as the document reads and writes them. Reading (binreader.h) yields plain records that join a
// document only once the whole file (or list) was read: a damaged file adds nothing. Writing
// produces the bytes in one buffer of the exact size.

#include "document/missingnames.h"
#include "document/records.h"

#include <QByteArray>
#include <span>
#include <string>
#include <vector>

class CByteReader;
class CPopTemplatesTypesList;

// The records of one read, with names turned into catalogue indices; keysites keep the template
// numbers as stored.
struct ReadRecords {
    std::vector<CPopTemplate> Templates;
    std::vector<CKeysitePlacement> Keysites;
    std::vector<CAirbasePlacement> Airbases;
    std::vector<CSAMPlacement> Sams;
    // Names the catalogue does not hold, under the numbers the records will have in the document.
    CMissingNames Missing;
};

// Where the records read will stand in the document: the numbers of the first template and of
// the first airbase.
struct ReadNumbering {
    int32_t FirstTemplate = 0;
    int32_t FirstAirbase = 0;
};

// Read a template list or a whole Map BIN file into `records`; false, with the reader's reason,
// when the data is damaged or cut short.
bool ReadTemplateRecords(CByteReader& reader, const C3DObjectsList& catalogue, ReadRecords& records,
                         ReadNumbering numbering = {});
bool ReadMapRecords(CByteReader& reader, const C3DObjectsList& catalogue, ReadRecords& records,
                    ReadNumbering numbering = {});

// A template list of `templates` (negative count field, route references included, when
// `withRouteObjects`), followed by the keysites, airbases and SAM sites when `keysites` etc. are
// given (a whole Map BIN file).
struct MapRecordsView {
    std::span<const CPopTemplate> Templates;
    std::span<const CKeysitePlacement> Keysites;
    std::span<const CAirbasePlacement> Airbases;
    std::span<const CSAMPlacement> Sams;
};
QByteArray WriteTemplateList(const C3DObjectsList& catalogue, std::span<const CPopTemplate> templates,
                             bool withRouteObjects);
QByteArray WriteMapFile(const C3DObjectsList& catalogue, const MapRecordsView& records, bool withRouteObjects);
// The same with the names of `names`, indexed by the records' object indices (a file's names as
// stored, see storedrecords.h); NoObjectIndex is an absent reference.
QByteArray WriteTemplateList(std::span<const std::string> names, std::span<const CPopTemplate> templates,
                             bool withRouteObjects);
QByteArray WriteMapFile(std::span<const std::string> names, const MapRecordsView& records, bool withRouteObjects);

// A document's records copied in a few large moves, cheap enough to take between two edits, for
// writing while the document goes on changing (the recovery copy, written by a worker): the
// catalogue's names, the templates with their objects in one array, and the placed records.
struct MapSnapshot {
    struct Template {
        int32_t TypeCode = -1;
        int32_t ApproximationObject = NoObjectIndex;
        int32_t BaseObject = NoObjectIndex;
        int32_t RouteObject = NoObjectIndex;
        uint32_t FirstObject = 0; // in Objects
        uint32_t ObjectCount = 0;
    };
    std::vector<std::string> Names;
    std::vector<Template> Templates;
    std::vector<CThreeDObject> Objects;
    std::vector<CKeysitePlacement> Keysites;
    std::vector<CAirbasePlacement> Airbases;
    std::vector<CSAMPlacement> Sams;
};
MapSnapshot SnapshotOf(const C3DObjectsList& catalogue, const MapRecordsView& records);
// The same bytes as WriteMapFile of the records the snapshot was taken of.
QByteArray WriteMapFile(const MapSnapshot& snapshot, bool withRouteObjects);

// The number of records of each list of a Map BIN file, walked without keeping any.
struct MapCounts {
    int32_t Templates = 0;
    int32_t Objects = 0;
    int32_t Keysites = 0;
    int32_t Airbases = 0;
    int32_t Sams = 0;
};
bool CountMapRecords(CByteReader& reader, MapCounts& counts);
