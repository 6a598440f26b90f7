#pragma once
// The 90-pixel column beside the map: pan and zoom buttons, resolution, map mode, overlay and
// route check boxes, sector radius and the coordinate read-out. It says what the user asked for
// (a navigation step, other layers, another resolution) and shows what the map area tells it;
// its controls are private and carry their system names as object names (spMapUp, tbResolution,
// rbMapModeFactions, chbKeysites, seSectors, lblXCoord, ...); the padlocks beside the symbol
// boxes are tbLockKeysites, tbLockAirbases and tbLockSams.

#include "maparea/mapimage.h"

#include <QWidget>
#include <array>

class QCheckBox;
class QLabel;
class QRadioButton;
class QSlider;
class QSpinBox;
class QToolButton;

// The state of the map's controls that a later run brings back.
struct MapAreaState {
    bool Roads = false, Rivers = false, Utilities = false, Borders = false;
    bool Keysites = false, Airbases = false, Sams = false, Grid = false;
    bool Factions = false; // the map mode
    // The padlocks beside the symbol boxes, by RecordKind: a locked kind is drawn, but the mouse
    // neither takes, moves nor places it.
    std::array<bool, 3> Locked{};
};

class CMapControlColumn : public QWidget {
    Q_OBJECT
public:
    explicit CMapControlColumn(QWidget* parent = nullptr);

    MapAreaState State() const;
    // Ticks the boxes and the mode as given, announcing what changed.
    void SetState(const MapAreaState& state);
    bool IsFactionsMode() const;
    // Ticks the mode without announcing it (a new map opens in Heights mode).
    void ShowHeightsModeQuietly();
    int Resolution() const;
    // Sectors painted around the clicked one.
    int SectorRadius() const;
    void ShowCoordinates(const QString& x, const QString& z);

signals:
    // A pan, zoom or whole-map button.
    void Navigate(MapKey step);
    void ResolutionMoved();
    // The map mode or a route network box: the terrain layer must be drawn again.
    void TerrainLayersChanged();
    // A symbol box or the grid: the overlay must be drawn again.
    void OverlayLayersChanged();
    // A padlock was opened or closed.
    void LocksChanged();

private:
    QRadioButton* m_heights;
    QRadioButton* m_factions;
    QSlider* m_resolution;
    QSpinBox* m_sectors;
    QLabel* m_x;
    QLabel* m_z;
    QCheckBox* m_grid;
    QCheckBox* m_keysites;
    QCheckBox* m_airbases;
    QCheckBox* m_sams;
    QCheckBox* m_roads;
    QCheckBox* m_rivers;
    QCheckBox* m_utilities;
    QCheckBox* m_borders;
    std::array<QToolButton*, 3> m_locks{}; // by RecordKind
};
