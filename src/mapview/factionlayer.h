#pragma once
// The faction layer as the map shows it: one filled square per sector, red for faction 1 and blue
// for faction 0, on the button face.

#include "mapview/viewport.h"

#include <QImage>

class CFactionsInfo;

// Draws the faction map into `bitmap` (resized to the view's picture size, RGB32): the button face
// everywhere, then a filled square per sector of the grid in or around the view.
void RenderFactions(const CFactionsInfo& factions, const CViewport& view, QImage& bitmap, QRgb buttonFace);
