#include "app/mapimage.h"

#include <QMouseEvent>
#include <algorithm>
#include <QSizePolicy>
#include <cmath>
#include <limits>

QPoint ImagePixelAt(QPointF position, const QRect& contents)
{
    const double x = std::floor(position.x()) - contents.left();
    const double y = std::floor(position.y()) - contents.top();
    return QPoint(static_cast<int>(x), static_cast<int>(y));
}

QString CoordinateText(float value)
{
    double truncated = std::isnan(value) ? 0.0 : std::trunc(double(value));
    truncated = std::clamp(truncated, double(std::numeric_limits<int32_t>::min()),
                           double(std::numeric_limits<int32_t>::max()));
    return QString::number(static_cast<int32_t>(truncated));
}

CMapImage::CMapImage(QWidget* parent) : QLabel(parent)
{
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setScaledContents(false);
    setMouseTracking(true);
    // The picture follows the panel's size, never the other way round, so a large picture must
    // not hold the window open.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    setMinimumSize(1, 1);
}

void CMapImage::mousePressEvent(QMouseEvent* event)
{
    emit MouseDown(event->button(), event->modifiers(), ImagePixelAt(event->position(), contentsRect()));
    event->accept();
}

void CMapImage::mouseMoveEvent(QMouseEvent* event)
{
    emit MouseMove(ImagePixelAt(event->position(), contentsRect()));
    QLabel::mouseMoveEvent(event);
}
