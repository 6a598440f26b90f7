// sablemap-cli: the editor's document, map and faction operations for scripts, without a window.

#include "cli.h"
#include "commands.h"
#include "sablemapversion.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLocale>
#include <cstring>
#include <memory>
#include <new>

namespace {

QtMessageHandler g_defaultHandler = nullptr;

// The offscreen platform complains about a missing runtime folder that the tool never uses; a
// failed command must print exactly one line on stderr.
void FilterMessages(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set")))
        return;
    g_defaultHandler(type, context, message);
}

int Run(int argc, char** argv)
{
    // A name that does not decode would be read or written under another name: refuse it.
    for (int i = 1; i < argc; ++i) {
        const QString problem = cli::NameProblem(QByteArray(argv[i]));
        if (!problem.isEmpty())
            return cli::Usage(problem);
    }
    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty())
        return cli::Usage();
    const QString name = args.takeFirst();
    if (name == QLatin1String("--help") || name == QLatin1String("-h"))
        return cli::Usage();
    if (name == QLatin1String("--version")) {
        cli::Print(QStringLiteral("sablemap-cli %1\n").arg(QStringLiteral(SABLEMAP_VERSION)));
        return cli::Success;
    }
    for (const cli::Command& command : cli::Commands()) {
        if (name == QLatin1String(command.Name))
            return command.Run(args);
    }
    return cli::Usage(QStringLiteral("unknown command %1").arg(name));
}

// Only drawing needs the GUI platform (and its fonts); starting it costs every other command more
// than its work on a small file.
bool Draws(int argc, char** argv) { return argc > 1 && std::strcmp(argv[1], "render") == 0; }

} // namespace

int main(int argc, char** argv)
{
    g_defaultHandler = qInstallMessageHandler(FilterMessages);
    std::unique_ptr<QCoreApplication> app;
    if (Draws(argc, argv)) {
        // The offscreen platform keeps drawing usable without a display.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    int status = cli::Failure;
    try {
        status = Run(argc, argv);
    } catch (const std::bad_alloc&) {
        // The readers turn this into their own failure; what is left is the command's own work.
        status =
            cli::Fail(QStringLiteral("Out of memory"), QStringLiteral("the command needs more memory than there is"));
    }
    // Output that could not be written is a failure, not a success with nothing printed; a command
    // that already answered "no answer" (2) keeps it.
    const int finished = cli::FinishOutput(status);
    return status == cli::UsageError ? status : finished;
}
