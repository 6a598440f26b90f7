#include "app/mainwindow.h"

#include "maparea/debounce.h"
#include "app/edithistory.h"
#include "app/fileplaces.h"
#include "maparea/mapcontrolcolumn.h"
#include "maparea/mapimage.h"
#include "app/recoverystore.h"
#include "app/rememberingprompts.h"
#include "app/stringgrid.h"
#include "catalogues/objectslist.h"
#include "catalogues/templatetypes.h"
#include "dialogs/dialogrecordeditor.h"
#include "document/binfile.h"
#include "document/numbertext.h"
#include "document/recordtablemodel.h"
#include "factions/factionsinfo.h"
#include "mapview/mapcanvas.h"
#include "mapview/tarnconfig.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <tuple>

namespace {

// A 61-pixel column of 45 x 20 buttons, 24 pixels apart.
QWidget* ButtonColumn(const QString& name, std::initializer_list<std::pair<QPushButton**, QString>> buttons)
{
    auto* column = new QWidget;
    column->setObjectName(name);
    column->setFixedWidth(61);
    int top = 8;
    for (const auto& [button, caption] : buttons) {
        *button = new QPushButton(caption, column);
        (*button)->setGeometry(8, top, 45, 20);
        top += 24;
    }
    column->setMinimumHeight(top);
    return column;
}

QWidget* GridWithButtons(CStringGrid* grid, QWidget* buttons)
{
    auto* panel = new QWidget;
    auto* layout = new QHBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(grid, 1);
    layout->addWidget(buttons);
    return panel;
}

} // namespace

TfrmMain::TfrmMain(CUserPrompts& prompts, const StartupEnvironment& environment, CRecordEditor* editor)
    : FilePlaces(std::make_unique<CFilePlaces>()),
      m_rememberingPrompts(std::make_unique<CRememberingPrompts>(prompts, *FilePlaces)),
      m_prompts(*m_rememberingPrompts), m_environment(environment)
{
    if (!editor) {
        m_ownEditor = std::make_unique<CDialogRecordEditor>(prompts, this);
        editor = m_ownEditor.get();
    }
    m_editor = editor;
    OpenUrl = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    m_format.DecimalSeparator = SystemDecimalSeparator();

    setWindowTitle(QStringLiteral("Sablemap"));
    QFont font = this->font();
    font.setPointSize(8);
    setFont(font);
    CreateMenus();
    CreateLayout();
    ConnectCommands();
    ConnectMapArea();
    ConnectHistory();
    CreateFileSources();
    move(39, 67);
    resize(714, 594 - 30);
}

TfrmMain::~TfrmMain()
{
    // The edits refer to the documents; a window that goes away has nothing left to recover.
    Recovery->Finish();
    History.reset();
    // The document refers to the catalogue, the settings and the type table, so it goes first.
    MapCanvas.reset();
    Factions.reset();
    m_recordModels.clear();
    Document.reset();
    Catalogue.reset();
    Settings.reset();
    TemplateTypes.reset();
}

void TfrmMain::CreateMenus()
{
    File1 = menuBar()->addMenu(QStringLiteral("&File"));
    New1 = File1->addAction(QStringLiteral("&New"));
    New1->setShortcut(QKeySequence::New);
    Load1 = File1->addAction(QStringLiteral("&Load"));
    Load1->setShortcut(QKeySequence::Open);
    Save1 = File1->addAction(QStringLiteral("&Save"));
    Save1->setShortcut(QKeySequence::Save);
    // Spelled out: the platform's Save As key is missing on some desktops.
    SaveAs1 = File1->addAction(QStringLiteral("Save &As…"));
    SaveAs1->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    File1->addSeparator();
    Loadfactions1 = File1->addAction(QStringLiteral("Load &faction assignment"));
    Savefactionassignment1 = File1->addAction(QStringLiteral("Sa&ve faction assignment"));
    Savefactionassignmentas1 = File1->addAction(QStringLiteral("Save facti&on assignment as…"));
    File1->addSeparator();
    Importtemplates1 = File1->addAction(QStringLiteral("&Import templates"));
    Exporttemplates1 = File1->addAction(QStringLiteral("&Export templates"));
    File1->addSeparator();
    Exit1 = File1->addAction(QStringLiteral("E&xit"));
    Exit1->setShortcut(QKeySequence::Quit);
    Exit1->setMenuRole(QAction::QuitRole);

    Options1 = menuBar()->addMenu(QStringLiteral("&Options"));
    CreateEditMenu();
    Changemap1 = Options1->addAction(QStringLiteral("&Change map"));
    Changemap1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
    Settings1 = Options1->addAction(QStringLiteral("&Settings"));
    Settings1->setShortcut(QKeySequence::Preferences);
    Settings1->setMenuRole(QAction::PreferencesRole);

    Help1 = menuBar()->addMenu(QStringLiteral("&Help"));
    mmOfflineGuide = Help1->addAction(QStringLiteral("O&ff-line guide"));
    mmOfflineGuide->setShortcut(QKeySequence::HelpContents);
    Onlineguide1 = Help1->addAction(QStringLiteral("O&n-line guide"));
    About1 = Help1->addAction(QStringLiteral("&About"));
    About1->setMenuRole(QAction::AboutRole);
}

QWidget* TfrmMain::CreateTemplatePage()
{
    grPopTemplates = new CStringGrid;
    grPopTemplates->setObjectName(QStringLiteral("grPopTemplates"));
    grTemplateObjects = new CStringGrid;
    grTemplateObjects->setObjectName(QStringLiteral("grTemplateObjects"));
    QWidget* header = GridWithButtons(grPopTemplates,
                                      ButtonColumn(QStringLiteral("pnlTemplateButtons"),
                                                   {{&btnTemplateAdd, QStringLiteral("Add")},
                                                    {&btnTemplateEd, QStringLiteral("Edit")},
                                                    {&btnTemplateDel, QStringLiteral("Delete")}}));
    header->setObjectName(QStringLiteral("pnlTemplateHeader"));
    QWidget* objects = GridWithButtons(grTemplateObjects,
                                       ButtonColumn(QStringLiteral("Panel4"),
                                                    {{&btnTemplateObjectAdd, QStringLiteral("Add")},
                                                     {&btnTemplateObjectEd, QStringLiteral("Edit")},
                                                     {&btnTemplateObjectDel, QStringLiteral("Delete")}}));
    objects->setObjectName(QStringLiteral("pnlTemplateObject"));

    Splitter3 = new QSplitter(Qt::Vertical);
    Splitter3->setHandleWidth(3);
    Splitter3->setChildrenCollapsible(false);
    Splitter3->addWidget(header);
    Splitter3->addWidget(objects);
    // Both lists grow with the window: the templates are the page's main list.
    Splitter3->setStretchFactor(0, 1);
    Splitter3->setStretchFactor(1, 1);
    Splitter3->setSizes({100, 100});
    return Splitter3;
}

QWidget* TfrmMain::CreateRecordPage(CStringGrid*& grid, const QString& panelName, QPushButton*& add, QPushButton*& edit,
                                    QPushButton*& del, QPushButton*& place, const QString& editName)
{
    grid = new CStringGrid;
    QWidget* buttons = ButtonColumn(panelName,
                                    {{&add, QStringLiteral("Add")},
                                     {&edit, QStringLiteral("Edit")},
                                     {&del, QStringLiteral("Delete")},
                                     {&place, QStringLiteral("Place")}});
    edit->setObjectName(editName);
    return GridWithButtons(grid, buttons);
}

void TfrmMain::CreateLayout()
{
    pnlMap = new QWidget;
    pnlMap->setObjectName(QStringLiteral("pnlMap"));
    pnlMap->setAutoFillBackground(true);
    pnlMap->setMinimumSize(64, 64);
    im = new CMapImage(pnlMap);
    im->setObjectName(QStringLiteral("im"));
    auto* mapLayout = new QVBoxLayout(pnlMap);
    mapLayout->setContentsMargins(0, 0, 0, 0);
    mapLayout->addWidget(im);
    pnlMapControls = new CMapControlColumn;
    pnlMapControls->setObjectName(QStringLiteral("pnlMapControls"));

    Splitter1 = new QSplitter(Qt::Horizontal);
    Splitter1->setObjectName(QStringLiteral("pnlMapWitControls"));
    Splitter1->setHandleWidth(1);
    Splitter1->setChildrenCollapsible(false);
    Splitter1->addWidget(pnlMap);
    Splitter1->addWidget(pnlMapControls);
    Splitter1->setStretchFactor(0, 1);
    Splitter1->setStretchFactor(1, 0);

    pcBINFile = new QTabWidget;
    pcBINFile->setObjectName(QStringLiteral("pcBINFile"));
    pcBINFile->setDocumentMode(true);
    tsPopTemplates = CreateTemplatePage();
    tsKeysites = CreateRecordPage(grKeysites, QStringLiteral("pnlKeysiteButtons"), btnKeysiteAdd, btnKeysiteEd,
                                  btnKeysiteDel, btnKeysitePlace, QStringLiteral("btnKeysiteEd"));
    tsAirbases = CreateRecordPage(grAirbases, QStringLiteral("pnlAirbasesButtons"), btnAirbaseAdd, btnAirbaseEd,
                                  btnAirbaseDel, btnAirbasePlace, QStringLiteral("btnAirbaseEd"));
    tsSAMs = CreateRecordPage(grSAMs, QStringLiteral("pnlSAMsButtons"), btnSAMAdd, btnSAMEdit, btnSAMDel, btnSAMPlace,
                              QStringLiteral("btnSAMEdit"));
    pcBINFile->addTab(tsPopTemplates, QStringLiteral("Keysite templates"));
    pcBINFile->addTab(tsKeysites, QStringLiteral("Keysites"));
    pcBINFile->addTab(tsAirbases, QStringLiteral("Airbases"));
    pcBINFile->addTab(tsSAMs, QStringLiteral("SAMs"));
    pcBINFile->setCurrentIndex(0);

    pnlBIN = new QWidget;
    pnlBIN->setObjectName(QStringLiteral("pnlBIN"));
    pnlBIN->setMinimumHeight(202);
    auto* binLayout = new QVBoxLayout(pnlBIN);
    binLayout->setContentsMargins(0, 2, 0, 0);
    binLayout->addWidget(pcBINFile);

    Splitter2 = new QSplitter(Qt::Vertical);
    Splitter2->setHandleWidth(3);
    Splitter2->setChildrenCollapsible(false);
    Splitter2->addWidget(Splitter1);
    Splitter2->addWidget(pnlBIN);
    Splitter2->setStretchFactor(0, 1);
    Splitter2->setStretchFactor(1, 0);
    Splitter2->setSizes({340, 202});
    setCentralWidget(Splitter2);
}

void TfrmMain::ConnectCommands()
{
    connect(grPopTemplates, &CStringGrid::Click, this, &TfrmMain::grPopTemplatesClick);
    connect(grKeysites, &CStringGrid::Click, this, &TfrmMain::grKeysitesClick);

    connect(btnTemplateAdd, &QPushButton::clicked, this, &TfrmMain::btnTemplateAddClick);
    connect(btnTemplateEd, &QPushButton::clicked, this, &TfrmMain::btnTemplateEdClick);
    connect(btnTemplateDel, &QPushButton::clicked, this, &TfrmMain::btnTemplateDelClick);
    connect(btnTemplateObjectAdd, &QPushButton::clicked, this, &TfrmMain::btnTemplateObjectAddClick);
    connect(btnTemplateObjectEd, &QPushButton::clicked, this, &TfrmMain::btnTemplateObjectEdClick);
    connect(btnTemplateObjectDel, &QPushButton::clicked, this, &TfrmMain::btnTemplateObjectDelClick);
    connect(btnKeysiteAdd, &QPushButton::clicked, this, &TfrmMain::btnKeysiteAddClick);
    connect(btnKeysiteEd, &QPushButton::clicked, this, &TfrmMain::btnKeysiteEdClick);
    connect(btnKeysiteDel, &QPushButton::clicked, this, &TfrmMain::btnKeysiteDelClick);
    connect(btnAirbaseAdd, &QPushButton::clicked, this, &TfrmMain::btnAirbaseAddClick);
    connect(btnAirbaseEd, &QPushButton::clicked, this, &TfrmMain::btnAirbaseEdClick);
    connect(btnAirbaseDel, &QPushButton::clicked, this, &TfrmMain::btnAirbaseDelClick);
    connect(btnSAMAdd, &QPushButton::clicked, this, &TfrmMain::btnSAMAddClick);
    connect(btnSAMEdit, &QPushButton::clicked, this, &TfrmMain::btnSAMEditClick);
    connect(btnSAMDel, &QPushButton::clicked, this, &TfrmMain::btnSAMDelClick);
    // Double click, Enter and Delete on a grid act as its page's buttons (and not while those
    // are disabled, as in place mode).
    const std::tuple<CStringGrid*, QPushButton*, QPushButton*> gridButtons[] = {
        {grPopTemplates, btnTemplateEd, btnTemplateDel},
        {grTemplateObjects, btnTemplateObjectEd, btnTemplateObjectDel},
        {grKeysites, btnKeysiteEd, btnKeysiteDel},
        {grAirbases, btnAirbaseEd, btnAirbaseDel},
        {grSAMs, btnSAMEdit, btnSAMDel}};
    for (const auto& [grid, edit, remove] : gridButtons) {
        connect(grid, &CStringGrid::EditRequested, edit, &QPushButton::click);
        connect(grid, &CStringGrid::DeleteRequested, remove, &QPushButton::click);
    }

    connect(New1, &QAction::triggered, this, &TfrmMain::New1Click);
    connect(Load1, &QAction::triggered, this, &TfrmMain::Load1Click);
    connect(Save1, &QAction::triggered, this, &TfrmMain::Save1Click);
    connect(SaveAs1, &QAction::triggered, this, &TfrmMain::SaveAs1Click);
    connect(Exit1, &QAction::triggered, this, &TfrmMain::Exit1Click);
    connect(Settings1, &QAction::triggered, this, &TfrmMain::Settings1Click);
    connect(About1, &QAction::triggered, this, &TfrmMain::About1Click);
    connect(Loadfactions1, &QAction::triggered, this, &TfrmMain::Loadfactions1Click);
    connect(Savefactionassignment1, &QAction::triggered, this, &TfrmMain::Savefactionassignment1Click);
    connect(Savefactionassignmentas1, &QAction::triggered, this, &TfrmMain::Savefactionassignmentas1Click);
    connect(Importtemplates1, &QAction::triggered, this, &TfrmMain::Importtemplates1Click);
    connect(Exporttemplates1, &QAction::triggered, this, &TfrmMain::Exporttemplates1Click);
    connect(Changemap1, &QAction::triggered, this, &TfrmMain::Changemap1Click);
    connect(mmOfflineGuide, &QAction::triggered, this, &TfrmMain::mmOfflineGuideClick);
    connect(Onlineguide1, &QAction::triggered, this, &TfrmMain::Onlineguide1Click);
}
