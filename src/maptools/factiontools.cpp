#include "maptools/factiontools.h"

#include "factions/factionpaint.h"
#include "factions/factionsinfo.h"
#include "maptools/mapgeometry.h"
#include "session/campaignsession.h"
#include "session/factionstroke.h"

#include <cstdlib>

namespace {

// The faction layer a tool can paint: loaded, with a map on screen to point at it.
const CFactionsInfo* PaintableLayer(const MapToolContext& context)
{
    return context.Session && context.View ? context.Session->Factions() : nullptr;
}

// Walks longer than this many sectors (a mouse far outside a huge view) jump to their end.
constexpr int64_t LongestWalk = int64_t(1) << 16;

} // namespace

std::optional<SectorSquare> PaintedSquareAt(const MapToolContext& context, const MapPointer& pointer, int radius)
{
    const CFactionsInfo* layer = PaintableLayer(context);
    if (!layer)
        return std::nullopt;
    const RecordPoint at = PixelToRecord(context.Viewport(), pointer.X, pointer.Y);
    const FactionPaintResult square = FactionSquareAt(*layer, at.X, at.Z, radius);
    if (!square.Painted || square.FirstColumn > square.LastColumn || square.FirstRow > square.LastRow)
        return std::nullopt;
    return SectorSquare{square.FirstColumn, square.FirstRow, square.LastColumn, square.LastRow};
}

void CSectorOutline::Show(const MapToolContext& context, std::optional<SectorSquare> square)
{
    if (square == m_shown)
        return;
    m_shown = square;
    if (!context.OutlinePreview)
        return;
    if (square)
        context.OutlinePreview(square->FirstColumn, square->FirstRow, square->LastColumn, square->LastRow, true);
    else
        context.OutlinePreview(0, 0, -1, -1, false);
}

// --- Brush -------------------------------------------------------------------------------------

CBrushTool::CBrushTool() = default;

CBrushTool::~CBrushTool() = default;

void CBrushTool::Press(const MapToolContext& context, const MapPointer& pointer)
{
    const CFactionsInfo* layer = PaintableLayer(context);
    if (pointer.Pressed != MapPointer::Left || m_stroke || !layer)
        return;
    const RecordPoint at = PixelToRecord(context.Viewport(), pointer.X, pointer.Y);
    int64_t column = 0;
    int64_t row = 0;
    if (!SectorOfPosition(at.X, at.Z, column, row))
        return;
    // As a click, a stroke begins on a sector of the grid: Toggle needs its faction.
    const int clicked = layer->GetFaction(int32_t(column), int32_t(row));
    if (clicked < 0)
        return;
    m_stroke = std::make_unique<CFactionStroke>(*context.Session, PaintedFaction(context.Brush, clicked));
    m_radius = std::max(context.SectorRadius, 0);
    m_column = column;
    m_row = row;
    Stamp(column, row);
}

void CBrushTool::Move(const MapToolContext& context, const MapPointer& pointer)
{
    if (m_stroke && (!context.Session || context.Session->Factions() != m_stroke->Layer()))
        m_stroke.reset(); // another layer was loaded: the stroke's is gone with its history
    m_outline.Show(context, PaintedSquareAt(context, pointer, m_stroke ? m_radius : context.SectorRadius));
    if (!m_stroke)
        return;
    const RecordPoint at = PixelToRecord(context.Viewport(), pointer.X, pointer.Y);
    int64_t column = 0;
    int64_t row = 0;
    if (SectorOfPosition(at.X, at.Z, column, row))
        StrokeTo(column, row);
}

void CBrushTool::StrokeTo(int64_t column, int64_t row)
{
    const int64_t across = std::llabs(column - m_column);
    const int64_t down = std::llabs(row - m_row);
    if (across + down > LongestWalk) {
        m_column = column;
        m_row = row;
        Stamp(column, row);
        return;
    }
    // One sector across or down at a time, whichever keeps closer to the straight line, so that
    // even a stroke of single sectors stays connected by edges.
    const int64_t stepColumn = column > m_column ? 1 : -1;
    const int64_t stepRow = row > m_row ? 1 : -1;
    for (int64_t i = 0, j = 0; i < across || j < down;) {
        if ((2 * i + 1) * down < (2 * j + 1) * across) {
            m_column += stepColumn;
            ++i;
        } else {
            m_row += stepRow;
            ++j;
        }
        Stamp(m_column, m_row);
    }
}

void CBrushTool::Stamp(int64_t column, int64_t row)
{
    // Only squares around a sector of the grid are painted, as a click paints them.
    const CFactionsInfo* layer = m_stroke->Layer();
    if (column < 0 || row < 0 || column >= layer->Columns || row >= layer->Rows)
        return;
    m_stroke->PaintSquare(int32_t(std::max<int64_t>(column - m_radius, 0)),
                          int32_t(std::max<int64_t>(row - m_radius, 0)),
                          int32_t(std::min<int64_t>(column + m_radius, layer->Columns - 1)),
                          int32_t(std::min<int64_t>(row + m_radius, layer->Rows - 1)));
}

void CBrushTool::Release(const MapToolContext& context, const MapPointer& pointer)
{
    if (pointer.Pressed != MapPointer::Left || !m_stroke)
        return;
    std::unique_ptr<CFactionStroke> stroke = std::move(m_stroke);
    if (stroke->IsEmpty() || !context.Session || context.Session->Factions() != stroke->Layer())
        return;
    context.Session->Push(CEditHistory::Factions, stroke.release());
}

void CBrushTool::Cancel(const MapToolContext& context)
{
    if (m_stroke && context.Session && context.Session->Factions() == m_stroke->Layer())
        m_stroke->Revert();
    m_stroke.reset();
    m_outline.Hide(context);
}

void CBrushTool::Leave(const MapToolContext& context) { m_outline.Hide(context); }

// --- Fill --------------------------------------------------------------------------------------

void CFillTool::Press(const MapToolContext& context, const MapPointer& pointer)
{
    const CFactionsInfo* layer = PaintableLayer(context);
    if (pointer.Pressed != MapPointer::Left || !layer)
        return;
    const RecordPoint at = PixelToRecord(context.Viewport(), pointer.X, pointer.Y);
    const std::vector<SectorAddress> region = FactionRegionAt(*layer, at.X, at.Z);
    if (region.empty())
        return;
    const int clicked = layer->GetFaction(region.front().Column, region.front().Row);
    const int faction = PaintedFaction(context.Brush, clicked);
    if (faction == clicked)
        return;
    auto stroke = std::make_unique<CFactionStroke>(*context.Session, faction, QStringLiteral("Fill factions"));
    if (stroke->PaintSectors(region))
        context.Session->Push(CEditHistory::Factions, stroke.release());
}

void CSectorClickTool::Move(const MapToolContext& context, const MapPointer& pointer)
{
    m_outline.Show(context, PaintedSquareAt(context, pointer, 0));
}

// --- Picker ------------------------------------------------------------------------------------

void CPickerTool::Press(const MapToolContext& context, const MapPointer& pointer)
{
    if (pointer.Pressed != MapPointer::Left || !context.PickBrush)
        return;
    if (const std::optional<SectorSquare> sector = PaintedSquareAt(context, pointer, 0)) {
        const int faction = context.Session->Factions()->GetFaction(sector->FirstColumn, sector->FirstRow);
        m_outline.Hide(context);
        context.PickBrush(BrushOfFaction(faction));
    }
}
