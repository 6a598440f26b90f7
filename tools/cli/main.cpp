// sablemap-cli: the editor's document, map and faction operations for scripts, without a window.

#include "cli.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLocale>

int main(int argc, char** argv)
{
    // Drawing needs a GUI application; the offscreen platform keeps the tool usable without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty())
        return cli::Usage();
    const QString name = args.takeFirst();
    if (name == QLatin1String("--help") || name == QLatin1String("-h"))
        return cli::Usage();
    for (const cli::Command& command : cli::Commands()) {
        if (name == QLatin1String(command.Name))
            return command.Run(args);
    }
    return cli::Usage(QStringLiteral("unknown command %1").arg(name));
}
