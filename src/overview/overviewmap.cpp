#include "overview/overviewmap.h"

#include "maparea/maparea.h"
#include "mapview/map.h"
#include "mapview/mapwindow.h"
#include "session/campaignsession.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {

// The view's rectangle: yellow stands out on the grey heights, the sea and both factions; the dark
// edge keeps it seen on white peaks.
const QColor kViewColour(255, 214, 0);
const QColor kViewEdge(0, 0, 0, 160);
// However far the view is zoomed in, its rectangle stays this wide and deep to be found.
constexpr qreal kSmallestRect = 5;

} // namespace

COverviewMap::COverviewMap(CMapArea& mapArea, CCampaignSession& session, QWidget* parent)
    : QWidget(parent), m_mapArea(mapArea), m_session(session)
{
    setObjectName(QStringLiteral("imOverview"));
    setMinimumSize(100, 60);
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
    setCursor(Qt::PointingHandCursor);
    setToolTip(QStringLiteral("Overview: click or drag to move the map's view"));
    setStatusTip(QStringLiteral("Click or drag in the overview to centre the map there, at the same zoom"));
    // The rectangle follows the view; the picture follows the map, its mode and painted sectors
    // (rendered again at the next paint, and only when what it shows changed).
    connect(&m_mapArea, &CMapArea::ViewChanged, this, qOverload<>(&QWidget::update));
    connect(&m_mapArea, &CMapArea::TerrainRedrawn, this, &COverviewMap::TerrainRedrawn);
    connect(&m_session, &CCampaignSession::SectorsChanged, this, &COverviewMap::FactionsChanged);
    connect(&m_session, &CCampaignSession::FileChanged, this, [this](CEditHistory::Document document) {
        if (document == CEditHistory::Factions)
            FactionsChanged();
    });
}

void COverviewMap::TerrainRedrawn()
{
    // Another map may have other proportions: the widget's height follows its width.
    const CMapWindow* view = m_mapArea.View();
    const QSize extent = view ? QSize(view->WorldWidth, view->WorldDepth) : QSize();
    if (extent != m_extent) {
        m_extent = extent;
        updateGeometry();
    }
    update();
}

void COverviewMap::FactionsChanged()
{
    ++m_factionEdits;
    update();
}

int COverviewMap::heightForWidth(int width) const
{
    const CMapWindow* view = m_mapArea.View();
    if (!view || view->WorldWidth <= 0 || view->WorldDepth <= 0)
        return width * 3 / 4;
    // A terrain far deeper than wide must not push everything else off the dock.
    return int(std::lround(double(width) * std::clamp(double(view->WorldDepth) / view->WorldWidth, 0.25, 2.0)));
}

QSize COverviewMap::sizeHint() const { return {200, heightForWidth(200)}; }

void COverviewMap::UpdatePicture()
{
    OverviewSource source;
    if (const CMapWindow* view = m_mapArea.View()) {
        source.Map = view->Map;
        source.MapFolder = m_mapArea.MapFolder();
        // Factions mode shows the faction layer once there is one, as the map does.
        if (m_mapArea.State().Factions && m_session.Factions()) {
            source.Factions = m_session.Factions();
            source.FactionEdits = m_factionEdits;
        }
        const qreal ratio = devicePixelRatioF();
        source.Size = QSize(int(std::lround(width() * ratio)), int(std::lround(height() * ratio)));
        source.Background = palette().color(QPalette::Button).rgb();
    }
    m_picture.Update(source);
}

void COverviewMap::paintEvent(QPaintEvent*)
{
    UpdatePicture();
    QPainter painter(this);
    const CMapWindow* view = m_mapArea.View();
    if (m_picture.IsEmpty() || !view) {
        painter.fillRect(rect(), palette().color(QPalette::Button));
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(rect().adjusted(6, 6, -6, -6), Qt::AlignCenter | Qt::TextWordWrap,
                         QStringLiteral("No map chosen.\nChoose one with\nOptions > Change map."));
        return;
    }
    const qreal ratio = devicePixelRatioF();
    QImage picture = m_picture.Image();
    picture.setDevicePixelRatio(ratio);
    painter.drawImage(QPointF(0, 0), picture);

    const QRectF pixels = m_picture.ViewRect(*view);
    QRectF shown(pixels.topLeft() / ratio, pixels.bottomRight() / ratio);
    shown = shown.normalized();
    if (shown.width() < kSmallestRect || shown.height() < kSmallestRect) {
        const QPointF centre = shown.center();
        shown.setSize(shown.size().expandedTo(QSizeF(kSmallestRect, kSmallestRect)));
        shown.moveCenter(centre);
    }
    // A view reaching past the picture (the whole map in a wide window) shows the part over it,
    // its outline along the picture's edges.
    shown = shown.intersected(QRectF(rect()));
    if (shown.isEmpty())
        return;
    // Whole pixels, so that the outline is crisp (a pen of one pixel draws a rectangle's right
    // and bottom edges one pixel beyond it).
    const int left = int(std::floor(shown.left()));
    const int top = int(std::floor(shown.top()));
    const QRect outline(left, top, int(std::ceil(shown.right())) - 1 - left, int(std::ceil(shown.bottom())) - 1 - top);
    painter.setPen(QPen(kViewEdge, 1));
    painter.drawRect(outline.adjusted(-1, -1, 1, 1));
    painter.drawRect(outline.adjusted(2, 2, -2, -2));
    painter.setPen(QPen(kViewColour, 1));
    painter.drawRect(outline);
    painter.drawRect(outline.adjusted(1, 1, -1, -1));
}

void COverviewMap::CentreOn(QPointF position, bool following)
{
    UpdatePicture();
    if (const auto at = m_picture.RecordAt(position * devicePixelRatioF()))
        m_mapArea.CentreViewOn(*at, following);
}

void COverviewMap::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    m_dragging = true;
    CentreOn(event->position(), true);
}

void COverviewMap::mouseMoveEvent(QMouseEvent* event)
{
    if (m_dragging && event->buttons().testFlag(Qt::LeftButton))
        CentreOn(event->position(), true);
}

void COverviewMap::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_dragging)
        return QWidget::mouseReleaseEvent(event);
    m_dragging = false;
    // Where the hand let go the terrain is rendered at once.
    CentreOn(event->position(), false);
}
