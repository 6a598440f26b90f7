#pragma once
// Earlier versions of the files a save replaces, so that one bad save never loses the work before
// it. Each saved file has a folder of its own under the root ("sable_coast.BIN-1a2b3c4d": the
// file's name and a short hash of its whole path, so that two maps' files of one name never mix),
// holding its backups named by the time they were taken ("2026-12-08 14.03.22.BIN"); the newest
// ones are kept, the oldest beyond the number kept go.
//
// A backup is a copy of the file as it is before the save: the file itself is never moved or
// changed, so whatever happens to the backup, the file stays as it was.

#include <QDateTime>
#include <QString>
#include <vector>

class CFileBackups {
public:
    struct Backup {
        QString Path;
        QDateTime Time; // when it was taken (to the second)
    };
    static constexpr int kDefaultKept = 10;

    // "sablemap/backups" in the user's data folder (~/.local/share).
    static QString DefaultRoot();
    explicit CFileBackups(QString root = DefaultRoot(), int kept = kDefaultKept);

    QString Root() const { return m_root; }
    void SetRoot(const QString& root) { m_root = root; }
    // How many backups each file keeps; 0 keeps none (earlier ones are left alone).
    int Kept() const { return m_kept; }
    void SetKept(int kept) { m_kept = kept < 0 ? 0 : kept; }

    // The folder of the backups of `file`.
    QString FolderOf(const QString& file) const;
    // Takes a backup of `file` as it is now, then drops the oldest beyond Kept(). A file that is
    // not there (or no regular file) has nothing to keep: true. False with a reason when the
    // backup cannot be written; the file is untouched either way.
    bool Keep(const QString& file, QString* reason = nullptr) const;
    // The backups of `file`, newest first.
    std::vector<Backup> List(const QString& file) const;

private:
    static bool Copy(const QString& file, const QString& target, QString* reason);
    void DropOldest(const QString& folder) const;

    QString m_root;
    int m_kept;
};
