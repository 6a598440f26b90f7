#pragma once
// A faction edit made while the mouse paints: a brush stroke or a fill. The sectors are painted into
// the layer at once, so the map shows the stroke as it grows, and the stroke keeps what each one
// held before; pushed once it is finished it is one step of the history, whose undo puts back
// exactly what the stroke overwrote. Each sector is painted at most once per stroke.

#include "factions/factionpaint.h"

#include <QString>
#include <QUndoCommand>
#include <cstdint>
#include <vector>

class CCampaignSession;
class CFactionsInfo;

class CFactionStroke : public QUndoCommand {
public:
    // Paints the session's faction layer with `faction` (0, or 1 for any other value).
    CFactionStroke(CCampaignSession& session, int faction, const QString& text = QStringLiteral("Paint factions"));

    int Faction() const { return m_faction; }
    // The layer painted; another one loaded meanwhile means the stroke has nothing left to paint.
    const CFactionsInfo* Layer() const { return m_layer; }
    // Paints the sectors of the rectangle (edges included; clipped to the grid) that the stroke has
    // not painted yet and announces the changed ones; true when any changed.
    bool PaintSquare(int32_t firstColumn, int32_t firstRow, int32_t lastColumn, int32_t lastRow);
    // The same for a list of sectors, announced at once.
    bool PaintSectors(const std::vector<SectorAddress>& sectors);
    // No sector changed: the stroke is no step of the history.
    bool IsEmpty() const { return m_changes.empty(); }
    // Puts back every sector painted so far, without the history (a stroke cancelled).
    void Revert();

    void redo() override;
    void undo() override;

private:
    struct Change {
        int32_t Column;
        int32_t Row;
        unsigned char Before;
    };
    // Paints one sector; false when it was painted before, lies outside or already held the faction.
    bool PaintOne(CFactionsInfo& layer, int32_t column, int32_t row);
    // The sectors changed since `first` (an index into the changes), announced as one rectangle.
    void AnnounceSince(size_t first);
    void Restore();

    CCampaignSession& m_session;
    const CFactionsInfo* m_layer;
    int m_faction;
    std::vector<bool> m_painted; // by j * Columns + i: taken by the stroke, changed or not
    std::vector<Change> m_changes;
    bool m_done = true; // painted as it grew; the push's first redo finds it done
};
