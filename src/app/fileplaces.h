#pragma once
// The person's own places among their files: the Map BIN and faction files they opened last and,
// for each kind of file, the folder they last chose one in. Kept in their configuration
// ($XDG_CONFIG_HOME/sablemap/sablemap.conf through QSettings), never in the program's settings
// file, and written at once so that a crash loses nothing.

#include <QList>
#include <QSettings>
#include <QString>

class CFilePlaces {
public:
    enum class Kind { MapBin, Factions };
    struct RecentFile {
        QString Path;
        Kind Type;
    };
    static constexpr int kMaxRecentFiles = 8;

    explicit CFilePlaces(const QString& file = DefaultFile());
    // Where the places of the person running the program are kept.
    static QString DefaultFile();

    // Most recent first.
    QList<RecentFile> RecentFiles() const;
    // Puts the file at the top of the list (once), dropping the oldest beyond the eighth.
    void AddRecentFile(const QString& path, Kind kind);
    void ClearRecentFiles();

    // The folder where a file of this kind (a file dialog's default extension, "BIN", "SID",
    // "BTP") was last chosen, or empty.
    QString LastFolder(const QString& kind) const;
    void RememberFolder(const QString& kind, const QString& chosenFile);

    // How many backups each saved file keeps (10 until the person chooses).
    int BackupsKept() const;
    void SetBackupsKept(int kept);

private:
    void WriteRecentFiles(const QList<RecentFile>& files);

    mutable QSettings m_settings; // arrays are read through the non-const interface
};
