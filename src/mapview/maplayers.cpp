#include "mapview/maplayers.h"

#include "document/binfile.h"
#include "factions/factionsinfo.h"
#include "mapview/factionlayer.h"
#include "mapview/overlay.h"
#include "mapview/raster.h"
#include "mapview/sectoroutline.h"

#include <QPainter>
#include <cstring>

bool CMapLayers::ChangeMap(const QString& mapFolder, QSize imageSize, int resolution, QString* error)
{
    // Read the new package completely before giving up the current one.
    auto map = std::make_unique<CMap>();
    if (!map->Load(mapFolder, error))
        return false;
    UseMap(std::move(map), imageSize, resolution);
    return true;
}

void CMapLayers::UseMap(std::unique_ptr<CMap> map, QSize imageSize, int resolution)
{
    m_view.reset();
    m_map = std::move(map);
    m_view = std::make_unique<CMapWindow>(m_map.get());
    m_view->SetSize(imageSize.width(), imageSize.height());
    m_view->ResetView();
    m_view->SetResolution(resolution);
    m_options.Mode = MapMode::Heights;
    RedrawTerrain();
    RefreshMap();
}

CViewport CMapLayers::Viewport() const { return m_view ? m_view->Viewport() : CViewport(); }

void CMapLayers::SetSelection(RecordKind kind, std::vector<int> records)
{
    m_selection[size_t(kind)] = std::move(records);
}

void CMapLayers::SetMoveOffset(float dx, float dz)
{
    m_moveX = dx;
    m_moveZ = dz;
}

void CMapLayers::RedrawTerrain()
{
    if (!m_view)
        return;
    m_view->SetRouteLayers(m_options.Roads, m_options.Rivers, m_options.Utilities, m_options.Borders);
    // Factions mode draws the faction layer once one is loaded; until then, and in Heights mode,
    // the heights picture is drawn.
    if (m_options.Mode == MapMode::Factions && m_factions)
        RenderFactions(*m_factions, m_view->Viewport(), m_terrain, m_buttonFace.rgb());
    else
        m_view->Render(m_terrain, m_buttonFace);
    m_rendered = m_terrain;
    m_renderedWindow = CurrentWindow();
}

CMapLayers::ViewWindow CMapLayers::CurrentWindow() const
{
    return {m_view->ViewLeft, m_view->ViewRight,  m_view->ViewBottom,
            m_view->ViewTop,  m_view->PixelWidth, m_view->PixelHeight};
}

void CMapLayers::PreviewTerrain()
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
    if (m_terrain.size() != QSize(now.Width, now.Height) || m_terrain.format() != QImage::Format_RGB32
        || m_terrain.isDetached() == false)
        m_terrain = QImage(now.Width, now.Height, QImage::Format_RGB32);
    m_terrain.fill(m_buttonFace.rgb());
    QPainter painter(&m_terrain);
    painter.drawImage(target, m_rendered);
}

void CMapLayers::DrawRings(const CTarnConfig& symbology, const CViewport& view)
{
    const bool shown[3] = {m_options.Keysites, m_options.Airbases, m_options.Sams};
    for (const RecordKind kind : {KeysiteKind, AirbaseKind, SamKind}) {
        if (!shown[kind] || m_rings.Radii[kind].empty())
            continue;
        if (!m_rings.OnlySelected)
            DrawRangeRings(*m_document, symbology, view, m_composite, kind, m_rings.Radii[kind]);
        else if (!m_selection[size_t(kind)].empty())
            DrawRangeRings(*m_document, symbology, view, m_composite, kind, m_rings.Radii[kind],
                           &m_selection[size_t(kind)]);
    }
}

void CMapLayers::RefreshMap()
{
    if (!m_view)
        return;
    // The composite's own buffer is reused while its size holds: only the pixels are copied.
    if (!m_terrain.isNull() && m_composite.size() == m_terrain.size() && m_composite.format() == m_terrain.format()
        && m_composite.isDetached() && m_composite.bytesPerLine() == m_terrain.bytesPerLine())
        std::memcpy(m_composite.bits(), m_terrain.constBits(), size_t(m_terrain.sizeInBytes()));
    else
        m_composite = m_terrain.copy();
    if (!m_document || m_composite.isNull())
        return;
    CViewport view = m_view->Viewport();
    view.SymbolScale = m_options.SymbolScale;
    static const CTarnConfig defaults;
    const CTarnConfig& symbology = m_symbology ? *m_symbology : defaults;
    DrawRings(symbology, view);
    const bool shown[3] = {m_options.Keysites, m_options.Airbases, m_options.Sams};
    for (const RecordKind kind : {KeysiteKind, AirbaseKind, SamKind}) {
        if (!shown[kind])
            continue;
        if (m_filters[size_t(kind)])
            DrawAccepted(*m_document, symbology, view, m_composite, kind, m_filters[size_t(kind)]);
        else if (kind == KeysiteKind)
            DrawKeysites(*m_document, symbology, view, m_composite);
        else if (kind == AirbaseKind)
            DrawAirbases(*m_document, symbology, view, m_composite);
        else
            DrawSAMs(*m_document, symbology, view, m_composite);
    }
    if (m_options.Grid)
        DrawGrid(view, m_composite);
    const bool moving = m_moveX != 0 || m_moveZ != 0;
    for (const RecordKind kind : {KeysiteKind, AirbaseKind, SamKind}) {
        const std::vector<int>& selected = m_selection[size_t(kind)];
        if (selected.empty())
            continue;
        const bool held = m_held[size_t(kind)];
        if (moving && !held)
            DrawMoved(*m_document, symbology, view, m_composite, kind, selected, m_moveX, m_moveZ);
        DrawSelection(*m_document, symbology, view, m_composite, kind, selected, held ? 0 : m_moveX,
                      held ? 0 : m_moveZ);
    }
    if (!m_band.isEmpty()) {
        const QRect band = m_band.normalized();
        raster::DrawRectOutline(m_composite, band.left(), band.top(), int64_t(band.right()) + 1,
                                int64_t(band.bottom()) + 1, qRgb(0, 0, 0));
        raster::DrawRectOutline(m_composite, band.left() + 1, band.top() + 1, band.right(), band.bottom(),
                                qRgb(255, 255, 255));
    }
    if (!m_sectorOutline.isEmpty())
        DrawSectorOutline(view, m_composite, m_sectorOutline.left(), m_sectorOutline.top(), m_sectorOutline.right(),
                          m_sectorOutline.bottom());
    if (m_ruler)
        DrawRuler(view, m_composite, *m_ruler);
}
