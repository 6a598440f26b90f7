#pragma once
// The tool's commands: one table of names, usage lines and the functions that run them.

#include <QStringList>
#include <span>

namespace cli {

struct Command {
    const char* Name;
    const char* Usage; // one line, without the program name
    int (*Run)(const QStringList& args);
};

// In the order the usage text lists them. Running one makes it the current command (cli.h).
std::span<const Command> Commands();

int RunCatalogue(const QStringList& args);
int RunDump(const QStringList& args);
int RunResave(const QStringList& args);
int RunExportTemplates(const QStringList& args);
int RunImportTemplates(const QStringList& args);
int RunRender(const QStringList& args);
int RunFactions(const QStringList& args);
int RunSettings(const QStringList& args);
int RunMaps(const QStringList& args);
int RunDemo(const QStringList& args);
int RunToJson(const QStringList& args);
int RunFromJson(const QStringList& args);
int RunCheck(const QStringList& args);
int RunDiff(const QStringList& args);
int RunHelp(const QStringList& args);

} // namespace cli
