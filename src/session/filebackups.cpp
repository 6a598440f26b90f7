#include "session/filebackups.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStandardPaths>
#include <algorithm>

namespace {

const QString kTimeFormat = QStringLiteral("yyyy-MM-dd HH.mm.ss");

// "2026-12-08 14.03.22.BIN", or "2026-12-08 14.03.22 (2).BIN" for the second of one second.
const QRegularExpression& BackupName()
{
    static const QRegularExpression name(
        QStringLiteral("^(\\d{4}-\\d\\d-\\d\\d \\d\\d\\.\\d\\d\\.\\d\\d)(?: \\((\\d+)\\))?(\\.[^.]*)?$"));
    return name;
}

struct Found {
    QString Path;
    QDateTime Time;
    int Sequence = 0;
};

// The backups in `folder`, oldest first: by time, then by their number within one second.
std::vector<Found> BackupsIn(const QString& folder)
{
    std::vector<Found> found;
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files | QDir::NoDotAndDotDot)) {
        const QRegularExpressionMatch match = BackupName().match(name);
        if (!match.hasMatch())
            continue; // not ours (or a copy still being written): never touched
        QDateTime time = QDateTime::fromString(match.captured(1), kTimeFormat);
        if (!time.isValid())
            continue;
        found.push_back({dir.filePath(name), time, match.captured(2).toInt()});
    }
    std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
        return a.Time != b.Time ? a.Time < b.Time : a.Sequence < b.Sequence;
    });
    return found;
}

} // namespace

QString CFileBackups::DefaultRoot()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/sablemap/backups");
}

CFileBackups::CFileBackups(QString root, int kept) : m_root(std::move(root)), m_kept(std::max(kept, 0)) { }

QString CFileBackups::FolderOf(const QString& file) const
{
    const QFileInfo info(file);
    const QByteArray hash =
        QCryptographicHash::hash(QDir::cleanPath(info.absoluteFilePath()).toUtf8(), QCryptographicHash::Sha1);
    return m_root + QLatin1Char('/') + info.fileName() + QLatin1Char('-') + QString::fromLatin1(hash.toHex().left(8));
}

bool CFileBackups::Keep(const QString& file, QString* reason) const
{
    const QFileInfo info(file);
    if (m_kept == 0 || !info.isFile())
        return true;
    const QString folder = FolderOf(file);
    if (!QDir().mkpath(folder)) {
        if (reason)
            *reason = QStringLiteral("cannot create %1").arg(QDir::toNativeSeparators(folder));
        return false;
    }
    const QString suffix = info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix();
    const QString stamp = QDateTime::currentDateTime().toString(kTimeFormat);
    // A later backup of the same second is numbered after every one kept of that second, even
    // when the first of them has gone already.
    const QDateTime time = QDateTime::fromString(stamp, kTimeFormat);
    int sequence = 0;
    for (const Found& found : BackupsIn(folder))
        if (found.Time == time)
            sequence = std::max({sequence, found.Sequence, 1});
    QString target;
    do {
        target = sequence == 0 ? folder + QLatin1Char('/') + stamp + suffix
                               : QStringLiteral("%1/%2 (%3)%4").arg(folder, stamp).arg(sequence + 1).arg(suffix);
        ++sequence;
    } while (QFileInfo::exists(target));
    if (!Copy(file, target, reason))
        return false;
    DropOldest(folder);
    return true;
}

bool CFileBackups::Copy(const QString& file, const QString& target, QString* reason)
{
    // Written beside its final name and renamed into place once complete, only reading the file:
    // a failure leaves no half backup and the file as it was, and says the system's reason (a
    // full disk).
    QFile source(file);
    QSaveFile copy(target);
    copy.setDirectWriteFallback(false);
    const auto fail = [reason](const QString& why) {
        if (reason)
            *reason = why;
        return false;
    };
    if (!source.open(QIODevice::ReadOnly))
        return fail(source.errorString());
    if (!copy.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fail(copy.errorString());
    QByteArray block(qsizetype(1) << 20, Qt::Uninitialized);
    for (;;) {
        const qint64 read = source.read(block.data(), block.size());
        if (read < 0) {
            copy.cancelWriting();
            return fail(source.errorString());
        }
        if (read == 0)
            break;
        for (qint64 written = 0; written < read;) {
            const qint64 count = copy.write(block.constData() + written, read - written);
            if (count <= 0) {
                const QString why = copy.errorString();
                copy.cancelWriting();
                return fail(why);
            }
            written += count;
        }
    }
    return copy.commit() || fail(copy.errorString());
}

void CFileBackups::DropOldest(const QString& folder) const
{
    const std::vector<Found> found = BackupsIn(folder);
    for (size_t i = 0; i + size_t(m_kept) < found.size(); ++i)
        QFile::remove(found[i].Path);
}

std::vector<CFileBackups::Backup> CFileBackups::List(const QString& file) const
{
    std::vector<Backup> backups;
    if (file.isEmpty())
        return backups;
    const std::vector<Found> found = BackupsIn(FolderOf(file));
    for (auto it = found.rbegin(); it != found.rend(); ++it)
        backups.push_back({it->Path, it->Time});
    return backups;
}
