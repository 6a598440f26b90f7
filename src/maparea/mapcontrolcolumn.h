#pragma once
// The 90-pixel column beside the map: pan and zoom buttons, resolution, map mode, overlay and
// route check boxes, sector radius and the coordinate read-out. It only holds the controls; the
// main window connects them.

#include <QWidget>

class QCheckBox;
class QLabel;
class QRadioButton;
class QSlider;
class QSpinBox;
class QToolButton;

class CMapControlColumn : public QWidget {
    Q_OBJECT
public:
    explicit CMapControlColumn(QWidget* parent = nullptr);

    QToolButton* spMapUp;
    QToolButton* spMapLeft;
    QToolButton* spMapDefault;
    QToolButton* spMapRight;
    QToolButton* spMapDown;
    QToolButton* spMapZoomIn;
    QToolButton* spMapZoomOut;
    QSlider* tbResolution;
    QWidget* pnlMapMode;
    QRadioButton* rbMapModeHeights;
    QRadioButton* rbMapModeFactions;
    QCheckBox* chbGrid;
    QLabel* Label3;
    QSpinBox* seSectors;
    QCheckBox* chbKeysites;
    QCheckBox* chbAirbases;
    QCheckBox* chbSAMs;
    QLabel* Label1;
    QLabel* lblXCoord;
    QLabel* Label2;
    QLabel* lblZCoord;
    QCheckBox* chbRoads;
    QCheckBox* chbRivers;
    QCheckBox* chbUtils;
    QCheckBox* chbBorders;
};
