#pragma once
// The entries the map selection offers for an installation: everything in "common\maps" whose name
// begins with "map" (letter case ignored) and that is a folder, or a plain file that is neither
// hidden nor a system file. Plain files are offered too; choosing one gives "Wrong map data!".

#include <QString>
#include <QStringList>

// Names without path, in the order the dialog lists them (by name, letter case ignored, as the
// game's own file system returns them).
QStringList ListMapEntries(const QString& installationPath);

// The folder the dialog returns for a chosen entry: installation + "\common\maps\" + name, with the
// platform's separators; the empty string when nothing was chosen.
QString MapEntryPath(const QString& installationPath, const QString& entry);
