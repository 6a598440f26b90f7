#include "toolmain.h"

#include "cli.h"
#include "commands.h"
#include "platform/messagetext.h"
#include "sablemapversion.h"

#include <QCoreApplication>
#include <new>

namespace cli {

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
        const QString problem = NameProblem(QByteArray(argv[i]));
        if (!problem.isEmpty())
            return Usage(problem);
    }
    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty())
        return Usage();
    QString name = args.takeFirst();
    // Asking for help is no usage error: the list of commands on stdout, as "help" gives it.
    if (name == QLatin1String("--help") || name == QLatin1String("-h"))
        name = QStringLiteral("help");
    if (name == QLatin1String("--version")) {
        Print(QStringLiteral("sablemap-cli %1\n").arg(QStringLiteral(SABLEMAP_VERSION)));
        return Success;
    }
    for (const Command& command : Commands()) {
        if (name == QLatin1String(command.Name))
            return command.Run(args);
    }
    return Usage(QStringLiteral("unknown command %1").arg(MessageText::Shortened(name)));
}

} // namespace

void FilterQtMessages() { g_defaultHandler = qInstallMessageHandler(FilterMessages); }

int RunCommandLine(int argc, char** argv)
{
    int status = Failure;
    try {
        status = Run(argc, argv);
    } catch (const std::bad_alloc&) {
        // The readers turn this into their own failure; what is left is the command's own work.
        status = Fail(QStringLiteral("Out of memory"), QStringLiteral("the command needs more memory than there is"));
    }
    // Output that could not be written is a failure, not a success with nothing printed; a command
    // that already answered "no answer" (2) keeps it.
    const int finished = FinishOutput(status);
    return status == UsageError ? status : finished;
}

} // namespace cli
