#include "app/application.h"

#include "app/mainwindow.h"
#include "dialogs/userprompts.h"

#include <exception>

CSablemapApplication::CSablemapApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Sablemap"));
    setApplicationDisplayName(QStringLiteral("Sablemap"));
    setApplicationVersion(QStringLiteral("1.1.0"));
    setQuitOnLastWindowClosed(true);
}

bool CSablemapApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        if (Prompts)
            Prompts->Error(activeWindow(), QString::fromLocal8Bit(error.what()));
    } catch (...) {
        if (Prompts)
            Prompts->Error(activeWindow(), QStringLiteral("Unexpected error"));
    }
    return false;
}

int RunSablemap(int argc, char** argv)
{
    try {
        CSablemapApplication application(argc, argv);
        CWidgetPrompts prompts;
        application.Prompts = &prompts;
        TfrmMain window(prompts, StartupEnvironment::OfApplication());
        // The window shows itself at the end of a successful start-up; otherwise the message has
        // been shown and the program ends without it.
        if (!window.InitializeMainWindow())
            return 0;
        application.exec();
        application.Prompts = nullptr;
    } catch (const std::exception& error) {
        CWidgetPrompts().Error(nullptr, QString::fromLocal8Bit(error.what()));
    }
    return 0;
}
