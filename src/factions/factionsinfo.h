#pragma once
// One loaded faction assignment: the layered image document it came from and the faction grid
// extracted from its Background layer (one pixel per sector: the first channel above 127 is
// faction 1, drawn red; otherwise faction 0, drawn blue). Saving writes the document back with
// only the first and third channels of the Background layer rebuilt from the grid.
//
// Faction coordinates: X as on the terrain; Z = Rows * sector size - terrain Z, so row 0 is the
// top of the map as in the image.

#include "factions/layereddocument.h"

#include <QString>
#include <cstdint>
#include <vector>

class CFactionsInfo {
public:
    int32_t Columns = 0;
    int32_t Rows = 0;

    // Largest Background layer accepted, in pixels per side (the format's own limit) and in all.
    static constexpr int32_t MaxSide = 30000;
    static constexpr int64_t MaxSectors = int64_t(1) << 26;

    // ReadDocument, then ExtractFactions. On failure (running out of memory included) the object is
    // left as it was.
    bool LoadFromFile(const QString& fileName, QString* reason = nullptr);
    // StoreFactions, then WriteDocument (atomically). A document without a Background layer is
    // written back unchanged. Fails when nothing was ever loaded.
    bool SaveToFile(const QString& fileName, QString* reason = nullptr);
    // Builds the grid from the Background layer of Document(). Fails, changing nothing, when there
    // is no such layer or it cannot hold a faction grid (fewer than three channels, an empty or
    // oversized rectangle, damaged channel data).
    bool ExtractFactions(QString* reason = nullptr);
    // Replaces the first and third channels of the Background layer by the packed grid and
    // recomputes the section lengths; false (nothing changed) without a Background layer.
    bool StoreFactions();

    // 0 or 1, or -1 outside the grid.
    int GetFaction(int32_t column, int32_t row) const;
    // Outside the grid: false and nothing changes; inside: 1 for any non-zero value, else 0.
    bool SetFaction(int value, int32_t column, int32_t row);

    // The factions of grid row `row` (0 <= row < Rows), one byte per column.
    const unsigned char* RowFactions(int32_t row) const { return m_factions.data() + size_t(row) * size_t(Columns); }

    bool HasDocument() const { return m_loaded; }
    const CLayeredDocument& Document() const { return m_document; }
    CLayeredDocument& Document() { return m_document; }

private:
    bool Load(const QString& fileName, QString* reason);
    bool Extract(QString* reason);

    // Row by row, as the image stores it: sector (i, j) at j * Columns + i.
    std::vector<unsigned char> m_factions;
    CLayeredDocument m_document;
    bool m_loaded = false;
};
