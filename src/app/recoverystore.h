#pragma once
// Copies of unsaved work, kept in the user's data folder (never beside the user's files) so that
// a run that does not end normally loses at most the last half minute of edits.
//
// Each run writes into a folder of its own, "recovery/<pid>-<start time>", holding a lock file
// for as long as the run lasts. A folder whose lock is free belongs to a run that ended without
// cleaning up: its copies are offered at the next start. A folder whose lock is held by an editor
// running now on this computer is left alone. A lock that cannot be read, or that was taken on
// another computer (a home folder shared over the network), cannot tell: its copies are offered,
// marked as perhaps another running editor's, and never cleaned up unasked.
//
// A copy is a normal Map BIN or faction file ("document.BIN", "factions.SID"), beside a text
// file naming the file it belongs to (empty for a document never saved). The name is written
// first and the copy after it, so that a copy never exists without it; a name left without its
// copy (a run that ended between the two) is cleaned up at the next start.

#include <QDateTime>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

class QLockFile;

class CRecoveryStore {
public:
    enum Kind { MapBin, Factions };

    struct Copy {
        Kind Type = MapBin;
        // The user's file the copy is reattached to; empty for a document never saved, and for a
        // copy whose file is of the other kind or unknown: it then opens as a new document.
        QString Original;
        QString OtherKind;            // the file of the other kind that the copy was kept for, if so
        QString Path;                 // the copy
        QDateTime Time;               // when it was written
        bool OriginalChanged = false; // the user's file was written after the copy was taken
        bool OriginalGone = false;    // the user's file is no longer there
        bool MaybeRunning = false;    // its run's lock cannot be read or is another computer's
    };

    // Under `root`; the default is "recovery" in the application's local data folder.
    explicit CRecoveryStore(QString root = QString());
    ~CRecoveryStore(); // the run's copies stay: only Finish removes them

    // Writes the copy of one document atomically through `write` (given the copy's path; false
    // with a reason on failure). The previous copy stays until the new one is complete.
    bool Write(Kind kind, const QString& original, const std::function<bool(const QString&, QString*)>& write,
               QString* reason = nullptr);
    void Remove(Kind kind);
    // A normal end: the run's folder goes.
    void Finish();

    // The copies left by runs that are no longer running (or may be, see above), newest first.
    std::vector<Copy> Abandoned() const;
    // Removes an abandoned copy (and its run's folder once empty).
    static void Discard(const Copy& copy);

    // Whether `path` may be the user's file of a copy of this kind: a faction file is told by its
    // first bytes, a file that is not there by its name's extension (.SID, .BIN and .BTP).
    static bool IsOfKind(Kind kind, const QString& path);

    QString Root() const { return m_root; }

private:
    bool Begin(QString* reason);
    static QString CopyName(Kind kind);

    QString m_root;
    QString m_folder; // this run's, once something was written
    std::unique_ptr<QLockFile> m_lock;
};
