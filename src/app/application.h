#pragma once
// The process entry of the editor: the application object, the hidden main window and its
// start-up, the event loop.

#include <QApplication>

class CUserPrompts;

// Shows an error that escapes an event handler and lets the event loop go on.
class CSablemapApplication : public QApplication {
public:
    CSablemapApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
    // Where such errors are shown; none (nothing shown) outside the window's run.
    void SetPrompts(CUserPrompts* prompts) { m_prompts = prompts; }

private:
    CUserPrompts* m_prompts = nullptr;
};

// Runs the editor; the result is the process's exit code (0, also after a failed start-up).
int RunSablemap(int argc, char** argv);
