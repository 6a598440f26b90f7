#include "session/similarrecords.h"

#include <cmath>
#include <unordered_map>
#include <unordered_set>

namespace {

// The selected positions in square cells of the distance's size: a record has to look only at
// the nine cells around its own.
class CNearIndex {
public:
    explicit CNearIndex(double cell) : m_cell(cell) { }
    void Add(double x, double z) { m_cells[Key(Cell(x), Cell(z))].push_back({x, z}); }
    bool Near(double x, double z, double distance) const
    {
        const int64_t cx = Cell(x);
        const int64_t cz = Cell(z);
        const double limit = distance * distance;
        for (int64_t i = cx - 1; i <= cx + 1; ++i)
            for (int64_t j = cz - 1; j <= cz + 1; ++j) {
                const auto found = m_cells.find(Key(i, j));
                if (found == m_cells.end())
                    continue;
                for (const auto& [px, pz] : found->second)
                    if ((px - x) * (px - x) + (pz - z) * (pz - z) <= limit)
                        return true;
            }
        return false;
    }

private:
    int64_t Cell(double v) const { return int64_t(std::floor(v / m_cell)); }
    static uint64_t Key(int64_t i, int64_t j) { return (uint64_t(i) << 32) ^ (uint64_t(j) & 0xffffffffu); }

    double m_cell;
    std::unordered_map<uint64_t, std::vector<std::pair<double, double>>> m_cells;
};

} // namespace

CCampaignSession::Placements SimilarRecords(const CBINFile& document, const CCampaignSession::Placements& selected)
{
    CCampaignSession::Placements similar;
    std::unordered_set<int32_t> templates;
    for (const int i : selected[KeysiteKind])
        if (i >= 0 && i < document.KeysiteCount())
            templates.insert(document.Keysites()[size_t(i)].TemplateNumber);
    for (int i = 0; i < document.KeysiteCount(); ++i)
        if (templates.contains(document.Keysites()[size_t(i)].TemplateNumber))
            similar[KeysiteKind].push_back(i);

    std::unordered_set<int32_t> objects;
    for (const int i : selected[AirbaseKind])
        if (i >= 0 && i < document.AirbaseCount())
            objects.insert(document.Airbases()[size_t(i)].ObjectIndex);
    for (int i = 0; i < document.AirbaseCount(); ++i)
        if (objects.contains(document.Airbases()[size_t(i)].ObjectIndex))
            similar[AirbaseKind].push_back(i);

    if (!selected[SamKind].empty())
        for (int i = 0; i < document.SamCount(); ++i)
            similar[SamKind].push_back(i);
    return similar;
}

CCampaignSession::Placements RecordsWithin(const CBINFile& document, const CCampaignSession::Placements& selected,
                                           double distance, const std::array<bool, 3>& kinds)
{
    CCampaignSession::Placements within;
    if (!(distance >= 0) || !std::isfinite(distance))
        return within;
    // A cell no smaller than a unit keeps the cell numbers in range for any distance.
    CNearIndex index(std::max(distance, 1.0));
    const auto addSelected = [&](RecordKind kind, const auto& rows) {
        for (const int i : selected[size_t(kind)])
            if (i >= 0 && size_t(i) < rows.size() && std::isfinite(rows[size_t(i)].X)
                && std::isfinite(rows[size_t(i)].Z))
                index.Add(rows[size_t(i)].X, rows[size_t(i)].Z);
    };
    addSelected(KeysiteKind, document.Keysites());
    addSelected(AirbaseKind, document.Airbases());
    addSelected(SamKind, document.Sams());
    const auto collect = [&](RecordKind kind, const auto& rows) {
        if (!kinds[size_t(kind)])
            return;
        for (size_t i = 0; i < rows.size(); ++i)
            if (std::isfinite(rows[i].X) && std::isfinite(rows[i].Z) && index.Near(rows[i].X, rows[i].Z, distance))
                within[size_t(kind)].push_back(int(i));
    };
    collect(KeysiteKind, document.Keysites());
    collect(AirbaseKind, document.Airbases());
    collect(SamKind, document.Sams());
    return within;
}
