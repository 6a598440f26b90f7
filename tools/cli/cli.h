#pragma once
// The command-line tool's shared pieces: argument parsing, output and the
// failure conventions (exit 1 with "<editor's message>: <reason>", exit 2 with the usage text).

#include "document/filekind.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

class C3DObjectsList;
struct StoredRecords;

namespace cli {

struct Command;

// Commands that answer a question (check, diff) report a file they cannot read as trouble, like
// a usage error, so that 1 keeps meaning "the answer is no".
enum ExitStatus { Success = 0, Failure = 1, UsageError = 2, Trouble = 2 };

// Arguments of one command: positionals and options, where an option takes a fixed number of
// values that may look like negative numbers ("--paint -100 5 0"). Repeatable options keep every
// occurrence in order.
class Arguments {
public:
    // `optionArity` maps "--name" to its number of values; any other "--" word is a usage error.
    Arguments(const QStringList& args, const std::vector<std::pair<QString, int>>& optionArity);

    bool Ok() const { return m_error.isEmpty(); }
    const QString& Error() const { return m_error; }
    const QStringList& Positionals() const { return m_positionals; }
    bool Has(const QString& option) const;
    // Values of the last occurrence, or nothing.
    std::optional<QStringList> Values(const QString& option) const;
    // Every occurrence in order, each with its values; also interleaved with other options.
    const std::vector<std::pair<QString, QStringList>>& Occurrences() const { return m_options; }

private:
    QStringList m_positionals;
    std::vector<std::pair<QString, QStringList>> m_options;
    QString m_error;
};

std::optional<int> ParseInt(const QString& text);

// The command being run, for its usage text; null before the command table started one.
const Command* CurrentCommand();
void SetCurrentCommand(const Command* command);
// Whether the running command takes `option` (its usage line names it).
bool CurrentCommandTakes(const char* option);

// Prints the problem (if any) and the running command's usage, or every command's before one
// runs, to stderr; returns 2.
int Usage(const QString& problem = QString());
// "usage: sablemap-cli <command's usage>" (every command's without one) on stdout, as asked for.
void PrintUsage(const Command* command);
// Prints "<message>: <reason>" to stderr; returns 1.
int Fail(const QString& message, const QString& reason);
void Print(const QString& text);                 // UTF-8 to stdout
void PrintBytes(const char* bytes, size_t size); // already UTF-8
void Warn(const QString& text);                  // "Warning: <text>" on stderr; the command goes on
// Flushes standard output; false, with "Write failed: <reason>" printed once, when a write to it
// failed, now or before. A command that prints and then saves asks before it saves, so that lost
// output leaves the files as they were.
bool OutputWritten();
// The same at the end of every command: `status`, or 1 when output was lost from a command that
// had succeeded (a failure keeps its own status).
int FinishOutput(int status);
// Empty when `argument` (as the system passed it) reads back to the same bytes; otherwise the usage
// problem to show. Qt reaches files by names decoded from the system's encoding, so bytes that do
// not decode would name another file.
QString NameProblem(const QByteArray& argument);

// Loads --catalogue into `catalogue` (empty without the option). On a damaged list prints the
// start-up message and returns false.
bool LoadCatalogueOption(const Arguments& args, C3DObjectsList& catalogue);
extern const char* const kCatalogueMessage;

// The reason to show when `path` could not be read as `wanted` (MapBin; TemplateList for a
// template source, which may also be a Map BIN file; FactionFile): what the file looks like when
// it is another kind, else `reason`.
QString ReadProblem(const QString& path, FileKind wanted, const QString& reason);

// Reads `path` as stored, without a catalogue (a template list with `templateListOnly`); prints
// "Open failed: <reason>" and returns false when it cannot.
bool OpenStored(const QString& path, bool templateListOnly, StoredRecords& records);

} // namespace cli
