#include "platform/atomicsave.h"

#include <QFile>
#include <QSaveFile>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

bool Fail(QString* error, const QString& reason)
{
    if (error)
        *error = reason;
    return false;
}

#ifdef Q_OS_UNIX
bool IsSpecial(const struct stat& status) { return !S_ISREG(status.st_mode) && !S_ISDIR(status.st_mode); }

// A reader of a pipe that goes away would end the program with SIGPIPE; the save fails with
// "Broken pipe" instead. The signal is held back for this thread while writing, and one that the
// write raised is taken before it is let through again.
class CPipeSignalHeld {
public:
    CPipeSignalHeld()
    {
        sigemptyset(&m_pipe);
        sigaddset(&m_pipe, SIGPIPE);
        pthread_sigmask(SIG_BLOCK, &m_pipe, &m_before);
        sigset_t pending;
        m_wasPending = sigpending(&pending) == 0 && sigismember(&pending, SIGPIPE) == 1;
    }
    ~CPipeSignalHeld()
    {
        if (m_raised && !m_wasPending) {
            const timespec now{0, 0};
            sigtimedwait(&m_pipe, nullptr, &now);
        }
        pthread_sigmask(SIG_SETMASK, &m_before, nullptr);
    }
    void Raised() { m_raised = true; }

private:
    sigset_t m_pipe;
    sigset_t m_before;
    bool m_wasPending = false;
    bool m_raised = false;
};

// Opens an existing pipe or device for writing, without creating or truncating anything. -1 with
// errno on failure; -2 when the name leads to a regular file (or nothing) after all.
int OpenSpecial(const QByteArray& name)
{
    // Blocks until the pipe has a reader, as writing into a pipe does from the shell.
    int fd;
    do
        fd = ::open(name.constData(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return errno == ENOENT ? -2 : -1;
    struct stat status;
    if (::fstat(fd, &status) == 0 && !IsSpecial(status)) {
        ::close(fd);
        return -2;
    }
    return fd;
}

// 1 written, 0 failed, -1 not a pipe or device after all.
int WriteSpecial(const QString& path, const QByteArray& bytes, QString* error)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat status;
    if (::stat(name.constData(), &status) != 0 || !IsSpecial(status))
        return -1;
    const int fd = OpenSpecial(name);
    if (fd == -2)
        return -1;
    if (fd < 0)
        return Fail(error, qt_error_string(errno));
    CPipeSignalHeld held;
    qint64 written = 0;
    while (written < bytes.size()) {
        const ssize_t count = ::write(fd, bytes.constData() + written, size_t(bytes.size() - written));
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0) {
            const int reason = count < 0 ? errno : EIO;
            if (reason == EPIPE)
                held.Raised();
            ::close(fd);
            return Fail(error, qt_error_string(reason));
        }
        written += count;
    }
    if (::close(fd) != 0 && errno != EINTR)
        return Fail(error, qt_error_string(errno));
    return 1;
}
#endif

} // namespace

bool SaveFileAtomically(const QString& path, const QByteArray& bytes, QString* error)
{
#ifdef Q_OS_UNIX
    if (const int special = WriteSpecial(path, bytes, error); special >= 0)
        return special == 1;
#endif
    QSaveFile file(path);
    // Also used for faction files that other tools may have hard-linked or symlinked; the rename
    // is what makes the save atomic, so never fall back to writing in place.
    file.setDirectWriteFallback(false);
    // Unbuffered: a write that fails (a full disk) must fail here. Buffered bytes would only be
    // written when the file is committed, and a failure there is not reported by the commit, which
    // would then put a cut-short file in place of the old one.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return Fail(error, file.errorString());
    // A write that stops part-way (the disk filled up after some bytes went out) returns a short
    // count and leaves no reason; writing the rest makes the system say why it cannot go on.
    qint64 written = 0;
    while (written < bytes.size()) {
        const qint64 count = file.write(bytes.constData() + written, bytes.size() - written);
        if (count <= 0) {
            if (error)
                *error = file.errorString();
            file.cancelWriting();
            return false;
        }
        written += count;
    }
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}
