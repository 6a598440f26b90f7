#pragma once
// TfrmMain, the program's one window. It only assembles the parts: the campaign session (the
// documents, their files and history, the selection), the map area above, the record pages below,
// the File menu (CDocumentFiles), the Edit menu, the problems panel (View menu), the recovery
// copies and the Options and Help menus. A SAM edit goes: the SAMs page's Edit button (pages/placementpage) opens the
// dialog through CRecordDialogs, pushes the value as a CRecordEdit onto the session, whose announcement the grid's
// model and the map area (maparea/maparea) each follow by themselves.

#include "app/windowmemory.h"
#include "session/edithistory.h"

#include <QMainWindow>
#include <QUrl>
#include <functional>
#include <memory>
#include <optional>

class C3DObjectsList;
class CClipboardCommands;
class CCampaignSession;
class CDocumentFiles;
class CEditMenu;
class CSelectionCommands;
class CFilePlaces;
class CMapArea;
class CMapToolBar;
class COverviewDock;
class CPopTemplatesTypesList;
class CProblemsDock;
class CRecordDialogs;
class CRecordPages;
class CRecoveryGuard;
class CRememberingPrompts;
class CTarnConfig;
class CUserPrompts;
class QMenu;
class QSplitter;
struct CommandLine;

// Where the program's own files are: the folder of the executable (which holds "guide") and the
// settings file beside it.
struct StartupEnvironment {
    QString ProgramFolder;
    QString SettingsFile;
    // The installation folder named on the command line; the registry is asked when empty.
    QString Installation;

    // "guide/index.html" beside the program or, for an installed program, in its data folder.
    QString GuideIndex() const;
    // The running program's: its folder, and its path with the extension replaced by ".INI".
    static StartupEnvironment OfApplication();
    // The same for the program at `programPath`. An installed program (one with a data folder,
    // <prefix>/share/sablemap) keeps its settings file in the user's configuration folder (made
    // when missing), since the folder of the program is not the user's to write.
    static StartupEnvironment ForProgram(const QString& programPath);
};

class TfrmMain : public QMainWindow {
    Q_OBJECT
public:
    // `dialogs` answers the record dialogs; the real dialogs when null.
    TfrmMain(CUserPrompts& prompts, const StartupEnvironment& environment, CRecordDialogs* dialogs = nullptr);
    ~TfrmMain() override; // FormDestroy

    // --- Start-up (startup.cpp) ------------------------------------------------------------------
    // The creation sequence. False when the installation is missing: the message has been shown
    // and the window must never be shown; the caller ends the program.
    bool InitializeMainWindow();
    // Shows the window with the geometry, splitters, page and layer boxes the last run ended
    // with or, on the first start, at about 80% of the screen, centred, with the record symbols.
    void ShowWindowAsLeft();
    // Once the files named at start-up are open: the map the last run ended on when none has been
    // chosen, then its map mode (Factions only with a faction layer to show).
    void RestoreRememberedMap();
    // Offers the copies a run that did not end normally left behind.
    void OfferRecovery();
    // Reports the command line's problems, or opens its files and then chooses its map.
    void OpenCommandLine(const CommandLine& line);

    // --- The parts ----------------------------------------------------------------------------
    // Null before InitializeMainWindow succeeded.
    CCampaignSession* Session() const { return m_session.get(); }
    CDocumentFiles* Files() const { return m_files; }
    CMapArea* MapArea() const { return m_mapArea; }
    CMapToolBar* MapTools() const { return m_mapTools; }

    // --- Maps (mapchoice.cpp) -----------------------------------------------------------------
    // Change map once the map has been chosen; --map NAME: the map folder of that name.
    void OpenMapFolder(const QString& folder);
    void OpenNamedMap(const QString& name);
    // Where Change map opens: the current map or, without one, the folder of the open file.
    QString MapFolderToOffer() const;

    // Hands a guide's address to the desktop; tests replace it.
    void SetUrlOpener(std::function<bool(const QUrl&)> opener) { m_openUrl = std::move(opener); }
    static const char* const OnlineGuideAddress;

protected:
    // Asks about unsaved work first; the window stays open when the user cancels.
    void closeEvent(QCloseEvent* event) override;
    // A window that closes remembers how it looked.
    void hideEvent(QHideEvent* event) override;
    // Map BIN, faction and templates files dropped on the window open as if chosen in the menus.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    bool FindInstallation();
    bool LoadObjectCatalogue();
    void CreateParts();
    void CreateMenus();
    void RememberWindow() const;
    // "sable_coast.BIN — sable_coast.SID* — Sablemap": every open document, each marked while it
    // is modified.
    void UpdateWindowTitle();
    void ChangeMap();
    void EditSettings();
    void OpenOfflineGuide();
    void OpenOnlineGuide();
    // After a Map BIN or faction file has opened: with no map chosen, the installation's map
    // whose folder holds the file is chosen (keeping the map mode); then the records are compared
    // with the map.
    void AfterFileOpened(const QString& path);
    // The map folder of the installation that holds `path` (a file or folder), or empty.
    QString InstallationMapOf(const QString& path) const;
    // "N records lie outside this map" in the status bar, said without a box to dismiss.
    void ReportPlacementsOutsideMap();

    std::unique_ptr<CFilePlaces> m_filePlaces;
    std::unique_ptr<CRememberingPrompts> m_rememberingPrompts;
    CUserPrompts& m_prompts; // the prompts given, through m_rememberingPrompts
    StartupEnvironment m_environment;
    CRecordDialogs* m_dialogs;
    std::unique_ptr<CRecordDialogs> m_ownDialogs;
    std::function<bool(const QUrl&)> m_openUrl;
    QString m_installationPath;
    bool m_installationUnreadable = false;
    // Read at start-up; the map and mode wait for the files named at start-up.
    std::optional<WindowMemory> m_remembered;

    // Owned for the whole run, released in the reverse order (the session refers to the
    // catalogue and the type table).
    std::unique_ptr<CPopTemplatesTypesList> m_templateTypes;
    std::unique_ptr<CTarnConfig> m_settings;
    std::unique_ptr<C3DObjectsList> m_catalogue;
    std::unique_ptr<CCampaignSession> m_session;

    // The parts, children of the window.
    CMapArea* m_mapArea = nullptr;
    CMapToolBar* m_mapTools = nullptr;
    CRecordPages* m_pages = nullptr;
    CDocumentFiles* m_files = nullptr;
    CEditMenu* m_editMenu = nullptr;
    CSelectionCommands* m_selectionCommands = nullptr;
    CClipboardCommands* m_clipboard = nullptr;
    CRecoveryGuard* m_recovery = nullptr;
    CProblemsDock* m_problems = nullptr; // hidden until asked for, or a file with problems opens
    QSplitter* m_splitter = nullptr;     // the map area above, the record pages below
    QMenu* m_help = nullptr;
    COverviewDock* m_overview = nullptr; // the whole map with the view's rectangle (View menu)
};
