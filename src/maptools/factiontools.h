#pragma once
// The faction tools of the map's tool bar: the brush, the fill and the picker. While the mouse is
// over the map each outlines the sectors a click would paint (the brush its square, the others
// the sector under the mouse).

#include "maptools/factionbrush.h"
#include "maptools/maptool.h"

#include <memory>
#include <optional>

class CFactionStroke;

// A rectangle of sectors of the faction grid, edges included.
struct SectorSquare {
    int32_t FirstColumn = 0;
    int32_t FirstRow = 0;
    int32_t LastColumn = -1;
    int32_t LastRow = -1;
    bool operator==(const SectorSquare&) const = default;
};

// The sectors a click at `pointer` would paint with the brush of `radius`; none when the clicked
// sector lies outside the grid, no faction layer is loaded or no map shown.
std::optional<SectorSquare> PaintedSquareAt(const MapToolContext& context, const MapPointer& pointer, int radius);

// The outline over the map, said to the map only when it changes.
class CSectorOutline {
public:
    void Show(const MapToolContext& context, std::optional<SectorSquare> square);
    void Hide(const MapToolContext& context) { Show(context, std::nullopt); }

private:
    std::optional<SectorSquare> m_shown;
};

// Brush: a press starts a stroke, every move paints the square of the sector radius around each
// sector the mouse passed over since the last one (so fast moves leave no gaps), and the release
// makes the stroke one edit ("Paint factions"). A sector is painted at most once per stroke, with
// the stroke's faction: the brush's, or for Toggle the opposite of the pressed sector's. Escape
// (Cancel) puts the layer back as it was before the stroke.
class CBrushTool : public CMapTool {
public:
    CBrushTool();
    ~CBrushTool() override;
    void Press(const MapToolContext& context, const MapPointer& pointer) override;
    void Move(const MapToolContext& context, const MapPointer& pointer) override;
    void Release(const MapToolContext& context, const MapPointer& pointer) override;
    void Cancel(const MapToolContext& context) override;
    void Leave(const MapToolContext& context) override;

    bool IsStroking() const { return m_stroke != nullptr; }

private:
    // Paints the squares around every sector from the last one painted to (column, row), in steps
    // of one sector across or down.
    void StrokeTo(int64_t column, int64_t row);
    void Stamp(int64_t column, int64_t row);

    std::unique_ptr<CFactionStroke> m_stroke;
    int m_radius = 0;
    int64_t m_column = 0; // the sector painted last
    int64_t m_row = 0;
    CSectorOutline m_outline;
};

// A tool whose click acts on the one sector under the mouse, outlined as the mouse moves.
class CSectorClickTool : public CMapTool {
public:
    void Move(const MapToolContext& context, const MapPointer& pointer) override;
    void Cancel(const MapToolContext& context) override { m_outline.Hide(context); }
    void Leave(const MapToolContext& context) override { m_outline.Hide(context); }

protected:
    CSectorOutline m_outline;
};

// Fill: a click gives the region of sectors connected by edges to the clicked one and holding its
// faction the brush's faction (Toggle: the opposite one), as one edit ("Fill factions").
class CFillTool : public CSectorClickTool {
public:
    void Press(const MapToolContext& context, const MapPointer& pointer) override;
};

// Picker: a click takes the faction of the sector under the mouse for the brush (PickBrush), which
// goes back to painting.
class CPickerTool : public CSectorClickTool {
public:
    void Press(const MapToolContext& context, const MapPointer& pointer) override;
};
