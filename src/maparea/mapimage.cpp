#include "maparea/mapimage.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPixmap>
#include <QSizePolicy>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <limits>

QPoint ImagePixelAt(QPointF position, const QRect& contents, qreal ratio)
{
    const double x = std::floor((position.x() - contents.left()) * ratio);
    const double y = std::floor((position.y() - contents.top()) * ratio);
    return QPoint(static_cast<int>(x), static_cast<int>(y));
}

QString CoordinateText(float value)
{
    double truncated = std::isnan(value) ? 0.0 : std::trunc(double(value));
    truncated =
        std::clamp(truncated, double(std::numeric_limits<int32_t>::min()), double(std::numeric_limits<int32_t>::max()));
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
    // In the Tab order, and a click gives it the keyboard.
    setFocusPolicy(Qt::StrongFocus);
}

void CMapImage::mousePressEvent(QMouseEvent* event)
{
    setFocus(Qt::MouseFocusReason);
    emit MouseDown(event->button(), event->modifiers(),
                   ImagePixelAt(event->position(), contentsRect(), PictureRatio()));
    event->accept();
}

void CMapImage::mouseMoveEvent(QMouseEvent* event)
{
    emit MouseMove(event->modifiers(), ImagePixelAt(event->position(), contentsRect(), PictureRatio()));
    QLabel::mouseMoveEvent(event);
}

void CMapImage::mouseReleaseEvent(QMouseEvent* event)
{
    emit MouseUp(event->button(), ImagePixelAt(event->position(), contentsRect(), PictureRatio()));
    event->accept();
}

void CMapImage::wheelEvent(QWheelEvent* event)
{
    // Turning back undoes what was turned without reaching a notch.
    m_wheelAngle += event->angleDelta().y();
    const int steps = m_wheelAngle / WheelNotch;
    m_wheelAngle -= steps * WheelNotch;
    if (steps != 0)
        emit WheelSteps(steps, ImagePixelAt(event->position(), contentsRect(), PictureRatio()));
    event->accept();
}

void CMapImage::keyPressEvent(QKeyEvent* event)
{
    MapKey key;
    if (event->matches(QKeySequence::ZoomIn) || event->key() == Qt::Key_Plus)
        key = MapKey::ZoomIn;
    else if (event->matches(QKeySequence::ZoomOut) || event->key() == Qt::Key_Minus)
        key = MapKey::ZoomOut;
    else if (event->key() == Qt::Key_Up)
        key = MapKey::Up;
    else if (event->key() == Qt::Key_Down)
        key = MapKey::Down;
    else if (event->key() == Qt::Key_Left)
        key = MapKey::Left;
    else if (event->key() == Qt::Key_Right)
        key = MapKey::Right;
    else if (event->key() == Qt::Key_Home)
        key = MapKey::Home;
    else if (event->key() == Qt::Key_Escape) {
        event->accept();
        emit Cancelled();
        return;
    } else {
        QLabel::keyPressEvent(event);
        return;
    }
    event->accept();
    emit Navigate(key);
}

void CMapImage::leaveEvent(QEvent* event)
{
    emit MouseLeft();
    QLabel::leaveEvent(event);
}

QSize CMapImage::PictureSize() const
{
    const qreal ratio = PictureRatio();
    return QSize(qRound(width() * ratio), qRound(height() * ratio));
}

void CMapImage::ShowPicture(const QImage& picture)
{
    QPixmap pixmap = QPixmap::fromImage(picture);
    pixmap.setDevicePixelRatio(PictureRatio());
    setPixmap(pixmap);
}
