#include "commands.h"

namespace cli {

namespace {
const Command kCommands[] = {
    {"catalogue", "catalogue BININFO", RunCatalogue},
    {"dump", "dump FILE [--catalogue P] [--templates]", RunDump},
    {"resave", "resave IN OUT [--catalogue P]", RunResave},
    {"export-templates", "export-templates IN FIRST LAST OUT [--catalogue P]", RunExportTemplates},
    {"import-templates", "import-templates IN SOURCE OUT [--catalogue P]", RunImportTemplates},
    {"render",
     "render MAPFOLDER OUT.png --size W H [--resolution R] [--view OPS] [--routes LIST] [--factions SID] "
     "[--campaign BIN] [--catalogue P] [--symbols LIST] [--grid] [--settings INI] [--button-face RRGGBB]",
     RunRender},
    {"factions", "factions SID [--set I J V]... [--paint X Z R]... [--print] [--out OUT]", RunFactions},
    {"settings", "settings INI [--save]", RunSettings},
    {"maps", "maps INSTALLDIR", RunMaps},
    {"demo", "demo DIR", RunDemo},
    {"to-json", "to-json FILE [--templates]", RunToJson},
    {"from-json", "from-json FILE.json OUT [--templates]", RunFromJson},
    {"check", "check FILE [--catalogue P] [--map DIR] [--json]", RunCheck},
    {"diff", "diff A B [--catalogue P]", RunDiff},
};
} // namespace

std::span<const Command> Commands() { return kCommands; }

} // namespace cli
