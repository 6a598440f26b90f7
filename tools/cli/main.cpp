// sablemap-cli: the editor's document, map and faction operations for scripts, without a window.
// Only Qt Core: render, the one command that draws, runs in sablemap-cli-render (renderlauncher.cpp),
// since loading Qt Gui and the libraries it brings would cost every other command more than its
// work on a small file.

#include "toolmain.h"

#include <QCoreApplication>

int main(int argc, char** argv)
{
    cli::FilterQtMessages();
    const QCoreApplication app(argc, argv);
    return cli::RunCommandLine(argc, argv);
}
