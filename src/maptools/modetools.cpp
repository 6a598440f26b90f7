// The tool behind each mode of the map's tool bar.
#include "maptools/maptool.h"
#include "maptools/ruler.h"

std::unique_ptr<CMapTool> MakeModeTool(MapToolMode mode)
{
    switch (mode) {
    case MapToolMode::Select: return nullptr;
    case MapToolMode::Brush: return nullptr;
    case MapToolMode::Fill: return nullptr;
    case MapToolMode::Picker: return nullptr;
    case MapToolMode::Ruler: return std::make_unique<CRulerTool>();
    }
    return nullptr;
}
