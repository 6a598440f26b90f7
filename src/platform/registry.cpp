#include "platform/registry.h"

#include "platform/fileread.h"
#include "platform/wineprefixes.h"
#include "platform/wineregistry.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace {

const QLatin1String kValueName("INSTALLATION PATH");

QString Unquoted(QString text)
{
    text = text.trimmed();
    if (text.size() >= 2 && text.startsWith(QLatin1Char('"')) && text.endsWith(QLatin1Char('"')))
        text = text.mid(1, text.size() - 2);
    return text;
}

} // namespace

QStringList InstallationKeys()
{
    return {QStringLiteral("Software\\Quillfeather\\Stormcrest"),
            QStringLiteral("Software\\Wow6432Node\\Quillfeather\\Stormcrest")};
}

QStringList RegistryStandInFiles()
{
    const QString relative = QStringLiteral("Quillfeather/Stormcrest.ini");
    QStringList files;
    QString home = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (home.isEmpty())
        home = QDir::homePath() + QStringLiteral("/.config");
    files << home + QLatin1Char('/') + relative;
    QString dirs = qEnvironmentVariable("XDG_CONFIG_DIRS");
    if (dirs.isEmpty())
        dirs = QStringLiteral("/etc/xdg");
    for (const QString& dir : dirs.split(QLatin1Char(':'), Qt::SkipEmptyParts))
        files << dir + QLatin1Char('/') + relative;
    return files;
}

RegistryRead ReadInstallationPathFromFile(const QString& file, QString& value)
{
    QByteArray text;
    if (!ReadRegularFile(file, FileLimits::RegistryStandIn, text))
        return RegistryRead::KeyMissing;
    for (const QByteArray& bytes : text.split('\n')) {
        // The file is written by hand; a UTF-8 path is the likely intent.
        const QString line = QString::fromUtf8(bytes).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#'))
            || line.startsWith(QLatin1Char('[')))
            continue;
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals < 0)
            continue;
        if (line.left(equals).trimmed().compare(kValueName, Qt::CaseInsensitive) != 0)
            continue;
        value = Unquoted(line.mid(equals + 1));
        return RegistryRead::Found;
    }
    return RegistryRead::ValueMissing;
}

RegistryRead ReadInstallationPath(QString& value)
{
#ifdef Q_OS_WIN
    const QString keyPath = QStringLiteral("HKEY_LOCAL_MACHINE\\Software\\Quillfeather");
    QSettings parent(keyPath, QSettings::NativeFormat);
    if (!parent.childGroups().contains(QStringLiteral("Stormcrest"), Qt::CaseInsensitive))
        return RegistryRead::KeyMissing;
    QSettings key(keyPath + QStringLiteral("\\Stormcrest"), QSettings::NativeFormat);
    if (!key.contains(kValueName))
        return RegistryRead::ValueMissing;
    const QVariant stored = key.value(kValueName);
    if (stored.typeId() != QMetaType::QString)
        return RegistryRead::NotAString;
    value = stored.toString();
    return RegistryRead::Found;
#else
    for (const QString& file : RegistryStandInFiles()) {
        if (QFileInfo(file).isFile())
            return ReadInstallationPathFromFile(file, value);
    }
    // The simulator runs under Wine or Proton here: its installer wrote the key into a prefix.
    for (const QString& prefix : WinePrefixes()) {
        const RegistryRead read =
            ReadWineRegistryFile(prefix + QStringLiteral("/system.reg"), InstallationKeys(), kValueName, value);
        if (read == RegistryRead::KeyMissing)
            continue;
        if (read == RegistryRead::Found)
            value = WinePathToLocal(prefix, value);
        return read;
    }
    return RegistryRead::KeyMissing;
#endif
}
