// Where the program finds its own files: beside itself in the build tree, or in the data folder
// of an installed copy (<prefix>/bin/sablemap with <prefix>/share/sablemap).
#include "app/mainwindow.h"

#include "platform/filepaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

// The data folder of an installed program, relative to the program's folder.
QString DataFolder(const QString& programFolder)
{
    return QDir::cleanPath(programFolder + QLatin1Char('/') + QStringLiteral(SABLEMAP_DATA_FROM_PROGRAM));
}

} // namespace

QString StartupEnvironment::GuideIndex() const
{
    const QString beside = JoinPath(ProgramFolder, QStringLiteral("guide\\index.html"));
    const QString installed = DataFolder(ProgramFolder) + QStringLiteral("/guide/index.html");
    return !QFileInfo::exists(beside) && QFileInfo::exists(installed) ? installed : beside;
}

StartupEnvironment StartupEnvironment::OfApplication() { return ForProgram(QCoreApplication::applicationFilePath()); }

StartupEnvironment StartupEnvironment::ForProgram(const QString& programPath)
{
    StartupEnvironment environment;
    const QFileInfo info(programPath);
    environment.ProgramFolder = info.absolutePath();
    // The extension is what follows the last dot of the file name itself.
    const QString name = info.fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString stem = dot >= 0 ? name.left(dot) : name;
    QString folder = info.absolutePath();
    if (QFileInfo(DataFolder(folder)).isDir()) {
        folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/sablemap");
        QDir().mkpath(folder);
    }
    environment.SettingsFile = folder + QLatin1Char('/') + stem + QStringLiteral(".INI");
    return environment;
}
