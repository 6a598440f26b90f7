#include "maparea/mapcontrolcolumn.h"

#include "document/recordkind.h"

#include <QCheckBox>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QRadioButton>
#include <QSignalBlocker>
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

QToolButton* SpeedButton(QWidget* parent, const char* name, Glyph glyph, const QString& tip, int left, int top)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
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

QCheckBox* CheckBox(QWidget* parent, const char* name, const QString& caption, int left, int top, int height)
{
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(QLatin1String(name));
    box->setGeometry(left, top, 78, height);
    return box;
}

QLabel* Label(QWidget* parent, const char* name, const QString& caption, int left, int top, int width)
{
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(left, top, width, 13);
    return label;
}

// A padlock, shut or open, for the lock beside a symbol box: 10 pixels, to fit after the box's
// caption in the narrow column.
QPixmap DrawPadlock(bool shut, const QColor& ink)
{
    QPixmap pixmap(10, 11);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(ink, 1.3));
    painter.setBrush(Qt::NoBrush);
    // The shackle: closed into the body, or lifted and swung off to the right.
    const qreal left = shut ? 2.5 : 5;
    QPainterPath shackle;
    shackle.moveTo(left, shut ? 5.5 : 3.5);
    shackle.lineTo(left, 3);
    shackle.arcTo(QRectF(left, 0.7, 5, 4.6), 180, -180);
    shackle.lineTo(left + 5, shut ? 5.5 : 3);
    painter.drawPath(shackle);
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink);
    painter.drawRoundedRect(QRectF(1, 5, 8, 6), 1, 1);
    return pixmap;
}

QToolButton* LockButton(QWidget* parent, const char* name, const QString& tip, int left, int top)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    QIcon icon;
    icon.addPixmap(DrawPadlock(false, QColor(150, 150, 150)), QIcon::Normal, QIcon::Off);
    icon.addPixmap(DrawPadlock(true, QColor(32, 32, 32)), QIcon::Normal, QIcon::On);
    button->setIcon(icon);
    button->setIconSize(QSize(10, 11));
    button->setCheckable(true);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setToolTip(tip);
    button->setGeometry(left, top, 13, 15);
    return button;
}

} // namespace

CMapControlColumn::CMapControlColumn(QWidget* parent) : QWidget(parent)
{
    setFixedWidth(90);
    setMinimumHeight(340);

    const struct {
        const char* Name;
        Glyph Shape;
        const char* Tip;
        int Left, Top;
        MapKey Step;
    } buttons[] = {
        {"spMapUp", Glyph::Up, "Pan up", 33, 6, MapKey::Up},
        {"spMapLeft", Glyph::Left, "Pan left", 9, 30, MapKey::Left},
        {"spMapDefault", Glyph::Centre, "Whole map", 33, 30, MapKey::Home},
        {"spMapRight", Glyph::Right, "Pan right", 57, 30, MapKey::Right},
        {"spMapDown", Glyph::Down, "Pan down", 33, 54, MapKey::Down},
        {"spMapZoomIn", Glyph::ZoomIn, "Zoom in", 17, 86, MapKey::ZoomIn},
        {"spMapZoomOut", Glyph::ZoomOut, "Zoom out", 49, 86, MapKey::ZoomOut},
    };
    for (const auto& button : buttons) {
        QToolButton* made =
            SpeedButton(this, button.Name, button.Shape, QLatin1String(button.Tip), button.Left, button.Top);
        const MapKey step = button.Step;
        connect(made, &QToolButton::clicked, this, [this, step] { emit Navigate(step); });
    }

    m_resolution = new QSlider(Qt::Horizontal, this);
    m_resolution->setObjectName(QStringLiteral("tbResolution"));
    m_resolution->setRange(1, 10);
    m_resolution->setValue(4);
    m_resolution->setSingleStep(1);
    m_resolution->setPageStep(1);
    m_resolution->setTickInterval(1);
    m_resolution->setTickPosition(QSlider::TicksBelow);
    m_resolution->setToolTip(QStringLiteral("Resolution"));
    m_resolution->setGeometry(9, 118, 73, 17);

    auto* mode = new QWidget(this);
    mode->setObjectName(QStringLiteral("pnlMapMode"));
    mode->setGeometry(1, 139, 87, 36);
    m_heights = new QRadioButton(QStringLiteral("Heights"), mode);
    m_heights->setObjectName(QStringLiteral("rbMapModeHeights"));
    m_heights->setGeometry(8, 2, 78, 16);
    m_heights->setChecked(true);
    m_factions = new QRadioButton(QStringLiteral("Factions"), mode);
    m_factions->setObjectName(QStringLiteral("rbMapModeFactions"));
    m_factions->setGeometry(8, 18, 78, 16);

    m_grid = CheckBox(this, "chbGrid", QStringLiteral("Grid"), 9, 172, 16);
    Label(this, "Label3", QStringLiteral("Sectors"), 4, 192, 42);
    m_sectors = new QSpinBox(this);
    m_sectors->setObjectName(QStringLiteral("seSectors"));
    m_sectors->setRange(0, 99);
    m_sectors->setSingleStep(1);
    m_sectors->setValue(0);
    m_sectors->setGeometry(46, 188, 37, 22);
    m_sectors->setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    m_keysites = CheckBox(this, "chbKeysites", QStringLiteral("Keysites"), 9, 212, 15);
    m_airbases = CheckBox(this, "chbAirbases", QStringLiteral("Airbases"), 9, 227, 15);
    m_sams = CheckBox(this, "chbSAMs", QStringLiteral("SAMs"), 9, 242, 15);
    // A padlock at the end of each symbol box's row.
    m_locks[KeysiteKind] =
        LockButton(this, "tbLockKeysites",
                   QStringLiteral("Lock keysites: drawn, but the mouse cannot select, move or place them"), 76, 212);
    m_locks[AirbaseKind] =
        LockButton(this, "tbLockAirbases",
                   QStringLiteral("Lock airbases: drawn, but the mouse cannot select, move or place them"), 76, 227);
    m_locks[SamKind] =
        LockButton(this, "tbLockSams",
                   QStringLiteral("Lock SAM sites: drawn, but the mouse cannot select, move or place them"), 76, 242);
    Label(this, "Label1", QStringLiteral("X="), 4, 264, 16);
    m_x = Label(this, "lblXCoord", QStringLiteral("0"), 20, 264, 61);
    Label(this, "Label2", QStringLiteral("Z="), 4, 276, 16);
    m_z = Label(this, "lblZCoord", QStringLiteral("0"), 20, 276, 61);

    // The route boxes sit close together; a smaller type keeps them legible at that pitch.
    m_roads = CheckBox(this, "chbRoads", QStringLiteral("Roads"), 8, 291, 12);
    m_rivers = CheckBox(this, "chbRivers", QStringLiteral("Rivers"), 8, 302, 12);
    m_utilities = CheckBox(this, "chbUtils", QStringLiteral("Power lines"), 8, 314, 12);
    m_borders = CheckBox(this, "chbBorders", QStringLiteral("Borders"), 8, 326, 12);
    QFont small = font();
    small.setPointSize(7);
    for (QCheckBox* box : {m_roads, m_rivers, m_utilities, m_borders}) {
        box->setFont(small);
        box->setStyleSheet(
            QStringLiteral("QCheckBox { spacing: 4px; } QCheckBox::indicator { width: 9px; height: 9px; }"));
    }

    connect(m_resolution, &QSlider::valueChanged, this, &CMapControlColumn::ResolutionMoved);
    for (QRadioButton* button : {m_heights, m_factions})
        connect(button, &QRadioButton::toggled, this, &CMapControlColumn::TerrainLayersChanged);
    for (QCheckBox* box : {m_keysites, m_airbases, m_sams, m_grid})
        connect(box, &QCheckBox::toggled, this, &CMapControlColumn::OverlayLayersChanged);
    for (QCheckBox* box : {m_roads, m_rivers, m_utilities, m_borders})
        connect(box, &QCheckBox::toggled, this, &CMapControlColumn::TerrainLayersChanged);
    for (QToolButton* lock : m_locks)
        connect(lock, &QToolButton::toggled, this, &CMapControlColumn::LocksChanged);
}

MapAreaState CMapControlColumn::State() const
{
    MapAreaState state;
    state.Roads = m_roads->isChecked();
    state.Rivers = m_rivers->isChecked();
    state.Utilities = m_utilities->isChecked();
    state.Borders = m_borders->isChecked();
    state.Keysites = m_keysites->isChecked();
    state.Airbases = m_airbases->isChecked();
    state.Sams = m_sams->isChecked();
    state.Grid = m_grid->isChecked();
    state.Factions = m_factions->isChecked();
    for (size_t kind = 0; kind < m_locks.size(); ++kind)
        state.Locked[kind] = m_locks[kind]->isChecked();
    return state;
}

void CMapControlColumn::SetState(const MapAreaState& state)
{
    m_roads->setChecked(state.Roads);
    m_rivers->setChecked(state.Rivers);
    m_utilities->setChecked(state.Utilities);
    m_borders->setChecked(state.Borders);
    m_keysites->setChecked(state.Keysites);
    m_airbases->setChecked(state.Airbases);
    m_sams->setChecked(state.Sams);
    m_grid->setChecked(state.Grid);
    (state.Factions ? m_factions : m_heights)->setChecked(true);
    for (size_t kind = 0; kind < m_locks.size(); ++kind)
        m_locks[kind]->setChecked(state.Locked[kind]);
}

bool CMapControlColumn::IsFactionsMode() const { return m_factions->isChecked(); }

void CMapControlColumn::ShowHeightsModeQuietly()
{
    const QSignalBlocker heights(m_heights);
    const QSignalBlocker factions(m_factions);
    m_heights->setChecked(true);
}

int CMapControlColumn::Resolution() const { return m_resolution->value(); }

int CMapControlColumn::SectorRadius() const { return m_sectors->value(); }

void CMapControlColumn::ShowCoordinates(const QString& x, const QString& z)
{
    m_x->setText(x);
    m_z->setText(z);
}
