#pragma once
// The floor of the questions about records under the mouse: every record's index and position in
// fixed square buckets of 1,024 units over the demonstration map, built once (no edits followed),
// answering "within a radius of a point, nearest first" the way the record index does.

#include "document/binfile.h"
#include "document/recordindex.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace bench {

class CPlainBuckets {
public:
    explicit CPlainBuckets(const CBINFile& document)
    {
        m_buckets.resize(size_t(kSide) * kSide);
        const auto add = [this](RecordKind kind, const auto& list) {
            for (size_t i = 0; i < list.size(); ++i)
                m_buckets[Bucket(list[i].X, list[i].Z)].push_back({list[i].X, list[i].Z, kind, int32_t(i)});
        };
        add(KeysiteKind, document.Keysites());
        add(AirbaseKind, document.Airbases());
        add(SamKind, document.Sams());
    }
    std::vector<IndexedRecord> Near(double x, double z, double radius) const
    {
        std::vector<IndexedRecord> hits;
        const int c0 = Cell(x - radius), c1 = Cell(x + radius), r0 = Cell(z - radius), r1 = Cell(z + radius);
        for (int r = r0; r <= r1; ++r)
            for (int c = c0; c <= c1; ++c)
                for (const Entry& e : m_buckets[size_t(r) * kSide + size_t(c)]) {
                    const double d = std::hypot(e.X - x, e.Z - z);
                    if (d <= radius)
                        hits.push_back({e.Kind, e.Index, d});
                }
        std::sort(hits.begin(), hits.end(), [](const IndexedRecord& a, const IndexedRecord& b) {
            return a.Distance != b.Distance ? a.Distance < b.Distance
                : a.Kind != b.Kind          ? a.Kind < b.Kind
                                            : a.Index < b.Index;
        });
        return hits;
    }

private:
    static constexpr int kSide = 128;
    struct Entry {
        float X, Z;
        RecordKind Kind;
        int32_t Index;
    };
    static int Cell(double v) { return std::clamp(int(std::floor(v / 1024.0)), 0, kSide - 1); }
    static size_t Bucket(float x, float z) { return size_t(Cell(z)) * kSide + size_t(Cell(x)); }
    std::vector<std::vector<Entry>> m_buckets;
};

} // namespace bench
