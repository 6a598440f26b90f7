#include "maparea/mapcontrolcolumn.h"

#include <QCheckBox>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QToolButton>

namespace {

enum class Glyph { Up, Down, Left, Right, Centre, ZoomIn, ZoomOut };

// Glyphs drawn at run time, each with a greyed form for the disabled button.
QPixmap DrawGlyph(Glyph glyph, const QColor& ink)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink);
    QPainterPath path;
    switch (glyph) {
    case Glyph::Up: path.addPolygon(QPolygonF({QPointF(8, 3), QPointF(14, 11), QPointF(2, 11)})); break;
    case Glyph::Down: path.addPolygon(QPolygonF({QPointF(2, 5), QPointF(14, 5), QPointF(8, 13)})); break;
    case Glyph::Left: path.addPolygon(QPolygonF({QPointF(3, 8), QPointF(11, 2), QPointF(11, 14)})); break;
    case Glyph::Right: path.addPolygon(QPolygonF({QPointF(5, 2), QPointF(13, 8), QPointF(5, 14)})); break;
    case Glyph::Centre:
        path.addEllipse(QPointF(8, 8), 3.5, 3.5);
        painter.setPen(QPen(ink, 1.2));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(QPointF(8, 8), 6.5, 6.5);
        painter.setPen(Qt::NoPen);
        painter.setBrush(ink);
        break;
    case Glyph::ZoomIn:
    case Glyph::ZoomOut: {
        painter.setPen(QPen(ink, 1.6));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(QPointF(6.5, 6.5), 4.8, 4.8);
        painter.setPen(QPen(ink, 2.4, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(10.2, 10.2), QPointF(14.5, 14.5));
        painter.setPen(QPen(ink, 1.4));
        painter.drawLine(QPointF(4, 6.5), QPointF(9, 6.5));
        if (glyph == Glyph::ZoomIn)
            painter.drawLine(QPointF(6.5, 4), QPointF(6.5, 9));
        break;
    }
    }
    painter.drawPath(path);
    return pixmap;
}

QToolButton* SpeedButton(QWidget* parent, Glyph glyph, const QString& tip, int left, int top)
{
    auto* button = new QToolButton(parent);
    QIcon icon;
    icon.addPixmap(DrawGlyph(glyph, QColor(32, 32, 32)), QIcon::Normal);
    icon.addPixmap(DrawGlyph(glyph, QColor(160, 160, 160)), QIcon::Disabled);
    button->setIcon(icon);
    button->setIconSize(QSize(14, 14));
    button->setToolTip(tip);
    button->setAutoRaise(false);
    button->setFocusPolicy(Qt::NoFocus);
    button->setGeometry(left, top, 23, 22);
    return button;
}

QCheckBox* CheckBox(QWidget* parent, const QString& caption, int left, int top, int height)
{
    auto* box = new QCheckBox(caption, parent);
    box->setGeometry(left, top, 78, height);
    return box;
}

QLabel* Label(QWidget* parent, const QString& caption, int left, int top, int width)
{
    auto* label = new QLabel(caption, parent);
    label->setGeometry(left, top, width, 13);
    return label;
}

} // namespace

CMapControlColumn::CMapControlColumn(QWidget* parent) : QWidget(parent)
{
    setFixedWidth(90);
    setMinimumHeight(340);

    spMapUp = SpeedButton(this, Glyph::Up, QStringLiteral("Pan up"), 33, 6);
    spMapLeft = SpeedButton(this, Glyph::Left, QStringLiteral("Pan left"), 9, 30);
    spMapDefault = SpeedButton(this, Glyph::Centre, QStringLiteral("Whole map"), 33, 30);
    spMapRight = SpeedButton(this, Glyph::Right, QStringLiteral("Pan right"), 57, 30);
    spMapDown = SpeedButton(this, Glyph::Down, QStringLiteral("Pan down"), 33, 54);
    spMapZoomIn = SpeedButton(this, Glyph::ZoomIn, QStringLiteral("Zoom in"), 17, 86);
    spMapZoomOut = SpeedButton(this, Glyph::ZoomOut, QStringLiteral("Zoom out"), 49, 86);

    tbResolution = new QSlider(Qt::Horizontal, this);
    tbResolution->setRange(1, 10);
    tbResolution->setValue(4);
    tbResolution->setSingleStep(1);
    tbResolution->setPageStep(1);
    tbResolution->setTickInterval(1);
    tbResolution->setTickPosition(QSlider::TicksBelow);
    tbResolution->setToolTip(QStringLiteral("Resolution"));
    tbResolution->setGeometry(9, 118, 73, 17);

    pnlMapMode = new QWidget(this);
    pnlMapMode->setGeometry(1, 139, 87, 36);
    rbMapModeHeights = new QRadioButton(QStringLiteral("Heights"), pnlMapMode);
    rbMapModeHeights->setGeometry(8, 2, 78, 16);
    rbMapModeHeights->setChecked(true);
    rbMapModeFactions = new QRadioButton(QStringLiteral("Factions"), pnlMapMode);
    rbMapModeFactions->setGeometry(8, 18, 78, 16);

    chbGrid = CheckBox(this, QStringLiteral("Grid"), 9, 172, 16);
    Label3 = Label(this, QStringLiteral("Sectors"), 4, 192, 42);
    seSectors = new QSpinBox(this);
    seSectors->setRange(0, 99);
    seSectors->setSingleStep(1);
    seSectors->setValue(0);
    seSectors->setGeometry(46, 188, 37, 22);
    seSectors->setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    chbKeysites = CheckBox(this, QStringLiteral("Keysites"), 9, 212, 15);
    chbAirbases = CheckBox(this, QStringLiteral("Airbases"), 9, 227, 15);
    chbSAMs = CheckBox(this, QStringLiteral("SAMs"), 9, 242, 15);
    Label1 = Label(this, QStringLiteral("X="), 4, 264, 16);
    lblXCoord = Label(this, QStringLiteral("0"), 20, 264, 61);
    Label2 = Label(this, QStringLiteral("Z="), 4, 276, 16);
    lblZCoord = Label(this, QStringLiteral("0"), 20, 276, 61);

    // The route boxes sit close together; a smaller type keeps them legible at that pitch.
    chbRoads = CheckBox(this, QStringLiteral("Roads"), 8, 291, 12);
    chbRivers = CheckBox(this, QStringLiteral("Rivers"), 8, 302, 12);
    chbUtils = CheckBox(this, QStringLiteral("Power lines"), 8, 314, 12);
    chbBorders = CheckBox(this, QStringLiteral("Borders"), 8, 326, 12);
    QFont small = font();
    small.setPointSize(7);
    for (QCheckBox* box : {chbRoads, chbRivers, chbUtils, chbBorders}) {
        box->setFont(small);
        box->setStyleSheet(
            QStringLiteral("QCheckBox { spacing: 4px; } QCheckBox::indicator { width: 9px; height: 9px; }"));
    }
}
