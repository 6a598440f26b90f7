#pragma once
// The faction assignment file of a demonstration map: one sector per pixel, as many as the map's
// sector file counts, split between the two sides along the map's border network.

#include <QString>

// The file written in the first map's folder.
inline const char* const kDemoFactionFile = "sable_coast.SID";

// Reads back the map already written in `mapFolder` (sector counts and border) and writes the
// faction file there atomically. Returns the file's path, or an empty string with the reason.
QString WriteDemoFactions(const QString& mapFolder, QString* error = nullptr);
