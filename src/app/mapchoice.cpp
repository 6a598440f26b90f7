// Choosing the map: Change map, --map, the remembered map, and the map a file opened from an
// installation's map folder brings with it.
#include "app/mainwindow.h"

#include "dialogs/userprompts.h"
#include "maparea/maparea.h"
#include "mapview/maplist.h"
#include "platform/filepaths.h"
#include "session/campaignsession.h"

#include <QDir>
#include <QFileInfo>
#include <QStatusBar>

void TfrmMain::ChangeMap()
{
    QString folder = MapFolderToOffer(); // the dialog opens on the current map, or the open file's
    if (m_prompts.SelectMap(this, m_installationPath, folder))
        OpenMapFolder(folder);
}

void TfrmMain::OpenMapFolder(const QString& folder)
{
    if (m_mapArea && m_mapArea->OpenMapFolder(folder))
        ReportPlacementsOutsideMap();
}

void TfrmMain::OpenNamedMap(const QString& name)
{
    QString entry;
    for (const QString& candidate : ListMapEntries(m_installationPath)) {
        if (candidate == name || (entry.isEmpty() && candidate.compare(name, Qt::CaseInsensitive) == 0))
            entry = candidate;
    }
    if (entry.isEmpty()) {
        const QString maps =
            QDir::toNativeSeparators(ResolveGamePath(m_installationPath, QStringLiteral("common\\maps")));
        m_prompts.Message(this, QStringLiteral("No map named %1 in %2").arg(name, maps));
        return;
    }
    OpenMapFolder(MapEntryPath(m_installationPath, entry));
}

QString TfrmMain::InstallationMapOf(const QString& path) const
{
    // Compared as the file system resolves them, so that links and ".." lead to the same folder.
    const QString maps =
        QFileInfo(ResolveGamePath(m_installationPath, QStringLiteral("common\\maps"))).canonicalFilePath();
    const QString file = QFileInfo(path).canonicalFilePath();
    if (maps.isEmpty() || !file.startsWith(maps + QLatin1Char('/')))
        return QString();
    const QString entry = file.mid(maps.size() + 1).section(QLatin1Char('/'), 0, 0);
    if (!ListMapEntries(m_installationPath).contains(entry))
        return QString();
    return MapEntryPath(m_installationPath, entry);
}

QString TfrmMain::MapFolderToOffer() const
{
    if (m_mapArea && !m_mapArea->MapFolder().isEmpty())
        return m_mapArea->MapFolder();
    if (!m_session)
        return QString();
    for (const QString& file : {m_session->MapBinPath(), m_session->FactionsPath()}) {
        const QString folder = file.isEmpty() ? QString() : InstallationMapOf(file);
        if (!folder.isEmpty())
            return folder;
    }
    return QString();
}

void TfrmMain::AfterFileOpened(const QString& path)
{
    if (!m_mapArea->HasMap()) {
        const QString folder = InstallationMapOf(path);
        // A folder without terrain is not a map to draw, so nothing is said about it.
        if (!folder.isEmpty() && QFileInfo(ResolveGamePath(folder, QStringLiteral("terrain\\terrain.sim"))).isFile()) {
            // A new map opens in Heights mode; a faction file asked for its layer.
            MapAreaState state = m_mapArea->State();
            const bool factions = state.Factions;
            OpenMapFolder(folder);
            if (factions && m_session->Factions() && m_mapArea->HasMap()) {
                state = m_mapArea->State();
                state.Factions = true;
                m_mapArea->SetState(state);
            }
            return;
        }
    }
    if (path == m_session->MapBinPath())
        ReportPlacementsOutsideMap();
}

void TfrmMain::ReportPlacementsOutsideMap()
{
    if (!m_mapArea->HasMap())
        return;
    const int outside = m_mapArea->PlacementsOutside();
    if (outside == 0)
        statusBar()->clearMessage();
    else
        statusBar()->showMessage(outside == 1 ? QStringLiteral("1 record lies outside this map")
                                              : QStringLiteral("%1 records lie outside this map").arg(outside));
}
