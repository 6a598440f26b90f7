#pragma once
// The window as a user first meets it on the demonstration: its campaign loaded, its first map
// chosen, shown on the screen; the prompts and record dialogs are the tests' scripted ones.
#include "../dialogs/scriptedprompts.h"
#include "appfixture.h"

#include <memory>

struct CDemoWindow {
    CTestInstallation Installation;
    CScriptedPrompts Prompts;
    CScriptedRecordDialogs Editor;
    std::unique_ptr<TfrmMain> Window;

    // Builds and shows the window; false (with a test failure) when a step failed.
    bool Open()
    {
        QString error;
        if (!Installation.WriteDemo(&error)) {
            QTest::qFail(qPrintable(error), __FILE__, __LINE__);
            return false;
        }
        Installation.RegisterRoot();
        Window = std::make_unique<TfrmMain>(Prompts, Installation.Environment(), &Editor);
        const QString map = Installation.Root() + QStringLiteral("/common/maps/") + QLatin1String(kDemoFirstMap);
        if (!Window->InitializeMainWindow()
            || !Window->Files()->LoadBinFile(map + QLatin1Char('/') + QLatin1String(kDemoCampaignFile)))
            return false;
        Window->OpenMapFolder(map);
        Window->show();
        return QTest::qWaitForWindowExposed(Window.get());
    }
};
