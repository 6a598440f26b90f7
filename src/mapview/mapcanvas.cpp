#include "mapview/mapcanvas.h"

#include "document/binfile.h"
#include "factions/factionsinfo.h"
#include "mapview/overlay.h"

bool CMapCanvas::ChangeMap(const QString& mapFolder, QSize imageSize, int resolution, QString* error)
{
    // Read the new package completely before giving up the current one.
    auto map = std::make_unique<CMap>();
    if (!map->Load(mapFolder, error))
        return false;
    m_view.reset();
    m_map = std::move(map);
    m_view = std::make_unique<CMapWindow>(m_map.get());
    m_view->SetSize(imageSize.width(), imageSize.height());
    m_view->ResetView();
    m_view->SetResolution(resolution);
    Mode = MapMode::Heights;
    RedrawTerrain();
    RefreshMap();
    return true;
}

void CMapCanvas::RedrawTerrain()
{
    if (!m_view)
        return;
    m_view->SetRouteLayers(ShowRoads, ShowRivers, ShowUtilities, ShowBorders);
    // Factions mode draws the faction layer once one is loaded; until then, and in Heights mode,
    // the heights picture is drawn.
    if (Mode == MapMode::Factions && Factions) {
        int32_t left, bottom, right, top;
        int32_t pixelLeft, pixelTop, pixelRight, pixelBottom;
        m_view->GetMapRect(left, bottom, right, top);
        m_view->GetMapPixelRect(pixelLeft, pixelTop, pixelRight, pixelBottom);
        Factions->SetMapTransform(left, bottom, right, top, pixelLeft, pixelTop, pixelRight, pixelBottom, SectorSize,
                                  m_view->PixelWidth, m_view->PixelHeight);
        Factions->Render(TerrainBitmap, ButtonFace.rgb());
        return;
    }
    m_view->Render(TerrainBitmap, ButtonFace);
}

void CMapCanvas::RefreshMap()
{
    if (!m_view)
        return;
    CompositeBitmap = TerrainBitmap.copy();
    if (!Document || CompositeBitmap.isNull())
        return;
    int32_t left, bottom, right, top;
    int32_t pixelLeft, pixelTop, pixelRight, pixelBottom;
    int32_t halfX = 0;
    int32_t halfZ = 0;
    m_view->GetMapRect(left, bottom, right, top);
    m_view->GetMapPixelRect(pixelLeft, pixelTop, pixelRight, pixelBottom);
    m_map->GetHalfSectorCounts(halfX, halfZ);
    Document->SetMapTransform(left, bottom, right, top, pixelLeft, pixelTop, pixelRight, pixelBottom, halfX, halfZ,
                              SectorSize);
    if (ShowKeysites)
        DrawKeysites(*Document, CompositeBitmap);
    if (ShowAirbases)
        DrawAirbases(*Document, CompositeBitmap);
    if (ShowSAMs)
        DrawSAMs(*Document, CompositeBitmap);
    if (ShowGrid)
        DrawGrid(*Document, CompositeBitmap);
}
