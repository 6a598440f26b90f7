// Start-up of the main window: finding the installation, the catalogue, the settings and the
// empty document, in the order the rest of the window relies on.
#include "app/mainwindow.h"

#include "app/rememberingprompts.h"
#include "catalogues/objectslist.h"
#include "catalogues/templatetypes.h"
#include "document/binfile.h"
#include "mapview/mapcanvas.h"
#include "mapview/tarnconfig.h"
#include "platform/filepaths.h"
#include "platform/registry.h"

#include <QApplication>
#include <QFileInfo>
#include <QMenu>
#include <QPalette>

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

    show();
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
