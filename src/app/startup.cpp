// Start-up of the main window: finding the installation, the catalogue, the settings and the
// empty document, in the order the rest of the window relies on; the window as the last run left
// it, and remembering it for the next.
#include "app/mainwindow.h"

#include "app/fileplaces.h"
#include "app/recoveryguard.h"
#include "app/rememberingprompts.h"
#include "catalogues/objectslist.h"
#include "catalogues/templatetypes.h"
#include "dialogs/userprompts.h"
#include "maparea/maparea.h"
#include "mapview/maplist.h"
#include "mapview/tarnconfig.h"
#include "overview/overviewdock.h"
#include "platform/filepaths.h"
#include "platform/registry.h"
#include "session/campaignsession.h"

#include "pages/recordpages.h"

#include <QDir>
#include <QFileInfo>
#include <QHideEvent>
#include <QScreen>
#include <QSplitter>

namespace {

// The first start's share of the screen, and of the window's height the record pages take.
constexpr double kFirstWindowShare = 0.8;
constexpr double kFirstPagesShare = 0.42;

} // namespace

bool TfrmMain::InitializeMainWindow()
{
    if (!FindInstallation()) {
        // An unreadable value has already been reported as an error.
        if (!m_installationUnreadable)
            m_prompts.Message(this, QStringLiteral("Skyreach improperly installed !"));
        return false;
    }
    if (!LoadObjectCatalogue()) {
        m_prompts.Message(this, QStringLiteral("File stormcr\\3ddata\\bininfo.bin not found or corrupted !"));
        return false;
    }
    m_templateTypes = std::make_unique<CPopTemplatesTypesList>();
    m_rememberingPrompts->FallbackFolder = ResolveGamePath(m_installationPath, QStringLiteral("common\\maps\\"));

    m_settings = std::make_unique<CTarnConfig>();
    m_settings->Load(m_environment.SettingsFile);
    QString message;
    if (!m_settings->Save(m_environment.SettingsFile, &message))
        m_prompts.Error(this, message); // the settings stay in effect; start-up carries on

    CreateParts();
    ShowWindowAsLeft();
    return true;
}

bool TfrmMain::FindInstallation()
{
    // A folder named on the command line is taken as the registry's value would be.
    QString value = m_environment.Installation;
    switch (value.isEmpty() ? ReadInstallationPath(value) : RegistryRead::Found) {
    case RegistryRead::Found: break;
    case RegistryRead::NotAString:
        m_installationUnreadable = true;
        m_prompts.Error(this, QStringLiteral("Invalid data type for 'INSTALLATION PATH'"));
        return false;
    case RegistryRead::KeyMissing:
    case RegistryRead::ValueMissing: return false;
    }
    // One trailing separator goes; the root folder keeps its own.
    if (value.endsWith(QLatin1Char('\\')))
        value.chop(1);
#ifndef Q_OS_WIN
    else if (value.endsWith(QLatin1Char('/')) && value.size() > 1)
        value.chop(1);
#endif
    if (value.isEmpty())
        value = QStringLiteral(".");
    m_installationPath = value;
    return true;
}

bool TfrmMain::LoadObjectCatalogue()
{
    const QString path = ResolveGamePath(m_installationPath, QStringLiteral("stormcr\\3ddata\\bininfo.bin"));
    if (!QFileInfo(path).isFile())
        return false;
    // A damaged list is refused like a missing one: started with no names, the editor would show
    // every object as INVALID_OBJECT and the next save would write that over every name.
    auto catalogue = std::make_unique<C3DObjectsList>();
    if (!catalogue->LoadFromFile(path))
        return false;
    m_catalogue = std::move(catalogue);
    return true;
}

void TfrmMain::ShowWindowAsLeft()
{
    m_remembered = WindowMemory::Read(CFilePlaces::DefaultFile());
    const WindowMemory memory = m_remembered.value_or(WindowMemory::FirstStart());
    if (!m_remembered || !restoreGeometry(memory.Geometry)) {
        // Enough room for every column of the grids and many rows, the map above them.
        const QRect available = screen()->availableGeometry();
        const QSize wanted(qRound(available.width() * kFirstWindowShare),
                           qRound(available.height() * kFirstWindowShare));
        resize(wanted.expandedTo(QSize(714, 564)).boundedTo(available.size()));
        move(available.center() - QPoint(width() / 2, height() / 2));
        const int pages = qRound(height() * kFirstPagesShare);
        m_splitter->setSizes({height() - pages, pages});
    }
    MapAreaState layers = m_mapArea->State();
    layers.Keysites = memory.Layers[WindowMemory::Keysites];
    layers.Airbases = memory.Layers[WindowMemory::Airbases];
    layers.Sams = memory.Layers[WindowMemory::Sams];
    layers.Grid = memory.Layers[WindowMemory::Grid];
    layers.Roads = memory.Layers[WindowMemory::Roads];
    layers.Rivers = memory.Layers[WindowMemory::Rivers];
    layers.Utilities = memory.Layers[WindowMemory::PowerLines];
    layers.Borders = memory.Layers[WindowMemory::Borders];
    layers.Locked = memory.Locks;
    m_mapArea->SetState(layers);
    m_overview->setVisible(memory.Overview);
    show();
    // Restored once laid out at their real sizes, the template page's too (a splitter that grows
    // later would share the growth by its stretch factors instead of keeping its proportions).
    QSplitter* const splitters[] = {m_splitter, m_mapArea->Splitter(), m_pages->TemplateSplitter()};
    for (qsizetype i = 0; i < memory.Splitters.size() && i < qsizetype(std::size(splitters)); ++i)
        splitters[i]->restoreState(memory.Splitters[i]);
    m_pages->SetCurrentPage(memory.Page);
}

void TfrmMain::RestoreRememberedMap()
{
    if (!m_remembered || !m_mapArea)
        return;
    const QString& name = m_remembered->Map;
    if (!m_mapArea->HasMap() && !name.isEmpty() && ListMapEntries(m_installationPath).contains(name)) {
        // A map folder that has lost its terrain since is passed over in silence.
        const QString folder = MapEntryPath(m_installationPath, name);
        if (QFileInfo(ResolveGamePath(folder, QStringLiteral("terrain\\terrain.sim"))).isFile())
            OpenMapFolder(folder);
    }
    MapAreaState state = m_mapArea->State();
    if (m_remembered->FactionsMode && m_session->Factions() && m_mapArea->HasMap() && !state.Factions) {
        state.Factions = true;
        m_mapArea->SetState(state);
    }
}

void TfrmMain::RememberWindow() const
{
    WindowMemory memory;
    memory.Geometry = saveGeometry();
    memory.Splitters = {m_splitter->saveState(), m_mapArea->Splitter()->saveState(),
                        m_pages->TemplateSplitter()->saveState()};
    memory.Page = m_pages->CurrentPage();
    // Hidden by the user, not with the closing window.
    memory.Overview = !m_overview->isHidden();
    const MapAreaState state = m_mapArea->State();
    memory.FactionsMode = state.Factions;
    memory.Layers = {state.Keysites, state.Airbases, state.Sams,      state.Grid,
                     state.Roads,    state.Rivers,   state.Utilities, state.Borders};
    memory.Locks = state.Locked;
    const QString folder = m_mapArea->MapFolder();
    if (!folder.isEmpty())
        memory.Map = QFileInfo(QDir::cleanPath(QDir::fromNativeSeparators(folder))).fileName();
    memory.Write(CFilePlaces::DefaultFile());
}

void TfrmMain::OfferRecovery()
{
    if (m_recovery)
        m_recovery->Offer();
}

void TfrmMain::hideEvent(QHideEvent* event)
{
    // Closing hides the window; the desktop minimising it does not count. A window whose start
    // failed has nothing worth remembering.
    if (!event->spontaneous() && m_session)
        RememberWindow();
    QMainWindow::hideEvent(event);
}
