#include "document/recordindex.h"

#include "document/binfile.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

// Records per cell the grid is built for: a question near a point reads a few cells.
constexpr double kRecordsPerCell = 4.0;
constexpr int64_t kMostCells = int64_t(1) << 22;
// The share of positions at either end left out of the grid's box, so that a few records far
// away do not stretch every cell; they go to the edge cells, where they are still found.
constexpr double kOutlierShare = 0.001;
// A change of more rows than this share of the list rebuilds the grid rather than moving each.
constexpr int kRebuildShare = 8;

struct Position {
    float X = 0;
    float Z = 0;
};

std::optional<RecordKind> KindOfList(RecordList list)
{
    switch (list) {
    case RecordList::Keysites: return KeysiteKind;
    case RecordList::Airbases: return AirbaseKind;
    case RecordList::Sams: return SamKind;
    default: return std::nullopt;
    }
}

template <typename List>
Position At(const List& list, int index)
{
    return {list[size_t(index)].X, list[size_t(index)].Z};
}

Position PositionOf(const CBINFile& document, RecordKind kind, int index)
{
    switch (kind) {
    case KeysiteKind: return At(document.Keysites(), index);
    case AirbaseKind: return At(document.Airbases(), index);
    case SamKind: break;
    }
    return At(document.Sams(), index);
}

int CountOf(const CBINFile& document, RecordKind kind)
{
    switch (kind) {
    case KeysiteKind: return document.KeysiteCount();
    case AirbaseKind: return document.AirbaseCount();
    case SamKind: break;
    }
    return document.SamCount();
}

bool IsFinite(Position p) { return std::isfinite(p.X) && std::isfinite(p.Z); }

} // namespace

// The grid of one kind. Each cell owns a run of slots with room to spare, so that a record moves,
// comes or goes without shifting the others; a cell that runs out of room, or a change of many
// rows, makes the grid stale, to be built again at the next question. Slots hold the position and
// the record's index; the indices are shifted when rows are inserted or removed before them.
class CRecordIndex::CKindGrid {
public:
    CKindGrid(const CBINFile& document, RecordKind kind) : m_document(document), m_kind(kind) { }

    void MarkStale() { m_stale = true; }

    void Inserted(int first, int last)
    {
        if (m_stale)
            return;
        const int count = last - first + 1;
        const int before = int(m_cellOf.size());
        if (first < 0 || count <= 0 || first > before || count > std::max(before, 64)) {
            m_stale = true;
            return;
        }
        if (first < before)
            Shift(first, count);
        m_cellOf.insert(m_cellOf.begin() + first, size_t(count), -1);
        for (int row = first; row <= last && !m_stale; ++row)
            Place(row, PositionOf(m_document, m_kind, row));
    }

    void Removed(int first, int last)
    {
        if (m_stale)
            return;
        const int count = last - first + 1;
        const int before = int(m_cellOf.size());
        if (first < 0 || count <= 0 || last >= before) {
            m_stale = true;
            return;
        }
        for (int row = first; row <= last; ++row)
            Take(row);
        m_cellOf.erase(m_cellOf.begin() + first, m_cellOf.begin() + last + 1);
        if (first < int(m_cellOf.size()))
            Shift(last + 1, -count);
    }

    void Changed(int first, int last)
    {
        if (m_stale)
            return;
        const int rows = int(m_cellOf.size());
        if (first < 0 || last >= rows || (last - first + 1 > 64 && last - first + 1 > rows / kRebuildShare)) {
            m_stale = true;
            return;
        }
        for (int row = first; row <= last && !m_stale; ++row) {
            const Position p = PositionOf(m_document, m_kind, row);
            const int32_t cell = CellOf(p);
            const int32_t was = m_cellOf[size_t(row)];
            if (cell == was && cell >= 0) {
                const uint32_t slot = SlotOf(row, cell);
                m_x[slot] = p.X;
                m_z[slot] = p.Z;
                continue;
            }
            Take(row);
            Place(row, p);
        }
    }

    // Calls `visit(index, x, z)` for every record in the rectangle.
    template <typename Visitor>
    void Visit(double left, double top, double right, double bottom, Visitor visit)
    {
        if (m_stale)
            Build();
        // NaN bounds compare false: nothing is inside them.
        if (!(left <= right && top <= bottom) || m_slotCount == 0)
            return;
        const int32_t c0 = Column(left);
        const int32_t c1 = Column(right);
        const int32_t r0 = Row(top);
        const int32_t r1 = Row(bottom);
        for (int32_t r = r0; r <= r1; ++r) {
            for (int32_t c = c0; c <= c1; ++c) {
                const size_t cell = size_t(r) * size_t(m_columns) + size_t(c);
                const uint32_t end = m_start[cell] + m_used[cell];
                for (uint32_t s = m_start[cell]; s < end; ++s) {
                    const double x = m_x[s];
                    const double z = m_z[s];
                    if (left <= x && x <= right && top <= z && z <= bottom)
                        visit(m_index[s], x, z);
                }
            }
        }
    }

private:
    void Build()
    {
        m_stale = false;
        const int count = CountOf(m_document, m_kind);
        std::vector<Position> positions(static_cast<size_t>(count));
        std::vector<float> xs;
        std::vector<float> zs;
        xs.reserve(size_t(count));
        zs.reserve(size_t(count));
        for (int i = 0; i < count; ++i) {
            positions[size_t(i)] = PositionOf(m_document, m_kind, i);
            if (IsFinite(positions[size_t(i)])) {
                xs.push_back(positions[size_t(i)].X);
                zs.push_back(positions[size_t(i)].Z);
            }
        }
        ChooseCells(xs, zs);
        m_cellOf.assign(size_t(count), -1);
        const size_t cells = size_t(m_columns) * size_t(m_rows);
        std::vector<uint32_t> counts(cells, 0);
        for (int i = 0; i < count; ++i) {
            const int32_t cell = CellOf(positions[size_t(i)]);
            m_cellOf[size_t(i)] = cell;
            if (cell >= 0)
                ++counts[size_t(cell)];
        }
        // Room for a quarter more and two besides in every cell.
        m_start.assign(cells, 0);
        m_room.assign(cells, 0);
        m_used.assign(cells, 0);
        uint32_t next = 0;
        for (size_t cell = 0; cell < cells; ++cell) {
            m_start[cell] = next;
            m_room[cell] = counts[cell] + counts[cell] / 4 + 2;
            next += m_room[cell];
        }
        m_slotCount = next;
        m_x.assign(next, 0.0f);
        m_z.assign(next, 0.0f);
        m_index.assign(next, -1);
        for (int i = 0; i < count; ++i) {
            const int32_t cell = m_cellOf[size_t(i)];
            if (cell >= 0)
                Put(uint32_t(cell), i, positions[size_t(i)]);
        }
    }

    // The grid's box: the finite positions without the farthest few, cut into about one cell per
    // kRecordsPerCell records.
    void ChooseCells(std::vector<float>& xs, std::vector<float>& zs)
    {
        m_left = m_top = 0;
        m_columns = m_rows = 1;
        m_perUnitX = m_perUnitZ = 0;
        if (xs.empty())
            return;
        const auto bounds = [](std::vector<float>& values) {
            const size_t cut = size_t(double(values.size()) * kOutlierShare);
            std::nth_element(values.begin(), values.begin() + cut, values.end());
            const double low = values[cut];
            const size_t high = values.size() - 1 - cut;
            std::nth_element(values.begin(), values.begin() + high, values.end());
            return std::pair<double, double>(low, values[high]);
        };
        const auto [left, right] = bounds(xs);
        const auto [top, bottom] = bounds(zs);
        const double width = right - left;
        const double height = bottom - top;
        const double cells = std::clamp(double(xs.size()) / kRecordsPerCell, 1.0, double(kMostCells));
        // Square cells where the box has area; along a line when it has only length.
        double side = std::max(width, height) / cells;
        if (width > 0 && height > 0)
            side = std::max(std::sqrt(width * height / cells), std::max(width, height) / double(kMostCells));
        m_left = left;
        m_top = top;
        if (!(side > 0) || !std::isfinite(side))
            return;
        m_columns = int32_t(std::clamp(std::ceil(width / side), 1.0, double(kMostCells)));
        m_rows = int32_t(std::clamp(std::ceil(height / side), 1.0, double(kMostCells / m_columns)));
        m_perUnitX = 1.0 / side;
        m_perUnitZ = 1.0 / side;
    }

    int32_t Column(double x) const
    {
        const double c = std::floor((x - m_left) * m_perUnitX);
        return c >= double(m_columns - 1) ? m_columns - 1 : c > 0 ? int32_t(c) : 0;
    }
    int32_t Row(double z) const
    {
        const double r = std::floor((z - m_top) * m_perUnitZ);
        return r >= double(m_rows - 1) ? m_rows - 1 : r > 0 ? int32_t(r) : 0;
    }
    int32_t CellOf(Position p) const
    {
        if (!IsFinite(p))
            return -1;
        return Row(p.Z) * m_columns + Column(p.X);
    }

    void Put(uint32_t cell, int index, Position p)
    {
        const uint32_t slot = m_start[cell] + m_used[cell]++;
        m_x[slot] = p.X;
        m_z[slot] = p.Z;
        m_index[slot] = index;
    }

    // Enters row `row` (whose cell is not yet noted) at `p`; a full cell makes the grid stale.
    void Place(int row, Position p)
    {
        const int32_t cell = CellOf(p);
        m_cellOf[size_t(row)] = cell;
        if (cell < 0)
            return;
        if (m_used[size_t(cell)] == m_room[size_t(cell)]) {
            m_stale = true;
            return;
        }
        Put(uint32_t(cell), row, p);
    }

    uint32_t SlotOf(int row, int32_t cell) const
    {
        const uint32_t end = m_start[size_t(cell)] + m_used[size_t(cell)];
        uint32_t slot = m_start[size_t(cell)];
        while (slot < end && m_index[slot] != row)
            ++slot;
        return slot;
    }

    // Takes row `row` out of its cell: the cell's last slot moves into its place.
    void Take(int row)
    {
        const int32_t cell = m_cellOf[size_t(row)];
        m_cellOf[size_t(row)] = -1;
        if (cell < 0)
            return;
        const uint32_t slot = SlotOf(row, cell);
        const uint32_t last = m_start[size_t(cell)] + --m_used[size_t(cell)];
        m_x[slot] = m_x[last];
        m_z[slot] = m_z[last];
        m_index[slot] = m_index[last];
        m_index[last] = -1;
    }

    // Rows from `from` on moved by `step`.
    void Shift(int from, int step)
    {
        for (int32_t& index : m_index)
            index += index >= from ? step : 0;
    }

    const CBINFile& m_document;
    RecordKind m_kind;
    bool m_stale = true;

    double m_left = 0;
    double m_top = 0;
    double m_perUnitX = 0;
    double m_perUnitZ = 0;
    int32_t m_columns = 1;
    int32_t m_rows = 1;
    std::vector<uint32_t> m_start; // per cell: its first slot, its room and the slots it uses
    std::vector<uint32_t> m_room;
    std::vector<uint32_t> m_used;
    uint32_t m_slotCount = 0;
    std::vector<float> m_x; // per slot; a free slot's index is -1
    std::vector<float> m_z;
    std::vector<int32_t> m_index;
    std::vector<int32_t> m_cellOf; // per record: its cell, -1 without a finite position
};

CRecordIndex::CRecordIndex(const CBINFile& document) : m_document(document)
{
    for (const RecordKind kind : {KeysiteKind, AirbaseKind, SamKind})
        m_grids[kind] = std::make_unique<CKindGrid>(document, kind);
}

CRecordIndex::~CRecordIndex() = default;

CRecordIndex::CKindGrid& CRecordIndex::Grid(RecordKind kind) const { return *m_grids[kind]; }

void CRecordIndex::RowsInserted(ListAddress list, int first, int last)
{
    if (const auto kind = KindOfList(list.List))
        Grid(*kind).Inserted(first, last);
}

void CRecordIndex::RowsRemoved(ListAddress list, int first, int last)
{
    if (const auto kind = KindOfList(list.List))
        Grid(*kind).Removed(first, last);
}

void CRecordIndex::RowsChanged(ListAddress list, int first, int last)
{
    if (const auto kind = KindOfList(list.List))
        Grid(*kind).Changed(first, last);
}

void CRecordIndex::Reset()
{
    for (const auto& grid : m_grids)
        grid->MarkStale();
}

std::vector<IndexedRecord> CRecordIndex::InRectangle(double left, double top, double right, double bottom,
                                                     RecordKinds kinds) const
{
    std::vector<IndexedRecord> hits;
    for (const RecordKind kind : {KeysiteKind, AirbaseKind, SamKind}) {
        if (!(kinds & KindBit(kind)))
            continue;
        const size_t from = hits.size();
        Grid(kind).Visit(left, top, right, bottom, [&](int32_t index, double, double) {
            hits.push_back({kind, index, 0});
        });
        std::sort(hits.begin() + std::ptrdiff_t(from), hits.end(),
                  [](const IndexedRecord& a, const IndexedRecord& b) { return a.Index < b.Index; });
    }
    return hits;
}

std::vector<IndexedRecord> CRecordIndex::Near(double x, double z, double radius, RecordKinds kinds) const
{
    std::vector<IndexedRecord> hits;
    if (!(radius >= 0) || !std::isfinite(x) || !std::isfinite(z))
        return hits;
    for (const RecordKind kind : {KeysiteKind, AirbaseKind, SamKind}) {
        if (!(kinds & KindBit(kind)))
            continue;
        Grid(kind).Visit(x - radius, z - radius, x + radius, z + radius, [&](int32_t index, double rx, double rz) {
            const double distance = std::hypot(rx - x, rz - z);
            if (distance <= radius)
                hits.push_back({kind, index, distance});
        });
    }
    std::sort(hits.begin(), hits.end(), [](const IndexedRecord& a, const IndexedRecord& b) {
        if (a.Distance != b.Distance)
            return a.Distance < b.Distance;
        return a.Kind != b.Kind ? a.Kind < b.Kind : a.Index < b.Index;
    });
    return hits;
}
