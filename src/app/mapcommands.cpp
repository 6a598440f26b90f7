// The map area: the two drawing layers, the control column, place mode and the mouse on the map.
#include "app/mainwindow.h"

#include "app/editcommands.h"
#include "app/edithistory.h"
#include "app/mapcontrolcolumn.h"
#include "app/mapimage.h"
#include "app/stringgrid.h"
#include "app/waitcursor.h"
#include "document/binfile.h"
#include "factions/factionpaint.h"
#include "factions/factionsinfo.h"
#include "mapview/mapcanvas.h"
#include "mapview/overlay.h"

#include <QCheckBox>
#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

void TfrmMain::ConnectMapArea()
{
    CMapControlColumn* column = pnlMapControls;
    connect(column->spMapUp, &QToolButton::clicked, this, &TfrmMain::spMapUpClick);
    connect(column->spMapDown, &QToolButton::clicked, this, &TfrmMain::spMapDownClick);
    connect(column->spMapLeft, &QToolButton::clicked, this, &TfrmMain::spMapLeftClick);
    connect(column->spMapRight, &QToolButton::clicked, this, &TfrmMain::spMapRightClick);
    connect(column->spMapZoomIn, &QToolButton::clicked, this, &TfrmMain::spMapZoomInClick);
    connect(column->spMapZoomOut, &QToolButton::clicked, this, &TfrmMain::spMapZoomOutClick);
    connect(column->spMapDefault, &QToolButton::clicked, this, &TfrmMain::spMapDefaultClick);

    TimerTBResolution = new QTimer(this);
    TimerTBResolution->setSingleShot(true);
    TimerTBResolution->setInterval(500);
    connect(TimerTBResolution, &QTimer::timeout, this, &TfrmMain::TimerTBResolutionTimer);
    connect(column->tbResolution, &QSlider::valueChanged, this, &TfrmMain::tbResolutionChange);

    // Started at once, so it also fires once shortly after the window appears.
    TimerMapResize = new QTimer(this);
    TimerMapResize->setSingleShot(true);
    TimerMapResize->setInterval(750);
    connect(TimerMapResize, &QTimer::timeout, this, &TfrmMain::TimerMapResizeTimer);
    TimerMapResize->start();
    pnlMap->installEventFilter(this);

    connect(column->rbMapModeHeights, &QRadioButton::clicked, this, &TfrmMain::rbMapModeClick);
    connect(column->rbMapModeFactions, &QRadioButton::clicked, this, &TfrmMain::rbMapModeClick);
    for (QCheckBox* box : {column->chbKeysites, column->chbAirbases, column->chbSAMs, column->chbGrid})
        connect(box, &QCheckBox::clicked, this, &TfrmMain::chbOverlayClick);
    for (QCheckBox* box : {column->chbRoads, column->chbRivers, column->chbUtils, column->chbBorders})
        connect(box, &QCheckBox::clicked, this, &TfrmMain::chbMapPropsClick);

    connect(im, &CMapImage::MouseMove, this, &TfrmMain::imMouseMove);
    connect(im, &CMapImage::MouseDown, this, &TfrmMain::imMouseDown);
    connect(btnKeysitePlace, &QPushButton::clicked, this, &TfrmMain::btnKeysitePlaceClick);
    connect(btnAirbasePlace, &QPushButton::clicked, this, &TfrmMain::btnAirbasePlaceClick);
    connect(btnSAMPlace, &QPushButton::clicked, this, &TfrmMain::btnSAMPlaceClick);
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == pnlMap && event->type() == QEvent::Resize)
        pnlMapResize();
    return QMainWindow::eventFilter(watched, event);
}

void TfrmMain::SyncCanvasFlags()
{
    CMapControlColumn* column = pnlMapControls;
    MapCanvas->ShowRoads = column->chbRoads->isChecked();
    MapCanvas->ShowRivers = column->chbRivers->isChecked();
    MapCanvas->ShowUtilities = column->chbUtils->isChecked();
    MapCanvas->ShowBorders = column->chbBorders->isChecked();
    MapCanvas->ShowKeysites = column->chbKeysites->isChecked();
    MapCanvas->ShowAirbases = column->chbAirbases->isChecked();
    MapCanvas->ShowSAMs = column->chbSAMs->isChecked();
    MapCanvas->ShowGrid = column->chbGrid->isChecked();
    MapCanvas->Mode = column->rbMapModeFactions->isChecked() ? MapMode::Factions : MapMode::Heights;
    MapCanvas->Factions = Factions.get();
}

void TfrmMain::RedrawTerrain()
{
    if (!MapCanvas || !MapCanvas->HasMap())
        return;
    SyncCanvasFlags();
    MapCanvas->RedrawTerrain();
    emit TerrainRedrawn();
}

void TfrmMain::RefreshMap()
{
    if (!MapCanvas || !MapCanvas->HasMap())
        return;
    SyncCanvasFlags();
    MapCanvas->RefreshMap();
    im->setPixmap(QPixmap::fromImage(MapCanvas->CompositeBitmap));
}

void TfrmMain::ApplyViewOperation(void (CMapWindow::*operation)())
{
    CWaitCursor wait;
    if (!MapCanvas || !MapCanvas->HasMap())
        return;
    (MapCanvas->View()->*operation)();
    RedrawTerrain();
    RefreshMap();
}

void TfrmMain::spMapUpClick() { ApplyViewOperation(&CMapWindow::PanUp); }
void TfrmMain::spMapDownClick() { ApplyViewOperation(&CMapWindow::PanDown); }
void TfrmMain::spMapLeftClick() { ApplyViewOperation(&CMapWindow::PanLeft); }
void TfrmMain::spMapRightClick() { ApplyViewOperation(&CMapWindow::PanRight); }
void TfrmMain::spMapZoomInClick() { ApplyViewOperation(&CMapWindow::ZoomIn); }
void TfrmMain::spMapZoomOutClick() { ApplyViewOperation(&CMapWindow::ZoomOut); }
void TfrmMain::spMapDefaultClick() { ApplyViewOperation(&CMapWindow::ResetView); }

void TfrmMain::tbResolutionChange()
{
    // Every move restarts the wait, so dragging over several steps renders once, at the end.
    TimerTBResolution->start();
}

void TfrmMain::TimerTBResolutionTimer()
{
    TimerTBResolution->stop();
    CWaitCursor wait;
    if (!MapCanvas || !MapCanvas->HasMap())
        return;
    MapCanvas->View()->SetResolution(pnlMapControls->tbResolution->value());
    RedrawTerrain();
    RefreshMap();
}

void TfrmMain::pnlMapResize()
{
    TimerMapResize->start();
}

void TfrmMain::TimerMapResizeTimer()
{
    TimerMapResize->stop();
    if (!MapCanvas || !MapCanvas->HasMap())
        return;
    MapCanvas->View()->SetSize(im->width(), im->height());
    RedrawTerrain();
    RefreshMap();
}

void TfrmMain::rbMapModeClick()
{
    CWaitCursor wait;
    RedrawTerrain();
    RefreshMap();
}

void TfrmMain::chbOverlayClick()
{
    CWaitCursor wait;
    RefreshMap();
}

void TfrmMain::chbMapPropsClick()
{
    CWaitCursor wait;
    RedrawTerrain();
    RefreshMap();
}

void TfrmMain::imMouseMove(QPoint pixel)
{
    float x = 0;
    float z = 0;
    if (Document)
        Document->PixelToMap(pixel.x(), pixel.y(), x, z);
    pnlMapControls->lblXCoord->setText(CoordinateText(x));
    pnlMapControls->lblZCoord->setText(CoordinateText(z));
}

void TfrmMain::SetRecordButtonsEnabled(bool enabled)
{
    for (QPushButton* button : {btnKeysiteAdd, btnKeysiteEd, btnKeysiteDel, btnKeysitePlace, btnAirbaseAdd,
                                btnAirbaseEd, btnAirbaseDel, btnAirbasePlace, btnSAMAdd, btnSAMEdit, btnSAMDel,
                                btnSAMPlace})
        button->setEnabled(enabled);
}

bool TfrmMain::EnterPlaceMode(RecordKind kind, int32_t index)
{
    if (PlaceMode.Active)
        return false;
    PlaceMode = {true, kind, index};
    // The cross goes on top of whatever was shown; leaving the mode takes it off again.
    QGuiApplication::setOverrideCursor(Qt::CrossCursor);
    SetRecordButtonsEnabled(false);
    return true;
}

void TfrmMain::LeavePlaceMode()
{
    PlaceMode.Active = false;
    QGuiApplication::restoreOverrideCursor();
    SetRecordButtonsEnabled(true);
}

void TfrmMain::btnKeysitePlaceClick() { StartPlacing(KeysiteKind); }
void TfrmMain::btnAirbasePlaceClick() { StartPlacing(AirbaseKind); }
void TfrmMain::btnSAMPlaceClick() { StartPlacing(SamKind); }

void TfrmMain::imMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pixel)
{
    if (PlaceMode.Active) {
        if (button == Qt::MiddleButton)
            return;
        LeavePlaceMode();
        if (button != Qt::LeftButton || !Document)
            return;
        float x = 0;
        float z = 0;
        Document->PixelToMap(pixel.x(), pixel.y(), x, z);
        // The menus stay usable in place mode, so the record may have gone meanwhile: only a
        // record that still exists is moved (and its row shows it at once).
        SetPlacementPosition(PlaceMode.Kind, PlaceMode.Index, x, z);
        RefreshMap();
        return;
    }
    if (button != Qt::LeftButton)
        return;

    if (modifiers & Qt::ShiftModifier) {
        if (!MapCanvas || !MapCanvas->HasMap())
            return;
        CWaitCursor wait;
        MapCanvas->View()->CentreOn(pixel.x(), pixel.y());
        RedrawTerrain();
        RefreshMap();
        return;
    }
    if (modifiers & Qt::AltModifier) {
        // Without a map on screen the pixel has no position, so there is nothing to paint.
        if (!Document || !Factions || !MapCanvas || !MapCanvas->HasMap())
            return;
        float x = 0;
        float z = 0;
        Document->PixelToMap(pixel.x(), pixel.y(), x, z);
        const FactionPaintResult square = FactionSquareAt(*Factions, x, z, pnlMapControls->seSectors->value());
        if (!square.Painted)
            return;
        // The push paints; undo and redo show the layer again.
        History->Push(CEditHistory::Factions,
                      new CFactionPaint(*Factions, square.FirstColumn, square.FirstRow, square.LastColumn,
                                        square.LastRow, square.NewFaction, [this] {
                                            pnlMapControls->rbMapModeFactions->setChecked(true);
                                            RedrawTerrain();
                                            RefreshMap();
                                        }));
        return;
    }
    if (modifiers & Qt::ControlModifier) {
        if (!Document)
            return;
        RecordKind kind = KeysiteKind;
        int32_t index = -1;
        if (HitTest(*Document, pixel.x(), pixel.y(), kind, index))
            SelectPlacement(kind, index);
    }
}
