#pragma once
// Records that leave one document as text in the record form (recordjson.h) and join another, as
// copy and paste move them between maps and programs. The text holds exactly the lines `sablemap-cli
// to-json` prints for the same records of a saved file; a keysite travels with its template, so that
// it means the same wherever it lands.

#include "document/missingnames.h"
#include "document/records.h"

#include <QByteArray>
#include <QString>
#include <vector>

class CBINFile;

// The records a copy takes: rows of the document's lists, each in increasing order.
struct RecordChoice {
    std::vector<int> Templates; // with their objects
    std::vector<int> Keysites;  // their templates come along
    std::vector<int> Airbases;
    std::vector<int> Sams;

    bool IsEmpty() const { return Templates.empty() && Keysites.empty() && Airbases.empty() && Sams.empty(); }
};

// Records read from the form, ready to be appended to one document: names are the document
// catalogue's indices, as a read of the same records from a file would give them, and each keysite
// names a template of the document or one of `Templates`, which join the end of its list.
struct PastedRecords {
    std::vector<CPopTemplate> Templates;
    std::vector<CKeysitePlacement> Keysites;
    std::vector<CAirbasePlacement> Airbases;
    std::vector<CSAMPlacement> Sams;
    // The names the catalogue lacks, under the numbers the records will have.
    CMissingNames Missing;

    int Count() const { return int(Templates.size() + Keysites.size() + Airbases.size() + Sams.size()); }
};

namespace recordtransfer {

// The chosen records in the record form: the templates chosen and those of the chosen keysites,
// each once and in the document's order, the keysites' template numbers counting in that list.
QByteArray CopyText(const CBINFile& document, const RecordChoice& choice);

// Reads `text` (the form of a Map BIN file or of a template list) for `document`. A keysite's
// template that is identical to one the document (or an earlier template of the text) has, the
// same fields and the same objects bit for bit, is not added again: the keysite names that one.
// Templates no keysite of the text uses are the user's own copy and are always added. False,
// `pasted` unchanged, with the reason: `notRecords` when the text is not in the record form at
// all, else the reader's line and complaint.
bool ReadPasted(const QByteArray& text, const CBINFile& document, PastedRecords& pasted, QString& reason,
                bool& notRecords);

// Moves the keysites, airbases and SAM sites together so that the centre of their bounding box
// lies at (x, z); coordinates that are no number stay where they are.
void CentreAt(PastedRecords& pasted, float x, float z);

} // namespace recordtransfer
