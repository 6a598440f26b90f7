#pragma once
// A Map BIN file or template list as stored, without a catalogue: the same record values as the
// document's, but every object index points into the file's own names, kept byte for byte. Written
// back with the one writer (binformat.h), the records give the file's bytes again; what the writer
// would not reproduce (presence values other than 1, negative object counts, bytes after the last
// record) is not kept.

#include "document/binformat.h"
#include "document/records.h"

#include <QString>
#include <string>
#include <vector>

class CByteReader;

struct StoredRecords {
    bool WithRouteObjects = false; // the template count field was negative
    bool TemplateListOnly = false; // a template file: no keysites, airbases or SAM sites
    // The names; the records' object indices point here (NoObjectIndex: no object).
    std::vector<std::string> Names;
    std::vector<CPopTemplate> Templates;
    std::vector<CKeysitePlacement> Keysites;
    std::vector<CAirbasePlacement> Airbases;
    std::vector<CSAMPlacement> Sams;

    const std::string& NameOf(int32_t index) const;
    // Appends `name` to the names; its index.
    int32_t AddName(std::string_view name);
    MapRecordsView View() const { return {Templates, Keysites, Airbases, Sams}; }
    QByteArray Write() const;
};

// Reads the whole file (a template list only with `templateListOnly`); false, with the reason,
// when it cannot be read or is damaged. `records` is replaced only on success.
bool ReadStoredRecords(CByteReader& reader, bool templateListOnly, StoredRecords& records);
bool LoadStoredRecords(const QString& path, bool templateListOnly, StoredRecords& records, QString* error);
