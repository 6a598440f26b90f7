#pragma once
// The inside of the map area: its widgets, its drawing layers, its waits and its mouse tools, and
// the one queued repaint that answers every change of a turn of the event loop.

#include "maparea/maparea.h"
#include "maptools/maptool.h"
#include "maptools/navigationtools.h"
#include "maptools/recordtools.h"
#include "maptools/selectiontools.h"
#include "mapview/maplayers.h"
#include "mapview/wheelzoom.h"

#include <QObject>
#include <QPoint>
#include <memory>

class CDebounce;
class CMapControlColumn;
class CMapImage;
class CFactionsInfo;
class QSplitter;
enum class MapKey;

class CMapArea::Private : public QObject {
    Q_OBJECT
public:
    Private(CMapArea& area, CCampaignSession& session, const CTarnConfig& symbology, CUserPrompts& prompts);
    ~Private() override;

    // What needs drawing again; the repaint comes once the event loop turns.
    void TerrainChanged();
    void OverlayChanged();
    // The view moved under the hand: a cheap picture now, a proper one once it rests.
    void ViewPreview();
    void Repaint();
    // The layers take what the controls and the session show now.
    void SyncLayers();

    void ApplyViewOperation(void (CMapWindow::*operation)());
    void ResolutionSettled();
    void Resized();
    void Navigate(MapKey key);
    void ShowFactions();
    void LeavePlaceMode();
    // A padlock changed: place mode for a kind now locked ends.
    void LocksChanged();

    // The mouse on the picture, handed to the tools.
    MapToolContext ToolContext();
    // How far from a record's position its symbol takes a click, in picture pixels.
    int SymbolReach() const;
    void MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pixel);
    void MouseMove(Qt::KeyboardModifiers modifiers, QPoint pixel);
    void MouseLeft();
    void MouseUp(Qt::MouseButton button, QPoint pixel);
    void WheelSteps(int steps, QPoint pixel);
    // Escape: a move or rectangle in progress ends without effect.
    void CancelDrag();

    bool eventFilter(QObject* watched, QEvent* event) override;

    CMapArea& q;
    CCampaignSession& Session;
    const CTarnConfig& Symbology;
    CUserPrompts& Prompts;

    QSplitter* Splitter1 = nullptr;
    QWidget* pnlMap = nullptr;
    CMapImage* im = nullptr;
    CMapControlColumn* pnlMapControls = nullptr;
    CDebounce* TimerTBResolution = nullptr;
    CDebounce* TimerMapResize = nullptr;
    CDebounce* TimerMapSettle = nullptr;

    CMapLayers Layers;
    QString Folder;
    CWheelZoom Wheel;
    CPanTool Pan;
    CCentreTool Centre;
    CSelectTool Select;
    CFactionPaintTool Paint;
    CMoveTool Mover;
    CRubberBandTool Band;
    CToggleTool Toggle;
    std::unique_ptr<CPlaceTool> Place; // while in place mode
    MapToolMode Mode = MapToolMode::Select;
    Qt::MouseButtons ButtonsDown;                                      // pressed on the picture and not yet released
    std::array<std::unique_ptr<CMapTool>, MapToolModeCount> ModeTools; // by MapToolMode; null for Select
    CMapTool* ModeTool() const { return ModeTools[static_cast<size_t>(Mode)].get(); }
    const CFactionsInfo* ShownFactions = nullptr; // the faction layer last seen
    FactionBrush Brush = FactionBrush::Toggle;

    bool TerrainDirty = false;
    bool OverlayDirty = false;
    bool PreviewDirty = false;
    bool RepaintQueued = false;

    // The view window the last repaint showed, so that ViewChanged is said once per change.
    struct ShownWindow {
        unsigned Map = 0; // counts the maps chosen
        int32_t Left = 0, Right = 0, Bottom = 0, Top = 0;
        bool operator==(const ShownWindow&) const = default;
    };
    ShownWindow LastWindow;
    unsigned MapsChosen = 0;
    void AnnounceViewChange();
};
