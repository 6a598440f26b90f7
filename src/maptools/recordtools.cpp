#include "maptools/recordtools.h"

#include "document/binfile.h"
#include "document/recordlists.h"
#include "factions/factionpaint.h"
#include "maptools/mapgeometry.h"
#include "mapview/mapwindow.h"
#include "session/campaignsession.h"

namespace {

// The edit that moves record `index` to `to`; null when the list has no such record.
template <typename Record>
CRecordEdit* PlaceEdit(CCampaignSession& session, int index, RecordPoint to)
{
    const std::span<const Record> rows = session.Records().Rows<Record>();
    if (index < 0 || index >= int(rows.size()))
        return nullptr;
    Record moved = rows[size_t(index)];
    moved.X = to.X;
    moved.Z = to.Z;
    auto* edit = new CRecordEdit(session, QStringLiteral("Place ") + RecordNoun(ListOf<Record>));
    edit->Add(ReplaceRecord<Record>(index, moved));
    return edit;
}

} // namespace

void CPlaceTool::Press(const MapToolContext& context, const MapPointer& pointer)
{
    if (m_finished || pointer.Pressed == MapPointer::Middle)
        return;
    m_finished = true;
    // A kind locked meanwhile is not placed: the click only ends place mode.
    if (pointer.Pressed != MapPointer::Left || !context.Session || !context.View || context.Locked[size_t(m_kind)])
        return;
    const RecordPoint to = PixelToRecord(context.Viewport(), pointer.X, pointer.Y);
    CCampaignSession& session = *context.Session;
    CRecordEdit* edit = m_kind == KeysiteKind ? PlaceEdit<CKeysitePlacement>(session, m_index, to)
        : m_kind == AirbaseKind               ? PlaceEdit<CAirbasePlacement>(session, m_index, to)
                                              : PlaceEdit<CSAMPlacement>(session, m_index, to);
    if (edit)
        session.Push(CEditHistory::MapBin, edit);
}

void CSelectTool::Press(const MapToolContext& context, const MapPointer& pointer)
{
    if (pointer.Pressed != MapPointer::Left || !context.Session || !context.View)
        return;
    // The nearest record of a kind not locked: a locked one is passed over as if it were not there.
    const std::array<bool, 3> unlocked = {!context.Locked[0], !context.Locked[1], !context.Locked[2]};
    const std::optional<RecordHit> hit =
        RecordAt(context.Session->Records(), context.Viewport(), pointer.X, pointer.Y, unlocked);
    if (!hit)
        return;
    // The record alone is the selection: the map marks and moves every kind's.
    context.Session->ClearOtherPlacements(ListOfKind(hit->Kind));
    context.Session->BringForward({ListAddress{ListOfKind(hit->Kind)}, hit->Index, hit->Index});
}

void CFactionPaintTool::Press(const MapToolContext& context, const MapPointer& pointer)
{
    // Without a map on screen the pixel has no position, so there is nothing to paint.
    if (pointer.Pressed != MapPointer::Left || !context.Session || !context.View || !context.Session->Factions())
        return;
    const RecordPoint at = PixelToRecord(context.Viewport(), pointer.X, pointer.Y);
    const FactionPaintResult square = FactionSquareAt(*context.Session->Factions(), at.X, at.Z, context.SectorRadius);
    if (!square.Painted)
        return;
    context.Session->Push(CEditHistory::Factions,
                          new CFactionPaint(*context.Session, square.FirstColumn, square.FirstRow, square.LastColumn,
                                            square.LastRow, square.NewFaction));
}
