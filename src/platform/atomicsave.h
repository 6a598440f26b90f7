#pragma once
// Every file the program writes goes through here: the bytes are written to a temporary file
// beside the target and renamed over it only when everything was written, so a failed save leaves
// the old file exactly as it was.
//
// A target that exists and is neither a regular file nor a folder (a pipe, /dev/null, a terminal,
// /dev/stdout of a pipeline) cannot be replaced: renaming over it would put a plain file where the
// pipe or the device was. It takes the bytes directly, as they are written.

#include <QByteArray>
#include <QString>

// Writes `bytes` to `path` atomically (directly into a pipe or a device). On failure returns false
// and, when `error` is given, a short reason for the tool to print ("cannot create ...", "No space
// left on device", "Broken pipe", ...).
bool SaveFileAtomically(const QString& path, const QByteArray& bytes, QString* error = nullptr);
