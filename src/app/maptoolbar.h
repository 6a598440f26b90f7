#pragma once
// The map's tool bar: one checked button per mode of the map (select, brush, fill, picker, ruler),
// each with a one-key shortcut, kept in step with the map area's mode both ways.

#include "maptools/maptool.h"

#include <QToolBar>
#include <array>

class CMapArea;
class QAction;
class QComboBox;

class CMapToolBar : public QToolBar {
    Q_OBJECT
public:
    CMapToolBar(CMapArea& mapArea, QWidget* parent = nullptr);

    // The button of a mode (actSelectTool, actBrushTool, ...).
    QAction* ModeAction(MapToolMode mode) const { return m_modes[static_cast<size_t>(mode)]; }
    // The brush's faction (cbBrushFaction): Toggle, Red, Blue.
    QComboBox* BrushFactionBox() const { return m_brushFaction; }

private:
    CMapArea& m_mapArea;
    std::array<QAction*, MapToolModeCount> m_modes{};
    QComboBox* m_brushFaction = nullptr;

    void AddBrushFaction();
};
