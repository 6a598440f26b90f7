#include "overview/overviewpicture.h"

#include "factions/sectorsize.h"
#include "mapview/factionlayer.h"
#include "mapview/map.h"
#include "mapview/mapwindow.h"

#include <algorithm>

bool COverviewPicture::Update(const OverviewSource& source)
{
    if (source == m_source)
        return false;
    m_source = source;
    m_image = QImage();
    if (!source.Map || source.Size.isEmpty())
        return true;
    // A view of its own, fitted to the whole terrain at full detail, without route networks.
    CMapWindow frame(source.Map);
    frame.SetSize(source.Size.width(), source.Size.height());
    frame.ResetView();
    frame.SetResolution(1);
    frame.SetRouteLayers(false, false, false, false);
    if (frame.ViewRight == frame.ViewLeft || frame.ViewTop == frame.ViewBottom)
        return true;
    if (source.Factions)
        RenderFactions(*source.Factions, frame.Viewport(), m_image, source.Background);
    else
        frame.Render(m_image, QColor::fromRgb(source.Background));
    m_left = frame.ViewLeft;
    m_right = frame.ViewRight;
    m_bottom = frame.ViewBottom;
    m_top = frame.ViewTop;
    m_worldWidth = frame.WorldWidth;
    m_worldDepth = frame.WorldDepth;
    m_halfSectorsZ = frame.Viewport().HalfSectorsZ;
    return true;
}

QPointF COverviewPicture::PixelOf(double x, double z) const
{
    return {(x - m_left) * m_image.width() / (m_right - m_left), (m_top - z) * m_image.height() / (m_top - m_bottom)};
}

QRectF COverviewPicture::TerrainRect() const
{
    if (m_image.isNull())
        return {};
    return QRectF(PixelOf(0, m_worldDepth), PixelOf(m_worldWidth, 0));
}

QRectF COverviewPicture::ViewRect(const CMapWindow& view) const
{
    if (m_image.isNull())
        return {};
    return QRectF(PixelOf(view.ViewLeft, view.ViewTop), PixelOf(view.ViewRight, view.ViewBottom));
}

std::optional<RecordPoint> COverviewPicture::RecordAt(QPointF pixel) const
{
    if (m_image.isNull())
        return std::nullopt;
    const double x = std::clamp(m_left + pixel.x() * (m_right - m_left) / m_image.width(), 0.0, m_worldWidth);
    const double z = std::clamp(m_top - pixel.y() * (m_top - m_bottom) / m_image.height(), 0.0, m_worldDepth);
    return RecordPoint{float(x), float(double(m_halfSectorsZ) * SectorSize - z)};
}
