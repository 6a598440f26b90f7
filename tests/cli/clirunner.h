#pragma once
// Runs the real sablemap-cli, as a script would.

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QStringList>

struct CliResult {
    int Status = -1;
    QByteArray Out;
    QByteArray Err;
};

inline CliResult RunCli(const QStringList& args)
{
    QProcess process;
    process.start(QStringLiteral(SABLEMAP_CLI), args);
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardOutput(),
            process.readAllStandardError()};
}

inline void WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

inline QByteArray ReadBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
