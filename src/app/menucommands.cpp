// The menu commands around the document: faction files, template exchange, choosing the map and
// the two guides.
#include "app/mainwindow.h"

#include "app/editcommands.h"
#include "app/edithistory.h"
#include "app/fileplaces.h"
#include "maparea/mapcontrolcolumn.h"
#include "maparea/mapimage.h"
#include "app/stringgrid.h"
#include "dialogs/waitcursor.h"
#include "document/binfile.h"
#include "factions/factionsinfo.h"
#include "mapview/mapcanvas.h"
#include "platform/filepaths.h"

#include <QDir>
#include <QFileInfo>
#include <QPixmap>
#include <QRadioButton>
#include <QSlider>

const char* const TfrmMain::OnlineGuideAddress = "https://sablemap.example/guide/";

void TfrmMain::Loadfactions1Click()
{
    QString path;
    if (MayDiscardFactions() && m_prompts.OpenFile(this, OpenDialogSID, path))
        LoadChosenFactionFile(path);
}

void TfrmMain::OpenFactionFile(const QString& path)
{
    if (MayDiscardFactions())
        LoadChosenFactionFile(path);
}

void TfrmMain::LoadChosenFactionFile(const QString& path)
{
    // The file is read into a layer of its own; the current layer goes only once it has loaded,
    // so a damaged file never takes away the factions being painted.
    auto layer = std::make_unique<CFactionsInfo>();
    bool loaded = false;
    QString reason;
    {
        CWaitCursor wait;
        loaded = layer->LoadFromFile(path, &reason);
    }
    if (!loaded) {
        m_prompts.Message(this, QStringLiteral("Open failed"), QStringLiteral("%1: %2").arg(path, reason));
        return;
    }
    FilePlaces->AddRecentFile(path, CFilePlaces::Kind::Factions);
    // The paints of the old layer go with it.
    History->Reset(CEditHistory::Factions);
    Factions = std::move(layer);
    FactionFilePath = path;
    UpdateWindowTitle();
    if (MapCanvas)
        MapCanvas->Factions = Factions.get();
    pnlMapControls->rbMapModeFactions->setChecked(true);
    CWaitCursor wait;
    RedrawTerrain();
    RefreshMap();
    AfterFileOpened(path);
}

void TfrmMain::Savefactionassignment1Click() { SaveFactionLayer(); }

void TfrmMain::Savefactionassignmentas1Click() { SaveFactionLayerAs(); }

bool TfrmMain::SaveFactionLayer()
{
    // As Save does for the Map BIN file: the layer goes back to the file it came from.
    if (!Factions)
        return false;
    return FactionFilePath.isEmpty() ? SaveFactionLayerAs() : WriteFactionLayer(FactionFilePath);
}

bool TfrmMain::SaveFactionLayerAs()
{
    QString path;
    return Factions && m_prompts.SaveFile(this, Proposing(SaveDialogSID, FactionFilePath), path)
        && WriteFactionLayer(path);
}

bool TfrmMain::WriteFactionLayer(const QString& path)
{
    bool saved = false;
    QString reason;
    {
        CWaitCursor wait;
        saved = Factions->SaveToFile(path, &reason);
    }
    if (!saved) {
        m_prompts.Message(this, QStringLiteral("Save failed"), QStringLiteral("%1: %2").arg(path, reason));
        return false;
    }
    FactionFilePath = path;
    History->MarkSaved(CEditHistory::Factions); // and the title follows
    return true;
}

void TfrmMain::Importtemplates1Click()
{
    QString path;
    if (Document && m_prompts.OpenFile(this, OpenDialogBTP, path))
        ImportTemplateFile(path);
}

void TfrmMain::ImportTemplateFile(const QString& path)
{
    if (!Document)
        return;
    bool imported = false;
    QString reason;
    const int first = Document->TemplateCount();
    {
        CWaitCursor wait;
        imported = Document->ImportTemplates(path, &reason);
    }
    if (!imported) {
        m_prompts.Message(this, QStringLiteral("Import failed"), QStringLiteral("%1: %2").arg(path, reason));
        return;
    }
    const std::span<const CPopTemplate> added = Document->Templates().subspan(static_cast<size_t>(first));
    if (!added.empty())
        RecordEdit(QStringLiteral("Import ") + CountedRecords(RecordList::Templates, int(added.size())),
                   RowsInserted(first, std::vector<CPopTemplate>(added.begin(), added.end())));
    ShowMissingNames(Document->LastReadMissingNames());
}

void TfrmMain::Exporttemplates1Click()
{
    // The range is taken before the dialog can change anything. An empty list's blank row, or a
    // grid never filled, gives a range the document refuses, so nothing is written.
    const int first = grPopTemplates->SelectionTop() - 1;
    const int last = grPopTemplates->SelectionBottom() - 1;
    QString path;
    if (!m_prompts.SaveFile(this, SaveDialogBTP, path))
        return;
    bool exported = false;
    QString reason;
    {
        CWaitCursor wait;
        exported = Document && Document->ExportTemplates(path, first, last, &reason);
    }
    if (!exported)
        m_prompts.Message(this, QStringLiteral("Export failed"), QStringLiteral("%1: %2").arg(path, reason));
}

void TfrmMain::Changemap1Click()
{
    QString folder = MapFolderToOffer(); // the dialog opens on the current map, or the open file's
    if (m_prompts.SelectMap(this, InstallationPath, folder))
        OpenMapFolder(folder);
}

void TfrmMain::OpenMapFolder(const QString& folder)
{
    if (folder.isEmpty() || !MapCanvas
        || !QFileInfo(ResolveGamePath(folder, QStringLiteral("terrain\\terrain.sim"))).isFile()) {
        m_prompts.Message(this, QStringLiteral("Wrong map data!"));
        return;
    }
    bool changed = false;
    {
        CWaitCursor wait;
        // The route and overlay boxes stay as they are.
        SyncCanvasFlags();
        // The new map is read completely before the current one is given up: a terrain file that
        // exists but cannot be read keeps the map on screen, and its mode with it.
        changed = MapCanvas->ChangeMap(folder, im->PictureSize(), pnlMapControls->tbResolution->value());
        if (changed) {
            // A new map always opens in Heights mode.
            pnlMapControls->rbMapModeHeights->setChecked(true);
            MapFolder = QDir::toNativeSeparators(folder + QLatin1Char('/'));
            emit TerrainRedrawn();
            im->ShowPicture(MapCanvas->CompositeBitmap);
        }
    }
    if (!changed)
        m_prompts.Message(this, QStringLiteral("Wrong map data!"));
    else
        ReportPlacementsOutsideMap();
}

void TfrmMain::mmOfflineGuideClick()
{
    const QString guide = m_environment.GuideIndex();
    // Without a browser the desktop refuses the file; the user can still open it by hand.
    if (!OpenUrl(QUrl::fromLocalFile(guide)))
        m_prompts.Message(this,
                          QStringLiteral("Can't open the off-line guide. Open this file in a web browser:\n%1")
                              .arg(QDir::toNativeSeparators(guide)));
}

void TfrmMain::Onlineguide1Click()
{
    if (!OpenUrl(QUrl(QLatin1String(OnlineGuideAddress))))
        m_prompts.Message(this,
                          QStringLiteral("Can't open the on-line guide. Open this address in a web browser:\n%1")
                              .arg(QLatin1String(OnlineGuideAddress)));
}
