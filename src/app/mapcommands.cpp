// The map area: the two drawing layers, the control column, place mode and the mouse on the map.
#include "app/mainwindow.h"

#include "maparea/debounce.h"
#include "app/editcommands.h"
#include "app/edithistory.h"
#include "maparea/mapcontrolcolumn.h"
#include "maparea/mapimage.h"
#include "app/stringgrid.h"
#include "dialogs/waitcursor.h"
#include "document/binfile.h"
#include "factions/factionpaint.h"
#include "factions/factionsinfo.h"
#include "mapview/mapcanvas.h"
#include "mapview/mapextent.h"
#include "mapview/maplist.h"
#include "mapview/overlay.h"
#include "platform/filepaths.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QStatusBar>
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

    TimerTBResolution = new CDebounce(500, this);
    connect(TimerTBResolution, &CDebounce::timeout, this, &TfrmMain::TimerTBResolutionTimer);
    connect(column->tbResolution, &QSlider::valueChanged, this, &TfrmMain::tbResolutionChange);

    // Started at once, so it also fires once shortly after the window appears.
    TimerMapResize = new CDebounce(750, this);
    connect(TimerMapResize, &CDebounce::timeout, this, &TfrmMain::TimerMapResizeTimer);
    TimerMapResize->start();
    // Wheel turns and drags show a preview at once; the terrain is rendered when they pause.
    TimerMapSettle = new CDebounce(300, this);
    connect(TimerMapSettle, &CDebounce::timeout, this, &TfrmMain::TimerMapSettleTimer);
    pnlMap->installEventFilter(this);

    connect(column->rbMapModeHeights, &QRadioButton::clicked, this, &TfrmMain::rbMapModeClick);
    connect(column->rbMapModeFactions, &QRadioButton::clicked, this, &TfrmMain::rbMapModeClick);
    for (QCheckBox* box : {column->chbKeysites, column->chbAirbases, column->chbSAMs, column->chbGrid})
        connect(box, &QCheckBox::clicked, this, &TfrmMain::chbOverlayClick);
    for (QCheckBox* box : {column->chbRoads, column->chbRivers, column->chbUtils, column->chbBorders})
        connect(box, &QCheckBox::clicked, this, &TfrmMain::chbMapPropsClick);

    connect(im, &CMapImage::MouseMove, this, &TfrmMain::imMouseMove);
    connect(im, &CMapImage::MouseDown, this, &TfrmMain::imMouseDown);
    connect(im, &CMapImage::MouseUp, this, &TfrmMain::imMouseUp);
    connect(im, &CMapImage::WheelSteps, this, &TfrmMain::imWheelSteps);
    connect(im, &CMapImage::Navigate, this, &TfrmMain::imNavigate);
    for (RecordKind kind : {KeysiteKind, AirbaseKind, SamKind}) {
        CStringGrid* grid = Page(kind).Grid;
        connect(grid, &CStringGrid::Click, this, &TfrmMain::UpdateMapSelection);
        grid->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(grid, &QWidget::customContextMenuRequested, this,
                [this, kind, grid](QPoint at) { PlacementMenu(kind)->popup(grid->viewport()->mapToGlobal(at)); });
    }
    connect(pcBINFile, &QTabWidget::currentChanged, this, &TfrmMain::UpdateMapSelection);
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
    MapCanvas->SymbolScale = im->PictureRatio();
    // The active page's selection; pages without placements mark nothing.
    MapCanvas->SelectionFirst = 0;
    MapCanvas->SelectionLast = -1;
    for (RecordKind kind : {KeysiteKind, AirbaseKind, SamKind}) {
        const PlacementPage page = Page(kind);
        if (pcBINFile->currentWidget() == page.Tab && page.Grid->RowCount() > page.Grid->FixedRows()) {
            MapCanvas->SelectionKind = kind;
            MapCanvas->SelectionFirst = page.Grid->SelectionTop() - page.Grid->FixedRows();
            MapCanvas->SelectionLast = page.Grid->SelectionBottom() - page.Grid->FixedRows();
        }
    }
}

void TfrmMain::RedrawTerrain()
{
    if (!MapCanvas || !MapCanvas->HasMap())
        return;
    TimerMapSettle->stop();
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
    im->ShowPicture(MapCanvas->CompositeBitmap);
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

void TfrmMain::pnlMapResize() { TimerMapResize->start(); }

void TfrmMain::TimerMapResizeTimer()
{
    TimerMapResize->stop();
    if (!MapCanvas || !MapCanvas->HasMap())
        return;
    CMapWindow* view = MapCanvas->View();
    // A window that grows while the whole map is in view keeps it fitted.
    const bool fitted = view->ViewLeft <= 0 && view->ViewRight >= view->WorldWidth && view->ViewBottom <= 0
        && view->ViewTop >= view->WorldDepth;
    const QSize size = im->PictureSize();
    const bool grows = size.width() >= view->PixelWidth && size.height() >= view->PixelHeight
        && (size.width() > view->PixelWidth || size.height() > view->PixelHeight);
    view->SetSize(size.width(), size.height());
    if (fitted && grows)
        view->ResetView();
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
    // A drag belongs to the map it started on.
    if (MapDrag.Pressed && MapCanvas && MapCanvas->HasMap() && MapDragStartView
        && MapDragStartView->Map == MapCanvas->Map()) {
        const QPoint offset = pixel - MapDrag.Start;
        if (!MapDrag.Dragging && offset.manhattanLength() >= QApplication::startDragDistance())
            MapDrag.Dragging = true;
        if (MapDrag.Dragging) {
            // From the view at the press, so that the whole drag moves the view by exactly its
            // offset, whatever the steps in between.
            *MapCanvas->View() = *MapDragStartView;
            MapCanvas->View()->PanByPixels(offset.x(), offset.y());
            ShowNavigationPreview();
        }
    }
    float x = 0;
    float z = 0;
    if (Document && MapCanvas)
        MapCanvas->Viewport().PixelToMap(pixel.x(), pixel.y(), x, z);
    pnlMapControls->lblXCoord->setText(CoordinateText(x));
    pnlMapControls->lblZCoord->setText(CoordinateText(z));
}

void TfrmMain::SetRecordButtonsEnabled(bool enabled)
{
    for (QPushButton* button :
         {btnKeysiteAdd, btnKeysiteEd, btnKeysiteDel, btnKeysitePlace, btnAirbaseAdd, btnAirbaseEd, btnAirbaseDel,
          btnAirbasePlace, btnSAMAdd, btnSAMEdit, btnSAMDel, btnSAMPlace})
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

void TfrmMain::ShowNavigationPreview()
{
    SyncCanvasFlags();
    MapCanvas->PreviewTerrain();
    RefreshMap();
    TimerMapSettle->start();
}

void TfrmMain::TimerMapSettleTimer()
{
    TimerMapSettle->stop();
    CWaitCursor wait;
    RedrawTerrain();
    RefreshMap();
}

void TfrmMain::imMouseUp(Qt::MouseButton button, QPoint)
{
    if (!MapDrag.Pressed || button != MapDrag.Button)
        return;
    const bool dragged = MapDrag.Dragging;
    MapDrag = {};
    MapDragStartView.reset();
    if (dragged)
        TimerMapSettleTimer();
}

void TfrmMain::imWheelSteps(int steps, QPoint pixel)
{
    if (!MapCanvas || !MapCanvas->HasMap() || MapDrag.Dragging)
        return;
    MapWheel.Turn(*MapCanvas->View(), steps, pixel.x(), pixel.y());
    ShowNavigationPreview();
}

void TfrmMain::imNavigate(MapKey key)
{
    switch (key) {
    case MapKey::Up: spMapUpClick(); break;
    case MapKey::Down: spMapDownClick(); break;
    case MapKey::Left: spMapLeftClick(); break;
    case MapKey::Right: spMapRightClick(); break;
    case MapKey::ZoomIn: spMapZoomInClick(); break;
    case MapKey::ZoomOut: spMapZoomOutClick(); break;
    case MapKey::Home: spMapDefaultClick(); break;
    }
}

void TfrmMain::ShowOnMap(RecordKind kind, int index)
{
    if (!Document || !MapCanvas || !MapCanvas->HasMap())
        return;
    float x = 0;
    float z = 0;
    const auto position = [&](const auto& records) {
        if (index < 0 || size_t(index) >= records.size())
            return false;
        x = records[size_t(index)].X;
        z = records[size_t(index)].Z;
        return true;
    };
    const bool found = kind == KeysiteKind ? position(Document->Keysites())
        : kind == AirbaseKind              ? position(Document->Airbases())
                                           : position(Document->Sams());
    if (!found)
        return;
    CWaitCursor wait;
    // Record Z counts down from the terrain's half sector count.
    const CViewport view = MapCanvas->Viewport();
    MapCanvas->View()->CentreOnTerrain(x, double(view.HalfSectorsZ) * SectorSize - double(z));
    RedrawTerrain();
    RefreshMap();
}

QMenu* TfrmMain::PlacementMenu(RecordKind kind)
{
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const int index = CurrentIndex(Page(kind).Grid);
    QAction* show =
        menu->addAction(QStringLiteral("Show on map"), this, [this, kind, index] { ShowOnMap(kind, index); });
    show->setEnabled(index >= 0 && MapCanvas && MapCanvas->HasMap());
    return menu;
}

void TfrmMain::UpdateMapSelection() { RefreshMap(); }

void TfrmMain::imMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pixel)
{
    if (!PlaceMode.Active && modifiers == Qt::NoModifier && (button == Qt::LeftButton || button == Qt::MiddleButton)
        && MapCanvas && MapCanvas->HasMap()) {
        // A press without a move does nothing; moving makes it a drag.
        MapDrag = {true, false, button, pixel};
        MapDragStartView = std::make_unique<CMapWindow>(*MapCanvas->View());
        return;
    }
    if (PlaceMode.Active) {
        if (button == Qt::MiddleButton)
            return;
        LeavePlaceMode();
        if (button != Qt::LeftButton || !Document)
            return;
        float x = 0;
        float z = 0;
        MapCanvas->Viewport().PixelToMap(pixel.x(), pixel.y(), x, z);
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
        MapCanvas->Viewport().PixelToMap(pixel.x(), pixel.y(), x, z);
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
        if (!Document || !MapCanvas)
            return;
        RecordKind kind = KeysiteKind;
        int32_t index = -1;
        if (HitTest(*Document, MapCanvas->Viewport(), pixel.x(), pixel.y(), kind, index))
            SelectPlacement(kind, index);
    }
}

QString TfrmMain::InstallationMapOf(const QString& path) const
{
    // Compared as the file system resolves them, so that links and ".." lead to the same folder.
    const QString maps =
        QFileInfo(ResolveGamePath(InstallationPath, QStringLiteral("common\\maps"))).canonicalFilePath();
    const QString file = QFileInfo(path).canonicalFilePath();
    if (maps.isEmpty() || !file.startsWith(maps + QLatin1Char('/')))
        return QString();
    const QString entry = file.mid(maps.size() + 1).section(QLatin1Char('/'), 0, 0);
    if (!ListMapEntries(InstallationPath).contains(entry))
        return QString();
    return MapEntryPath(InstallationPath, entry);
}

QString TfrmMain::MapFolderToOffer() const
{
    if (!MapFolder.isEmpty())
        return MapFolder;
    for (const QString& file : {BinDocumentPath, FactionFilePath}) {
        const QString folder = file.isEmpty() ? QString() : InstallationMapOf(file);
        if (!folder.isEmpty())
            return folder;
    }
    return QString();
}

void TfrmMain::AfterFileOpened(const QString& path)
{
    if (MapCanvas && !MapCanvas->HasMap()) {
        const QString folder = InstallationMapOf(path);
        // A folder without terrain is not a map to draw, so nothing is said about it.
        if (!folder.isEmpty() && QFileInfo(ResolveGamePath(folder, QStringLiteral("terrain\\terrain.sim"))).isFile()) {
            // A new map opens in Heights mode; a faction file asked for its layer.
            const bool factions = pnlMapControls->rbMapModeFactions->isChecked();
            OpenMapFolder(folder);
            if (factions && Factions && MapCanvas->HasMap()) {
                pnlMapControls->rbMapModeFactions->setChecked(true);
                RedrawTerrain();
                RefreshMap();
            }
            return;
        }
    }
    if (path == BinDocumentPath)
        ReportPlacementsOutsideMap();
}

void TfrmMain::ReportPlacementsOutsideMap()
{
    if (!Document || !MapCanvas || !MapCanvas->Map())
        return;
    const int outside = CountPlacementsOutside(*Document, MapExtent::Of(*MapCanvas->Map()));
    if (outside == 0)
        statusBar()->clearMessage();
    else
        statusBar()->showMessage(outside == 1 ? QStringLiteral("1 record lies outside this map")
                                              : QStringLiteral("%1 records lie outside this map").arg(outside));
}
