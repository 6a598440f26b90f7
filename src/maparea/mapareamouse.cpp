// The map area's navigation: its buttons, keys, slider and size, and the mouse on the picture,
// which goes to the tool the buttons, the keys held and place mode choose.
#include "document/recordlists.h"
#include "maparea/debounce.h"
#include "maparea/mapareaprivate.h"
#include "maparea/mapcontrolcolumn.h"
#include "maparea/mapimage.h"
#include "maptools/mapgeometry.h"
#include "session/campaignsession.h"
#include "session/recordfilters.h"

#include <QApplication>
#include <QLabel>
#include <QSlider>
#include <QSpinBox>

namespace {

MapPointer PointerOf(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pixel)
{
    MapPointer pointer;
    pointer.X = pixel.x();
    pointer.Y = pixel.y();
    pointer.Pressed = button == Qt::NoButton ? MapPointer::NoButton
        : button == Qt::LeftButton           ? MapPointer::Left
        : button == Qt::MiddleButton         ? MapPointer::Middle
        : button == Qt::RightButton          ? MapPointer::Right
                                             : MapPointer::Other;
    pointer.Shift = modifiers.testFlag(Qt::ShiftModifier);
    pointer.Control = modifiers.testFlag(Qt::ControlModifier);
    pointer.Alt = modifiers.testFlag(Qt::AltModifier);
    pointer.Meta = modifiers.testFlag(Qt::MetaModifier);
    return pointer;
}

} // namespace

void CMapArea::Private::ApplyViewOperation(void (CMapWindow::*operation)())
{
    if (CMapWindow* view = Layers.View()) {
        (view->*operation)();
        TerrainChanged();
    }
}

void CMapArea::Private::ResolutionSettled()
{
    if (CMapWindow* view = Layers.View()) {
        view->SetResolution(pnlMapControls->Resolution());
        TerrainChanged();
    }
}

void CMapArea::Private::Resized()
{
    CMapWindow* view = Layers.View();
    if (!view)
        return;
    // An area that grows while the whole map is in view keeps it fitted.
    const bool fitted = view->ViewLeft <= 0 && view->ViewRight >= view->WorldWidth && view->ViewBottom <= 0
        && view->ViewTop >= view->WorldDepth;
    const QSize size = im->PictureSize();
    const bool grows = size.width() >= view->PixelWidth && size.height() >= view->PixelHeight
        && (size.width() > view->PixelWidth || size.height() > view->PixelHeight);
    view->SetSize(size.width(), size.height());
    if (fitted && grows)
        view->ResetView();
    TerrainChanged();
}

void CMapArea::Private::Navigate(MapKey key)
{
    switch (key) {
    case MapKey::Up: ApplyViewOperation(&CMapWindow::PanUp); break;
    case MapKey::Down: ApplyViewOperation(&CMapWindow::PanDown); break;
    case MapKey::Left: ApplyViewOperation(&CMapWindow::PanLeft); break;
    case MapKey::Right: ApplyViewOperation(&CMapWindow::PanRight); break;
    case MapKey::ZoomIn: ApplyViewOperation(&CMapWindow::ZoomIn); break;
    case MapKey::ZoomOut: ApplyViewOperation(&CMapWindow::ZoomOut); break;
    case MapKey::Home: ApplyViewOperation(&CMapWindow::ResetView); break;
    }
}

MapToolContext CMapArea::Private::ToolContext()
{
    MapToolContext context;
    context.Session = &Session;
    context.View = Layers.View();
    context.SectorRadius = pnlMapControls->SectorRadius();
    context.StartDragDistance = QApplication::startDragDistance();
    context.ViewPreview = [this] { ViewPreview(); };
    context.ViewSettled = [this] { TerrainChanged(); };
    const MapAreaState state = pnlMapControls->State();
    context.Pickable = {state.Keysites, state.Airbases, state.Sams};
    // A locked kind is drawn, but the mouse does not take it.
    for (size_t kind = 0; kind < context.Locked.size(); ++kind) {
        context.Locked[kind] = state.Locked[kind];
        context.Pickable[kind] = context.Pickable[kind] && !state.Locked[kind];
    }
    // A kind drawn through its page's filter takes only the records drawn.
    const CRecordFilters& filters = Session.Filters();
    bool filtered = false;
    for (const RecordKind kind : {KeysiteKind, AirbaseKind, SamKind})
        filtered = filtered || (filters.OnlyOnMap(ListOfKind(kind)) && filters.IsFiltering(ListOfKind(kind)));
    if (filtered) {
        context.Takes = [&filters](RecordKind kind, int index) {
            const RecordList list = ListOfKind(kind);
            return !filters.OnlyOnMap(list) || filters.Accepts(list, index);
        };
    }
    context.SymbolReach = SymbolReach();
    context.MovePreview = [this](float dx, float dz) {
        Layers.SetMoveOffset(dx, dz);
        OverlayChanged();
    };
    context.BandPreview = [this](int32_t x0, int32_t y0, int32_t x1, int32_t y1, bool active) {
        Layers.SetRubberBand(active ? QRect(QPoint(x0, y0), QPoint(x1, y1)).normalized() : QRect());
        OverlayChanged();
    };
    context.Brush = Brush;
    context.OutlinePreview = [this](int32_t firstColumn, int32_t firstRow, int32_t lastColumn, int32_t lastRow,
                                    bool active) {
        Layers.SetSectorOutline(active ? QRect(QPoint(firstColumn, firstRow), QPoint(lastColumn, lastRow)) : QRect());
        OverlayChanged();
    };
    context.PickBrush = [this](FactionBrush brush) {
        q.SetBrushFaction(brush);
        q.SetToolMode(MapToolMode::Brush);
    };
    context.RulerPreview = [this](float x0, float z0, float x1, float z1, const QString& label, bool active) {
        const QString was = q.RulerText();
        Layers.SetRuler(active ? std::optional(MapRuler{x0, z0, x1, z1, label}) : std::nullopt);
        OverlayChanged();
        if (q.RulerText() != was)
            emit q.RulerChanged(q.RulerText());
    };
    return context;
}

void CMapArea::Private::MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pixel)
{
    const MapPointer pointer = PointerOf(button, modifiers, pixel);
    const MapToolContext context = ToolContext();
    // Until every button is up again, what the mouse began (a stroke, a move) is not undone under it.
    ButtonsDown |= button;
    Session.History().SetHeld(true);
    if (Place) {
        Place->Press(context, pointer);
        if (Place->IsFinished())
            LeavePlaceMode();
        return;
    }
    if (Pan.IsPressed() || Mover.IsPressed() || Band.IsPressed())
        return; // a second button during a drag
    // A tool of the tool bar takes the left button, with Shift too; Ctrl and Alt keep their
    // meanings in every mode.
    if (CMapTool* tool = ModeTool();
        tool && pointer.Pressed == MapPointer::Left && !pointer.Control && !pointer.Alt && !pointer.Meta) {
        tool->Press(context, pointer);
        return;
    }
    if (pointer.NoModifier()) {
        // A press without a move on empty ground does nothing; moving makes it a drag.
        if (pointer.Pressed == MapPointer::Left && !Mover.Begin(context, pointer))
            Pan.Press(context, pointer);
        else if (pointer.Pressed == MapPointer::Middle)
            Pan.Press(context, pointer);
        else if (pointer.Pressed == MapPointer::Right) {
            if (SymbolUnder(context, pointer))
                Toggle.Press(context, pointer);
            else
                Band.Begin(context, pointer, true, nullptr);
        }
        return;
    }
    if (pointer.Pressed != MapPointer::Left)
        return;
    if (pointer.Shift)
        Centre.Press(context, pointer);
    else if (pointer.Alt)
        Paint.Press(context, pointer);
    else if (pointer.Control) {
        // On a symbol it selects at once, as it always did; from empty ground a drag draws a
        // rectangle, and a press without one still selects the nearest record.
        if (SymbolUnder(context, pointer))
            Select.Press(context, pointer);
        else
            Band.Begin(context, pointer, false, &Select);
    }
}

void CMapArea::Private::MouseMove(Qt::KeyboardModifiers modifiers, QPoint pixel)
{
    const MapToolContext context = ToolContext();
    const MapPointer pointer = PointerOf(Qt::NoButton, modifiers, pixel);
    Pan.Move(context, pointer);
    Mover.Move(context, pointer);
    Band.Move(context, pointer);
    if (CMapTool* tool = ModeTool())
        tool->Move(context, pointer);
    const RecordPoint at = PixelToRecord(Layers.Viewport(), pixel.x(), pixel.y());
    pnlMapControls->ShowCoordinates(CoordinateText(at.X), CoordinateText(at.Z));
    if (Layers.HasMap())
        emit q.PointerMoved(at, modifiers);
}

void CMapArea::Private::MouseLeft()
{
    if (CMapTool* tool = ModeTool())
        tool->Leave(ToolContext());
    emit q.PointerLeft();
}

void CMapArea::Private::MouseUp(Qt::MouseButton button, QPoint pixel)
{
    const MapToolContext context = ToolContext();
    const MapPointer pointer = PointerOf(button, {}, pixel);
    Pan.Release(context, pointer);
    Mover.Release(context, pointer);
    Band.Release(context, pointer);
    if (CMapTool* tool = ModeTool())
        tool->Release(context, pointer);
    ButtonsDown &= ~button;
    if (ButtonsDown == Qt::NoButton)
        Session.History().SetHeld(false);
}

void CMapArea::Private::CancelDrag()
{
    const MapToolContext context = ToolContext();
    Mover.Cancel(context);
    Band.Cancel(context);
    if (CMapTool* tool = ModeTool())
        tool->Cancel(context);
}

void CMapArea::Private::WheelSteps(int steps, QPoint pixel)
{
    CMapWindow* view = Layers.View();
    if (!view || Pan.IsDragging() || Mover.IsDragging() || Band.IsPressed())
        return;
    Wheel.Turn(*view, steps, pixel.x(), pixel.y());
    ViewPreview();
}
