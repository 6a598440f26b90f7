#include "session/factionstroke.h"

#include "factions/factionsinfo.h"
#include "session/campaignsession.h"

#include <algorithm>

CFactionStroke::CFactionStroke(CCampaignSession& session, int faction, const QString& text)
    : m_session(session), m_layer(session.Factions()), m_faction(faction != 0 ? 1 : 0)
{
    setText(text);
    if (m_layer)
        m_painted.resize(size_t(m_layer->Columns) * size_t(m_layer->Rows));
}

bool CFactionStroke::PaintOne(CFactionsInfo& layer, int32_t column, int32_t row)
{
    const int before = layer.GetFaction(column, row);
    if (before < 0)
        return false;
    const size_t at = size_t(row) * size_t(layer.Columns) + size_t(column);
    if (m_painted[at])
        return false;
    m_painted[at] = true;
    if (before == m_faction)
        return false;
    layer.SetFaction(m_faction, column, row);
    m_changes.push_back({column, row, static_cast<unsigned char>(before)});
    return true;
}

bool CFactionStroke::PaintSquare(int32_t firstColumn, int32_t firstRow, int32_t lastColumn, int32_t lastRow)
{
    CFactionsInfo* layer = m_session.MutableFactions();
    if (!layer || layer != m_layer || !m_done)
        return false;
    const size_t first = m_changes.size();
    firstColumn = std::max(firstColumn, 0);
    firstRow = std::max(firstRow, 0);
    lastColumn = std::min(lastColumn, layer->Columns - 1);
    lastRow = std::min(lastRow, layer->Rows - 1);
    for (int32_t j = firstRow; j <= lastRow; ++j) {
        for (int32_t i = firstColumn; i <= lastColumn; ++i)
            PaintOne(*layer, i, j);
    }
    AnnounceSince(first);
    return m_changes.size() > first;
}

bool CFactionStroke::PaintSectors(const std::vector<SectorAddress>& sectors)
{
    CFactionsInfo* layer = m_session.MutableFactions();
    if (!layer || layer != m_layer || !m_done)
        return false;
    const size_t first = m_changes.size();
    for (const SectorAddress& sector : sectors)
        PaintOne(*layer, sector.Column, sector.Row);
    AnnounceSince(first);
    return m_changes.size() > first;
}

void CFactionStroke::AnnounceSince(size_t first)
{
    if (first >= m_changes.size())
        return;
    int32_t left = m_changes[first].Column;
    int32_t right = left;
    int32_t top = m_changes[first].Row;
    int32_t bottom = top;
    for (size_t k = first + 1; k < m_changes.size(); ++k) {
        left = std::min(left, m_changes[k].Column);
        right = std::max(right, m_changes[k].Column);
        top = std::min(top, m_changes[k].Row);
        bottom = std::max(bottom, m_changes[k].Row);
    }
    m_session.AnnounceSectors(left, top, right, bottom);
}

void CFactionStroke::Restore()
{
    CFactionsInfo* layer = m_session.MutableFactions();
    if (!layer || layer != m_layer)
        return;
    for (const Change& change : m_changes)
        layer->SetFaction(change.Before, change.Column, change.Row);
    m_done = false;
    AnnounceSince(0);
}

void CFactionStroke::Revert()
{
    if (m_done)
        Restore();
}

void CFactionStroke::redo()
{
    CFactionsInfo* layer = m_session.MutableFactions();
    if (m_done || !layer || layer != m_layer)
        return;
    for (const Change& change : m_changes)
        layer->SetFaction(m_faction, change.Column, change.Row);
    m_done = true;
    AnnounceSince(0);
}

void CFactionStroke::undo() { Restore(); }
