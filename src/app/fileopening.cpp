// Files opened by name rather than through a file dialog: from the command line, dropped on the
// window or chosen in File > Recent files. Each goes the way of its menu command.
#include "app/mainwindow.h"

#include "app/commandline.h"
#include "app/fileplaces.h"
#include "mapview/maplist.h"
#include "platform/filepaths.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMenu>
#include <QMimeData>
#include <QTimer>
#include <QUrl>

namespace {

bool HasSuffix(const QString& path, const char* suffix)
{
    return QFileInfo(path).suffix().compare(QLatin1String(suffix), Qt::CaseInsensitive) == 0;
}

// The local Map BIN, faction and templates files among the dropped items.
QStringList DroppableFiles(const QMimeData* data)
{
    QStringList files;
    if (!data || !data->hasUrls())
        return files;
    for (const QUrl& url : data->urls()) {
        const QString path = url.toLocalFile();
        if (!path.isEmpty() && (HasSuffix(path, "BIN") || HasSuffix(path, "SID") || HasSuffix(path, "BTP")))
            files << path;
    }
    return files;
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

} // namespace

void TfrmMain::CreateFileSources()
{
    setAcceptDrops(true);
    mmRecentFiles = new QMenu(QStringLiteral("&Recent files"), this);
    mmRecentFiles->setObjectName(QStringLiteral("mmRecentFiles"));
    File1->insertMenu(Save1, mmRecentFiles);
    // Filled as it opens: an entry must never be deleted while it is being chosen.
    connect(mmRecentFiles, &QMenu::aboutToShow, this, &TfrmMain::FillRecentFiles);
}

void TfrmMain::FillRecentFiles()
{
    mmRecentFiles->clear();
    const QList<CFilePlaces::RecentFile> files = FilePlaces->RecentFiles();
    int number = 0;
    for (const CFilePlaces::RecentFile& file : files) {
        QAction* action = mmRecentFiles->addAction(QStringLiteral("&%1 %2").arg(++number).arg(Shown(file.Path)));
        connect(action, &QAction::triggered, this, [this, file] {
            if (file.Type == CFilePlaces::Kind::Factions)
                OpenFactionFile(file.Path);
            else
                OpenBinFile(file.Path);
        });
    }
    if (files.isEmpty()) {
        mmRecentFiles->addAction(QStringLiteral("No recent files"))->setEnabled(false);
        return;
    }
    mmRecentFiles->addSeparator();
    connect(mmRecentFiles->addAction(QStringLiteral("&Clear the list")), &QAction::triggered, this,
            [this] { FilePlaces->ClearRecentFiles(); });
}

void TfrmMain::OpenFileByKind(const QString& path, bool askBeforeImport)
{
    if (!QFileInfo(path).isFile()) {
        m_prompts.Message(this, NoSuchFile(path));
        return;
    }
    if (HasSuffix(path, "SID")) {
        OpenFactionFile(path);
    } else if (HasSuffix(path, "BTP")) {
        const QString question = QStringLiteral("Import the templates of %1?").arg(QFileInfo(path).fileName());
        if (!askBeforeImport || m_prompts.Confirm(this, question))
            ImportTemplateFile(path);
    } else {
        OpenBinFile(path);
    }
}

void TfrmMain::OpenNamedMap(const QString& name)
{
    QString entry;
    for (const QString& candidate : ListMapEntries(InstallationPath)) {
        if (candidate == name || (entry.isEmpty() && candidate.compare(name, Qt::CaseInsensitive) == 0))
            entry = candidate;
    }
    if (entry.isEmpty()) {
        const QString maps =
            QDir::toNativeSeparators(ResolveGamePath(InstallationPath, QStringLiteral("common\\maps")));
        m_prompts.Message(this, QStringLiteral("No map named %1 in %2").arg(name, maps));
        return;
    }
    OpenMapFolder(MapEntryPath(InstallationPath, entry));
}

void TfrmMain::OpenCommandLine(const CommandLine& line)
{
    if (!line.Problems.isEmpty()) {
        m_prompts.Message(this, line.Problems.join(QLatin1Char('\n')));
        return;
    }
    // The map comes last: it opens in Heights mode, showing the terrain with the faction layer a
    // click away, rather than the faction picture alone.
    if (!line.Factions.isEmpty()) {
        if (QFileInfo(line.Factions).isFile())
            OpenFactionFile(line.Factions);
        else
            m_prompts.Message(this, NoSuchFile(line.Factions));
    }
    for (const QString& file : line.Files)
        OpenFileByKind(file, false);
    if (!line.Map.isEmpty())
        OpenNamedMap(line.Map);
}

void TfrmMain::dragEnterEvent(QDragEnterEvent* event)
{
    if (!DroppableFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void TfrmMain::dropEvent(QDropEvent* event)
{
    const QStringList files = DroppableFiles(event->mimeData());
    if (files.isEmpty())
        return;
    event->acceptProposedAction();
    // Opened once the drop is over, so that the program the files came from is not kept waiting
    // while a message or question is shown.
    QTimer::singleShot(0, this, [this, files] {
        for (const QString& file : files)
            OpenFileByKind(file, true);
    });
}
