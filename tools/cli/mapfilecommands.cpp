// Commands on map folders and the symbol styles that draw nothing: settings, maps, demo.

#include "cli.h"
#include "commands.h"

#include "demo/demoinstall.h"
#include "mapview/maplist.h"
#include "mapview/tarnconfig.h"
#include "platform/filepaths.h"

#include <QFileInfo>
#include <algorithm>

namespace cli {

int RunSettings(const QStringList& argv)
{
    const Arguments args(argv, {{QStringLiteral("--save"), 0}});
    if (!args.Ok() || args.Positionals().size() != 1)
        return Usage(args.Ok() ? QStringLiteral("settings takes one file") : args.Error());
    const QString file = args.Positionals()[0];
    CTarnConfig settings;
    settings.Load(file);
    const char* const names[3] = {"keysite", "airbase", "SAM"};
    QString text;
    for (int kind = 0; kind < 3; ++kind) {
        const SymbolStyle& style = settings.Style(kind);
        text += QStringLiteral("%1 %2 %3 %4\n")
                    .arg(QLatin1String(names[kind]))
                    .arg(style.Shape)
                    .arg(style.Size)
                    .arg(style.Color);
    }
    Print(text);
    if (!OutputWritten())
        return Failure;
    if (args.Has(QStringLiteral("--save"))) {
        QString message;
        QString reason;
        if (!settings.Save(file, &message, &reason))
            return Fail(message, reason);
    }
    return Success;
}

int RunMaps(const QStringList& argv)
{
    const Arguments args(argv, {});
    if (!args.Ok() || args.Positionals().size() != 1)
        return Usage(args.Ok() ? QStringLiteral("maps takes one folder") : args.Error());
    const QString installation = args.Positionals()[0];
    // An installation without maps lists nothing; a folder that is no installation is a mistake.
    if (!QFileInfo(installation).isDir())
        return Fail(QStringLiteral("Open failed"), QStringLiteral("%1: no such folder").arg(installation));
    if (!QFileInfo(ResolveGamePath(installation, QStringLiteral("common\\maps"))).isDir())
        return Fail(QStringLiteral("Open failed"),
                    QStringLiteral("%1: no common/maps folder in it, so it is no installation of the simulator")
                        .arg(installation));
    QString text;
    for (const QString& name : ListMapEntries(installation))
        text += name + QLatin1Char('\n');
    Print(text);
    return Success;
}

int RunDemo(const QStringList& argv)
{
    const Arguments args(argv, {{QStringLiteral("--force"), 0}});
    if (!args.Ok() || args.Positionals().size() != 1)
        return Usage(args.Ok() ? QStringLiteral("demo takes one folder") : args.Error());
    const QString dir = args.Positionals()[0];
    // The demonstration replaces files of the same names: in a real installation those are the
    // user's own 3D object list, maps and campaign.
    if (!args.Has(QStringLiteral("--force"))) {
        const QStringList files = DemoInstallationFiles(dir);
        const auto existing = std::find_if(files.begin(), files.end(), [](const QString& file) {
            const QFileInfo info(file);
            return info.exists() || info.isSymLink();
        });
        if (existing != files.end())
            return Fail(
                QStringLiteral("Save failed"),
                QStringLiteral("%1 already exists; give --force to replace the demonstration's files").arg(*existing));
    }
    QStringList written;
    QString reason;
    const bool ok = WriteDemoInstallation(dir, &written, &reason);
    Print(written.isEmpty() ? QString() : written.join(QLatin1Char('\n')) + QLatin1Char('\n'));
    if (!ok)
        return Fail(QStringLiteral("Save failed"), reason);
    return Success;
}

} // namespace cli
