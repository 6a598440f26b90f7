#include "mapview/mapcanvas.h"

#include "document/binfile.h"
#include "factions/factionsinfo.h"
#include "mapview/factionlayer.h"
#include "mapview/overlay.h"

#include <QPainter>
#include <cstring>

bool CMapCanvas::ChangeMap(const QString& mapFolder, QSize imageSize, int resolution, QString* error)
{
    // Read the new package completely before giving up the current one.
    auto map = std::make_unique<CMap>();
    if (!map->Load(mapFolder, error))
        return false;
    UseMap(std::move(map), imageSize, resolution);
    return true;
}

void CMapCanvas::UseMap(std::unique_ptr<CMap> map, QSize imageSize, int resolution)
{
    m_view.reset();
    m_map = std::move(map);
    m_view = std::make_unique<CMapWindow>(m_map.get());
    m_view->SetSize(imageSize.width(), imageSize.height());
    m_view->ResetView();
    m_view->SetResolution(resolution);
    Mode = MapMode::Heights;
    RedrawTerrain();
    RefreshMap();
}

void CMapCanvas::RedrawTerrain()
{
    if (!m_view)
        return;
    m_view->SetRouteLayers(ShowRoads, ShowRivers, ShowUtilities, ShowBorders);
    // Factions mode draws the faction layer once one is loaded; until then, and in Heights mode,
    // the heights picture is drawn.
    if (Mode == MapMode::Factions && Factions)
        RenderFactions(*Factions, m_view->Viewport(), TerrainBitmap, ButtonFace.rgb());
    else
        m_view->Render(TerrainBitmap, ButtonFace);
    m_rendered = TerrainBitmap;
    m_renderedWindow = CurrentWindow();
}

CMapCanvas::ViewWindow CMapCanvas::CurrentWindow() const
{
    return {m_view->ViewLeft, m_view->ViewRight,  m_view->ViewBottom,
            m_view->ViewTop,  m_view->PixelWidth, m_view->PixelHeight};
}

void CMapCanvas::PreviewTerrain()
{
    if (!m_view || m_rendered.isNull())
        return;
    const ViewWindow now = CurrentWindow();
    if (now == m_renderedWindow || now.Right == now.Left || now.Top == now.Bottom || now.Width <= 0 || now.Height <= 0)
        return;
    const ViewWindow& was = m_renderedWindow;
    // Where the rendered picture's view window lies in the current picture.
    const double sx = double(now.Width) / (double(now.Right) - now.Left);
    const double sz = double(now.Height) / (double(now.Top) - now.Bottom);
    const QRectF target((double(was.Left) - now.Left) * sx, (double(now.Top) - was.Top) * sz,
                        (double(was.Right) - was.Left) * sx, (double(was.Top) - was.Bottom) * sz);
    if (TerrainBitmap.size() != QSize(now.Width, now.Height) || TerrainBitmap.format() != QImage::Format_RGB32
        || TerrainBitmap.isDetached() == false)
        TerrainBitmap = QImage(now.Width, now.Height, QImage::Format_RGB32);
    TerrainBitmap.fill(ButtonFace.rgb());
    QPainter painter(&TerrainBitmap);
    painter.drawImage(target, m_rendered);
}

void CMapCanvas::RefreshMap()
{
    if (!m_view)
        return;
    // The composite's own buffer is reused while its size holds: only the pixels are copied.
    if (!TerrainBitmap.isNull() && CompositeBitmap.size() == TerrainBitmap.size()
        && CompositeBitmap.format() == TerrainBitmap.format() && CompositeBitmap.isDetached()
        && CompositeBitmap.bytesPerLine() == TerrainBitmap.bytesPerLine())
        std::memcpy(CompositeBitmap.bits(), TerrainBitmap.constBits(), size_t(TerrainBitmap.sizeInBytes()));
    else
        CompositeBitmap = TerrainBitmap.copy();
    if (!Document || CompositeBitmap.isNull())
        return;
    CViewport view = m_view->Viewport();
    view.SymbolScale = SymbolScale;
    static const CTarnConfig defaults;
    const CTarnConfig& symbology = Symbology ? *Symbology : defaults;
    if (ShowKeysites)
        DrawKeysites(*Document, symbology, view, CompositeBitmap);
    if (ShowAirbases)
        DrawAirbases(*Document, symbology, view, CompositeBitmap);
    if (ShowSAMs)
        DrawSAMs(*Document, symbology, view, CompositeBitmap);
    if (ShowGrid)
        DrawGrid(view, CompositeBitmap);
    if (SelectionFirst <= SelectionLast)
        DrawSelection(*Document, symbology, view, CompositeBitmap, SelectionKind, SelectionFirst, SelectionLast);
}
