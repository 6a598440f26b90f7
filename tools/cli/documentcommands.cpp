// Commands on the campaign document: catalogue, dump, resave, export-templates, import-templates.

#include "cli.h"
#include "commands.h"
#include "jsondump.h"

#include "catalogues/objectslist.h"
#include "catalogues/templatetypes.h"
#include "document/binfile.h"
#include "platform/ansitext.h"
#include "platform/messagetext.h"

#include <QFile>

namespace {

using namespace cli;

// The catalogue, type table and document of one command run.
struct Session {
    C3DObjectsList Catalogue;
    CPopTemplatesTypesList Types;
    CBINFile Document{&Catalogue, &Types};
};

// Loads a Map BIN file as the editor's Load does; prints "Open failed: ..." on failure.
bool OpenMapFile(CBINFile& doc, const QString& path)
{
    QString reason;
    if (!QFile::exists(path))
        return Fail(QStringLiteral("Open failed"), QStringLiteral("%1: no such file").arg(path)), false;
    if (!doc.LoadReplacing(path, &reason))
        return Fail(QStringLiteral("Open failed"),
                    QStringLiteral("%1: %2").arg(path, ReadProblem(path, FileKind::MapBin, reason))),
               false;
    return true;
}

// Imports the template list of a template file or Map BIN file; prints "<message>: ..." on failure.
bool ImportOrFail(CBINFile& doc, const QString& path, const QString& message)
{
    QString reason;
    if (!QFile::exists(path))
        return Fail(message, QStringLiteral("%1: no such file").arg(path)), false;
    if (!doc.ImportTemplates(path, &reason))
        return Fail(message, QStringLiteral("%1: %2").arg(path, ReadProblem(path, FileKind::TemplateList, reason))),
               false;
    return true;
}

const QString kInvalidNames = QStringLiteral("--invalid-names");
const std::vector<std::pair<QString, int>> kWriteOptions = {{QStringLiteral("--catalogue"), 1}, {kInvalidNames, 0}};

// As many names as the editor's message lists.
constexpr int kMissingNamesShown = 10;

// A write that would turn names into INVALID_OBJECT loses them: refused unless --invalid-names
// asks for it, and then the warning says which once the file is written.
bool RefuseInvalidNames(const Arguments& args, const CMissingNames& missing, const QString& message)
{
    if (missing.IsEmpty() || args.Has(kInvalidNames))
        return false;
    const auto count = static_cast<qsizetype>(missing.Names().size());
    Fail(message,
         QStringLiteral("%1 %2 not in the 3D object list and would be written as INVALID_OBJECT; give --catalogue, "
                        "or --invalid-names to write them so")
             .arg(count)
             .arg(count == 1 ? QStringLiteral("name is") : QStringLiteral("names are")));
    return true;
}

int WarnMissingNames(const CMissingNames& missing)
{
    if (!missing.IsEmpty())
        Warn(MissingNamesText(missing, kMissingNamesShown));
    return Success;
}

int SaveOrFail(const Arguments& args, const CBINFile& doc, const QString& path, const CMissingNames& missing)
{
    if (RefuseInvalidNames(args, missing, QStringLiteral("Save failed")))
        return Failure;
    QString reason;
    if (!doc.Save(path, true, &reason))
        return Fail(QStringLiteral("Save failed"), QStringLiteral("%1: %2").arg(path, reason));
    return WarnMissingNames(missing);
}

} // namespace

namespace cli {

int RunCatalogue(const QStringList& argv)
{
    Arguments args(argv, {});
    if (!args.Ok() || args.Positionals().size() != 1)
        return Usage(args.Ok() ? QStringLiteral("catalogue takes one file") : args.Error());
    const QString path = args.Positionals().first();
    C3DObjectsList catalogue;
    QString reason;
    if (!QFile::exists(path))
        return Fail(QString::fromUtf8(kCatalogueMessage), QStringLiteral("%1: no such file").arg(path));
    if (!catalogue.LoadFromFile(path, &reason))
        return Fail(QString::fromUtf8(kCatalogueMessage), reason);
    QString out;
    for (int32_t i = 0; i < catalogue.Count(); ++i)
        out += QStringLiteral("%1\t%2\n").arg(i).arg(AnsiToQString(catalogue.NameOf(i)));
    Print(out);
    return Success;
}

int RunDump(const QStringList& argv)
{
    Arguments args(argv, {{QStringLiteral("--catalogue"), 1}, {QStringLiteral("--templates"), 0}});
    if (!args.Ok() || args.Positionals().size() != 1)
        return Usage(args.Ok() ? QStringLiteral("dump takes one file") : args.Error());
    Session session;
    if (!LoadCatalogueOption(args, session.Catalogue))
        return Failure;
    const QString path = args.Positionals().first();
    if (args.Has(QStringLiteral("--templates"))) {
        if (!ImportOrFail(session.Document, path, QStringLiteral("Import failed")))
            return Failure;
    } else if (!OpenMapFile(session.Document, path)) {
        return Failure;
    }
    DumpDocument(session.Document);
    return Success;
}

int RunResave(const QStringList& argv)
{
    Arguments args(argv, kWriteOptions);
    if (!args.Ok() || args.Positionals().size() != 2)
        return Usage(args.Ok() ? QStringLiteral("resave takes IN and OUT") : args.Error());
    Session session;
    if (!LoadCatalogueOption(args, session.Catalogue) || !OpenMapFile(session.Document, args.Positionals()[0]))
        return Failure;
    return SaveOrFail(args, session.Document, args.Positionals()[1], session.Document.LastReadMissingNames());
}

int RunExportTemplates(const QStringList& argv)
{
    Arguments args(argv, kWriteOptions);
    if (!args.Ok() || args.Positionals().size() != 4)
        return Usage(args.Ok() ? QStringLiteral("export-templates takes IN FIRST LAST OUT") : args.Error());
    const QStringList& pos = args.Positionals();
    const std::optional<int> first = ParseInt(pos[1]);
    const std::optional<int> last = ParseInt(pos[2]);
    if (!first || !last)
        return Usage(QStringLiteral("FIRST and LAST must be whole numbers, not \"%1\"")
                         .arg(MessageText::Shortened(first ? pos[2] : pos[1])));
    Session session;
    if (!LoadCatalogueOption(args, session.Catalogue) || !OpenMapFile(session.Document, pos[0]))
        return Failure;
    // Only a range the document holds writes names; any other fails below with its own reason.
    const bool inRange = *first >= 0 && *first <= *last && *last < session.Document.TemplateCount();
    const CMissingNames missing =
        inRange ? session.Document.LastReadMissingNames().OfTemplates(*first, *last) : CMissingNames();
    if (RefuseInvalidNames(args, missing, QStringLiteral("Export failed")))
        return Failure;
    QString reason;
    if (!session.Document.ExportTemplates(pos[3], *first, *last, &reason))
        return Fail(QStringLiteral("Export failed"), QStringLiteral("%1: %2").arg(pos[3], reason));
    return WarnMissingNames(missing);
}

int RunImportTemplates(const QStringList& argv)
{
    Arguments args(argv, kWriteOptions);
    if (!args.Ok() || args.Positionals().size() != 3)
        return Usage(args.Ok() ? QStringLiteral("import-templates takes IN SOURCE OUT") : args.Error());
    const QStringList& pos = args.Positionals();
    Session session;
    if (!LoadCatalogueOption(args, session.Catalogue) || !OpenMapFile(session.Document, pos[0]))
        return Failure;
    CMissingNames missing = session.Document.LastReadMissingNames();
    if (!ImportOrFail(session.Document, pos[1], QStringLiteral("Import failed")))
        return Failure;
    missing.Append(session.Document.LastReadMissingNames());
    return SaveOrFail(args, session.Document, pos[2], missing);
}

} // namespace cli
