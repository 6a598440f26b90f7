#pragma once
// The registry of a Wine (or Proton) prefix, read from the text files Wine keeps it in:
// `system.reg` holds HKEY_LOCAL_MACHINE. Its lines are section headers `[Key\\Path] stamp`, value
// lines `"Name"=data` (or `@=data` for the default value) and metadata (`#time=...`, `;` comments).
// Strings are quoted with C-like escapes (`\\`, `\"`, `\n`, `\0`, `\xHHHH` for characters beyond
// ASCII); data of other types carries a prefix (`str(2):`, `dword:`, `hex:`, `hex(7):` ...).
// Only the sections asked for are looked at closely; everything else is skipped line by line.

#include "platform/registry.h"

#include <QString>
#include <QStringList>

class QIODevice;

// Files larger than this are not Wine registries that a person's prefix holds; they are refused,
// and no more than this is read of any registry text.
inline constexpr qint64 kMaxWineRegistryBytes = qint64(256) << 20;
// A line longer than this is skipped; no key or value the program looks for comes near it.
inline constexpr qint64 kMaxWineRegistryLine = qint64(64) << 10;

// Looks up the value `valueName` in the first of `keys` that holds it. Key and value names are
// matched without regard to letter case, as the registry does. Found: a string (REG_SZ, or
// REG_EXPAND_SZ taken as written); NotAString: the value has another type; ValueMissing: a key is
// there without the value (a damaged value counts as missing); KeyMissing: none of the keys is.
RegistryRead ReadWineRegistryValue(QIODevice& registry, const QStringList& keys, const QString& valueName,
                                   QString& value);
// The same on a file; a missing, unreadable or oversized file holds no key, nor does anything but
// a regular file in its place (a pipe or a link to a device: see OpenRegularFile).
RegistryRead ReadWineRegistryFile(const QString& file, const QStringList& keys, const QString& valueName,
                                  QString& value);

// Decodes one quoted string of the registry text starting at `text[at]` (the opening quote).
// On success `at` is just past the closing quote.
bool DecodeWineString(const QByteArray& text, qsizetype& at, QString& decoded);

// Where a Windows path of the prefix is on this machine: its drive through the prefix's
// `dosdevices/<letter>:` link, the rest matched without regard to letter case as Windows does.
// "C:\Games\Sim\" in a prefix whose c: leads to drive_c gives ".../drive_c/Games/Sim". A drive
// that has no link stays under dosdevices, where nothing is found; a path without a drive letter
// is returned as it is.
QString WinePathToLocal(const QString& prefix, const QString& windowsPath);
