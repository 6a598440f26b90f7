#include "platform/fileread.h"

#include <QFile>
#include <algorithm>

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
    if (!Open(file, error) || !CheckFileLength(file, limit, error))
        return false;
    QByteArray data;
    if (!ReadUpTo(file, limit.Bytes, data, error))
        return false;
    if (data.size() > limit.Bytes)
        return Fail(error, BeyondLimitReason(limit));
    bytes = std::move(data);
    return true;
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
