#pragma once
// Where the Wine prefixes of a person's Windows programs are, in the order the simulator's
// installation is looked for in them: the prefix named by WINEPREFIX, then ~/.wine, then the
// Proton prefix of every game of every Steam library (steamapps/compatdata/<id>/pfx, by id), the
// libraries being each Steam folder itself and those its steamapps/libraryfolders.vdf lists.

#include <QByteArray>
#include <QString>
#include <QStringList>

// Steam's library list is a few KiB; anything far larger is not one.
inline constexpr qint64 kMaxLibraryFoldersBytes = qint64(1) << 20;

// The existing prefix folders, each once, in the order above.
QStringList WinePrefixes();

// The library folders a libraryfolders.vdf text names, in their order: the "path" entries of the
// current form and the numbered entries of the older one ("1" "/mnt/games/SteamLibrary").
QStringList LibraryFoldersFromVdf(const QByteArray& text);
