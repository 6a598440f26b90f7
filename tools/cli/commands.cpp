#include "commands.h"
#include "cli.h"

#include "platform/messagetext.h"

#include <array>
#include <utility>

namespace cli {

namespace {

struct Entry {
    const char* Name;
    const char* Usage;
    int (*Body)(const QStringList& args);
};

constexpr Entry kEntries[] = {
    {"catalogue", "catalogue BININFO", RunCatalogue},
    {"dump", "dump FILE [--catalogue P] [--templates]", RunDump},
    {"resave", "resave IN OUT [--catalogue P] [--invalid-names]", RunResave},
    {"export-templates", "export-templates IN FIRST LAST OUT [--catalogue P] [--invalid-names]", RunExportTemplates},
    {"import-templates", "import-templates IN SOURCE OUT [--catalogue P] [--invalid-names]", RunImportTemplates},
    {"render",
     "render MAPFOLDER OUT.png --size W H [--resolution R] [--view OPS] [--routes LIST] [--factions SID] "
     "[--campaign BIN] [--catalogue P] [--symbols LIST] [--grid] [--rings KIND=R[,R...]]... [--settings INI] "
     "[--button-face RRGGBB]",
     RunRender},
    {"factions", "factions SID [--set I J V]... [--paint X Z R]... [--fill X Z V]... [--print] [--out OUT]",
     RunFactions},
    {"settings", "settings INI [--save]", RunSettings},
    {"maps", "maps INSTALLDIR", RunMaps},
    {"demo", "demo DIR [--force]", RunDemo},
    {"to-json", "to-json FILE [--templates]", RunToJson},
    {"from-json", "from-json FILE.json OUT [--templates]", RunFromJson},
    {"check", "check FILE [--catalogue P] [--map DIR] [--json]", RunCheck},
    {"diff", "diff A B [--catalogue P]", RunDiff},
    {"help", "help [COMMAND]", RunHelp},
};
constexpr size_t kCount = std::size(kEntries);

int Enter(size_t index, const QStringList& args);

template <size_t Index>
int Entered(const QStringList& args)
{
    return Enter(Index, args);
}

template <size_t... Index>
constexpr std::array<Command, kCount> Table(std::index_sequence<Index...>)
{
    return {Command{kEntries[Index].Name, kEntries[Index].Usage, &Entered<Index>}...};
}

constexpr std::array<Command, kCount> kCommands = Table(std::make_index_sequence<kCount>());

// Every command goes through here: its usage is the one a usage error shows, and "--help" among
// its arguments asks for that usage instead of running it.
int Enter(size_t index, const QStringList& args)
{
    SetCurrentCommand(&kCommands[index]);
    if (args.contains(QLatin1String("--help"))) {
        PrintUsage(CurrentCommand());
        return Success;
    }
    return kEntries[index].Body(args);
}

} // namespace

std::span<const Command> Commands() { return kCommands; }

int RunHelp(const QStringList& args)
{
    if (args.isEmpty()) {
        PrintUsage(nullptr);
        return Success;
    }
    if (args.size() != 1)
        return Usage(QStringLiteral("help takes one command"));
    for (const Command& command : kCommands) {
        if (args.first() == QLatin1String(command.Name)) {
            PrintUsage(&command);
            return Success;
        }
    }
    // The list of commands says more than the usage of help.
    SetCurrentCommand(nullptr);
    return Usage(QStringLiteral("unknown command %1").arg(MessageText::Shortened(args.first())));
}

} // namespace cli
