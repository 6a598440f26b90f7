#pragma once
// A complete synthetic installation of the simulator, made by the program itself, for trying the
// editor and the tool without the game: the 3D object list, two maps with terrain, sectors and
// route networks, and in the first map's folder a campaign Map BIN file and a template file.

#include <QString>
#include <QStringList>

// The maps the demonstration writes, below "common/maps".
inline const char* const kDemoFirstMap = "map_sable_coast";
inline const char* const kDemoSecondMap = "map_ember_isles";
// Files in the first map's folder.
inline const char* const kDemoCampaignFile = "sable_coast.BIN";
inline const char* const kDemoTemplateFile = "sable_coast.BTP";

// The paths of the files WriteDemoInstallation writes below `dir`, in the order it writes them, so
// that a caller can refuse to replace a user's own files before anything is written.
QStringList DemoInstallationFiles(const QString& dir);

// Writes the installation below `dir` (created if need be), each file atomically, and appends the
// path of every file written to `written`. Existing files of the same names are replaced.
bool WriteDemoInstallation(const QString& dir, QStringList* written = nullptr, QString* error = nullptr);
