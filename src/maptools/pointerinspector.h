#pragma once
// What lies under the mouse on the map, as plain values: the record position, the sector and its
// faction, the terrain height and the records whose symbols a click there would take. The records
// come from the session's spatial index, so a question costs the few cells around the mouse and
// never a pass over every record, however large the campaign.

#include "document/recordkind.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class CBINFile;
class CCampaignSession;
class CFactionsInfo;
class CMap;
class CRecordIndex;
class CRecordIndexer;
class CViewport;

// A keysite, airbase or SAM site under the mouse, by its list index.
struct PointerRecord {
    RecordKind Kind = KeysiteKind;
    int Index = -1;
    bool Locked = false; // of a kind drawn but locked: there, though the mouse does not take it
    bool operator==(const PointerRecord&) const = default;
};

// Which symbols the mouse may take: the kinds shown, the records a page's filter lets through (an
// empty test takes them all) and how far from a record's position, in picture pixels along each
// axis, its symbol reaches.
struct SymbolChoice {
    std::array<bool, 3> Pickable = {true, true, true};
    std::function<bool(RecordKind kind, int index)> Takes;
    int Reach = 6;
    // Kinds drawn but locked: their records under the mouse are listed after the ones the mouse
    // takes, marked, so that it is plain why a click passes over them.
    std::array<bool, 3> Locked = {false, false, false};
};

struct PointerFacts {
    float X = 0; // record coordinates
    float Z = 0;
    // The sector the grid lines frame around the point (floor of the position over the sector
    // size), which may lie off the faction grid.
    int64_t SectorColumn = 0;
    int64_t SectorRow = 0;
    bool HasFactions = false;           // a faction layer is loaded
    int Faction = -1;                   // the sector's: 0 or 1, or -1 off the grid
    std::optional<float> Height;        // none outside the terrain
    std::vector<PointerRecord> Records; // nearest first
};

// The records whose symbols are within reach of picture pixel (column, row), nearest first as a
// click measures it (pixels along both axes), so that the first is the one a click takes; at
// equal distance the record drawn last (later kind, then later index) comes first.
std::vector<PointerRecord> SymbolsNear(const CRecordIndex& index, const CBINFile& document, const CViewport& view,
                                       const SymbolChoice& choice, int32_t column, int32_t row);

// The terrain height at record position (x, z) as the heights picture samples it; none outside
// the terrain or without one. `halfSectorsZ` is the map's half sector count along Z.
std::optional<float> TerrainHeightAt(const CMap& map, int32_t halfSectorsZ, float x, float z);

// The facts at a picture pixel, with a spatial index of the session's records kept in step with it.
class CPointerInspector {
public:
    explicit CPointerInspector(CCampaignSession& session);
    ~CPointerInspector();
    CPointerInspector(const CPointerInspector&) = delete;
    CPointerInspector& operator=(const CPointerInspector&) = delete;

    // `map` may be null (no heights).
    PointerFacts Inspect(const CViewport& view, const CMap* map, const SymbolChoice& choice, int32_t column,
                         int32_t row) const;

private:
    CCampaignSession& m_session;
    std::unique_ptr<CRecordIndexer> m_indexer;
};
