#include "mapview/maplist.h"

#include "platform/filepaths.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

QStringList ListMapEntries(const QString& installationPath)
{
    const QString folder = ResolveGamePath(installationPath, QStringLiteral("common\\maps"));
    const QDir dir(folder);
    if (!dir.exists())
        return {};
    const QFileInfoList entries =
        dir.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::NoSort);
    QStringList names;
    for (const QFileInfo& entry : entries) {
        const QString name = entry.fileName();
        if (!name.startsWith(QLatin1String("map"), Qt::CaseInsensitive))
            continue;
        // Folders are offered whatever their attributes. Files only when they are neither hidden
        // nor system files; here anything that is neither a folder nor a regular file (sockets,
        // devices, dangling links) counts as a system file.
        if (entry.isDir() || (entry.isFile() && !entry.isHidden()))
            names << name;
    }
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int folded = a.compare(b, Qt::CaseInsensitive);
        return folded != 0 ? folded < 0 : a < b;
    });
    return names;
}

QString MapEntryPath(const QString& installationPath, const QString& entry)
{
    if (entry.isEmpty())
        return QString();
    return JoinPath(installationPath, QStringLiteral("common\\maps\\") + entry);
}
