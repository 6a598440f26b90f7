#include "app/commandline.h"

#include "sablemapversion.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

namespace {

const QString kFactions = QStringLiteral("factions");
const QString kMap = QStringLiteral("map");
const QString kInstallation = QStringLiteral("installation");

void Describe(QCommandLineParser& parser)
{
    parser.setApplicationDescription(
        QStringLiteral("Sablemap edits the campaign map data of the Skyreach simulator: Map BIN files, faction "
                       "assignment files and templates files."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("FILE"),
                                 QStringLiteral("A Map BIN file (.BIN) to load, a faction assignment file (.SID) or a "
                                                "templates file (.BTP) to import."),
                                 QStringLiteral("[FILE...]"));
    parser.addOption({kFactions, QStringLiteral("Load the faction assignment file FILE."), QStringLiteral("FILE")});
    parser.addOption({kMap, QStringLiteral("Choose the map NAME of the installation (a folder in common/maps)."),
                      QStringLiteral("NAME")});
    parser.addOption({kInstallation,
                      QStringLiteral("Use the simulator installed in DIR instead of the one the registry names."),
                      QStringLiteral("DIR")});
}

QString Absolute(const QString& path) { return path.isEmpty() ? path : QFileInfo(path).absoluteFilePath(); }

} // namespace

bool AnswerInformationRequest(const QStringList& arguments, QString& answer)
{
    QCommandLineParser parser;
    Describe(parser);
    parser.parse(arguments); // other mistakes are reported once the window is up
    if (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all")))
        answer = parser.helpText();
    else if (parser.isSet(QStringLiteral("version")))
        answer = QStringLiteral("sablemap %1\n").arg(QStringLiteral(SABLEMAP_VERSION));
    else
        return false;
    return true;
}

CommandLine ParseCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    Describe(parser);
    CommandLine line;
    if (!parser.parse(arguments)) {
        line.Problems << parser.errorText() + QStringLiteral("\nsablemap --help lists the options.");
        return line;
    }
    for (const QString& file : parser.positionalArguments())
        line.Files << Absolute(file);
    line.Factions = Absolute(parser.value(kFactions));
    line.Map = parser.value(kMap);
    line.Installation = Absolute(parser.value(kInstallation));
    return line;
}
