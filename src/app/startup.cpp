// Start-up of the main window: finding the installation, the catalogue, the settings and the
// empty document, in the order the rest of the window relies on; the window as the last run left
// it, and remembering it for the next.
#include "app/mainwindow.h"

#include "app/fileplaces.h"
#include "maparea/mapcontrolcolumn.h"
#include "app/rememberingprompts.h"
#include "catalogues/objectslist.h"
#include "catalogues/templatetypes.h"
#include "document/binfile.h"
#include "mapview/mapcanvas.h"
#include "mapview/maplist.h"
#include "mapview/tarnconfig.h"
#include "platform/filepaths.h"
#include "platform/registry.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QHideEvent>
#include <QMenu>
#include <QPalette>
#include <QRadioButton>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>

namespace {

// The layer boxes in the order WindowMemory keeps them.
std::array<QCheckBox*, WindowMemory::LayerCount> LayerBoxes(const CMapControlColumn& column)
{
    return {column.chbKeysites, column.chbAirbases, column.chbSAMs,  column.chbGrid,
            column.chbRoads,    column.chbRivers,   column.chbUtils, column.chbBorders};
}

// The first start's share of the screen, and of the window's height the record pages take.
constexpr double kFirstWindowShare = 0.8;
constexpr double kFirstPagesShare = 0.42;

} // namespace

bool TfrmMain::InitializeMainWindow()
{
    if (!QFileInfo::exists(m_environment.GuideIndex())) {
        Help1->removeAction(mmOfflineGuide);
        delete mmOfflineGuide;
        mmOfflineGuide = nullptr;
    }
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
    TemplateTypes = std::make_unique<CPopTemplatesTypesList>();
    InitialiseFileDialogs();

    Settings = std::make_unique<CTarnConfig>();
    Settings->Load(m_environment.SettingsFile);
    QString message;
    if (!Settings->Save(m_environment.SettingsFile, &message))
        m_prompts.Error(this, message); // the settings stay in effect; start-up carries on

    Document = std::make_unique<CBINFile>(Catalogue.get(), TemplateTypes.get());
    Document->SetRecordEditor(m_editor);
    Document->Symbology = Settings.get();
    AttachRecordGrids();

    MapCanvas = std::make_unique<CMapCanvas>();
    MapCanvas->Document = Document.get();
    MapCanvas->ButtonFace = QApplication::palette().color(QPalette::Button);
    // A notice about records and the map is about the document that was read: it goes with it.
    connect(Document.get(), &CBINFile::DocumentReset, statusBar(), &QStatusBar::clearMessage);

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
    InstallationPath = value;
    return true;
}

bool TfrmMain::LoadObjectCatalogue()
{
    const QString path = ResolveGamePath(InstallationPath, QStringLiteral("stormcr\\3ddata\\bininfo.bin"));
    if (!QFileInfo(path).isFile())
        return false;
    // A damaged list is refused like a missing one: started with no names, the editor would show
    // every object as INVALID_OBJECT and the next save would write that over every name.
    auto catalogue = std::make_unique<C3DObjectsList>();
    if (!catalogue->LoadFromFile(path))
        return false;
    Catalogue = std::move(catalogue);
    return true;
}

void TfrmMain::InitialiseFileDialogs()
{
    QString maps = ResolveGamePath(InstallationPath, QStringLiteral("common\\maps\\"));
    const QString bin = QStringLiteral("Map BIN file (*.BIN)");
    const QString sid = QStringLiteral("Faction assignment file (*.SID)");
    const QString btp = QStringLiteral("Map BIN templates file (*.BTP)");
    OpenDialogBIN = {QStringLiteral("Load BIN file"), {bin}, QStringLiteral("BIN"), maps, {}};
    SaveDialogBIN = {QStringLiteral("Save BIN file"), {bin}, QStringLiteral("BIN"), maps, {}};
    OpenDialogSID = {QStringLiteral("Load SID file"), {sid}, QStringLiteral("SID"), maps, {}};
    SaveDialogSID = {QStringLiteral("Save SID file"), {sid}, QStringLiteral("SID"), maps, {}};
    OpenDialogBTP = {QStringLiteral("Load templates file"), {btp, bin}, QStringLiteral("BTP"), maps, {}};
    SaveDialogBTP = {QStringLiteral("Save templates file"), {btp}, QStringLiteral("BTP"), maps, {}};
    m_rememberingPrompts->FallbackFolder = maps;
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
        Splitter2->setSizes({height() - pages, pages});
    }
    const auto boxes = LayerBoxes(*pnlMapControls);
    for (size_t layer = 0; layer < boxes.size(); ++layer)
        boxes[layer]->setChecked(memory.Layers[layer]);
    show();
    // Restored once laid out at their real sizes, the template page's too (a splitter that grows
    // later would share the growth by its stretch factors instead of keeping its proportions).
    QSplitter* const splitters[] = {Splitter2, Splitter1, Splitter3};
    for (qsizetype i = 0; i < memory.Splitters.size() && i < qsizetype(std::size(splitters)); ++i)
        splitters[i]->restoreState(memory.Splitters[i]);
    if (memory.Page >= 0 && memory.Page < pcBINFile->count())
        pcBINFile->setCurrentIndex(memory.Page);
}

void TfrmMain::RestoreRememberedMap()
{
    if (!m_remembered || !MapCanvas)
        return;
    const QString& name = m_remembered->Map;
    if (!MapCanvas->HasMap() && !name.isEmpty() && ListMapEntries(InstallationPath).contains(name)) {
        // A map folder that has lost its terrain since is passed over in silence.
        const QString folder = MapEntryPath(InstallationPath, name);
        if (QFileInfo(ResolveGamePath(folder, QStringLiteral("terrain\\terrain.sim"))).isFile())
            OpenMapFolder(folder);
    }
    if (m_remembered->FactionsMode && Factions && MapCanvas->HasMap()
        && !pnlMapControls->rbMapModeFactions->isChecked()) {
        pnlMapControls->rbMapModeFactions->setChecked(true);
        RedrawTerrain();
        RefreshMap();
    }
}

void TfrmMain::RememberWindow() const
{
    WindowMemory memory;
    memory.Geometry = saveGeometry();
    memory.Splitters = {Splitter2->saveState(), Splitter1->saveState(), Splitter3->saveState()};
    memory.Page = pcBINFile->currentIndex();
    memory.FactionsMode = pnlMapControls->rbMapModeFactions->isChecked();
    const auto boxes = LayerBoxes(*pnlMapControls);
    for (size_t layer = 0; layer < boxes.size(); ++layer)
        memory.Layers[layer] = boxes[layer]->isChecked();
    if (!MapFolder.isEmpty())
        memory.Map = QFileInfo(QDir::cleanPath(QDir::fromNativeSeparators(MapFolder))).fileName();
    memory.Write(CFilePlaces::DefaultFile());
}

void TfrmMain::hideEvent(QHideEvent* event)
{
    // Closing hides the window; the desktop minimising it does not count. A window whose start
    // failed has nothing worth remembering.
    if (!event->spontaneous() && Document)
        RememberWindow();
    QMainWindow::hideEvent(event);
}
