#include "platform/atomicsave.h"

#include <QSaveFile>

bool SaveFileAtomically(const QString& path, const QByteArray& bytes, QString* error)
{
    QSaveFile file(path);
    // Also used for faction files that other tools may have hard-linked or symlinked; the rename
    // is what makes the save atomic, so never fall back to writing in place.
    file.setDirectWriteFallback(false);
    // Unbuffered: a write that fails (a full disk) must fail here. Buffered bytes would only be
    // written when the file is committed, and a failure there is not reported by the commit, which
    // would then put a cut-short file in place of the old one.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        if (error)
            *error = file.errorString();
        return false;
    }
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
