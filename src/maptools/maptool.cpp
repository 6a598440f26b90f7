#include "maptools/maptool.h"

#include "mapview/mapwindow.h"

CViewport MapToolContext::Viewport() const { return View ? View->Viewport() : CViewport(); }
