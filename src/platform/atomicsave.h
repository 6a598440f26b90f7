#pragma once
// Every file the program writes goes through here: the bytes are written to a temporary file
// beside the target and renamed over it only when everything was written, so a failed save leaves
// the old file exactly as it was.

#include <QByteArray>
#include <QString>

// Writes `bytes` to `path` atomically. On failure returns false and, when `error` is given,
// a short reason for the tool to print ("cannot create ...", "No space left on device", ...).
bool SaveFileAtomically(const QString& path, const QByteArray& bytes, QString* error = nullptr);
