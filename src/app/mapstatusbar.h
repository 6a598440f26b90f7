#pragma once
// The window's status bar while the mouse is over the map: on the left what each button and key
// does in the chosen tool (the held keys' meanings first, in bold), on the right the records under
// the mouse and where it is (record X and Z, sector, faction, terrain height). The left part is an
// ordinary widget of the bar, so a notice (showMessage) or a menu's status tip takes its place for
// a while and then gives it back; the right part shows only while the mouse is over the map.

#include "maptools/pointerinspector.h"
#include "maptools/statustexts.h"

#include <QObject>
#include <QPoint>
#include <optional>

class CCampaignSession;
class CMapArea;
class QLabel;
class QStatusBar;
struct RecordPoint;

class CMapStatusBar : public QObject {
    Q_OBJECT
public:
    // Adds its labels to `bar` (lblStatusTool, lblStatusRecords, lblStatusPosition); lives as a
    // child of `area`, whose mouse it follows.
    CMapStatusBar(CMapArea& area, CCampaignSession& session, QStatusBar& bar);

protected:
    // Shift, Ctrl and Alt pressed or released while the mouse rests over the map.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void PointerMoved(RecordPoint at, Qt::KeyboardModifiers modifiers);
    void PointerLeft();
    // The facts at the pixel under the mouse, with the view and records as they are now.
    void Refresh();
    void ShowHints();

    CMapArea& m_area;
    CCampaignSession& m_session;
    CPointerInspector m_inspector;
    QLabel* m_tool = nullptr;
    QLabel* m_records = nullptr;
    QLabel* m_position = nullptr;
    std::optional<QPoint> m_pixel; // the picture pixel under the mouse, while it is over the map
    HintKeys m_held = 0;
};
