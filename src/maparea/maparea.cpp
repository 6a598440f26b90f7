#include "maparea/maparea.h"

#include "dialogs/userprompts.h"
#include "dialogs/waitcursor.h"
#include "document/binfile.h"
#include "document/recordlists.h"
#include "maparea/debounce.h"
#include "maparea/mapareaprivate.h"
#include "maparea/mapcontrolcolumn.h"
#include "maparea/mapimage.h"
#include "mapview/mapextent.h"
#include "platform/filepaths.h"
#include "session/campaignsession.h"
#include "session/recordfilters.h"

#include <QApplication>
#include <QCheckBox>
#include <QCursor>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QPalette>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QSplitter>
#include <QToolButton>
#include <QVBoxLayout>

CMapArea::Private::Private(CMapArea& area, CCampaignSession& session, const CTarnConfig& symbology,
                           CUserPrompts& prompts)
    : QObject(&area), q(area), Session(session), Symbology(symbology), Prompts(prompts)
{
    pnlMap = new QWidget;
    pnlMap->setObjectName(QStringLiteral("pnlMap"));
    pnlMap->setAutoFillBackground(true);
    pnlMap->setMinimumSize(64, 64);
    im = new CMapImage(pnlMap);
    im->setObjectName(QStringLiteral("im"));
    auto* mapLayout = new QVBoxLayout(pnlMap);
    mapLayout->setContentsMargins(0, 0, 0, 0);
    mapLayout->addWidget(im);
    pnlMapControls = new CMapControlColumn;
    pnlMapControls->setObjectName(QStringLiteral("pnlMapControls"));

    Splitter1 = new QSplitter(Qt::Horizontal);
    Splitter1->setObjectName(QStringLiteral("pnlMapWitControls"));
    Splitter1->setHandleWidth(1);
    Splitter1->setChildrenCollapsible(false);
    Splitter1->addWidget(pnlMap);
    Splitter1->addWidget(pnlMapControls);
    Splitter1->setStretchFactor(0, 1);
    Splitter1->setStretchFactor(1, 0);
    auto* layout = new QVBoxLayout(&q);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Splitter1);

    Layers.SetSymbology(&Symbology);
    Layers.SetButtonFace(QApplication::palette().color(QPalette::Button));

    TimerTBResolution = new CDebounce(500, this);
    TimerTBResolution->setObjectName(QStringLiteral("TimerTBResolution"));
    // Started at once, so it also fires once shortly after the area appears.
    TimerMapResize = new CDebounce(750, this);
    TimerMapResize->setObjectName(QStringLiteral("TimerMapResize"));
    TimerMapResize->start();
    // Wheel turns and drags show a preview at once; the terrain is rendered when they pause.
    TimerMapSettle = new CDebounce(300, this);
    TimerMapSettle->setObjectName(QStringLiteral("TimerMapSettle"));
    connect(TimerTBResolution, &CDebounce::timeout, this, &Private::ResolutionSettled);
    connect(TimerMapResize, &CDebounce::timeout, this, &Private::Resized);
    connect(TimerMapSettle, &CDebounce::timeout, this, &Private::TerrainChanged);
    pnlMap->installEventFilter(this);

    connect(pnlMapControls, &CMapControlColumn::Navigate, this, &Private::Navigate);
    // Every move restarts the wait, so dragging over several steps renders once, at the end.
    connect(pnlMapControls, &CMapControlColumn::ResolutionMoved, TimerTBResolution, &CDebounce::start);
    connect(pnlMapControls, &CMapControlColumn::TerrainLayersChanged, this, &Private::TerrainChanged);
    connect(pnlMapControls, &CMapControlColumn::OverlayLayersChanged, this, &Private::OverlayChanged);
    connect(pnlMapControls, &CMapControlColumn::LocksChanged, this, &Private::LocksChanged);

    connect(im, &CMapImage::MouseDown, this, &Private::MouseDown);
    connect(im, &CMapImage::MouseMove, this, &Private::MouseMove);
    connect(im, &CMapImage::MouseUp, this, &Private::MouseUp);
    connect(im, &CMapImage::WheelSteps, this, &Private::WheelSteps);
    connect(im, &CMapImage::Navigate, this, &Private::Navigate);
    connect(im, &CMapImage::Cancelled, this, &Private::CancelDrag);
    connect(im, &CMapImage::MouseLeft, this, &Private::MouseLeft);
    for (int mode = 0; mode < MapToolModeCount; ++mode)
        ModeTools[mode] = MakeModeTool(static_cast<MapToolMode>(mode));

    // What the session says; nobody tells the map to redraw.
    connect(&Session, &CCampaignSession::RecordsChanged, this, &Private::OverlayChanged);
    connect(&Session, &CCampaignSession::SelectionChanged, this, [this](RecordList list) {
        if (InfoOf(list).Kind)
            OverlayChanged();
    });
    connect(&Session, &CCampaignSession::FileChanged, this, [this](CEditHistory::Document document) {
        // Saving keeps the layer; loading or restoring one brings a new one, shown at once.
        if (document == CEditHistory::Factions && Session.Factions() != ShownFactions)
            ShowFactions();
        else
            OverlayChanged();
    });
    connect(&Session, &CCampaignSession::SectorsChanged, this, &Private::ShowFactions);
    connect(&Session.Filters(), &CRecordFilters::FilterChanged, this, [this](RecordList list) {
        if (InfoOf(list).Kind)
            OverlayChanged();
    });
}

CMapArea::Private::~Private()
{
    if (Place)
        QGuiApplication::restoreOverrideCursor();
}

void CMapArea::Private::ShowFactions()
{
    ShownFactions = Session.Factions();
    MapAreaState state = pnlMapControls->State();
    state.Factions = true;
    pnlMapControls->SetState(state);
    TerrainChanged();
}

void CMapArea::Private::TerrainChanged()
{
    TerrainDirty = true;
    OverlayChanged();
}

void CMapArea::Private::OverlayChanged()
{
    OverlayDirty = true;
    if (RepaintQueued)
        return;
    RepaintQueued = true;
    QMetaObject::invokeMethod(this, &Private::Repaint, Qt::QueuedConnection);
}

void CMapArea::Private::ViewPreview()
{
    PreviewDirty = true;
    OverlayChanged();
    TimerMapSettle->start();
}

void CMapArea::Private::SyncLayers()
{
    const MapAreaState state = pnlMapControls->State();
    MapLayerOptions options;
    options.Roads = state.Roads;
    options.Rivers = state.Rivers;
    options.Utilities = state.Utilities;
    options.Borders = state.Borders;
    options.Keysites = state.Keysites;
    options.Airbases = state.Airbases;
    options.Sams = state.Sams;
    options.Grid = state.Grid;
    options.Mode = state.Factions ? MapMode::Factions : MapMode::Heights;
    options.SymbolScale = im->PictureRatio();
    Layers.SetOptions(options);
    // A locked kind's selected records stay in place while the selection is dragged.
    Layers.SetHeldKinds(state.Locked);
    Layers.SetDocument(&Session.Records());
    Layers.SetFactions(Session.Factions());
    // Every kind's selection is marked, whichever page is shown; a kind whose page asks for it
    // shows only the records its filter lets through.
    const CRecordFilters& filters = Session.Filters();
    for (const RecordKind kind : {KeysiteKind, AirbaseKind, SamKind}) {
        const RecordList list = ListOfKind(kind);
        Layers.SetSelection(kind, Session.SelectedRecords(list));
        if (filters.OnlyOnMap(list) && filters.IsFiltering(list))
            Layers.SetRecordFilter(kind, [&filters, list](int record) { return filters.Accepts(list, record); });
        else
            Layers.SetRecordFilter(kind, {});
    }
}

int CMapArea::Private::SymbolReach() const
{
    CViewport view = Layers.Viewport();
    view.SymbolScale = im->PictureRatio();
    int64_t reach = 4;
    for (const RecordKind kind : {KeysiteKind, AirbaseKind, SamKind})
        reach =
            std::max<int64_t>(reach, std::llabs(view.SymbolSize(std::clamp(Symbology.Style(kind).Size, -64, 64))) + 2);
    return int(std::min<int64_t>(reach, 64));
}

void CMapArea::Private::Repaint()
{
    RepaintQueued = false;
    if (!Layers.HasMap() || !OverlayDirty) {
        TerrainDirty = OverlayDirty = PreviewDirty = false;
        return;
    }
    SyncLayers();
    const bool terrain = TerrainDirty;
    if (terrain) {
        CWaitCursor wait;
        TimerMapSettle->stop();
        Layers.RedrawTerrain();
    } else if (PreviewDirty) {
        Layers.PreviewTerrain();
    }
    TerrainDirty = OverlayDirty = PreviewDirty = false;
    Layers.RefreshMap();
    im->ShowPicture(Layers.Composite());
    if (terrain)
        emit q.TerrainRedrawn();
    emit q.Repainted();
    AnnounceViewChange();
}

void CMapArea::Private::AnnounceViewChange()
{
    const CMapWindow* view = Layers.View();
    ShownWindow now;
    if (view)
        now = {MapsChosen, view->ViewLeft, view->ViewRight, view->ViewBottom, view->ViewTop};
    if (now == LastWindow)
        return;
    LastWindow = now;
    emit q.ViewChanged();
}

bool CMapArea::Private::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == pnlMap && event->type() == QEvent::Resize)
        TimerMapResize->start();
    return QObject::eventFilter(watched, event);
}

// --- The component -----------------------------------------------------------------------------

CMapArea::CMapArea(CCampaignSession& session, const CTarnConfig& symbology, CUserPrompts& prompts, QWidget* parent)
    : QWidget(parent)
{
    d = std::make_unique<Private>(*this, session, symbology, prompts);
}

CMapArea::~CMapArea() = default;

bool CMapArea::OpenMapFolder(const QString& folder)
{
    bool changed = false;
    if (!folder.isEmpty() && QFileInfo(ResolveGamePath(folder, QStringLiteral("terrain\\terrain.sim"))).isFile()) {
        CWaitCursor wait;
        // The new map is read completely before the current one is given up: a terrain file that
        // exists but cannot be read keeps the map on screen, and its mode with it.
        // The route and overlay boxes stay as they are.
        d->SyncLayers();
        changed = d->Layers.ChangeMap(folder, d->im->PictureSize(), d->pnlMapControls->Resolution());
    }
    if (!changed) {
        d->Prompts.Message(this, QStringLiteral("Wrong map data!"));
        return false;
    }
    d->Folder = QDir::toNativeSeparators(folder + QLatin1Char('/'));
    ++d->MapsChosen;
    // What a tool showed (a measured line) belonged to the map that went.
    if (CMapTool* tool = d->ModeTool())
        tool->Cancel(d->ToolContext());
    // A new map always opens in Heights mode, in which the layers have just drawn it.
    d->pnlMapControls->ShowHeightsModeQuietly();
    emit TerrainRedrawn();
    d->OverlayChanged();
    return true;
}

bool CMapArea::HasMap() const { return d->Layers.HasMap(); }

QString CMapArea::MapFolder() const { return d->Folder; }

const CMapWindow* CMapArea::View() const { return d->Layers.View(); }

double CMapArea::UnitsPerPixel() const
{
    const CViewport view = d->Layers.Viewport();
    const int64_t pixels = int64_t(view.PixelRight) - view.PixelLeft;
    if (!d->Layers.HasMap() || pixels <= 0)
        return 0;
    return double(int64_t(view.MapRight) - view.MapLeft) / double(pixels);
}

std::array<bool, 3> CMapArea::ShownKinds() const
{
    const MapAreaState state = d->pnlMapControls->State();
    return {state.Keysites, state.Airbases, state.Sams};
}

std::optional<RecordPoint> CMapArea::PointUnderMouse() const
{
    const QPoint local = d->im->mapFromGlobal(QCursor::pos());
    if (!d->Layers.HasMap() || !d->im->isVisible() || !d->im->contentsRect().contains(local))
        return std::nullopt;
    const QPoint pixel = ImagePixelAt(local, d->im->contentsRect(), d->im->PictureRatio());
    return PixelToRecord(d->Layers.Viewport(), pixel.x(), pixel.y());
}

void CMapArea::ShowOnMap(RecordKind kind, int index)
{
    CMapWindow* view = d->Layers.View();
    if (!view)
        return;
    const CBINFile& records = d->Session.Records();
    float x = 0;
    float z = 0;
    const auto position = [&](const auto& list) {
        if (index < 0 || size_t(index) >= list.size())
            return false;
        x = list[size_t(index)].X;
        z = list[size_t(index)].Z;
        return true;
    };
    const bool found = kind == KeysiteKind ? position(records.Keysites())
        : kind == AirbaseKind              ? position(records.Airbases())
                                           : position(records.Sams());
    if (!found)
        return;
    // Record Z counts down from the terrain's half sector count.
    view->CentreOnTerrain(x, double(d->Layers.Viewport().HalfSectorsZ) * SectorSize - double(z));
    d->TerrainChanged();
}

void CMapArea::CentreViewOn(RecordPoint at, bool following)
{
    CMapWindow* view = d->Layers.View();
    if (!view)
        return;
    view->CentreOnTerrain(at.X, double(d->Layers.Viewport().HalfSectorsZ) * SectorSize - double(at.Z));
    if (following)
        d->ViewPreview();
    else
        d->TerrainChanged();
}

bool CMapArea::EnterPlaceMode(RecordKind kind, int index)
{
    if (d->Place || !HasMap())
        return false;
    if (d->pnlMapControls->State().Locked[size_t(kind)]) {
        // The records in the plural, and the caption of their box in the column.
        static const char* const words[][2] = {
            {"Keysites", "Keysites"}, {"Airbases", "Airbases"}, {"SAM sites", "SAMs"}};
        d->Prompts.Message(this,
                           QStringLiteral("%1 are locked on the map: open the padlock beside the %2 box to place "
                                          "one.")
                               .arg(QLatin1String(words[kind][0]), QLatin1String(words[kind][1])));
        return false;
    }
    d->Place = std::make_unique<CPlaceTool>(kind, index);
    // The cross goes on top of whatever was shown; leaving the mode takes it off again.
    QGuiApplication::setOverrideCursor(Qt::CrossCursor);
    emit PlaceModeChanged(true);
    return true;
}

bool CMapArea::IsPlacing() const { return d->Place != nullptr; }

void CMapArea::SetToolMode(MapToolMode mode)
{
    if (mode == d->Mode)
        return;
    if (CMapTool* tool = d->ModeTool())
        tool->Cancel(d->ToolContext());
    d->Mode = mode;
    emit ToolModeChanged(mode);
}

MapToolMode CMapArea::ToolMode() const { return d->Mode; }

void CMapArea::SetBrushFaction(FactionBrush brush)
{
    if (brush == d->Brush)
        return;
    d->Brush = brush;
    emit BrushFactionChanged(brush);
}

FactionBrush CMapArea::BrushFaction() const { return d->Brush; }
QString CMapArea::RulerText() const { return d->Layers.Ruler() ? d->Layers.Ruler()->Label : QString(); }

void CMapArea::Private::LeavePlaceMode()
{
    Place.reset();
    QGuiApplication::restoreOverrideCursor();
    emit q.PlaceModeChanged(false);
}

void CMapArea::Private::LocksChanged()
{
    if (Place && pnlMapControls->State().Locked[size_t(Place->Kind())])
        LeavePlaceMode();
}

std::array<bool, 3> CMapArea::PickableKinds() const
{
    const MapAreaState state = d->pnlMapControls->State();
    return {state.Keysites && !state.Locked[KeysiteKind], state.Airbases && !state.Locked[AirbaseKind],
            state.Sams && !state.Locked[SamKind]};
}

void CMapArea::SymbologyChanged() { d->OverlayChanged(); }

void CMapArea::SetRangeRings(const RangeRings& rings)
{
    d->Layers.SetRangeRings(rings);
    d->OverlayChanged();
}

const RangeRings& CMapArea::Rings() const { return d->Layers.Rings(); }

int CMapArea::PlacementsOutside() const
{
    const CMap* map = d->Layers.Map();
    return map ? CountPlacementsOutside(d->Session.Records(), MapExtent::Of(*map)) : 0;
}

std::optional<MapExtent> CMapArea::Extent() const
{
    const CMap* map = d->Layers.Map();
    return map ? std::optional(MapExtent::Of(*map)) : std::nullopt;
}

MapAreaState CMapArea::State() const { return d->pnlMapControls->State(); }

void CMapArea::SetState(const MapAreaState& state) { d->pnlMapControls->SetState(state); }

QSplitter* CMapArea::Splitter() const { return d->Splitter1; }

MapToolContext CMapArea::PointerContext() const { return d->ToolContext(); }

std::optional<std::pair<RecordKind, int>> CMapArea::PlacedRecord() const
{
    if (!d->Place)
        return std::nullopt;
    return std::pair(d->Place->Kind(), d->Place->Index());
}
