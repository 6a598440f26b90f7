#pragma once
// The findings of a campaign document, kept up to date as it changes. Told what changed, as the
// document announces it (rows of a list inserted, removed or changed, or everything replaced), it
// checks again only the records that changed and those whose findings depend on them:
// - a template whose objects changed, or whose use count moved (the document announces that);
// - the records that stood, or now stand, at a position a placement left or took;
// - the numbers of the findings after rows inserted or removed, which shift with their records.
// Its findings always equal CheckRecords of the document (tests hold it to that after random
// edits, undo and redo).

#include "checks/findings.h"
#include "checks/positiontable.h"
#include "checks/recordchecks.h"

#include <array>
#include <optional>
#include <vector>

class CBINFile;

class CDocumentChecks {
public:
    // Checks the whole document; the names against the document's catalogue.
    CDocumentChecks(const CBINFile& document, std::optional<MapExtent> extent = std::nullopt);

    // The map the placements are checked against (none: nothing is outside); checks them again.
    void SetExtent(std::optional<MapExtent> extent);
    const std::optional<MapExtent>& Extent() const { return m_settings.Extent; }

    // What the document announced, after it changed.
    void Reset();
    void Inserted(ListAddress list, int first, int last);
    void Removed(ListAddress list, int first, int last);
    void Changed(ListAddress list, int first, int last);

    // Every finding, in the order of CheckRecords.
    std::vector<Finding> Findings() const;
    int Count() const;
    // What a finding's text needs (the document keeps no names besides the catalogue's indices).
    FindingWords Words() const;

private:
    // One list of placements: each record's position key, how many records stand at each key,
    // and the list's findings by record.
    // Count is kept right through every change; First only by a check of the whole list, which
    // finds the first record at each position with the same lookup that counts it.
    struct AtPosition {
        int32_t Count = 0;
        int32_t First = 0;
        bool operator==(const AtPosition&) const = default;
    };
    struct Placements {
        std::vector<uint64_t> Keys;
        CPositionMap<AtPosition> Counts;
        std::vector<Finding> Findings;
    };
    static size_t PlacementIndex(RecordList list) { return static_cast<size_t>(list) - 2; }
    int RecordCount(RecordList list) const;
    uint64_t KeyOf(RecordList list, int record) const;
    void OwnFindings(RecordList list, int32_t record, std::vector<Finding>& out) const;

    void CheckAllTemplates();
    // Checks templates `numbers` (ascending) again.
    void CheckTemplates(const std::vector<int32_t>& numbers);
    void ShiftTemplates(int32_t from, int32_t step);

    void CheckAllPlacements(RecordList list);
    // Checks again the records `records` and every record standing at one of `keys` (ascending
    // records, keys in any order); the whole list when that is nearly as much work.
    void CheckPlacements(RecordList list, std::vector<int32_t> records, std::vector<uint64_t> keys);
    void ShiftPlacements(RecordList list, int32_t from, int32_t step);
    static void Leave(Placements& placements, uint64_t key);
    void InsertedPlacements(RecordList list, int first, int last);
    void RemovedPlacements(RecordList list, int first, int last);
    void ChangedPlacements(RecordList list, int first, int last);

    // Changed placements not checked yet, by placement list: the records and the positions they
    // left. A question, or a change of the templates or the map, checks them first.
    struct Pending {
        std::vector<int32_t> Records;
        std::vector<uint64_t> Left;
    };
    void CheckPending();
    // Rows first..last of `list` were inserted (step > 0) or removed (step < 0): the records
    // waiting to be checked follow their rows; those removed need no check.
    void MovePending(RecordList list, int first, int last, int step);

    const CBINFile& m_document;
    std::vector<uint8_t> m_knownNames;
    CheckSettings m_settings;
    std::vector<Finding> m_templates; // by template, each followed by its objects
    std::array<Placements, 3> m_placements;
    std::array<Pending, 3> m_pending;
};
