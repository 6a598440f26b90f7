#pragma once
// TfrmMain, the program's one window: the map area above, the four record pages below, the menus.
// It owns the settings, the catalogue, the template type table and the document for the whole
// run, and reaches the user only through CUserPrompts.

#include "maparea/mapimage.h"
#include "app/windowmemory.h"
#include "dialogs/userprompts.h"
#include "document/records.h"
#include "mapview/tarnconfig.h"
#include "mapview/wheelzoom.h"

#include <QMainWindow>
#include <QPoint>
#include <QUndoStack>
#include <QUrl>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class C3DObjectsList;
class CBINFile;
class CEditHistory;
class CRecordChange;
class CRecoveryStore;
struct ShownRows;
class CFilePlaces;
class CRememberingPrompts;
struct CommandLine;
class CFactionsInfo;
class CDebounce;
class CMapImage;
class CMapCanvas;
class CMapWindow;
class CMapControlColumn;
class CMissingNames;
class CPopTemplatesTypesList;
class CRecordEditor;
class CRecordTableModel;
class CStringGrid;
class CTarnConfig;
class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QSplitter;
class QTimer;
class QTabWidget;
class QWidget;

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
    // `editor` answers the document's record dialogs; the real dialogs when null.
    TfrmMain(CUserPrompts& prompts, const StartupEnvironment& environment, CRecordEditor* editor = nullptr);
    ~TfrmMain() override; // FormDestroy

    // --- Start-up -----------------------------------------------------------------------------
    // The creation sequence. False when the installation is missing: the message has been shown
    // and the window must never be shown; the caller ends the program.
    bool InitializeMainWindow();
    bool FindInstallation();
    bool LoadObjectCatalogue();
    // Shows the window with the geometry, splitters, page and layer boxes the last run ended
    // with or, on the first start, at about 80% of the screen, centred, with the record symbols.
    void ShowWindowAsLeft();
    // Once the files named at start-up are open: the map the last run ended on when none has been
    // chosen, then its map mode (Factions only with a faction layer to show).
    void RestoreRememberedMap();
    // What ShowWindowAsLeft and RestoreRememberedMap give back next time; written as the
    // window closes.
    void RememberWindow() const;

    // --- Grids --------------------------------------------------------------------------------
    // Each grid is a view on a table model of its list, which follows the document by itself.
    // The objects grid shows the objects of template `templateIndex` (none when out of range),
    // from its first row.
    void FillTemplateObjectGrid(int templateIndex);
    void grPopTemplatesClick();
    void grKeysitesClick();

    // --- Record commands ----------------------------------------------------------------------
    void btnTemplateAddClick();
    void btnTemplateEdClick();
    void btnTemplateDelClick();
    void btnTemplateObjectAddClick();
    void btnTemplateObjectEdClick();
    void btnTemplateObjectDelClick();
    void btnKeysiteAddClick();
    void btnKeysiteEdClick();
    void btnKeysiteDelClick();
    void btnAirbaseAddClick();
    void btnAirbaseEdClick();
    void btnAirbaseDelClick();
    void btnSAMAddClick();
    void btnSAMEditClick();
    void btnSAMDelClick();

    // --- Document and menu commands -----------------------------------------------------------
    void New1Click();
    void Load1Click();
    void Save1Click();
    void SaveAs1Click();
    void Exit1Click();
    void Settings1Click();
    void About1Click();
    // Both give the reason for a failure in `reason`, for the message's detail.
    bool LoadBinFile(const QString& path, QString* reason = nullptr);
    bool SaveBinFile(const QString& path, QString* reason = nullptr);

    void Loadfactions1Click();
    void Savefactionassignment1Click();
    void Savefactionassignmentas1Click();
    void Importtemplates1Click();
    void Exporttemplates1Click();
    void Changemap1Click();
    void mmOfflineGuideClick();
    void Onlineguide1Click();

    // --- Undo, modified state, the question before discarding, recovery (unsavedwork.cpp) ------
    // Save writes the document's own file without a dialog (a document without one, a new Map BIN
    // document, is saved as by Save As); Save As asks, proposing that file in its folder. True
    // once saved; a failed save shows "Save failed" and leaves the document modified.
    bool SaveBinDocument();
    bool SaveBinDocumentAs();
    bool SaveFactionLayer();
    bool SaveFactionLayerAs();
    // Asks "Save changes to <file>?" when the document is modified; false when the user cancels
    // or the save fails (nothing may be discarded then).
    bool MayDiscardBinDocument();
    bool MayDiscardFactions();
    // The file name the title and the question show: the file, or "Untitled.BIN" ("Untitled.SID").
    QString BinDocumentName() const;
    QString FactionDocumentName() const;
    // "sable_coast.BIN — sable_coast.SID* — Sablemap": every open document, each marked while it
    // is modified.
    void UpdateWindowTitle();
    // What the recovery timer does: a copy of every modified document, none of the others.
    void WriteRecoveryCopies();
    // At start-up: offers the copies a run that did not end normally left behind.
    void OfferRecovery();
    QUndoStack& BinHistory();
    QUndoStack& FactionHistory();

    // --- Files opened by name (command line, dropped files, recent files) ---------------------
    // What Load, Load faction assignment, Import templates and Change map do once the file or map
    // has been chosen.
    void OpenBinFile(const QString& path);
    void OpenFactionFile(const QString& path);
    void ImportTemplateFile(const QString& path);
    void OpenMapFolder(const QString& folder);
    // A file by its extension: .SID a faction file, .BTP templates to import (after asking when
    // `askBeforeImport`), anything else a Map BIN file. "No such file" when it is not there.
    void OpenFileByKind(const QString& path, bool askBeforeImport);
    // --map NAME: the map folder of that name under common/maps.
    void OpenNamedMap(const QString& name);
    // Reports the command line's problems, or opens its files and then chooses its map.
    void OpenCommandLine(const CommandLine& line);
    void FillRecentFiles();

    // --- Map area -----------------------------------------------------------------------------
    // Renders the terrain layer (heights with the ticked route networks, or the faction layer in
    // Factions mode); nothing until a map has been chosen.
    void RedrawTerrain();
    // Rebuilds the composite picture from the terrain layer and shows it; nothing until a map has
    // been chosen.
    void RefreshMap();
    bool EnterPlaceMode(RecordKind kind, int32_t index);
    void SetRecordButtonsEnabled(bool enabled);

    void spMapUpClick();
    void spMapDownClick();
    void spMapLeftClick();
    void spMapRightClick();
    void spMapZoomInClick();
    void spMapZoomOutClick();
    void spMapDefaultClick();
    void tbResolutionChange();
    void TimerTBResolutionTimer();
    void pnlMapResize();
    void TimerMapResizeTimer();
    void rbMapModeClick();
    void chbOverlayClick();
    void chbMapPropsClick();
    void imMouseMove(QPoint pixel);
    void imMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pixel);
    void imMouseUp(Qt::MouseButton button, QPoint pixel);
    void imWheelSteps(int steps, QPoint pixel);
    void imNavigate(MapKey key);
    // Renders the terrain for the view that wheel or drag left showing a preview.
    void TimerMapSettleTimer();
    // Centres the map on a record at the same zoom.
    void ShowOnMap(RecordKind kind, int index);
    // The context menu of a placement grid's current row ("Show on map").
    QMenu* PlacementMenu(RecordKind kind);
    // Marks the records selected in the active page's grid on the map.
    void UpdateMapSelection();
    // Shows the last rendered terrain moved to the current view with the overlay, and renders
    // the terrain once the navigation pauses.
    void ShowNavigationPreview();
    // After a Map BIN or faction file has opened: with no map chosen, the installation's map
    // whose folder holds the file is chosen (keeping the map mode); then the records are compared
    // with the map.
    void AfterFileOpened(const QString& path);
    // The map folder of the installation that holds `path` (a file or folder), or empty.
    QString InstallationMapOf(const QString& path) const;
    // Where Change map opens: the current map or, without one, the folder of the open file.
    QString MapFolderToOffer() const;
    // Shows in the status bar how many keysites, airbases and SAM sites lie outside the chosen
    // map, when any do: said when a map and a Map BIN document meet, without a box to dismiss.
    void ReportPlacementsOutsideMap();
    void btnKeysitePlaceClick();
    void btnAirbasePlaceClick();
    void btnSAMPlaceClick();

    struct PlaceModeState {
        bool Active = false;
        RecordKind Kind = KeysiteKind;
        int32_t Index = -1;
    };
    PlaceModeState PlaceMode;

    // A left or middle press without modifiers on the map: a drag once the mouse moves.
    struct MapDragState {
        bool Pressed = false;
        bool Dragging = false;
        Qt::MouseButton Button = Qt::NoButton;
        QPoint Start;
    };
    MapDragState MapDrag;
    std::unique_ptr<CMapWindow> MapDragStartView; // the view at the press
    // Wheel notches turned back restore the view exactly.
    CWheelZoom MapWheel;

    // Hands a guide's address to the desktop; tests replace it.
    std::function<bool(const QUrl&)> OpenUrl;
    static const char* const OnlineGuideAddress;

    // --- Owned state, in the order it is released by FormDestroy (reversed here) ---------------
    std::unique_ptr<CPopTemplatesTypesList> TemplateTypes;
    std::unique_ptr<CTarnConfig> Settings;
    std::unique_ptr<C3DObjectsList> Catalogue;
    std::unique_ptr<CBINFile> Document;
    // The map package, its view and both bitmaps; created empty at start-up.
    std::unique_ptr<CMapCanvas> MapCanvas;
    // The faction layer, from the first successful "Load faction assignment" on.
    std::unique_ptr<CFactionsInfo> Factions;
    // Recent files and the folders of the file dialogs, in the person's own configuration.
    std::unique_ptr<CFilePlaces> FilePlaces;
    // The edits of both documents, and the copies of unsaved work.
    std::unique_ptr<CEditHistory> History;
    std::unique_ptr<CRecoveryStore> Recovery;
    // The file the Map BIN document was loaded from or saved to; empty for a new document.
    QString BinDocumentPath;
    // The faction file the layer came from or was saved to.
    QString FactionFilePath;

    QString InstallationPath;
    QString BinFilePath;
    QString MapFolder;

    FileDialogRequest OpenDialogBIN;
    FileDialogRequest SaveDialogBIN;
    FileDialogRequest OpenDialogSID;
    FileDialogRequest SaveDialogSID;
    FileDialogRequest OpenDialogBTP;
    FileDialogRequest SaveDialogBTP;

    // --- Components ---------------------------------------------------------------------------
    QMenu* File1;
    QMenu* Edit1;
    QAction* Undo1;
    QAction* Redo1;
    QTimer* TimerRecovery; // at most every 30 s while something is modified
    QMenu* Options1;
    QMenu* Help1;
    QAction* New1;
    QAction* Load1;
    QAction* Save1;
    QAction* SaveAs1;
    QAction* Loadfactions1;
    QAction* Savefactionassignment1;
    QAction* Savefactionassignmentas1;
    QAction* Importtemplates1;
    QAction* Exporttemplates1;
    QAction* Exit1;
    QAction* Changemap1;
    QAction* Settings1;
    QAction* mmOfflineGuide; // null once removed
    QMenu* mmRecentFiles;
    QAction* Onlineguide1;
    QAction* About1;

    QSplitter* Splitter2; // map area above, record pages below
    QSplitter* Splitter1; // map, then its control column
    QWidget* pnlMap;
    CMapImage* im;
    CDebounce* TimerTBResolution;
    CDebounce* TimerMapResize;
    CDebounce* TimerMapSettle;
    CMapControlColumn* pnlMapControls;
    QWidget* pnlBIN;
    QTabWidget* pcBINFile;
    QWidget* tsPopTemplates;
    QWidget* tsKeysites;
    QWidget* tsAirbases;
    QWidget* tsSAMs;
    QSplitter* Splitter3;
    CStringGrid* grPopTemplates;
    CStringGrid* grTemplateObjects;
    CStringGrid* grKeysites;
    CStringGrid* grAirbases;
    CStringGrid* grSAMs;
    QPushButton* btnTemplateAdd;
    QPushButton* btnTemplateEd;
    QPushButton* btnTemplateDel;
    QPushButton* btnTemplateObjectAdd;
    QPushButton* btnTemplateObjectEd;
    QPushButton* btnTemplateObjectDel;
    QPushButton* btnKeysiteAdd;
    QPushButton* btnKeysiteEd;
    QPushButton* btnKeysiteDel;
    QPushButton* btnKeysitePlace;
    QPushButton* btnAirbaseAdd;
    QPushButton* btnAirbaseEd;
    QPushButton* btnAirbaseDel;
    QPushButton* btnAirbasePlace;
    QPushButton* btnSAMAdd;
    QPushButton* btnSAMEdit;
    QPushButton* btnSAMDel;
    QPushButton* btnSAMPlace;

signals:
    // After every render of the terrain layer.
    void TerrainRedrawn();

protected:
    // Asks about unsaved work first; the window stays open when the user cancels.
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // A window that closes remembers how it looked.
    void hideEvent(QHideEvent* event) override;
    // Map BIN, faction and templates files dropped on the window open as if chosen in the menus.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void ConnectMapArea();
    void CreateEditMenu();
    void ConnectHistory();
    // Records an edit made to the Map BIN document, named `text` ("Delete 3 SAM sites").
    void RecordEdit(const QString& text, std::vector<std::unique_ptr<CRecordChange>> changes);
    void RecordEdit(const QString& text, std::unique_ptr<CRecordChange> change);
    // Add and Edit of any list, recorded; false when the editor declined.
    template <typename Record>
    bool AddRecord(int templateNumber = -1);
    template <typename Record>
    bool EditRecord(int index, int templateNumber = -1);
    // After an undo or redo: the page of the rows, and the rows selected.
    void ShowEditedRows(const ShownRows& rows);
    // What Load and Load faction assignment do once the question has been answered.
    void LoadChosenBinFile(const QString& path);
    void LoadChosenFactionFile(const QString& path);
    // Write the document to `path`, which becomes its file; "Save failed" otherwise.
    bool WriteBinDocument(const QString& path);
    bool WriteFactionLayer(const QString& path);
    // A save dialog proposing `path`: its folder and its name (none for an empty path).
    static FileDialogRequest Proposing(FileDialogRequest request, const QString& path);
    // The question for one document, named `name`; `save` saves it.
    bool MayDiscard(bool modified, const QString& name, bool (TfrmMain::*save)());
    // Copies the control column's states into the canvas.
    void SyncCanvasFlags();
    // Runs one view operation of the map column with the hourglass, then redraws.
    void ApplyViewOperation(void (CMapWindow::*operation)());
    // The keysite, airbase and SAM pages are alike but for their list: one piece of code for the
    // three, by kind.
    struct PlacementPage {
        CStringGrid* Grid;
        QWidget* Tab;
        const char* ListWord; // the list in the delete question: " keysites"
    };
    PlacementPage Page(RecordKind kind) const;
    void AddPlacement(RecordKind kind);
    void EditPlacement(RecordKind kind);
    void DeletePlacements(RecordKind kind);
    void StartPlacing(RecordKind kind);
    bool SetPlacementPosition(RecordKind kind, int index, float x, float z);
    // Makes the record's page active and its row the current and only selected one.
    void SelectPlacement(RecordKind kind, int index);
    void LeavePlaceMode();
    void CreateMenus();
    void CreateLayout();
    QWidget* CreateTemplatePage();
    QWidget* CreateRecordPage(CStringGrid*& grid, const QString& panelName, QPushButton*& add, QPushButton*& edit,
                              QPushButton*& del, QPushButton*& place, const QString& editName);
    void ConnectCommands();
    void CreateFileSources();
    void InitialiseFileDialogs();
    // The grids' models, made with the document (start-up).
    void AttachRecordGrids();
    // Tells the user which 3D object names a Load or Import met that the catalogue does not hold.
    void ShowMissingNames(const CMissingNames& missing);
    static constexpr int kMissingNamesShown = 10; // names listed in that message
    // "Do you want to delete <count><listWord>"; true for Yes.
    bool ConfirmDelete(int count, const QString& listWord);
    // The record index of a grid's current row (-1 when the grid was never filled).
    static int CurrentIndex(const CStringGrid* grid);

    std::unique_ptr<CRememberingPrompts> m_rememberingPrompts;
    CUserPrompts& m_prompts; // the prompts given, through m_rememberingPrompts
    StartupEnvironment m_environment;
    std::unique_ptr<CRecordEditor> m_ownEditor;
    std::vector<std::unique_ptr<CRecordTableModel>> m_recordModels; // released before the document
    CRecordEditor* m_editor;
    TextFormat m_format;
    bool m_installationUnreadable = false;
    // Read at start-up; the map and mode wait for the files named at start-up.
    std::optional<WindowMemory> m_remembered;
};
