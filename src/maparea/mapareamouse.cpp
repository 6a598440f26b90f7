// The map area's navigation: its buttons, keys, slider and size, and the mouse on the picture,
// which goes to the tool the buttons, the keys held and place mode choose.
#include "maparea/debounce.h"
#include "maparea/mapareaprivate.h"
#include "maparea/mapcontrolcolumn.h"
#include "maparea/mapimage.h"
#include "maptools/mapgeometry.h"

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
    return context;
}

void CMapArea::Private::MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pixel)
{
    const MapPointer pointer = PointerOf(button, modifiers, pixel);
    const MapToolContext context = ToolContext();
    if (Place) {
        Place->Press(context, pointer);
        if (Place->IsFinished())
            LeavePlaceMode();
        return;
    }
    if (pointer.NoModifier() && (pointer.Pressed == MapPointer::Left || pointer.Pressed == MapPointer::Middle)) {
        // A press without a move does nothing; moving makes it a drag.
        Pan.Press(context, pointer);
        return;
    }
    if (pointer.Pressed != MapPointer::Left)
        return;
    if (pointer.Shift)
        Centre.Press(context, pointer);
    else if (pointer.Alt)
        Paint.Press(context, pointer);
    else if (pointer.Control)
        Select.Press(context, pointer);
}

void CMapArea::Private::MouseMove(QPoint pixel)
{
    Pan.Move(ToolContext(), PointerOf(Qt::NoButton, {}, pixel));
    const RecordPoint at = PixelToRecord(Layers.Viewport(), pixel.x(), pixel.y());
    pnlMapControls->ShowCoordinates(CoordinateText(at.X), CoordinateText(at.Z));
}

void CMapArea::Private::MouseUp(Qt::MouseButton button, QPoint pixel)
{
    Pan.Release(ToolContext(), PointerOf(button, {}, pixel));
}

void CMapArea::Private::WheelSteps(int steps, QPoint pixel)
{
    CMapWindow* view = Layers.View();
    if (!view || Pan.IsDragging())
        return;
    Wheel.Turn(*view, steps, pixel.x(), pixel.y());
    ViewPreview();
}
