// sablemap-cli's render: hands the command to sablemap-cli-render, which has Qt Gui to draw with,
// installed at a fixed place relative to this program. On POSIX the renderer takes this process's
// place, so its output, its exit status and the standard streams are the command's as they are;
// Windows has no such exec, so there the renderer runs as a child with the streams forwarded.

#include "cli.h"
#include "commands.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#ifdef Q_OS_WIN
#include <QProcess>
#else
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>
#include <vector>
#endif

namespace cli {

namespace {

QString RendererPath()
{
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/" SABLEMAP_RENDERER_FROM_TOOL));
}

int NotStarted(const QString& program, const QString& reason)
{
    return Fail(QStringLiteral("Render failed"), QStringLiteral("%1: %2").arg(program, reason));
}

} // namespace

int RunRender(const QStringList& args)
{
    const QString program = RendererPath();
#ifdef Q_OS_WIN
    QProcess renderer;
    renderer.setProcessChannelMode(QProcess::ForwardedChannels);
    renderer.setInputChannelMode(QProcess::ForwardedInputChannel);
    renderer.start(program, QStringList{QStringLiteral("render")} + args);
    if (!renderer.waitForStarted(-1))
        return NotStarted(program, renderer.errorString());
    renderer.waitForFinished(-1);
    return renderer.exitStatus() == QProcess::NormalExit ? renderer.exitCode() : Failure;
#else
    // Every argument reads back to the bytes it came as (the others are refused before any
    // command runs), so the renderer gets the very arguments this program got.
    std::vector<QByteArray> words{QFile::encodeName(program), QByteArrayLiteral("render")};
    for (const QString& arg : args)
        words.push_back(QFile::encodeName(arg));
    std::vector<char*> argv;
    for (QByteArray& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    std::fflush(nullptr);
    execv(argv[0], argv.data());
    return NotStarted(program, QString::fromLocal8Bit(std::strerror(errno)));
#endif
}

} // namespace cli
