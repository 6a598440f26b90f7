#pragma once
// Whole-file reads and writes for the tests' own set-up; a write makes the folder it needs.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>

inline bool WriteFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// An unreadable file reads as empty.
inline QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
