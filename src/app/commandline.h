#pragma once
// The editor's command line:
//   sablemap [FILE.BIN|FILE.SID|FILE.BTP]... [--factions FILE.SID] [--map NAME] [--installation DIR]
// Files are opened once the window is up, as the File menu would open them; --map chooses a map
// of the installation as Change map would; --installation names the installation folder instead
// of the registry. --help and --version are answered without any window.

#include <QString>
#include <QStringList>

struct CommandLine {
    QStringList Files;    // absolute paths, in the order given
    QString Factions;     // --factions
    QString Map;          // --map: a folder name under common/maps
    QString Installation; // --installation, absolute
    // What was wrong with the command line itself; nothing else of it is used then.
    QStringList Problems;
};

// The answer to --help or --version, or nothing when the command line asks for neither.
// `arguments` starts with the program's name.
bool AnswerInformationRequest(const QStringList& arguments, QString& answer);

CommandLine ParseCommandLine(const QStringList& arguments);
