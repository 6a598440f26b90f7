#include "app/application.h"

#include "app/commandline.h"
#include "app/mainwindow.h"
#include "dialogs/userprompts.h"
#include "sablemapversion.h"

#include <QIcon>
#include <QTimer>
#include <cstdio>
#include <exception>

CSablemapApplication::CSablemapApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Sablemap"));
    setApplicationDisplayName(QStringLiteral("Sablemap"));
    setApplicationVersion(QStringLiteral(SABLEMAP_VERSION));
    setQuitOnLastWindowClosed(true);
    // Ties the windows to the desktop entry and its icon where the program is installed.
    setDesktopFileName(QStringLiteral("sablemap"));
    setWindowIcon(QIcon::fromTheme(QStringLiteral("sablemap")));
}

bool CSablemapApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        if (m_prompts)
            m_prompts->Error(activeWindow(), QString::fromLocal8Bit(error.what()));
    } catch (...) {
        if (m_prompts)
            m_prompts->Error(activeWindow(), QStringLiteral("Unexpected error"));
    }
    return false;
}

int RunSablemap(int argc, char** argv)
{
    {
        // --help and --version need no display.
        const QCoreApplication information(argc, argv);
        QString answer;
        if (AnswerInformationRequest(QCoreApplication::arguments(), answer)) {
            std::fputs(answer.toLocal8Bit().constData(), stdout);
            return 0;
        }
    }
    try {
        CSablemapApplication application(argc, argv);
        CWidgetPrompts prompts;
        application.SetPrompts(&prompts);
        // Parsed once the window system has taken its own options (-platform, -style ...).
        const CommandLine line = ParseCommandLine(QCoreApplication::arguments());
        for (const QString& problem : line.Problems)
            std::fprintf(stderr, "sablemap: %s\n", problem.toLocal8Bit().constData());
        StartupEnvironment environment = StartupEnvironment::OfApplication();
        environment.Installation = line.Installation;
        TfrmMain window(prompts, environment);
        // The window shows itself at the end of a successful start-up; otherwise the message has
        // been shown and the program ends without it.
        if (!window.InitializeMainWindow())
            return 0;
        // Once the event loop runs, so that the map is laid out at the window's real size.
        // Work a run that did not end normally left behind comes first, then the named files,
        // then the map the last run ended on when none has been chosen by then.
        QTimer::singleShot(0, &window, [&window, &line] {
            window.OfferRecovery();
            window.OpenCommandLine(line);
            window.RestoreRememberedMap();
        });
        application.exec();
        application.SetPrompts(nullptr);
    } catch (const std::exception& error) {
        CWidgetPrompts().Error(nullptr, QString::fromLocal8Bit(error.what()));
    }
    return 0;
}
