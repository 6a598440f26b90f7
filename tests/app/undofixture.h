#pragma once
// A window on the demonstration installation with its first map chosen and its campaign loaded,
// the record dialogs answered by scripted values, and the window's state in one comparable value.

#include "../dialogs/scriptedprompts.h"
#include "appfixture.h"
#include "demo/demofactions.h"
#include "demo/demoinstall.h"
#include "document/binfile.h"
#include "factions/factionsinfo.h"
#include "maparea/mapimage.h"

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
        if (!Window->InitializeMainWindow() || !Window->Files()->LoadBinFile(DemoFile(kDemoCampaignFile)))
            return false;
        Window->OpenMapFolder(Installation.Root() + QStringLiteral("/common/maps/") + QLatin1String(kDemoFirstMap));
        if (withFactions)
            Window->Files()->OpenFactionFile(DemoFile(kDemoFactionFile));
        return Window->MapArea()->HasMap() && (!withFactions || Window->Session()->Factions());
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
        QByteArray state = Records(window).SaveBytes(true);
        for (const CPopTemplate& tmpl : Records(window).Templates())
            state += QByteArray::number(tmpl.UseCount) + ',';
        for (const char* grid : {"grPopTemplates", "grKeysites", "grAirbases", "grSAMs"})
            state += QByteArray::number(Grid(window, grid)->RowCount()) + ';';
        if (const CFactionsInfo* factions = window.Session()->Factions()) {
            for (int32_t row = 0; row < factions->Rows; ++row)
                for (int32_t column = 0; column < factions->Columns; ++column)
                    state += char('0' + factions->GetFaction(column, row));
        }
        return state;
    }

    CTestInstallation Installation;
    CScriptedPrompts Prompts;
    CScriptedRecordDialogs Editor;
    std::unique_ptr<TfrmMain> Window;
};

// The map's picture, where the user clicks to place, paint and select.
inline CMapImage* MapImage(const TfrmMain& window) { return Find<CMapImage>(window, "im"); }
