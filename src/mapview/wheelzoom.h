#pragma once
// The wheel's zoom: a notch away from the user scales the view window by NotchFactor around the
// pointer, a notch back by its inverse. A turn is scaled from the view at its first notch rather
// than notch by notch, so that turning back restores that view exactly, whatever whole world units
// the notches in between rounded to. A turn ends when the pointer is over another pixel or the
// view has been moved by anything else.

#include "mapview/mapwindow.h"

#include <cstdint>

class CWheelZoom {
public:
    // The view window's size after one notch in; one notch out divides by it.
    static constexpr double NotchFactor = 0.8;

    // Turns `notches` (positive: in) over pixel (px, py) of `view`. A notch that cannot change the
    // view (at the smallest window or the view's limits) is not counted, so that the first notch
    // back always moves.
    void Turn(CMapWindow& view, int notches, int32_t px, int32_t py);

private:
    struct Window {
        int32_t Left = 0, Right = 0, Bottom = 0, Top = 0, PixelWidth = 0, PixelHeight = 0;
        const CMap* Map = nullptr; // compared, never read
        bool operator==(const Window&) const = default;
    };
    static Window Of(const CMapWindow& view);

    bool m_turning = false;
    Window m_start; // the view at the turn's first notch
    Window m_left;  // the view the last notch left
    int32_t m_px = 0;
    int32_t m_py = 0;
    int m_notches = 0; // counted since the first
};
