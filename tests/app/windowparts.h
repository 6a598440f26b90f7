#pragma once
// The window's parts as the tests reach them: controls and menu commands by the object names the
// window gives them (the system's names: "grSAMs", "btnSAMAdd", "Save1"), and the campaign
// session through the window's public interface.

#include "app/documentfiles.h"
#include "app/mainwindow.h"
#include "maparea/maparea.h"
#include "pages/recordgrid.h"
#include "session/campaignsession.h"

#include <QAction>
#include <QPushButton>
#include <QTabWidget>

// The child of `window` of that type and name; the test stops when there is none.
template <typename Part>
Part* Find(const QWidget& window, const char* name)
{
    Part* part = window.findChild<Part*>(QLatin1String(name));
    if (!part)
        qFatal("the window has no %s", name);
    return part;
}

inline CRecordGrid* Grid(const QWidget& window, const char* name) { return Find<CRecordGrid>(window, name); }
inline QPushButton* Button(const QWidget& window, const char* name) { return Find<QPushButton>(window, name); }
inline QAction* Action(const QWidget& window, const char* name) { return Find<QAction>(window, name); }
inline QTabWidget* Pages(const QWidget& window) { return Find<QTabWidget>(window, "pcBINFile"); }

// A button clicked, a menu command chosen, as the user would.
inline void Press(const QWidget& window, const char* name) { Button(window, name)->click(); }
inline void Trigger(const QWidget& window, const char* name) { Action(window, name)->trigger(); }

inline const CBINFile& Records(const TfrmMain& window) { return window.Session()->Records(); }
