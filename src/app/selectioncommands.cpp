#include "app/selectioncommands.h"

#include "dialogs/userprompts.h"
#include "maparea/maparea.h"
#include "maptools/selectiontools.h"
#include "session/campaignsession.h"
#include "session/moveedit.h"
#include "session/similarrecords.h"

#include <QAction>
#include <QInputDialog>
#include <QKeySequence>
#include <QMenu>

CSelectionCommands::CSelectionCommands(CCampaignSession& session, CMapArea& map, CUserPrompts& prompts, QMenu& menu,
                                       QWidget* parent)
    : QObject(parent), m_session(session), m_map(map), m_prompts(prompts), m_parent(parent)
{
    const auto add = [&](QMenu& into, const char* name, const QString& caption, const QKeySequence& keys) {
        QAction* action = into.addAction(caption);
        action->setObjectName(QLatin1String(name));
        action->setShortcut(keys);
        return action;
    };
    menu.addSeparator();
    QAction* similar =
        add(menu, "SelectSimilar1", QStringLiteral("Select si&milar"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_L));
    similar->setStatusTip(QStringLiteral("Keysites of the same template, airbases of the same object"));
    connect(similar, &QAction::triggered, this, &CSelectionCommands::SelectSimilar);
    QAction* within = add(menu, "SelectWithin1", QStringLiteral("Select &within distance…"),
                          QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_D));
    connect(within, &QAction::triggered, this, &CSelectionCommands::SelectWithin);
    QAction* none =
        add(menu, "SelectNone1", QStringLiteral("Select &none"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_A));
    connect(none, &QAction::triggered, this, &CSelectionCommands::SelectNone);
    m_needSelection = {similar, within, none};

    QMenu* nudge = menu.addMenu(QStringLiteral("N&udge selection"));
    nudge->setObjectName(QStringLiteral("NudgeSelection1"));
    struct Step {
        const char* Name;
        const char* Caption;
        Qt::Key Key;
        int Columns;
        int Rows;
    };
    static constexpr Step steps[] = {
        {"NudgeLeft1", "&Left", Qt::Key_Left, -1, 0},
        {"NudgeRight1", "&Right", Qt::Key_Right, 1, 0},
        {"NudgeUp1", "&Up", Qt::Key_Up, 0, -1},
        {"NudgeDown1", "&Down", Qt::Key_Down, 0, 1},
    };
    for (const bool large : {false, true}) {
        if (large)
            nudge->addSeparator();
        for (const Step& step : steps) {
            const int factor = large ? 10 : 1;
            QAction* action = add(*nudge, step.Name,
                                  large ? QStringLiteral("%1 by 10 pixels").arg(QLatin1String(step.Caption))
                                        : QLatin1String(step.Caption),
                                  QKeySequence(QKeyCombination(large ? Qt::ControlModifier | Qt::ShiftModifier
                                                                     : Qt::KeyboardModifiers(Qt::ControlModifier),
                                                               step.Key)));
            if (large)
                action->setObjectName(QLatin1String(step.Name) + QStringLiteral("x10"));
            // The keys act while the map has the keyboard: in a grid or a field Ctrl+arrows keep
            // their own meaning and never move records by surprise.
            action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
            m_map.addAction(action);
            connect(action, &QAction::triggered, this,
                    [this, step, factor] { Nudge(step.Columns * factor, step.Rows * factor); });
            m_nudges << action;
        }
    }
    // An edit of many records announces each: the entries are brought up to date once after it.
    const auto later = [this] {
        if (m_updateQueued)
            return;
        m_updateQueued = true;
        QMetaObject::invokeMethod(this, &CSelectionCommands::Update, Qt::QueuedConnection);
    };
    connect(&m_session, &CCampaignSession::SelectionChanged, this, later);
    connect(&m_session, &CCampaignSession::RecordsChanged, this, later);
    connect(&m_map, &CMapArea::TerrainRedrawn, this, later);
    Update();
}

void CSelectionCommands::Update()
{
    m_updateQueued = false;
    const bool selected = m_session.HasSelectedPlacements();
    for (QAction* action : m_needSelection)
        action->setEnabled(selected);
    for (QAction* action : m_nudges)
        action->setEnabled(selected && m_map.UnitsPerPixel() > 0);
}

void CSelectionCommands::SelectSimilar()
{
    m_session.SelectPlacements(SimilarRecords(m_session.Records(), m_session.SelectedPlacements()));
}

void CSelectionCommands::SelectWithin()
{
    QInputDialog dialog(m_parent);
    dialog.setObjectName(QStringLiteral("dlgSelectWithin"));
    dialog.setWindowTitle(QStringLiteral("Select within distance"));
    dialog.setLabelText(QStringLiteral("Select every shown record this near a selected one (world units):"));
    dialog.setInputMode(QInputDialog::DoubleInput);
    dialog.setDoubleRange(0, 1e9);
    dialog.setDoubleDecimals(0);
    dialog.setDoubleValue(m_lastDistance);
    if (m_prompts.Run(dialog) != QDialog::Accepted)
        return;
    m_lastDistance = dialog.doubleValue();
    m_session.SelectPlacements(
        RecordsWithin(m_session.Records(), m_session.SelectedPlacements(), m_lastDistance, m_map.PickableKinds()));
}

void CSelectionCommands::SelectNone() { m_session.SelectPlacements({}); }

void CSelectionCommands::Nudge(int columns, int rows)
{
    const double step = m_map.UnitsPerPixel();
    if (step <= 0 || !m_session.HasSelectedPlacements())
        return;
    // A nudge moves on the map as a drag does: the records of a locked kind stay.
    auto* edit = new CMoveEdit(m_session, UnlockedRecords(m_session.SelectedPlacements(), m_map.State().Locked),
                               float(columns * step), float(rows * step), true);
    if (edit->IsEmpty()) {
        delete edit;
        return;
    }
    m_session.Push(CEditHistory::MapBin, edit);
}
