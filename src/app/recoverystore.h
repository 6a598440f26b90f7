#pragma once
// Copies of unsaved work, kept in the user's data folder (never beside the user's files) so that
// a run that does not end normally loses at most the last half minute of edits.
//
// Each run writes into a folder of its own, "recovery/<pid>-<start time>", holding a lock file
// for as long as the run lasts. A folder whose lock is free belongs to a run that ended without
// cleaning up: its copies are offered at the next start. A folder whose lock is held belongs to
// another editor running now, which is left alone.
//
// A copy is a normal Map BIN or faction file ("document.BIN", "factions.SID"), beside a text
// file naming the file it belongs to (empty for a document never saved).

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
        QString Original; // the user's file; empty for a document never saved
        QString Path;     // the copy
        QDateTime Time;   // when it was written
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

    // The copies left by runs that are no longer running, newest first.
    std::vector<Copy> Abandoned() const;
    // Removes an abandoned copy (and its run's folder once empty).
    static void Discard(const Copy& copy);

    QString Root() const { return m_root; }

private:
    bool Begin(QString* reason);
    static QString CopyName(Kind kind);

    QString m_root;
    QString m_folder; // this run's, once something was written
    std::unique_ptr<QLockFile> m_lock;
};
