#include "mapview/rulerdrawing.h"

#include "mapview/viewport.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {

// Picture pixel of a record position in double, truncated as the symbols' pixels are, so that an
// end snapped to a record lands on its symbol's centre; far positions keep their direction.
QPointF PixelOf(const CViewport& view, float x, float z)
{
    const double column = (double(x) - view.MapLeft) * double(view.ScaleX) + view.PixelLeft;
    const double row = (double(z) - view.RecordTop) * double(view.ScaleZ) + view.PixelTop;
    return {std::trunc(column), std::trunc(row)};
}

// Cuts the segment a-b to the rectangle; false when none of it lies inside (Liang-Barsky).
bool ClipToRect(QPointF& a, QPointF& b, const QRectF& rect)
{
    const double dx = b.x() - a.x();
    const double dy = b.y() - a.y();
    double t0 = 0.0;
    double t1 = 1.0;
    const auto edge = [&](double p, double q) {
        if (p == 0.0)
            return q >= 0.0;
        const double t = q / p;
        if (p < 0.0) {
            if (t > t1)
                return false;
            t0 = std::max(t0, t);
        } else {
            if (t < t0)
                return false;
            t1 = std::min(t1, t);
        }
        return true;
    };
    if (!edge(-dx, a.x() - rect.left()) || !edge(dx, rect.right() - a.x()) || !edge(-dy, a.y() - rect.top())
        || !edge(dy, rect.bottom() - a.y()))
        return false;
    const QPointF start = a;
    a = start + QPointF(dx * t0, dy * t0);
    b = start + QPointF(dx * t1, dy * t1);
    return true;
}

} // namespace

void DrawRuler(const CViewport& view, QImage& bitmap, const MapRuler& ruler)
{
    if (!view.HasScale() || bitmap.isNull())
        return;
    const double scale = std::max(1.0, view.SymbolScale);
    const int unit = std::max(1, int(std::lround(scale)));
    const QPointF from = PixelOf(view, ruler.FromX, ruler.FromZ);
    const QPointF to = PixelOf(view, ruler.ToX, ruler.ToZ);
    // A margin beyond the picture keeps the outline of lines along its edges whole.
    const double margin = 16.0 * scale;
    const QRectF reach(-margin, -margin, bitmap.width() + 2 * margin, bitmap.height() + 2 * margin);

    const QPointF along = to - from;
    const double length = std::hypot(along.x(), along.y());
    const QPointF direction = length >= 1.0 ? along / length : QPointF(1, 0);
    const QPointF across = QPointF(-direction.y(), direction.x()) * (6.0 * scale);

    QPainter painter(&bitmap);
    painter.setRenderHint(QPainter::Antialiasing, false);
    const auto stroke = [&](QColor colour, int width) {
        painter.setPen(QPen(colour, width, Qt::SolidLine, Qt::SquareCap));
        QPointF a = from;
        QPointF b = to;
        if (ClipToRect(a, b, reach))
            painter.drawLine(a, b);
        for (const QPointF& end : {from, to}) {
            if (reach.contains(end))
                painter.drawLine(end - across, end + across);
        }
    };
    stroke(Qt::black, 3 * unit);
    stroke(Qt::white, unit);

    if (ruler.Label.isEmpty() || !qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return;
    QFont font = painter.font();
    font.setPixelSize(std::max(9, int(std::lround(12.0 * scale))));
    painter.setFont(font);
    const QFontMetrics metrics(font);
    const int padding = 3 * unit;
    const int gap = 8 * unit;
    const int width = metrics.horizontalAdvance(ruler.Label) + 2 * padding;
    const int height = metrics.height() + 2 * padding;
    // Beyond the second end, on the side away from the line, inside the picture.
    const double endX = std::clamp(to.x(), -1.0e6, 1.0e6);
    const double endY = std::clamp(to.y(), -1.0e6, 1.0e6);
    double left = along.x() >= 0 ? endX + gap : endX - gap - width;
    double top = along.y() >= 0 ? endY + gap : endY - gap - height;
    left = std::clamp(left, 0.0, std::max(0.0, double(bitmap.width() - width)));
    top = std::clamp(top, 0.0, std::max(0.0, double(bitmap.height() - height)));
    const QRect box(int(left), int(top), width, height);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 200));
    painter.drawRect(box);
    painter.setPen(Qt::white);
    painter.drawText(box, Qt::AlignCenter, ruler.Label);
}
