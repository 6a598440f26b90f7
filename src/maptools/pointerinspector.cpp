#include "maptools/pointerinspector.h"

#include "document/binfile.h"
#include "document/recordindex.h"
#include "factions/factionsinfo.h"
#include "factions/sectorsize.h"
#include "mapview/map.h"
#include "mapview/viewport.h"
#include "session/campaignsession.h"
#include "session/recordindexer.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

template <typename Records>
bool PositionOf(const Records& records, int index, float& x, float& z)
{
    if (index < 0 || size_t(index) >= records.size())
        return false;
    x = records[size_t(index)].X;
    z = records[size_t(index)].Z;
    return true;
}

bool PositionOf(const CBINFile& document, RecordKind kind, int index, float& x, float& z)
{
    switch (kind) {
    case KeysiteKind: return PositionOf(document.Keysites(), index, x, z);
    case AirbaseKind: return PositionOf(document.Airbases(), index, x, z);
    case SamKind: return PositionOf(document.Sams(), index, x, z);
    }
    return false;
}

// floor(value / SectorSize), saturated far off the map.
int64_t SectorOf(float value)
{
    if (!std::isfinite(value))
        return 0;
    return int64_t(std::clamp(std::floor(double(value) / SectorSize), -2147483648.0, 2147483647.0));
}

} // namespace

std::vector<PointerRecord> SymbolsNear(const CRecordIndex& index, const CBINFile& document, const CViewport& view,
                                       const SymbolChoice& choice, int32_t column, int32_t row)
{
    std::vector<PointerRecord> found;
    if (!view.HasScale() || choice.Reach < 0)
        return found;
    RecordKinds kinds = 0;
    for (const RecordKind kind : {KeysiteKind, AirbaseKind, SamKind})
        if (choice.Pickable[size_t(kind)])
            kinds |= KindBit(kind);
    if (!kinds)
        return found;
    float cx = 0;
    float cz = 0;
    view.PixelToMap(column, row, cx, cz);
    // A symbol within reach lies at most reach + 1 pixels off along each axis (its pixel is
    // truncated): that square, with a little to spare for rounding, holds every candidate; the
    // exact test is the click's, in pixels, below.
    const double spanX = (double(choice.Reach) + 1.0) / std::fabs(double(view.ScaleX)) * 1.001 + 1.0;
    const double spanZ = (double(choice.Reach) + 1.0) / std::fabs(double(view.ScaleZ)) * 1.001 + 1.0;

    struct Candidate {
        PointerRecord Record;
        int64_t Distance;
    };
    std::vector<Candidate> candidates;
    for (const IndexedRecord& hit : index.InRectangle(cx - spanX, cz - spanZ, cx + spanX, cz + spanZ, kinds)) {
        float x = 0;
        float z = 0;
        if (!PositionOf(document, hit.Kind, hit.Index, x, z) || !view.IsOnMap(x, z)
            || (choice.Takes && !choice.Takes(hit.Kind, hit.Index)))
            continue;
        int32_t px = 0;
        int32_t py = 0;
        view.MapToPixel(x, z, px, py);
        const int64_t dx = int64_t(px) - column;
        const int64_t dy = int64_t(py) - row;
        if (std::llabs(dx) > choice.Reach || std::llabs(dy) > choice.Reach)
            continue;
        candidates.push_back({{hit.Kind, hit.Index}, dx * dx + dy * dy});
    }
    std::sort(candidates.begin(), candidates.end(), [](const Candidate& a, const Candidate& b) {
        if (a.Distance != b.Distance)
            return a.Distance < b.Distance;
        if (a.Record.Kind != b.Record.Kind)
            return a.Record.Kind > b.Record.Kind;
        return a.Record.Index > b.Record.Index;
    });
    found.reserve(candidates.size());
    for (const Candidate& candidate : candidates)
        found.push_back(candidate.Record);
    return found;
}

std::optional<float> TerrainHeightAt(const CMap& map, int32_t halfSectorsZ, float x, float z)
{
    if (!map.TerrainLoaded || !std::isfinite(x) || !std::isfinite(z))
        return std::nullopt;
    // Record Z counts down from the half sector count; the terrain's Z grows up the map.
    const double terrainX = x;
    const double terrainZ = double(halfSectorsZ) * SectorSize - double(z);
    // The heights picture shows the button face outside [0, extent): so does the read-out.
    if (terrainX < 0 || terrainZ < 0 || terrainX >= double(map.GetExtentX()) || terrainZ >= double(map.GetExtentZ()))
        return std::nullopt;
    const int32_t column = map.ColumnOf(float(terrainX));
    const int32_t row = map.RowOf(float(terrainZ));
    if (column < 0 || row < 0)
        return std::nullopt;
    return map.Sample(column, row);
}

CPointerInspector::CPointerInspector(CCampaignSession& session)
    : m_session(session), m_indexer(std::make_unique<CRecordIndexer>(session))
{
}

CPointerInspector::~CPointerInspector() = default;

PointerFacts CPointerInspector::Inspect(const CViewport& view, const CMap* map, const SymbolChoice& choice,
                                        int32_t column, int32_t row) const
{
    PointerFacts facts;
    view.PixelToMap(column, row, facts.X, facts.Z);
    facts.SectorColumn = SectorOf(facts.X);
    facts.SectorRow = SectorOf(facts.Z);
    if (const CFactionsInfo* factions = m_session.Factions()) {
        facts.HasFactions = true;
        if (facts.SectorColumn >= 0 && facts.SectorRow >= 0 && facts.SectorColumn < factions->Columns
            && facts.SectorRow < factions->Rows)
            facts.Faction = factions->GetFaction(int32_t(facts.SectorColumn), int32_t(facts.SectorRow));
    }
    if (map)
        facts.Height = TerrainHeightAt(*map, view.HalfSectorsZ, facts.X, facts.Z);
    facts.Records = SymbolsNear(m_indexer->Index(), m_session.Records(), view, choice, column, row);
    if (choice.Locked != std::array<bool, 3>{false, false, false}) {
        SymbolChoice locked = choice;
        locked.Pickable = choice.Locked;
        for (PointerRecord record : SymbolsNear(m_indexer->Index(), m_session.Records(), view, locked, column, row)) {
            record.Locked = true;
            facts.Records.push_back(record);
        }
    }
    return facts;
}
