#include "app/recoverystore.h"

#include "platform/atomicsave.h"
#include "platform/fileread.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>
#include <QSysInfo>
#include <algorithm>
#include <optional>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

const QString kLockName = QStringLiteral("run.lock");
// An origin holds one path; a lock a process id and two names.
constexpr FileLimit kOriginLimit{64 << 10, "recovery origin"};
constexpr qint64 kLongestLock = 4 << 10;

QString OriginName(const QString& copyName) { return copyName + QStringLiteral(".origin"); }

// Whether the editor that wrote a run's folder may still be running.
enum class RunState {
    Ended,   // its lock was free: the run is over
    Running, // an editor on this computer holds the lock now
    Unsure,  // the lock cannot be read, or another computer's editor took it
};

// Whether a process holds the lock file open with its lock now. The lock file's own check stops
// at a lock it cannot read or that names another computer; the lock itself still tells.
bool HeldNow(const QString& lockPath)
{
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(lockPath).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat status;
    bool held = false;
    if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode)) {
        held = ::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
        if (!held)
            ::flock(fd, LOCK_UN);
    }
    ::close(fd);
    return held;
#else
    Q_UNUSED(lockPath);
    return false;
#endif
}

RunState StateOf(const QString& folder)
{
    const QString lockPath = folder + QLatin1Char('/') + kLockName;
    // The lock file's own reading would wait on a pipe and read a device for ever.
    const QFileInfo info(lockPath);
    if (info.isSymLink() || (info.exists() && (!info.isFile() || info.size() > kLongestLock)))
        return RunState::Unsure;
    QLockFile lock(lockPath);
    // Free only when the run that held it has gone (a stale lock is taken over).
    lock.setStaleLockTime(0);
    if (lock.tryLock(0)) {
        lock.unlock();
        return RunState::Ended;
    }
    qint64 pid = 0;
    QString host;
    QString application;
    if (lock.getLockInfo(&pid, &host, &application) && (host.isEmpty() || host == QSysInfo::machineHostName()))
        return RunState::Running; // the lock file found its process alive
    return HeldNow(lockPath) ? RunState::Running : RunState::Unsure;
}

std::optional<CRecoveryStore::Kind> KindOfFile(const QString& path)
{
    QFile file(path);
    if (OpenRegularFile(file)) {
        const QByteArray start = file.read(4);
        if (start.size() == 4) // a Map BIN file cannot start so: as a count, it is 1.4 billion templates
            return start == "8BPS" ? CRecoveryStore::Factions : CRecoveryStore::MapBin;
    }
    const QString suffix = QFileInfo(path).suffix();
    if (suffix.compare(QLatin1String("SID"), Qt::CaseInsensitive) == 0)
        return CRecoveryStore::Factions;
    if (suffix.compare(QLatin1String("BIN"), Qt::CaseInsensitive) == 0
        || suffix.compare(QLatin1String("BTP"), Qt::CaseInsensitive) == 0)
        return CRecoveryStore::MapBin;
    return std::nullopt;
}

bool IsRegularFile(const QString& path)
{
    const QFileInfo info(path);
    return info.isFile() && !info.isSymLink();
}

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

bool CRecoveryStore::IsOfKind(Kind kind, const QString& path)
{
    return path.isEmpty() || KindOfFile(path).value_or(kind) == kind;
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
    const QString origin = OriginName(copy);
    const QByteArray name = original.toUtf8();
    QByteArray written;
    if (!ReadRegularFile(origin, kOriginLimit, written) || written != name) {
        // The copy there is another file's work: it must never be taken for this file's.
        QFile::remove(copy);
        if (!SaveFileAtomically(origin, name, reason))
            return false;
    }
    return write(copy, reason);
}

void CRecoveryStore::Remove(Kind kind)
{
    if (m_folder.isEmpty())
        return;
    const QString copy = m_folder + QLatin1Char('/') + CopyName(kind);
    QFile::remove(copy); // the copy first: it is never left without its origin
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
    for (const QString& run : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks)) {
        const QString folder = root.filePath(run);
        if (folder == m_folder)
            continue;
        const RunState state = StateOf(folder);
        if (state == RunState::Running)
            continue;
        const size_t before = copies.size();
        for (const Kind kind : {MapBin, Factions}) {
            const QString path = folder + QLatin1Char('/') + CopyName(kind);
            const QString origin = OriginName(path);
            if (!IsRegularFile(path)) {
                if (state == RunState::Ended)
                    QFile::remove(origin); // the run ended between writing the two
                continue;
            }
            Copy copy;
            copy.Type = kind;
            copy.Path = path;
            copy.Time = QFileInfo(path).lastModified();
            copy.MaybeRunning = state == RunState::Unsure;
            // Without a readable origin (a copy an older version left) the work still opens, as
            // a new document.
            QByteArray name;
            if (ReadRegularFile(origin, kOriginLimit, name))
                copy.Original = QString::fromUtf8(name);
            if (!IsOfKind(kind, copy.Original)) {
                copy.OtherKind = copy.Original;
                copy.Original.clear();
            }
            if (!copy.Original.isEmpty()) {
                const QFileInfo original(copy.Original);
                copy.OriginalGone = !original.exists();
                copy.OriginalChanged = original.exists() && original.lastModified() > copy.Time;
            }
            copies.push_back(copy);
        }
        if (state == RunState::Ended && copies.size() == before)
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
