#include "app/maptoolbar.h"

#include "maparea/maparea.h"

#include <QAction>
#include <QActionGroup>
#include <QComboBox>

namespace {

struct ModeButton {
    MapToolMode Mode;
    const char* ObjectName;
    const char* Text;
    Qt::Key Key;
    const char* Purpose;
};

constexpr ModeButton ModeButtons[] = {
    {MapToolMode::Select, "actSelectTool", "Select", Qt::Key_S, "click, drag and box records; drag the ground to pan"},
    {MapToolMode::Brush, "actBrushTool", "Brush", Qt::Key_B,
     "paint sectors with the chosen faction; a drag is one stroke"},
    {MapToolMode::Fill, "actFillTool", "Fill", Qt::Key_G, "give the connected sectors of one faction another"},
    {MapToolMode::Picker, "actPickerTool", "Picker", Qt::Key_I, "take the faction under the mouse for the brush"},
    {MapToolMode::Ruler, "actRulerTool", "Ruler", Qt::Key_R, "measure distance and bearing; Shift snaps to symbols"},
};

} // namespace

CMapToolBar::CMapToolBar(CMapArea& mapArea, QWidget* parent)
    : QToolBar(QStringLiteral("Map tools"), parent), m_mapArea(mapArea)
{
    setObjectName(QStringLiteral("tbMapTools"));
    setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto* group = new QActionGroup(this);
    group->setExclusive(true);
    for (const ModeButton& button : ModeButtons) {
        QAction* action = addAction(QString::fromUtf8(button.Text));
        action->setObjectName(QString::fromLatin1(button.ObjectName));
        action->setCheckable(true);
        action->setShortcut(QKeySequence(button.Key));
        const QString named =
            QStringLiteral("%1 (%2)").arg(action->text(), action->shortcut().toString(QKeySequence::NativeText));
        action->setToolTip(named);
        action->setStatusTip(QStringLiteral("%1: %2").arg(named, QString::fromUtf8(button.Purpose)));
        group->addAction(action);
        m_modes[static_cast<size_t>(button.Mode)] = action;
        const MapToolMode mode = button.Mode;
        connect(action, &QAction::triggered, this, [this, mode] { m_mapArea.SetToolMode(mode); });
    }
    ModeAction(m_mapArea.ToolMode())->setChecked(true);
    connect(&m_mapArea, &CMapArea::ToolModeChanged, this,
            [this](MapToolMode mode) { ModeAction(mode)->setChecked(true); });
    AddBrushFaction();
}

void CMapToolBar::AddBrushFaction()
{
    addSeparator();
    m_brushFaction = new QComboBox(this);
    m_brushFaction->setObjectName(QStringLiteral("cbBrushFaction"));
    // In the order of FactionBrush; the colours are the faction layer's.
    m_brushFaction->addItem(QStringLiteral("Toggle"));
    m_brushFaction->addItem(QStringLiteral("Red"));
    m_brushFaction->addItem(QStringLiteral("Blue"));
    m_brushFaction->setToolTip(QStringLiteral("Brush faction"));
    m_brushFaction->setStatusTip(QStringLiteral("Brush faction: what the brush and the fill paint; Toggle gives each "
                                                "sector the opposite of the clicked sector's faction"));
    m_brushFaction->setFocusPolicy(Qt::NoFocus);
    m_brushFaction->setCurrentIndex(static_cast<int>(m_mapArea.BrushFaction()));
    addWidget(m_brushFaction);
    connect(m_brushFaction, &QComboBox::activated, this,
            [this](int index) { m_mapArea.SetBrushFaction(static_cast<FactionBrush>(index)); });
    connect(&m_mapArea, &CMapArea::BrushFactionChanged, this,
            [this](FactionBrush brush) { m_brushFaction->setCurrentIndex(static_cast<int>(brush)); });
}
