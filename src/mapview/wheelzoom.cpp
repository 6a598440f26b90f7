#include "mapview/wheelzoom.h"

#include <cmath>

CWheelZoom::Window CWheelZoom::Of(const CMapWindow& view)
{
    return {view.ViewLeft, view.ViewRight, view.ViewBottom, view.ViewTop, view.PixelWidth, view.PixelHeight, view.Map};
}

void CWheelZoom::Turn(CMapWindow& view, int notches, int32_t px, int32_t py)
{
    const Window before = Of(view);
    if (!m_turning || before != m_left || px != m_px || py != m_py) {
        m_turning = true;
        m_start = before;
        m_px = px;
        m_py = py;
        m_notches = 0;
    }
    const int total = m_notches + notches;
    view.ViewLeft = m_start.Left;
    view.ViewRight = m_start.Right;
    view.ViewBottom = m_start.Bottom;
    view.ViewTop = m_start.Top;
    view.ScaleAround(px, py, std::pow(NotchFactor, total));
    m_left = Of(view);
    if (m_left != before)
        m_notches = total;
}
