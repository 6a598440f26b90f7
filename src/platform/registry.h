#pragma once
// Where the simulator's installation folder is registered. On Windows this is the string value
// "INSTALLATION PATH" of HKEY_LOCAL_MACHINE\Software\Quillfeather\Stormcrest (opened, never
// created). Elsewhere the key is the file Quillfeather/Stormcrest.ini in the user's configuration
// folder ($XDG_CONFIG_HOME, else ~/.config) or, failing that, in the system ones ($XDG_CONFIG_DIRS,
// else /etc/xdg); the first file found is the key, and a line "INSTALLATION PATH=..." is the value.

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

// The stand-in files in the order they are consulted (non-Windows).
QStringList RegistryStandInFiles();

// Reads the value from one stand-in file: key and section names are matched without regard to
// letter case, blanks around the value are trimmed and one pair of enclosing quotes is removed.
// Backslashes are kept as they are, so Windows-style paths survive.
RegistryRead ReadInstallationPathFromFile(const QString& file, QString& value);
