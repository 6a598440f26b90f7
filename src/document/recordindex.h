#pragma once
// Where the keysites, airbases and SAM sites lie, for the questions the map asks many times a
// second: the records under the mouse, under a rubber band, within some distance of a point. One
// grid of cells per kind over its positions, kept in step with the document by the change
// announcements it is handed (the document's own, or the session's), so that a question costs the
// cells it covers rather than a pass over every record.
//
// A reset (New, Load) only marks the index stale: it is built again at the next question, so
// that loading a file does not pay for it. Records whose position is not a finite number have no
// cell and are never found.

#include "document/records.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class CBINFile;

// A set of record kinds, one bit per kind.
using RecordKinds = uint8_t;
constexpr RecordKinds KindBit(RecordKind kind) { return RecordKinds(1u << kind); }
constexpr RecordKinds AllRecordKinds = KindBit(KeysiteKind) | KindBit(AirbaseKind) | KindBit(SamKind);

// A record the index found, with its distance from the point asked about.
struct IndexedRecord {
    RecordKind Kind = KeysiteKind;
    int32_t Index = 0;
    // From the point asked about; 0 for a rectangle.
    double Distance = 0;

    bool operator==(const IndexedRecord&) const = default;
};

class CRecordIndex {
public:
    // Reads positions from `document`, which must outlive the index; stale until the first question.
    explicit CRecordIndex(const CBINFile& document);
    ~CRecordIndex();
    CRecordIndex(const CRecordIndex&) = delete;
    CRecordIndex& operator=(const CRecordIndex&) = delete;

    // --- The document's announcements, after the change ------------------------------------------
    // Lists that are not placed on the map are passed over.
    void RowsInserted(ListAddress list, int first, int last);
    void RowsRemoved(ListAddress list, int first, int last);
    void RowsChanged(ListAddress list, int first, int last);
    void Reset();

    // --- Questions ---------------------------------------------------------------------------------
    // The records of `kinds` whose position lies in the rectangle of record coordinates (edges
    // included; left > right or top > bottom is empty), by kind, then by index.
    std::vector<IndexedRecord> InRectangle(double left, double top, double right, double bottom,
                                           RecordKinds kinds = AllRecordKinds) const;
    // The records of `kinds` within `radius` of (x, z), nearest first; at equal distance by kind,
    // then by index.
    std::vector<IndexedRecord> Near(double x, double z, double radius, RecordKinds kinds = AllRecordKinds) const;

private:
    class CKindGrid;
    CKindGrid& Grid(RecordKind kind) const;

    const CBINFile& m_document;
    std::array<std::unique_ptr<CKindGrid>, 3> m_grids;
};
