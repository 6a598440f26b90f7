#pragma once
// The map image: shows the composite picture unscaled from its top-left corner and reports the
// mouse in picture pixels, the coordinates the map view and the overlay work in.

#include <QLabel>
#include <QPoint>
#include <QPointF>
#include <QRect>

// The picture pixel under a widget position: the picture starts at the contents' top-left corner
// and is shown one pixel per unit, so the pixel is the offset rounded down (not toward zero, so
// that positions just left of or above the picture never land on its first column or row).
QPoint ImagePixelAt(QPointF position, const QRect& contents);

// A record coordinate as the read-out shows it: truncated toward zero, as a decimal integer;
// values beyond what a 32-bit integer holds show at its limits.
QString CoordinateText(float value);

class CMapImage : public QLabel {
    Q_OBJECT
public:
    explicit CMapImage(QWidget* parent = nullptr);

signals:
    void MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pixel);
    void MouseMove(QPoint pixel);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
};
