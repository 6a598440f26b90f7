#pragma once
// The answers of the record index worked out by a plain pass over every record, to hold the
// index's answers against.

#include "document/binfile.h"
#include "document/recordindex.h"

#include <algorithm>
#include <cmath>

namespace indexscan {

template <typename Visit>
void EachRecord(const CBINFile& document, Visit visit)
{
    for (size_t i = 0; i < document.Keysites().size(); ++i)
        visit(KeysiteKind, int32_t(i), double(document.Keysites()[i].X), double(document.Keysites()[i].Z));
    for (size_t i = 0; i < document.Airbases().size(); ++i)
        visit(AirbaseKind, int32_t(i), double(document.Airbases()[i].X), double(document.Airbases()[i].Z));
    for (size_t i = 0; i < document.Sams().size(); ++i)
        visit(SamKind, int32_t(i), double(document.Sams()[i].X), double(document.Sams()[i].Z));
}

inline std::vector<IndexedRecord> InRectangle(const CBINFile& document, double left, double top, double right,
                                              double bottom, RecordKinds kinds = AllRecordKinds)
{
    std::vector<IndexedRecord> hits;
    EachRecord(document, [&](RecordKind kind, int32_t index, double x, double z) {
        if ((kinds & KindBit(kind)) && left <= x && x <= right && top <= z && z <= bottom)
            hits.push_back({kind, index, 0});
    });
    return hits;
}

inline std::vector<IndexedRecord> Near(const CBINFile& document, double x, double z, double radius,
                                       RecordKinds kinds = AllRecordKinds)
{
    std::vector<IndexedRecord> hits;
    EachRecord(document, [&](RecordKind kind, int32_t index, double rx, double rz) {
        const double distance = std::hypot(rx - x, rz - z);
        if ((kinds & KindBit(kind)) && distance <= radius)
            hits.push_back({kind, index, distance});
    });
    std::stable_sort(hits.begin(), hits.end(),
                     [](const IndexedRecord& a, const IndexedRecord& b) { return a.Distance < b.Distance; });
    return hits;
}

} // namespace indexscan
