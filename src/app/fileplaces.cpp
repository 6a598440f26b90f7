#include "app/fileplaces.h"

#include "platform/filelimits.h"
#include "session/filebackups.h"

#include <QFileInfo>
#include <QStandardPaths>

namespace {

const QLatin1String kRecentFiles("RecentFiles");
const QLatin1String kPath("Path");
const QLatin1String kType("Type");
const QLatin1String kFactions("SID");
const QLatin1String kMapBin("BIN");

// QSettings reads its whole file, waiting for a writer on a pipe and reading a device for ever.
// Anything but a regular file of a settings file's size is left alone: the places are then kept
// for this run only (QSettings keeps what it cannot write).
QString UsableFile(const QString& file)
{
    const QFileInfo info(file);
    const bool usable = !info.exists() || (info.isFile() && info.size() <= FileLimits::Settings.Bytes);
    return usable ? file : QString();
}

} // namespace

CFilePlaces::CFilePlaces(const QString& file) : m_settings(UsableFile(file), QSettings::IniFormat) { }

QString CFilePlaces::DefaultFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/sablemap/sablemap.conf");
}

QList<CFilePlaces::RecentFile> CFilePlaces::RecentFiles() const
{
    QList<RecentFile> files;
    QSettings& settings = m_settings;
    const int count = settings.beginReadArray(kRecentFiles);
    for (int i = 0; i < count && files.size() < kMaxRecentFiles; ++i) {
        settings.setArrayIndex(i);
        const QString path = settings.value(kPath).toString();
        if (!path.isEmpty())
            files.append({path, settings.value(kType).toString() == kFactions ? Kind::Factions : Kind::MapBin});
    }
    settings.endArray();
    return files;
}

void CFilePlaces::AddRecentFile(const QString& path, Kind kind)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QList<RecentFile> files = RecentFiles();
    files.removeIf([&](const RecentFile& file) { return file.Path == absolute; });
    files.prepend({absolute, kind});
    WriteRecentFiles(files.mid(0, kMaxRecentFiles));
}

void CFilePlaces::ClearRecentFiles() { WriteRecentFiles({}); }

void CFilePlaces::WriteRecentFiles(const QList<RecentFile>& files)
{
    m_settings.remove(kRecentFiles);
    m_settings.beginWriteArray(kRecentFiles, int(files.size()));
    for (int i = 0; i < files.size(); ++i) {
        m_settings.setArrayIndex(i);
        m_settings.setValue(kPath, files[i].Path);
        m_settings.setValue(kType, files[i].Type == Kind::Factions ? kFactions : kMapBin);
    }
    m_settings.endArray();
    m_settings.sync();
}

QString CFilePlaces::LastFolder(const QString& kind) const
{
    return m_settings.value(QStringLiteral("Folders/") + kind.toUpper()).toString();
}

void CFilePlaces::RememberFolder(const QString& kind, const QString& chosenFile)
{
    if (kind.isEmpty())
        return;
    m_settings.setValue(QStringLiteral("Folders/") + kind.toUpper(), QFileInfo(chosenFile).absolutePath());
    m_settings.sync();
}

int CFilePlaces::BackupsKept() const
{
    bool ok = false;
    const int kept = m_settings.value(QStringLiteral("Backups/Kept")).toInt(&ok);
    return ok && kept >= 0 ? kept : CFileBackups::kDefaultKept;
}

void CFilePlaces::SetBackupsKept(int kept)
{
    m_settings.setValue(QStringLiteral("Backups/Kept"), kept);
    m_settings.sync();
}
