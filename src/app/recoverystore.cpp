#include "app/recoverystore.h"

#include "platform/atomicsave.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>
#include <algorithm>

namespace {

const QString kLockName = QStringLiteral("run.lock");

QString OriginName(const QString& copyName) { return copyName + QStringLiteral(".origin"); }

} // namespace

CRecoveryStore::CRecoveryStore(QString root) : m_root(std::move(root))
{
    if (m_root.isEmpty())
        m_root = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + QStringLiteral("/recovery");
}

CRecoveryStore::~CRecoveryStore() = default;

QString CRecoveryStore::CopyName(Kind kind)
{
    return kind == MapBin ? QStringLiteral("document.BIN") : QStringLiteral("factions.SID");
}

bool CRecoveryStore::Begin(QString* reason)
{
    if (m_lock)
        return true;
    const QString folder = QStringLiteral("%1/%2-%3")
                               .arg(m_root)
                               .arg(QCoreApplication::applicationPid())
                               .arg(QDateTime::currentMSecsSinceEpoch());
    if (!QDir().mkpath(folder)) {
        if (reason)
            *reason = QStringLiteral("cannot create %1").arg(folder);
        return false;
    }
    auto lock = std::make_unique<QLockFile>(folder + QLatin1Char('/') + kLockName);
    // Held for the whole run, however long: only a run that is gone leaves it free.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0)) {
        if (reason)
            *reason = QStringLiteral("cannot lock %1").arg(folder);
        return false;
    }
    m_lock = std::move(lock);
    m_folder = folder;
    return true;
}

bool CRecoveryStore::Write(Kind kind, const QString& original,
                           const std::function<bool(const QString&, QString*)>& write, QString* reason)
{
    if (!Begin(reason))
        return false;
    const QString copy = m_folder + QLatin1Char('/') + CopyName(kind);
    return write(copy, reason) && SaveFileAtomically(OriginName(copy), original.toUtf8(), reason);
}

void CRecoveryStore::Remove(Kind kind)
{
    if (m_folder.isEmpty())
        return;
    const QString copy = m_folder + QLatin1Char('/') + CopyName(kind);
    QFile::remove(copy);
    QFile::remove(OriginName(copy));
}

void CRecoveryStore::Finish()
{
    if (m_folder.isEmpty())
        return;
    m_lock->unlock();
    m_lock.reset();
    QDir(m_folder).removeRecursively();
    m_folder.clear();
}

std::vector<CRecoveryStore::Copy> CRecoveryStore::Abandoned() const
{
    std::vector<Copy> copies;
    const QDir root(m_root);
    for (const QString& run : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString folder = root.filePath(run);
        if (folder == m_folder)
            continue;
        // Free only when the run that held it has gone (a stale lock is taken over).
        QLockFile lock(folder + QLatin1Char('/') + kLockName);
        lock.setStaleLockTime(0);
        if (!lock.tryLock(0))
            continue;
        lock.unlock();
        for (const Kind kind : {MapBin, Factions}) {
            const QString path = folder + QLatin1Char('/') + CopyName(kind);
            QFile origin(OriginName(path));
            if (!QFileInfo(path).isFile() || !origin.open(QIODevice::ReadOnly))
                continue;
            copies.push_back({kind, QString::fromUtf8(origin.readAll()), path, QFileInfo(path).lastModified()});
        }
        if (copies.empty() || QFileInfo(copies.back().Path).path() != folder)
            QDir(folder).removeRecursively(); // nothing left to offer
    }
    std::sort(copies.begin(), copies.end(), [](const Copy& a, const Copy& b) { return a.Time > b.Time; });
    return copies;
}

void CRecoveryStore::Discard(const Copy& copy)
{
    QFile::remove(copy.Path);
    QFile::remove(OriginName(copy.Path));
    QDir folder = QFileInfo(copy.Path).dir();
    const QStringList left = folder.entryList(QDir::Files | QDir::NoDotAndDotDot);
    if (left.isEmpty() || left == QStringList{kLockName})
        folder.removeRecursively();
}
