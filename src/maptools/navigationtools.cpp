#include "maptools/navigationtools.h"

#include <cstdlib>

void CPanTool::Press(const MapToolContext& context, const MapPointer& pointer)
{
    if (!context.View)
        return;
    m_start = *context.View;
    m_press = pointer;
    m_dragging = false;
}

void CPanTool::Move(const MapToolContext& context, const MapPointer& pointer)
{
    if (!m_start || !context.View || m_start->Map != context.View->Map)
        return;
    const int32_t dx = pointer.X - m_press.X;
    const int32_t dy = pointer.Y - m_press.Y;
    if (!m_dragging && std::abs(dx) + std::abs(dy) >= context.StartDragDistance)
        m_dragging = true;
    if (!m_dragging)
        return;
    *context.View = *m_start;
    context.View->PanByPixels(dx, dy);
    if (context.ViewPreview)
        context.ViewPreview();
}

void CPanTool::Release(const MapToolContext& context, const MapPointer& pointer)
{
    if (!m_start || pointer.Pressed != m_press.Pressed)
        return;
    const bool dragged = m_dragging;
    m_start.reset();
    m_dragging = false;
    if (dragged && context.ViewSettled)
        context.ViewSettled();
}

void CCentreTool::Press(const MapToolContext& context, const MapPointer& pointer)
{
    if (!context.View)
        return;
    context.View->CentreOn(pointer.X, pointer.Y);
    if (context.ViewSettled)
        context.ViewSettled();
}
