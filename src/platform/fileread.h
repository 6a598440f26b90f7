#pragma once
// Reading whole files within a size limit (see filelimits.h), and turning an allocation that fails
// while a file is read into a failed read instead of the end of the program.
//
// Two kinds of file are read. A file the person names (a Map BIN file, a faction file, a terrain)
// may be a pipe or a device: it is read up to its limit. A file the program looks for on its own
// (a Wine registry, Steam's library list, the settings, the registry stand-in, recovery copies)
// is read only when it is a regular file: something else in its place is refused without waiting,
// so that a pipe nobody writes cannot stop the start-up and /dev/zero cannot fill the memory.

#include "platform/filelimits.h"

#include <QByteArray>
#include <QString>
#include <new>

class QFile;

// False, with the reason, when `file` (open) is a regular file longer than the limit. Pipes and
// devices pass: their length is only known once read.
bool CheckFileLength(const QFile& file, const FileLimit& limit, QString* error = nullptr);

// Reads the whole file at `path` into `bytes`. A regular file longer than the limit is refused
// before anything is read; a pipe or a device is read only until it has given more than the limit.
// On failure `bytes` is unchanged and `error` says why.
bool ReadWholeFile(const QString& path, const FileLimit& limit, QByteArray& bytes, QString* error = nullptr);

// Opens `file` (named, not open) for reading when its name leads to a regular file once links are
// followed. Never blocks: the type is checked before opening and again on what was opened, and a
// pipe that takes the file's place in between is opened without waiting for a writer. A folder,
// pipe, device or socket fails with a reason naming what it is.
bool OpenRegularFile(QFile& file, QString* error = nullptr);

// ReadWholeFile for a file the program looks for on its own: only a regular file is read, and
// never more than the limit of it (a file that grows while it is read fails as one too long).
bool ReadRegularFile(const QString& path, const FileLimit& limit, QByteArray& bytes, QString* error = nullptr);

// Reads at most `length` bytes from the start of the file (fewer when it is shorter).
bool ReadFileStart(const QString& path, qint64 length, QByteArray& bytes, QString* error = nullptr);

// The reason a read gives when memory ran out.
QString OutOfMemoryReason();

// Runs `read` and returns its result; when an allocation fails inside it, the read fails with
// OutOfMemoryReason() instead. `read` must leave what it fills unchanged when it throws.
template <typename Read>
bool GuardAllocation(QString* error, Read&& read)
{
    try {
        return read();
    } catch (const std::bad_alloc&) {
        if (error)
            *error = OutOfMemoryReason();
        return false;
    }
}
