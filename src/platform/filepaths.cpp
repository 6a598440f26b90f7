#include "platform/filepaths.h"

#include <QDir>
#include <QFileInfo>

QString JoinPath(const QString& base, const QString& relative)
{
    QString rel = relative;
    rel.replace(QLatin1Char('\\'), QLatin1Char('/'));
    while (rel.startsWith(QLatin1Char('/')))
        rel.remove(0, 1);
    QString joined = QDir::fromNativeSeparators(base);
    if (!joined.isEmpty() && !joined.endsWith(QLatin1Char('/')))
        joined += QLatin1Char('/');
    return QDir::toNativeSeparators(joined + rel);
}

QString ResolveCaseInsensitive(const QString& path)
{
    if (path.isEmpty() || QFileInfo::exists(path))
        return path;
    const QString clean = QDir::cleanPath(QDir::fromNativeSeparators(path));
    const bool trailingSlash = path.endsWith(QLatin1Char('/')) || path.endsWith(QLatin1Char('\\'));
    QStringList parts = clean.split(QLatin1Char('/'));
    QString current;
    int first = 0;
    if (clean.startsWith(QLatin1Char('/'))) {
        current = QStringLiteral("/");
        first = 1;
    } else if (parts.size() > 1 && parts[0].endsWith(QLatin1Char(':'))) { // drive letter
        current = parts[0] + QLatin1Char('/');
        first = 1;
    }
    for (int i = first; i < parts.size(); ++i) {
        const QString& part = parts[i];
        if (part.isEmpty())
            continue;
        const QString candidate = current.isEmpty()
            ? part
            : (current.endsWith(QLatin1Char('/')) ? current + part : current + QLatin1Char('/') + part);
        if (QFileInfo::exists(candidate)) {
            current = candidate;
            continue;
        }
        const QDir dir(current.isEmpty() ? QStringLiteral(".") : current);
        const QStringList entries =
            dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        QString found;
        for (const QString& entry : entries) {
            if (entry.compare(part, Qt::CaseInsensitive) == 0) {
                found = entry;
                break;
            }
        }
        if (found.isEmpty())
            return path;
        current = current.isEmpty()
            ? found
            : (current.endsWith(QLatin1Char('/')) ? current + found : current + QLatin1Char('/') + found);
    }
    return QDir::toNativeSeparators(trailingSlash ? current + QLatin1Char('/') : current);
}

QString ResolveGamePath(const QString& base, const QString& relative)
{
    return ResolveCaseInsensitive(JoinPath(base, relative));
}
