// sablemap-cli-render: sablemap-cli's render command in a program of its own, the one of the tool
// that loads Qt Gui. sablemap-cli runs it in its own place with the same arguments; it knows the
// same commands, so that its usage and messages are the tool's.

#include "toolmain.h"

#include <QGuiApplication>

int main(int argc, char** argv)
{
    cli::FilterQtMessages();
    // The offscreen platform keeps drawing usable without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const QGuiApplication app(argc, argv);
    return cli::RunCommandLine(argc, argv);
}
