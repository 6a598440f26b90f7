#include "app/documentfiles.h"

#include "app/fileplaces.h"
#include "dialogs/backupsdialog.h"
#include "dialogs/waitcursor.h"
#include "document/binfile.h"
#include "document/binformat.h"
#include "document/recordlists.h"
#include "factions/factionsinfo.h"
#include "pages/recordactions.h"
#include "platform/filelimits.h"
#include "platform/fileread.h"
#include "platform/messagetext.h"
#include "platform/streams.h"
#include "session/campaignsession.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <algorithm>

namespace {

constexpr int kMissingNamesShown = 10; // names listed in that message

bool HasSuffix(const QString& path, const char* suffix)
{
    return QFileInfo(path).suffix().compare(QLatin1String(suffix), Qt::CaseInsensitive) == 0;
}

QString NoSuchFile(const QString& path)
{
    return QStringLiteral("No such file: %1").arg(QDir::toNativeSeparators(path));
}

// A path as the menu shows it: the home folder written "~".
QString Shown(const QString& path)
{
    const QString home = QDir::homePath();
    if (path.startsWith(home + QLatin1Char('/')))
        return QDir::toNativeSeparators(QStringLiteral("~") + path.mid(home.size()));
    return QDir::toNativeSeparators(path);
}

QString FileNameOf(const QString& path)
{
    // Paths of the game's own style use backslashes even here.
    const qsizetype split = std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    return path.mid(split + 1);
}

// A save dialog proposing `path`: its folder and its name (none for an empty path).
FileDialogRequest Proposing(FileDialogRequest request, const QString& path)
{
    if (path.isEmpty())
        return request;
    // Paths of the game's own style may use backslashes or a drive colon even here.
    qsizetype split = -1;
    for (const QChar separator : {QLatin1Char('\\'), QLatin1Char('/'), QLatin1Char(':')})
        split = std::max(split, path.lastIndexOf(separator));
    request.Folder = path.left(split + 1);
    request.FileName = path.mid(split + 1);
    return request;
}

// Paths come from the user's own files: shown whole up to the longest path the system takes.
constexpr qsizetype kLongestPathShown = 4096;

// "12 keysite templates, 120 template objects, ..." of a Map BIN file, or why it cannot be read.
QString RecordCounts(const QString& path)
{
    QByteArray bytes;
    QString reason;
    if (!ReadRegularFile(path, FileLimits::MapBin, bytes, &reason))
        return reason;
    CByteReader reader(std::move(bytes));
    MapCounts counts;
    if (!CountMapRecords(reader, counts))
        return QStringLiteral("damaged: %1").arg(reader.Error());
    return QStringList{CountedRecords(RecordList::Templates, counts.Templates),
                       CountedRecords(RecordList::TemplateObjects, counts.Objects),
                       CountedRecords(RecordList::Keysites, counts.Keysites),
                       CountedRecords(RecordList::Airbases, counts.Airbases),
                       CountedRecords(RecordList::Sams, counts.Sams)}
        .join(QStringLiteral(", "));
}

// "64 × 64 sectors" of a faction file, or why it cannot be read.
QString SectorCount(const QString& path)
{
    CFactionsInfo layer;
    QString reason;
    if (!layer.LoadFromFile(path, &reason))
        return reason;
    return QStringLiteral("%1 × %2 sectors").arg(layer.Columns).arg(layer.Rows);
}

QAction* AddAction(QMenu* menu, const char* name, const QString& caption, const QKeySequence& keys = {})
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    action->setShortcut(keys);
    return action;
}

} // namespace

CDocumentFiles::CDocumentFiles(CCampaignSession& session, CUserPrompts& prompts, CFilePlaces& places, QWidget* window,
                               const QString& mapsFolder)
    : QObject(window), m_session(session), m_prompts(prompts), m_places(places), m_window(window)
{
    const QString bin = QStringLiteral("Map BIN file (*.BIN)");
    const QString sid = QStringLiteral("Faction assignment file (*.SID)");
    const QString btp = QStringLiteral("Map BIN templates file (*.BTP)");
    m_openBin = {QStringLiteral("Load BIN file"), {bin}, QStringLiteral("BIN"), mapsFolder, {}};
    m_saveBin = {QStringLiteral("Save BIN file"), {bin}, QStringLiteral("BIN"), mapsFolder, {}};
    m_openSid = {QStringLiteral("Load SID file"), {sid}, QStringLiteral("SID"), mapsFolder, {}};
    m_saveSid = {QStringLiteral("Save SID file"), {sid}, QStringLiteral("SID"), mapsFolder, {}};
    m_openBtp = {QStringLiteral("Load templates file"), {btp, bin}, QStringLiteral("BTP"), mapsFolder, {}};
    m_saveBtp = {QStringLiteral("Save templates file"), {btp}, QStringLiteral("BTP"), mapsFolder, {}};
    m_backups.SetKept(m_places.BackupsKept());
}

void CDocumentFiles::SetBackupsKept(int kept)
{
    m_backups.SetKept(kept);
    m_places.SetBackupsKept(m_backups.Kept());
}

QMenu* CDocumentFiles::CreateMenu(QMenuBar* bar)
{
    QMenu* file = bar->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("File1"));
    connect(AddAction(file, "New1", QStringLiteral("&New"), QKeySequence::New), &QAction::triggered, this,
            &CDocumentFiles::New);
    connect(AddAction(file, "Load1", QStringLiteral("&Load"), QKeySequence::Open), &QAction::triggered, this,
            &CDocumentFiles::Load);
    QAction* save = AddAction(file, "Save1", QStringLiteral("&Save"), QKeySequence::Save);
    connect(save, &QAction::triggered, this, &CDocumentFiles::SaveBinDocument);
    // Spelled out: the platform's Save As key is missing on some desktops.
    connect(AddAction(file, "SaveAs1", QStringLiteral("Save &As…"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)),
            &QAction::triggered, this, &CDocumentFiles::SaveBinDocumentAs);
    file->addSeparator();
    connect(AddAction(file, "Loadfactions1", QStringLiteral("Load &faction assignment")), &QAction::triggered, this,
            &CDocumentFiles::LoadFactions);
    connect(AddAction(file, "Savefactionassignment1", QStringLiteral("Sa&ve faction assignment")), &QAction::triggered,
            this, &CDocumentFiles::SaveFactionLayer);
    connect(AddAction(file, "Savefactionassignmentas1", QStringLiteral("Save facti&on assignment as…")),
            &QAction::triggered, this, &CDocumentFiles::SaveFactionLayerAs);
    file->addSeparator();
    connect(AddAction(file, "Importtemplates1", QStringLiteral("&Import templates")), &QAction::triggered, this,
            &CDocumentFiles::ImportTemplates);
    connect(AddAction(file, "Exporttemplates1", QStringLiteral("&Export templates")), &QAction::triggered, this,
            &CDocumentFiles::ExportTemplates);
    file->addSeparator();
    connect(AddAction(file, "RestoreBackup1", QStringLiteral("Restore &backup…")), &QAction::triggered, this,
            &CDocumentFiles::RestoreBackup);
    file->addSeparator();
    QAction* exit = AddAction(file, "Exit1", QStringLiteral("E&xit"), QKeySequence::Quit);
    exit->setMenuRole(QAction::QuitRole);
    connect(exit, &QAction::triggered, this, &CDocumentFiles::ExitRequested);

    m_recentFiles = new QMenu(QStringLiteral("&Recent files"), file);
    m_recentFiles->setObjectName(QStringLiteral("mmRecentFiles"));
    file->insertMenu(save, m_recentFiles);
    // Filled as it opens: an entry must never be deleted while it is being chosen.
    connect(m_recentFiles, &QMenu::aboutToShow, this, &CDocumentFiles::FillRecentFiles);
    return file;
}

// --- Map BIN document ----------------------------------------------------------------------------

void CDocumentFiles::New()
{
    if (MayDiscard(CEditHistory::MapBin))
        m_session.NewMapBin();
}

void CDocumentFiles::Load()
{
    QString path;
    if (MayDiscard(CEditHistory::MapBin) && m_prompts.OpenFile(m_window, m_openBin, path))
        LoadChosenBinFile(path);
}

void CDocumentFiles::OpenBinFile(const QString& path)
{
    if (MayDiscard(CEditHistory::MapBin))
        LoadChosenBinFile(path);
}

void CDocumentFiles::LoadChosenBinFile(const QString& path)
{
    QString reason;
    if (!LoadBinFile(path, &reason)) {
        m_prompts.Message(m_window, QStringLiteral("Open failed"), reason);
        return;
    }
    m_places.AddRecentFile(path, CFilePlaces::Kind::MapBin);
    ShowMissingNames(m_session.Records().LastReadMissingNames());
    emit FileOpened(path);
}

bool CDocumentFiles::LoadBinFile(const QString& path, QString* reason)
{
    if (!QFileInfo(path).isFile()) {
        if (reason)
            *reason = QStringLiteral("%1: no such file").arg(path);
        return false;
    }
    CWaitCursor wait;
    QString why;
    if (!m_session.LoadMapBin(path, &why)) {
        if (reason)
            *reason = QStringLiteral("%1: %2").arg(path, why);
        return false;
    }
    return true;
}

bool CDocumentFiles::SaveBinDocument()
{
    // A document with a file of its own goes back there; only a new one needs a name.
    const QString path = m_session.MapBinPath();
    return path.isEmpty() ? SaveBinDocumentAs() : WriteBinDocument(path);
}

bool CDocumentFiles::SaveBinDocumentAs()
{
    // A new document proposes no name: the last file loaded belongs to other work, and proposing
    // it invites writing over it.
    QString path;
    return m_prompts.SaveFile(m_window, Proposing(m_saveBin, m_session.MapBinPath()), path) && WriteBinDocument(path);
}

bool CDocumentFiles::WriteBinDocument(const QString& path)
{
    if (!KeepBackup(path))
        return false;
    QString reason;
    bool saved = false;
    {
        CWaitCursor wait;
        saved = m_session.SaveMapBin(path, &reason);
    }
    if (!saved)
        m_prompts.Message(m_window, QStringLiteral("Save failed"), QStringLiteral("%1: %2").arg(path, reason));
    return saved;
}

// --- Faction assignment --------------------------------------------------------------------------

void CDocumentFiles::LoadFactions()
{
    QString path;
    if (MayDiscard(CEditHistory::Factions) && m_prompts.OpenFile(m_window, m_openSid, path))
        LoadChosenFactionFile(path);
}

void CDocumentFiles::OpenFactionFile(const QString& path)
{
    if (MayDiscard(CEditHistory::Factions))
        LoadChosenFactionFile(path);
}

void CDocumentFiles::LoadChosenFactionFile(const QString& path)
{
    bool loaded = false;
    QString reason;
    {
        CWaitCursor wait;
        loaded = m_session.LoadFactions(path, &reason);
    }
    if (!loaded) {
        m_prompts.Message(m_window, QStringLiteral("Open failed"), QStringLiteral("%1: %2").arg(path, reason));
        return;
    }
    m_places.AddRecentFile(path, CFilePlaces::Kind::Factions);
    emit FileOpened(path);
}

bool CDocumentFiles::SaveFactionLayer()
{
    // As Save does for the Map BIN file: the layer goes back to the file it came from.
    if (!m_session.Factions())
        return false;
    const QString path = m_session.FactionsPath();
    return path.isEmpty() ? SaveFactionLayerAs() : WriteFactionLayer(path);
}

bool CDocumentFiles::SaveFactionLayerAs()
{
    QString path;
    return m_session.Factions() && m_prompts.SaveFile(m_window, Proposing(m_saveSid, m_session.FactionsPath()), path)
        && WriteFactionLayer(path);
}

bool CDocumentFiles::WriteFactionLayer(const QString& path)
{
    if (!KeepBackup(path))
        return false;
    bool saved = false;
    QString reason;
    {
        CWaitCursor wait;
        saved = m_session.SaveFactions(path, &reason);
    }
    if (!saved)
        m_prompts.Message(m_window, QStringLiteral("Save failed"), QStringLiteral("%1: %2").arg(path, reason));
    return saved;
}

// --- Backups -------------------------------------------------------------------------------------

bool CDocumentFiles::KeepBackup(const QString& path)
{
    QString reason;
    {
        CWaitCursor wait;
        if (m_backups.Keep(path, &reason))
            return true;
    }
    const QString question =
        QStringLiteral("No backup of %1 can be kept: %2\n\nSave without a backup?")
            .arg(MessageText::Shortened(FileNameOf(path)), MessageText::Shortened(reason, kLongestPathShown));
    return m_prompts.Ask(m_window, question, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void CDocumentFiles::RestoreBackup()
{
    struct Entry {
        CEditHistory::Document Document;
        QString Path;
    };
    std::vector<Entry> entries;
    QStringList lines;
    const auto list = [&](CEditHistory::Document document, const QString& file) {
        const bool bin = document == CEditHistory::MapBin;
        for (const CFileBackups::Backup& backup : m_backups.List(file)) {
            entries.push_back({document, backup.Path});
            lines << QStringLiteral("%1   %2   %3")
                         .arg(MessageText::Shortened(FileNameOf(file)),
                              backup.Time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                              bin ? RecordCounts(backup.Path) : SectorCount(backup.Path));
        }
    };
    {
        CWaitCursor wait;
        list(CEditHistory::MapBin, m_session.MapBinPath());
        if (m_session.Factions())
            list(CEditHistory::Factions, m_session.FactionsPath());
    }
    if (entries.empty()) {
        m_prompts.Message(m_window,
                          QStringLiteral("There are no backups of the open files. A backup is kept each "
                                         "time a save replaces a file."));
        return;
    }
    TfrmRestoreBackupDialog dialog(lines, m_window);
    if (m_prompts.Run(dialog) != QDialog::Accepted || dialog.Chosen() < 0)
        return;
    const Entry& chosen = entries[size_t(dialog.Chosen())];
    bool restored = false;
    QString reason;
    {
        CWaitCursor wait;
        restored = chosen.Document == CEditHistory::MapBin
            ? m_session.RestoreMapBinBackup(chosen.Path, &reason)
            : m_session.RestoreFactions(chosen.Path, m_session.FactionsPath(), &reason);
    }
    if (!restored)
        m_prompts.Message(m_window, QStringLiteral("Restore failed"),
                          QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(chosen.Path), reason));
}

// --- Templates -----------------------------------------------------------------------------------

void CDocumentFiles::ImportTemplates()
{
    QString path;
    if (m_prompts.OpenFile(m_window, m_openBtp, path))
        ImportTemplateFile(path);
}

void CDocumentFiles::ImportTemplateFile(const QString& path)
{
    bool imported = false;
    QString reason;
    CMissingNames missing;
    {
        CWaitCursor wait;
        imported = m_session.ImportTemplates(path, missing, &reason);
    }
    if (!imported) {
        m_prompts.Message(m_window, QStringLiteral("Import failed"), QStringLiteral("%1: %2").arg(path, reason));
        return;
    }
    ShowMissingNames(missing);
}

void CDocumentFiles::ExportTemplates()
{
    // The rows are taken before the dialog can change anything. An empty list's blank row is no
    // template, so nothing is written.
    const std::vector<int> rows = recordactions::SelectedRows(m_session, RecordList::Templates);
    QString path;
    if (!m_prompts.SaveFile(m_window, m_saveBtp, path))
        return;
    bool exported = false;
    QString reason;
    {
        CWaitCursor wait;
        exported = recordactions::ExportTemplates(m_session.Records(), rows, path, &reason);
    }
    if (!exported)
        m_prompts.Message(m_window, QStringLiteral("Export failed"), QStringLiteral("%1: %2").arg(path, reason));
}

void CDocumentFiles::ShowMissingNames(const CMissingNames& missing)
{
    // Said once, after the read: every later save writes these names as INVALID_OBJECT.
    if (!missing.IsEmpty())
        m_prompts.Message(m_window, MissingNamesText(missing, kMissingNamesShown));
}

// --- Files by name -------------------------------------------------------------------------------

void CDocumentFiles::OpenFileByKind(const QString& path, bool askBeforeImport)
{
    if (!QFileInfo(path).isFile()) {
        m_prompts.Message(m_window, NoSuchFile(path));
        return;
    }
    if (HasSuffix(path, "SID")) {
        OpenFactionFile(path);
    } else if (HasSuffix(path, "BTP")) {
        const QString question = QStringLiteral("Import the templates of %1?").arg(QFileInfo(path).fileName());
        if (!askBeforeImport || m_prompts.Confirm(m_window, question))
            ImportTemplateFile(path);
    } else {
        OpenBinFile(path);
    }
}

void CDocumentFiles::OpenNamedFiles(const QString& factions, const QStringList& files)
{
    if (!factions.isEmpty()) {
        if (QFileInfo(factions).isFile())
            OpenFactionFile(factions);
        else
            m_prompts.Message(m_window, NoSuchFile(factions));
    }
    for (const QString& file : files)
        OpenFileByKind(file, false);
}

bool CDocumentFiles::IsDroppable(const QString& path)
{
    return HasSuffix(path, "BIN") || HasSuffix(path, "SID") || HasSuffix(path, "BTP");
}

void CDocumentFiles::FillRecentFiles()
{
    m_recentFiles->clear();
    const QList<CFilePlaces::RecentFile> files = m_places.RecentFiles();
    int number = 0;
    for (const CFilePlaces::RecentFile& file : files) {
        QAction* action = m_recentFiles->addAction(QStringLiteral("&%1 %2").arg(++number).arg(Shown(file.Path)));
        connect(action, &QAction::triggered, this, [this, file] {
            if (file.Type == CFilePlaces::Kind::Factions)
                OpenFactionFile(file.Path);
            else
                OpenBinFile(file.Path);
        });
    }
    if (files.isEmpty()) {
        m_recentFiles->addAction(QStringLiteral("No recent files"))->setEnabled(false);
        return;
    }
    m_recentFiles->addSeparator();
    connect(m_recentFiles->addAction(QStringLiteral("&Clear the list")), &QAction::triggered, this,
            [this] { m_places.ClearRecentFiles(); });
}

// --- The question --------------------------------------------------------------------------------

QString CDocumentFiles::DocumentName(CEditHistory::Document document) const
{
    const bool bin = document == CEditHistory::MapBin;
    const QString path = bin ? m_session.MapBinPath() : m_session.FactionsPath();
    if (path.isEmpty())
        return bin ? QStringLiteral("Untitled.BIN") : QStringLiteral("Untitled.SID");
    return FileNameOf(path);
}

bool CDocumentFiles::MayDiscard(CEditHistory::Document document)
{
    if (!m_session.IsModified(document))
        return true;
    switch (m_prompts.Ask(m_window, QStringLiteral("Save changes to %1?").arg(DocumentName(document)),
                          QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel)) {
    case QMessageBox::Save: return document == CEditHistory::MapBin ? SaveBinDocument() : SaveFactionLayer();
    case QMessageBox::Discard: return true;
    default: return false;
    }
}
