#pragma once
// The map image: shows the composite picture unscaled from its top-left corner and reports the
// mouse in picture pixels, the coordinates the map view and the overlay work in.

#include <QLabel>
#include <QPoint>
#include <QPointF>
#include <QRect>

// The picture pixel under a widget position: the picture starts at the contents' top-left corner
// and is shown at `ratio` picture pixels per widget unit (the screen's device pixel ratio), so the
// pixel is the scaled offset rounded down (not toward zero, so that positions just left of or
// above the picture never land on its first column or row).
QPoint ImagePixelAt(QPointF position, const QRect& contents, qreal ratio = 1.0);

// A record coordinate as the read-out shows it: truncated toward zero, as a decimal integer;
// values beyond what a 32-bit integer holds show at its limits.
QString CoordinateText(float value);

// The navigation keys of the map.
enum class MapKey { Up, Down, Left, Right, ZoomIn, ZoomOut, Home };

class CMapImage : public QLabel {
    Q_OBJECT
public:
    explicit CMapImage(QWidget* parent = nullptr);

    // The angle one wheel notch turns; touchpads send parts of it, which add up.
    static constexpr int WheelNotch = 120;

    // The picture is drawn in the screen's own pixels: this many per widget unit, and so many in
    // all. Every pixel the signals report is a picture pixel.
    qreal PictureRatio() const { return devicePixelRatioF(); }
    QSize PictureSize() const;
    // Shows a picture of PictureSize() at the widget's size.
    void ShowPicture(const QImage& picture);

signals:
    void MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pixel);
    void MouseMove(Qt::KeyboardModifiers modifiers, QPoint pixel);
    // The mouse left the picture.
    void MouseLeft();
    void MouseUp(Qt::MouseButton button, QPoint pixel);
    // Whole notches turned over `pixel`: positive away from the user (zoom in).
    void WheelSteps(int steps, QPoint pixel);
    void Navigate(MapKey key);
    // Escape: a drag in progress ends without effect.
    void Cancelled();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    int m_wheelAngle = 0; // turned but not yet a whole notch
};
