#pragma once
// Cut, Copy and Paste of the Edit menu: records between the session and the system clipboard, as
// text in the record form and under Sablemap's own type (session/recordclipboard.h). A text field
// with the keyboard focus (a filter) keeps the three for its own text. Each is usable only when it
// can act: Copy and Cut with records chosen, Paste with anything on the clipboard, which tells
// the user when it holds no records.

#include <QObject>
#include <QPointF>
#include <functional>
#include <optional>

class CCampaignSession;
class CUserPrompts;
class QAction;
class QLineEdit;
class QMenu;
class QWidget;

class CClipboardCommands : public QObject {
    Q_OBJECT
public:
    // Adds the commands to `menu`; `pointUnderMouse` gives the record position a paste lands at, or
    // nothing for the records' own positions.
    CClipboardCommands(CCampaignSession& session, CUserPrompts& prompts, QMenu& menu, QWidget* window,
                       std::function<std::optional<QPointF>()> pointUnderMouse);

    void Copy();
    void Cut();
    void Paste();

private:
    void Update();
    // The window's text field that has the keyboard focus, if one has.
    QLineEdit* FocusedTextField() const;

    CCampaignSession& m_session;
    CUserPrompts& m_prompts;
    QWidget* m_window;
    std::function<std::optional<QPointF>()> m_pointUnderMouse;
    QAction* m_cut;
    QAction* m_copy;
    QAction* m_paste;
    bool m_clipboardHasText = false; // as the clipboard last said
};
