#pragma once
// The File menu: new, load, save and save as of the Map BIN document, the faction assignment,
// template import and export, recent files, and the question before unsaved work is discarded.
// Files named on the command line, dropped on the window or chosen among the recent files go the
// same way. Everything it changes is the campaign session's; it keeps no path of its own.

#include "dialogs/userprompts.h"
#include "session/edithistory.h"
#include "session/filebackups.h"

#include <QObject>
#include <QString>

class CCampaignSession;
class CFilePlaces;
class CMissingNames;
class QAction;
class QMenu;
class QMenuBar;
class QWidget;

class CDocumentFiles : public QObject {
    Q_OBJECT
public:
    // `mapsFolder` is the installation's common/maps, where the file dialogs start.
    CDocumentFiles(CCampaignSession& session, CUserPrompts& prompts, CFilePlaces& places, QWidget* window,
                   const QString& mapsFolder);

    // The File menu, added to `bar`, with the recent files before Save.
    QMenu* CreateMenu(QMenuBar* bar);

    // --- Map BIN document ----------------------------------------------------------------------
    void New();
    void Load();
    // Load once the question has been answered, from a file chosen otherwise.
    void OpenBinFile(const QString& path);
    // Reads `path` in place of the document; "path: why" in `reason` on failure.
    bool LoadBinFile(const QString& path, QString* reason = nullptr);
    // Save writes the document's own file without a dialog (a new document is saved as by Save
    // As); Save As asks, proposing that file. True once saved; a failed save shows "Save failed".
    bool SaveBinDocument();
    bool SaveBinDocumentAs();

    // --- Faction assignment --------------------------------------------------------------------
    void LoadFactions();
    void OpenFactionFile(const QString& path);
    bool SaveFactionLayer();
    bool SaveFactionLayerAs();

    // --- Backups -------------------------------------------------------------------------------
    // Every save first keeps the file it replaces here; a backup that cannot be written makes the
    // save ask whether to go on without one.
    CFileBackups& Backups() { return m_backups; }
    // The number of backups each file keeps, from now on and in later runs.
    void SetBackupsKept(int kept);
    // Lists the backups of the open Map BIN and faction files; the one chosen replaces its
    // document as unsaved changes (for the Map BIN document one edit, undone by Undo).
    void RestoreBackup();

    // --- Templates -----------------------------------------------------------------------------
    void ImportTemplates();
    void ImportTemplateFile(const QString& path);
    void ExportTemplates();

    // A file by its extension: .SID a faction file, .BTP templates to import (after asking when
    // `askBeforeImport`), anything else a Map BIN file. "No such file" when it is not there.
    void OpenFileByKind(const QString& path, bool askBeforeImport);
    // The files of the command line: the faction file named by --factions first, then each
    // file by its kind.
    void OpenNamedFiles(const QString& factions, const QStringList& files);
    // Whether a file dropped on the window is one of the kinds above.
    static bool IsDroppable(const QString& path);

    // Asks "Save changes to <file>?" when the document is modified; false when the user cancels
    // or the save fails (nothing may be discarded then).
    bool MayDiscard(CEditHistory::Document document);
    // The file name the title and the question show: the file, or "Untitled.BIN" ("Untitled.SID").
    QString DocumentName(CEditHistory::Document document) const;

signals:
    // A Map BIN or faction file was read.
    void FileOpened(const QString& path);
    void ExitRequested();

private:
    void LoadChosenBinFile(const QString& path);
    void LoadChosenFactionFile(const QString& path);
    bool WriteBinDocument(const QString& path);
    bool WriteFactionLayer(const QString& path);
    // Keeps a backup of `path` before a save replaces it; false when none can be kept and the
    // user does not want to save without one.
    bool KeepBackup(const QString& path);
    // Tells the user which 3D object names a Load or Import met that the catalogue does not hold.
    void ShowMissingNames(const CMissingNames& missing);
    void FillRecentFiles();

    CCampaignSession& m_session;
    CUserPrompts& m_prompts;
    CFilePlaces& m_places;
    QWidget* m_window;
    CFileBackups m_backups;
    QMenu* m_recentFiles = nullptr;
    FileDialogRequest m_openBin;
    FileDialogRequest m_saveBin;
    FileDialogRequest m_openSid;
    FileDialogRequest m_saveSid;
    FileDialogRequest m_openBtp;
    FileDialogRequest m_saveBtp;
};
