#pragma once
// Where the simulator's installation folder is registered. On Windows this is the string value
// "INSTALLATION PATH" of HKEY_LOCAL_MACHINE\Software\Quillfeather\Stormcrest (opened, never
// created). Elsewhere the key is the file Quillfeather/Stormcrest.ini in the user's configuration
// folder ($XDG_CONFIG_HOME, else ~/.config) or, failing that, in the system ones ($XDG_CONFIG_DIRS,
// else /etc/xdg); the first file found is the key, and a line "INSTALLATION PATH=..." is the value.
// Without such a file the key is looked for in the registries of the Wine and Proton prefixes
// (wineprefixes.h): the first prefix holding it decides, and its Windows path is translated into
// the prefix's file system.

#include <QString>
#include <QStringList>

enum class RegistryRead {
    Found,
    KeyMissing,   // no such key (no stand-in file)
    ValueMissing, // the key exists but holds no "INSTALLATION PATH"
    NotAString,   // the value exists with another type (Windows only)
};

// Reads the installation folder exactly as registered, trailing separators included.
RegistryRead ReadInstallationPath(QString& value);

// The key under HKEY_LOCAL_MACHINE, then where 64-bit Windows keeps 32-bit programs' keys.
QStringList InstallationKeys();

// The stand-in files in the order they are consulted (non-Windows).
QStringList RegistryStandInFiles();

// Reads the value from one stand-in file: key and section names are matched without regard to
// letter case, blanks around the value are trimmed and one pair of enclosing quotes is removed.
// Backslashes are kept as they are, so Windows-style paths survive.
RegistryRead ReadInstallationPathFromFile(const QString& file, QString& value);
