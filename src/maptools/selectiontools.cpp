#include "maptools/selectiontools.h"

#include "document/recordlists.h"
#include "session/campaignsession.h"
#include "session/moveedit.h"

#include <algorithm>
#include <cstdlib>

std::optional<RecordHit> SymbolUnder(const MapToolContext& context, const MapPointer& pointer)
{
    if (!context.Session || !context.View)
        return std::nullopt;
    return SymbolAt(context.Session->Records(), context.Viewport(), context.Pickable, context.SymbolReach, pointer.X,
                    pointer.Y, context.Takes);
}

std::array<std::vector<int>, 3> UnlockedRecords(std::array<std::vector<int>, 3> selected,
                                                const std::array<bool, 3>& locked)
{
    for (size_t kind = 0; kind < selected.size(); ++kind)
        if (locked[kind])
            selected[kind].clear();
    return selected;
}

namespace {

bool IsSelected(const CCampaignSession& session, const RecordHit& hit)
{
    const std::vector<int> selected = session.SelectedRecords(ListOfKind(hit.Kind));
    return std::binary_search(selected.begin(), selected.end(), hit.Index);
}

// The record alone becomes the selection, and its page comes forward, as Ctrl+click does.
void SelectOnly(CCampaignSession& session, const RecordHit& hit)
{
    const RecordList list = ListOfKind(hit.Kind);
    session.ClearOtherPlacements(list);
    session.BringForward({ListAddress{list}, hit.Index, hit.Index});
}

bool Dragged(const MapToolContext& context, const MapPointer& from, const MapPointer& to)
{
    return std::abs(to.X - from.X) + std::abs(to.Y - from.Y) >= context.StartDragDistance;
}

} // namespace

bool CMoveTool::Begin(const MapToolContext& context, const MapPointer& pointer)
{
    m_hit = SymbolUnder(context, pointer);
    m_dragging = false;
    m_dx = m_dz = 0;
    if (!m_hit)
        return false;
    m_press = pointer;
    m_selectedByPress = !IsSelected(*context.Session, *m_hit);
    if (m_selectedByPress)
        SelectOnly(*context.Session, *m_hit);
    return true;
}

void CMoveTool::Move(const MapToolContext& context, const MapPointer& pointer)
{
    if (!m_hit || !context.View)
        return;
    if (!m_dragging && !Dragged(context, m_press, pointer))
        return;
    m_dragging = true;
    const CViewport view = context.Viewport();
    const RecordPoint from = PixelToRecord(view, m_press.X, m_press.Y);
    const RecordPoint to = PixelToRecord(view, pointer.X, pointer.Y);
    m_dx = to.X - from.X;
    m_dz = to.Z - from.Z;
    if (context.MovePreview)
        context.MovePreview(m_dx, m_dz);
}

void CMoveTool::Release(const MapToolContext& context, const MapPointer& pointer)
{
    if (!m_hit || pointer.Pressed != m_press.Pressed)
        return;
    const RecordHit hit = *m_hit;
    const bool dragged = m_dragging;
    m_hit.reset();
    m_dragging = false;
    if (context.MovePreview)
        context.MovePreview(0, 0);
    if (!context.Session)
        return;
    if (!dragged) {
        // A click on one of several selected records leaves it alone selected.
        if (!m_selectedByPress)
            SelectOnly(*context.Session, hit);
        return;
    }
    if (m_dx == 0 && m_dz == 0)
        return;
    // A selection made in the grids may hold records of a locked kind: they stay, the others move.
    auto* edit = new CMoveEdit(*context.Session, UnlockedRecords(context.Session->SelectedPlacements(), context.Locked),
                               m_dx, m_dz);
    if (edit->IsEmpty()) {
        delete edit;
        return;
    }
    context.Session->Push(CEditHistory::MapBin, edit);
}

void CMoveTool::Cancel(const MapToolContext& context)
{
    if (!m_hit)
        return;
    m_hit.reset();
    m_dragging = false;
    if (context.MovePreview)
        context.MovePreview(0, 0);
}

void CRubberBandTool::Begin(const MapToolContext& context, const MapPointer& pointer, bool add, CMapTool* click)
{
    m_add = add;
    m_click = click;
    Press(context, pointer);
}

void CRubberBandTool::Press(const MapToolContext& context, const MapPointer& pointer)
{
    m_pressed = context.View != nullptr;
    m_dragging = false;
    m_press = m_last = pointer;
}

void CRubberBandTool::Move(const MapToolContext& context, const MapPointer& pointer)
{
    if (!m_pressed)
        return;
    if (!m_dragging && !Dragged(context, m_press, pointer))
        return;
    m_dragging = true;
    m_last = pointer;
    if (context.BandPreview)
        context.BandPreview(m_press.X, m_press.Y, pointer.X, pointer.Y, true);
}

void CRubberBandTool::Release(const MapToolContext& context, const MapPointer& pointer)
{
    if (!m_pressed || pointer.Pressed != m_press.Pressed)
        return;
    m_pressed = false;
    if (!m_dragging) {
        if (m_click)
            m_click->Press(context, m_press);
        return;
    }
    m_dragging = false;
    if (context.BandPreview)
        context.BandPreview(0, 0, 0, 0, false);
    if (!context.Session || !context.View)
        return;
    const CCampaignSession::Placements inside =
        RecordsInRect(context.Session->Records(), context.Viewport(), context.Pickable, m_press.X, m_press.Y, pointer.X,
                      pointer.Y, context.Takes);
    context.Session->SelectPlacements(inside, m_add);
}

void CRubberBandTool::Cancel(const MapToolContext& context)
{
    if (!m_pressed)
        return;
    m_pressed = m_dragging = false;
    if (context.BandPreview)
        context.BandPreview(0, 0, 0, 0, false);
}

void CToggleTool::Press(const MapToolContext& context, const MapPointer& pointer)
{
    if (const std::optional<RecordHit> hit = SymbolUnder(context, pointer))
        context.Session->ToggleSelected(hit->Kind, hit->Index);
}
