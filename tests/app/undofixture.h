#pragma once
// A window on the demonstration installation with its first map chosen and its campaign loaded,
// the record dialogs answered by a scripted editor, and the window's state in one comparable value.

#include "../dialogs/scriptedprompts.h"
#include "maparea/mapimage.h"
#include "appfixture.h"
#include "demo/demofactions.h"
#include "demo/demoinstall.h"
#include "document/binfile.h"
#include "factions/factionsinfo.h"
#include "mapview/mapcanvas.h"

class CUndoFixture {
public:
    explicit CUndoFixture(bool withGuide = false)
    {
        QString error;
        if (!Installation.WriteDemo(&error))
            qFatal("%s", qPrintable(error));
        Installation.RegisterRoot();
        Window = std::make_unique<TfrmMain>(Prompts, Installation.Environment(withGuide), &Editor);
    }

    // Starts the window, chooses the first map and loads its campaign (and, when asked, factions).
    bool Start(bool withFactions = false)
    {
        if (!Window->InitializeMainWindow() || !Window->LoadBinFile(DemoFile(kDemoCampaignFile)))
            return false;
        Window->OpenMapFolder(Installation.Root() + QStringLiteral("/common/maps/") + QLatin1String(kDemoFirstMap));
        if (withFactions)
            Window->OpenFactionFile(DemoFile(kDemoFactionFile));
        return Window->MapCanvas->HasMap() && (!withFactions || Window->Factions);
    }

    QString DemoFile(const char* name) const
    {
        return Installation.Root() + QStringLiteral("/common/maps/") + QLatin1String(kDemoFirstMap) + QLatin1Char('/')
            + QLatin1String(name);
    }

    // What an undo must bring back: the file the document saves, the use counts, the length of
    // every list on screen and the faction grid.
    QByteArray State() const
    {
        const TfrmMain& window = *Window;
        QByteArray state = window.Document->SaveBytes(true);
        for (const CPopTemplate& tmpl : window.Document->Templates())
            state += QByteArray::number(tmpl.UseCount) + ',';
        for (const CStringGrid* grid : {window.grPopTemplates, window.grKeysites, window.grAirbases, window.grSAMs})
            state += QByteArray::number(grid->RowCount()) + ';';
        if (const CFactionsInfo* factions = window.Factions.get()) {
            for (int32_t row = 0; row < factions->Rows; ++row)
                for (int32_t column = 0; column < factions->Columns; ++column)
                    state += char('0' + factions->GetFaction(column, row));
        }
        return state;
    }

    CTestInstallation Installation;
    CScriptedPrompts Prompts;
    CScriptedEditor Editor;
    std::unique_ptr<TfrmMain> Window;
};
