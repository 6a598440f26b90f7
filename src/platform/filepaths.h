#pragma once
// Paths below the simulator's installation folder. The program writes them Windows-style
// ("\common\maps\"); game files copied from Windows arrive in any letter case, so a name that does
// not exist as written is matched case-insensitively, one component at a time.

#include <QString>

// Joins a base folder and a relative path written with '\' or '/' separators, using the
// platform's separator ('/' everywhere but Windows).
QString JoinPath(const QString& base, const QString& relative);

// Returns the path of an existing file or folder that matches `path` component by component
// without regard to letter case, or `path` unchanged when nothing matches (callers then see the
// file as missing). An exact match is always preferred.
QString ResolveCaseInsensitive(const QString& path);

// JoinPath followed by ResolveCaseInsensitive: the one helper for every file the program reads.
QString ResolveGamePath(const QString& base, const QString& relative);
