// The tool behind each mode of the map's tool bar.
#include "maptools/factiontools.h"
#include "maptools/maptool.h"
#include "maptools/ruler.h"

std::unique_ptr<CMapTool> MakeModeTool(MapToolMode mode)
{
    switch (mode) {
    case MapToolMode::Select: return nullptr;
    case MapToolMode::Brush: return std::make_unique<CBrushTool>();
    case MapToolMode::Fill: return std::make_unique<CFillTool>();
    case MapToolMode::Picker: return std::make_unique<CPickerTool>();
    case MapToolMode::Ruler: return std::make_unique<CRulerTool>();
    }
    return nullptr;
}
