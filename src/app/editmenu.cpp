#include "app/editmenu.h"

#include "session/edithistory.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>

CEditMenu::CEditMenu(CEditHistory& history, QWidget* parent) : QObject(parent), m_history(history)
{
    m_menu = new QMenu(QStringLiteral("&Edit"), parent);
    m_menu->setObjectName(QStringLiteral("Edit1"));
    m_undo = m_menu->addAction(QStringLiteral("&Undo"));
    m_undo->setObjectName(QStringLiteral("Undo1"));
    m_undo->setShortcut(QKeySequence::Undo);
    m_redo = m_menu->addAction(QStringLiteral("&Redo"));
    m_redo->setObjectName(QStringLiteral("Redo1"));
    m_redo->setShortcut(QKeySequence::Redo);
    m_menu->addSeparator();
    QAction* filter = m_menu->addAction(QStringLiteral("&Filter records"));
    filter->setObjectName(QStringLiteral("FilterRecords1"));
    filter->setShortcut(QKeySequence::Find);
    connect(filter, &QAction::triggered, this, &CEditMenu::FilterRequested);
    connect(m_undo, &QAction::triggered, &history, &CEditHistory::Undo);
    connect(m_redo, &QAction::triggered, &history, &CEditHistory::Redo);
    connect(&history, &CEditHistory::Changed, this, &CEditMenu::Update);
    connect(&history, &CEditHistory::HeldChanged, this, &CEditMenu::Update);
    Update();
}

void CEditMenu::Update()
{
    const QString undo = m_history.UndoText();
    m_undo->setEnabled(m_history.CanUndo());
    m_undo->setText(undo.isEmpty() ? QStringLiteral("&Undo") : QStringLiteral("&Undo %1").arg(undo));
    const QString redo = m_history.RedoText();
    m_redo->setEnabled(m_history.CanRedo());
    m_redo->setText(redo.isEmpty() ? QStringLiteral("&Redo") : QStringLiteral("&Redo %1").arg(redo));
}
