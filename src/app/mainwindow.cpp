#include "app/mainwindow.h"

#include "app/clipboardcommands.h"
#include "app/commandline.h"
#include "app/documentfiles.h"
#include "app/editmenu.h"
#include "app/fileplaces.h"
#include "app/mapstatusbar.h"
#include "app/maptoolbar.h"
#include "app/recoveryguard.h"
#include "app/rememberingprompts.h"
#include "app/selectioncommands.h"
#include "catalogues/objectslist.h"
#include "catalogues/templatetypes.h"
#include "dialogs/aboutdialog.h"
#include "dialogs/configurationdialog.h"
#include "dialogs/modalrecorddialogs.h"
#include "document/numbertext.h"
#include "maparea/maparea.h"
#include "mapview/rangerings.h"
#include "mapview/tarnconfig.h"
#include "overview/overviewdock.h"
#include "pages/recordpages.h"
#include "platform/filepaths.h"
#include "problems/problemsdock.h"
#include "session/campaignsession.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMenuBar>
#include <QMimeData>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>

const char* const TfrmMain::OnlineGuideAddress = "https://sablemap.example/guide/";

namespace {

// The local Map BIN, faction and templates files among the dropped items.
QStringList DroppableFiles(const QMimeData* data)
{
    QStringList files;
    if (!data || !data->hasUrls())
        return files;
    for (const QUrl& url : data->urls()) {
        const QString path = url.toLocalFile();
        const QString suffix = QFileInfo(path).suffix().toUpper();
        if (!path.isEmpty()
            && (suffix == QLatin1String("BIN") || suffix == QLatin1String("SID") || suffix == QLatin1String("BTP")))
            files << path;
    }
    return files;
}

} // namespace

TfrmMain::TfrmMain(CUserPrompts& prompts, const StartupEnvironment& environment, CRecordDialogs* dialogs)
    : m_filePlaces(std::make_unique<CFilePlaces>()),
      m_rememberingPrompts(std::make_unique<CRememberingPrompts>(prompts, *m_filePlaces)),
      m_prompts(*m_rememberingPrompts), m_environment(environment), m_dialogs(dialogs)
{
    m_openUrl = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    setWindowTitle(QStringLiteral("Sablemap"));
    QFont font = this->font();
    font.setPointSize(8);
    setFont(font);
    setAcceptDrops(true);
    move(39, 67);
    resize(714, 594 - 30);
}

TfrmMain::~TfrmMain()
{
    // A window that goes away has nothing left to recover; the parts refer to the session, the
    // session to the catalogue and the type table.
    if (m_recovery)
        m_recovery->Finish();
    delete m_overview; // it observes the map area
    delete m_splitter;
    delete m_problems;
    delete m_files;
    delete m_clipboard;
    delete m_editMenu;
    delete m_recovery;
    m_session.reset();
    m_catalogue.reset();
    m_settings.reset();
    m_templateTypes.reset();
}

void TfrmMain::CreateParts()
{
    if (!m_dialogs) {
        m_ownDialogs = std::make_unique<CModalRecordDialogs>(m_prompts, this, *m_catalogue, *m_templateTypes);
        m_dialogs = m_ownDialogs.get();
    }
    TextFormat format;
    format.DecimalSeparator = SystemDecimalSeparator();
    m_session = std::make_unique<CCampaignSession>(*m_catalogue, *m_templateTypes, format);

    m_mapArea = new CMapArea(*m_session, *m_settings, m_prompts);
    m_mapArea->SetRangeRings(RangeRings::Read(CFilePlaces::DefaultFile()));
    m_pages = new CRecordPages(*m_session, *m_dialogs, m_prompts, [this] { return m_mapArea->HasMap(); });
    m_splitter = new QSplitter(Qt::Vertical);
    m_splitter->setObjectName(QStringLiteral("Splitter2"));
    m_splitter->setHandleWidth(3);
    m_splitter->setChildrenCollapsible(false);
    m_splitter->addWidget(m_mapArea);
    m_splitter->addWidget(m_pages);
    m_splitter->setStretchFactor(0, 1);
    m_splitter->setStretchFactor(1, 0);
    m_splitter->setSizes({340, 202});
    setCentralWidget(m_splitter);

    connect(m_pages, &CRecordPages::PlaceRequested, m_mapArea, &CMapArea::EnterPlaceMode);
    connect(m_pages, &CRecordPages::ShowOnMapRequested, m_mapArea, &CMapArea::ShowOnMap);
    connect(m_mapArea, &CMapArea::PlaceModeChanged, m_pages,
            [this](bool placing) { m_pages->SetPlacementButtonsEnabled(!placing); });

    m_files = new CDocumentFiles(*m_session, m_prompts, *m_filePlaces, this,
                                 ResolveGamePath(m_installationPath, QStringLiteral("common\\maps\\")));
    connect(m_files, &CDocumentFiles::FileOpened, this, &TfrmMain::AfterFileOpened);
    connect(m_files, &CDocumentFiles::ExitRequested, this, &QWidget::close);
    m_editMenu = new CEditMenu(m_session->History(), this);
    connect(m_editMenu, &CEditMenu::FilterRequested, m_pages, &CRecordPages::FocusFilter);
    // A paste lands under the mouse while it is over the map.
    m_clipboard = new CClipboardCommands(*m_session, m_prompts, *m_editMenu->Menu(), this, [this] {
        const auto point = m_mapArea->PointUnderMouse();
        return point ? std::optional<QPointF>(QPointF(point->X, point->Z)) : std::nullopt;
    });
    m_selectionCommands = new CSelectionCommands(*m_session, *m_mapArea, m_prompts, *m_editMenu->Menu(), this);
    m_recovery = new CRecoveryGuard(*m_session, m_prompts, this);

    connect(m_session.get(), &CCampaignSession::ModifiedChanged, this, &TfrmMain::UpdateWindowTitle);
    connect(m_session.get(), &CCampaignSession::FileChanged, this, &TfrmMain::UpdateWindowTitle);
    // A notice about records and the map is about the document that was read: it goes with it.
    // The bar is there from the start, so that its first notice does not shrink the map and the
    // splitter sizes a later run restores are the ones this run ended with.
    QStatusBar* status = statusBar();
    connect(m_session.get(), &CCampaignSession::RecordsChanged, status, [status](const RecordRows& rows) {
        if (rows.How == RecordRows::Reset)
            status->clearMessage();
    });
    // The problems panel follows the session by itself; the map area gives it the map's extent
    // and centres on what it shows; a save with problems says so without a box to dismiss.
    m_problems = new CProblemsDock(*m_session, *m_catalogue, m_prompts, this);
    addDockWidget(Qt::RightDockWidgetArea, m_problems);
    m_problems->hide();
    connect(m_problems, &CProblemsDock::ShowOnMapRequested, m_mapArea, &CMapArea::ShowOnMap);
    connect(m_mapArea, &CMapArea::TerrainRedrawn, m_problems,
            [this] { m_problems->SetMapExtent(m_mapArea->Extent()); });
    connect(m_problems, &CProblemsDock::SavedWithProblems, status, [status](int problems) {
        if (problems > 0)
            status->showMessage(problems == 1 ? QStringLiteral("Saved with 1 problem")
                                              : QStringLiteral("Saved with %1 problems").arg(problems));
    });
    connect(m_recovery, &CRecoveryGuard::Notice, status, [status](const QString& text) { status->showMessage(text); });
    m_mapTools = new CMapToolBar(*m_mapArea, this);
    addToolBar(Qt::TopToolBarArea, m_mapTools);
    // The overview goes left of the map, so that the map's control column keeps the window's edge.
    m_overview = new COverviewDock(*m_mapArea, *m_session, this);
    addDockWidget(Qt::LeftDockWidgetArea, m_overview);
    // What is under the mouse and what each key does, in the status bar while over the map.
    new CMapStatusBar(*m_mapArea, *m_session, *status);
    CreateMenus();
    UpdateWindowTitle();
}

void TfrmMain::CreateMenus()
{
    const auto add = [](QMenu* menu, const char* name, const QString& caption, const QKeySequence& keys = {}) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(QLatin1String(name));
        action->setShortcut(keys);
        return action;
    };
    m_files->CreateMenu(menuBar());
    menuBar()->addMenu(m_editMenu->Menu());
    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    view->setObjectName(QStringLiteral("View1"));
    QAction* problems = add(view, "Problems1", QStringLiteral("&Problems"));
    problems->setCheckable(true);
    connect(problems, &QAction::triggered, m_problems, &QWidget::setVisible);
    connect(m_problems, &QDockWidget::visibilityChanged, problems,
            [this, problems] { problems->setChecked(m_problems->isVisible()); });
    QAction* tools = m_mapTools->toggleViewAction();
    tools->setObjectName(QStringLiteral("MapTools1"));
    tools->setText(QStringLiteral("Map &tools"));
    view->addAction(tools);
    QAction* overview = m_overview->toggleViewAction();
    overview->setObjectName(QStringLiteral("Overview1"));
    overview->setText(QStringLiteral("&Overview"));
    overview->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O));
    overview->setToolTip(QStringLiteral("Overview (%1)").arg(overview->shortcut().toString(QKeySequence::NativeText)));
    overview->setStatusTip(QStringLiteral("Show or hide the whole map with the view's rectangle"));
    view->addAction(overview);
    QMenu* options = menuBar()->addMenu(QStringLiteral("&Options"));
    options->setObjectName(QStringLiteral("Options1"));
    connect(add(options, "Changemap1", QStringLiteral("&Change map"), QKeySequence(Qt::CTRL | Qt::Key_M)),
            &QAction::triggered, this, &TfrmMain::ChangeMap);
    QAction* settings = add(options, "Settings1", QStringLiteral("&Settings"), QKeySequence::Preferences);
    settings->setMenuRole(QAction::PreferencesRole);
    connect(settings, &QAction::triggered, this, &TfrmMain::EditSettings);

    m_help = menuBar()->addMenu(QStringLiteral("&Help"));
    m_help->setObjectName(QStringLiteral("Help1"));
    // Offered only when the guide is there to open.
    if (QFileInfo::exists(m_environment.GuideIndex()))
        connect(add(m_help, "mmOfflineGuide", QStringLiteral("O&ff-line guide"), QKeySequence::HelpContents),
                &QAction::triggered, this, &TfrmMain::OpenOfflineGuide);
    connect(add(m_help, "Onlineguide1", QStringLiteral("O&n-line guide")), &QAction::triggered, this,
            &TfrmMain::OpenOnlineGuide);
    QAction* about = add(m_help, "About1", QStringLiteral("&About"));
    about->setMenuRole(QAction::AboutRole);
    connect(about, &QAction::triggered, this, [this] { ShowAbout(m_prompts, this); });
}

void TfrmMain::UpdateWindowTitle()
{
    const bool binModified = m_session->IsModified(CEditHistory::MapBin);
    const bool factionsModified = m_session->IsModified(CEditHistory::Factions);
    const auto entry = [](const QString& name, bool modified) {
        // A "[*]" of a file's own name is doubled, so that the title shows it as it is.
        QString shown = name;
        shown.replace(QLatin1String("[*]"), QLatin1String("[*][*]"));
        return modified ? shown + QLatin1Char('*') : shown;
    };
    // The Map BIN document once it has a file or unsaved work, then the faction layer.
    QStringList parts;
    if (!m_session->MapBinPath().isEmpty() || binModified)
        parts << entry(m_files->DocumentName(CEditHistory::MapBin), binModified);
    if (m_session->Factions())
        parts << entry(m_files->DocumentName(CEditHistory::Factions), factionsModified);
    parts << ApplicationCaption();
    // Each document carries its own mark, so the title holds no placeholder for Qt's one mark;
    // the attribute alone keeps isWindowModified() telling whether anything is unsaved.
    setAttribute(Qt::WA_WindowModified, binModified || factionsModified);
    setWindowTitle(parts.join(QStringLiteral(" — ")));
    const QString bin = m_session->MapBinPath();
    setWindowFilePath(bin.isEmpty() ? m_session->FactionsPath() : bin);
}

void TfrmMain::closeEvent(QCloseEvent* event)
{
    if (m_files && (!m_files->MayDiscard(CEditHistory::MapBin) || !m_files->MayDiscard(CEditHistory::Factions))) {
        event->ignore();
        return;
    }
    // A normal end: nothing is left to recover.
    if (m_recovery)
        m_recovery->Finish();
    event->accept();
}

void TfrmMain::EditSettings()
{
    if (!m_settings)
        return;
    // The rings are the person's own setting, kept beside the window's memory.
    RangeRings rings = m_mapArea->Rings();
    int backupsKept = m_files->Backups().Kept();
    const bool saved = EditSymbology(m_prompts, this, *m_settings, m_environment.SettingsFile, &rings, &backupsKept);
    if (rings != m_mapArea->Rings()) {
        rings.Write(CFilePlaces::DefaultFile());
        m_mapArea->SetRangeRings(rings);
    }
    if (saved)
        m_mapArea->SymbologyChanged();
    if (backupsKept != m_files->Backups().Kept())
        m_files->SetBackupsKept(backupsKept);
}

void TfrmMain::OpenOfflineGuide()
{
    const QString guide = m_environment.GuideIndex();
    // Without a browser the desktop refuses the file; the user can still open it by hand.
    if (!m_openUrl(QUrl::fromLocalFile(guide)))
        m_prompts.Message(this,
                          QStringLiteral("Can't open the off-line guide. Open this file in a web browser:\n%1")
                              .arg(QDir::toNativeSeparators(guide)));
}

void TfrmMain::OpenOnlineGuide()
{
    if (!m_openUrl(QUrl(QLatin1String(OnlineGuideAddress))))
        m_prompts.Message(this,
                          QStringLiteral("Can't open the on-line guide. Open this address in a web browser:\n%1")
                              .arg(QLatin1String(OnlineGuideAddress)));
}

void TfrmMain::OpenCommandLine(const CommandLine& line)
{
    if (!line.Problems.isEmpty()) {
        m_prompts.Message(this, line.Problems.join(QLatin1Char('\n')));
        return;
    }
    // The map comes last: it opens in Heights mode, showing the terrain with the faction layer a
    // click away, rather than the faction picture alone.
    m_files->OpenNamedFiles(line.Factions, line.Files);
    if (!line.Map.isEmpty())
        OpenNamedMap(line.Map);
}

void TfrmMain::dragEnterEvent(QDragEnterEvent* event)
{
    if (m_files && !DroppableFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void TfrmMain::dropEvent(QDropEvent* event)
{
    const QStringList files = DroppableFiles(event->mimeData());
    if (!m_files || files.isEmpty())
        return;
    event->acceptProposedAction();
    // Opened once the drop is over, so that the program the files came from is not kept waiting
    // while a message or question is shown.
    QTimer::singleShot(0, this, [this, files] {
        for (const QString& file : files)
            m_files->OpenFileByKind(file, true);
    });
}
