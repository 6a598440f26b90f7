#include "platform/fileread.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

constexpr qint64 kChunk = 1 << 16;

bool Fail(QString* error, const QString& reason)
{
    if (error)
        *error = reason;
    return false;
}

bool Open(QFile& file, QString* error)
{
    if (file.fileName().isEmpty())
        return Fail(error, QStringLiteral("no file name"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return Fail(error, file.errorString());
    return true;
}

// Reads until the end of the file or until more than `most` bytes came; the result holds what
// was read (at most most + 1 bytes).
bool ReadUpTo(QFile& file, qint64 most, QByteArray& out, QString* error)
{
    QByteArray data;
    qint64 have = 0;
    // A regular file is read in one go; one byte more than its size reveals a file still growing.
    qint64 want = file.isSequential() ? kChunk : file.size() + 1;
    while (true) {
        want = std::min(want, most + 1);
        data.resize(want);
        const qint64 got = file.read(data.data() + have, want - have);
        if (got < 0)
            return Fail(error, file.errorString());
        if (got == 0)
            break;
        have += got;
        if (have > most)
            break;
        if (have == want)
            want = std::max(want * 2, kChunk);
    }
    data.resize(have);
    out = std::move(data);
    return true;
}

// The reason for a pipe or device that gave more than the limit.
QString BeyondLimitReason(const FileLimit& limit)
{
    return QStringLiteral("the file holds more than %1 bytes; no %2 is longer")
        .arg(limit.Bytes)
        .arg(QLatin1String(limit.Kind));
}

#ifdef Q_OS_UNIX
// Why a file of this type is not read in place of a regular one.
QString NotRegularReason(mode_t mode)
{
    const char* what = S_ISDIR(mode)     ? "folder"
        : S_ISFIFO(mode)                 ? "pipe"
        : S_ISCHR(mode) || S_ISBLK(mode) ? "device"
        : S_ISSOCK(mode)                 ? "socket"
                                         : "special file";
    return QStringLiteral("it is a %1, not a regular file").arg(QLatin1String(what));
}

bool FailWithErrno(QString* error) { return Fail(error, qt_error_string(errno)); }
#endif

bool ReadLimited(QFile& file, const FileLimit& limit, QByteArray& bytes, QString* error)
{
    QByteArray data;
    if (!CheckFileLength(file, limit, error) || !ReadUpTo(file, limit.Bytes, data, error))
        return false;
    if (data.size() > limit.Bytes)
        return Fail(error, BeyondLimitReason(limit));
    bytes = std::move(data);
    return true;
}

} // namespace

QString OutOfMemoryReason() { return QStringLiteral("not enough memory to read it"); }

bool CheckFileLength(const QFile& file, const FileLimit& limit, QString* error)
{
    if (file.isSequential() || file.size() <= limit.Bytes)
        return true;
    return Fail(error,
                QStringLiteral("the file is %1 bytes long; no %2 is longer than %3 bytes")
                    .arg(file.size())
                    .arg(QLatin1String(limit.Kind))
                    .arg(limit.Bytes));
}

bool ReadWholeFile(const QString& path, const FileLimit& limit, QByteArray& bytes, QString* error)
{
    QFile file(path);
    return Open(file, error) && ReadLimited(file, limit, bytes, error);
}

bool OpenRegularFile(QFile& file, QString* error)
{
    if (file.fileName().isEmpty())
        return Fail(error, QStringLiteral("no file name"));
#ifdef Q_OS_UNIX
    const QByteArray name = QFile::encodeName(file.fileName());
    struct stat status;
    if (::stat(name.constData(), &status) != 0)
        return FailWithErrno(error);
    // Opening some devices acts on them (a tape rewinds): only a regular file is opened at all.
    if (!S_ISREG(status.st_mode))
        return Fail(error, NotRegularReason(status.st_mode));
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return FailWithErrno(error);
    // Something else may have taken the name's place since it was looked at.
    const bool looked = ::fstat(fd, &status) == 0;
    const int lookError = errno;
    if (!looked || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return Fail(error, looked ? NotRegularReason(status.st_mode) : qt_error_string(lookError));
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return Fail(error, file.errorString());
    }
    return true;
#else
    const QFileInfo info(file.fileName());
    if (info.exists() && !info.isFile())
        return Fail(error, QStringLiteral("it is not a regular file"));
    if (!file.open(QIODevice::ReadOnly))
        return Fail(error, file.errorString());
    return true;
#endif
}

bool ReadRegularFile(const QString& path, const FileLimit& limit, QByteArray& bytes, QString* error)
{
    QFile file(path);
    return OpenRegularFile(file, error) && ReadLimited(file, limit, bytes, error);
}

bool ReadFileStart(const QString& path, qint64 length, QByteArray& bytes, QString* error)
{
    QFile file(path);
    if (!Open(file, error))
        return false;
    QByteArray data;
    if (!ReadUpTo(file, length, data, error))
        return false;
    bytes = data.left(length);
    return true;
}
