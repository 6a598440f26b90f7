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
    QString Map; // the chosen map's folder

    // Builds and shows the window (at `size` when one is given); false when a step failed.
    bool Open(QSize size = {})
    {
        QString error;
        if (!Installation.WriteDemo(&error)) {
            QTest::qFail(qPrintable(error), __FILE__, __LINE__);
            return false;
        }
        Installation.RegisterRoot();
        Window = std::make_unique<TfrmMain>(Prompts, Installation.Environment(), &Editor);
        Map = Installation.Root() + QStringLiteral("/common/maps/") + QLatin1String(kDemoFirstMap);
        if (!Window->InitializeMainWindow()
            || !Window->Files()->LoadBinFile(Map + QLatin1Char('/') + QLatin1String(kDemoCampaignFile)))
            return false;
        Window->OpenMapFolder(Map);
        if (size.isValid())
            Window->resize(size);
        Window->show();
        return QTest::qWaitForWindowExposed(Window.get());
    }
};
