#include "cli.h"
#include "commands.h"

#include "catalogues/objectslist.h"
#include "document/storedrecords.h"
#include "platform/messagetext.h"

#include <QFile>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace cli {

const char* const kCatalogueMessage = "File stormcr\\3ddata\\bininfo.bin not found or corrupted !";

namespace {
// The first error met writing standard output (an errno value), 0 while none.
int g_outputError = 0;
const Command* g_command = nullptr;

void WriteBytes(FILE* stream, const char* bytes, size_t size)
{
    errno = 0;
    const size_t written = std::fwrite(bytes, 1, size, stream);
    if (stream == stdout && written != size && g_outputError == 0)
        g_outputError = errno != 0 ? errno : EIO;
}

void WriteUtf8(FILE* stream, const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    WriteBytes(stream, bytes.constData(), static_cast<size_t>(bytes.size()));
}
} // namespace

Arguments::Arguments(const QStringList& args, const std::vector<std::pair<QString, int>>& optionArity)
{
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& word = args[i];
        if (!word.startsWith(QLatin1String("--"))) {
            m_positionals << word;
            continue;
        }
        int arity = -1;
        for (const auto& [name, count] : optionArity) {
            if (name == word)
                arity = count;
        }
        if (arity < 0) {
            m_error = QStringLiteral("unknown option %1").arg(MessageText::Shortened(word));
            return;
        }
        if (i + arity >= args.size()) {
            m_error = QStringLiteral("%1 needs %2 value(s)").arg(word).arg(arity);
            return;
        }
        m_options.emplace_back(word, args.mid(i + 1, arity));
        i += arity;
    }
}

bool Arguments::Has(const QString& option) const
{
    for (const auto& occurrence : m_options) {
        if (occurrence.first == option)
            return true;
    }
    return false;
}

std::optional<QStringList> Arguments::Values(const QString& option) const
{
    std::optional<QStringList> values;
    for (const auto& occurrence : m_options) {
        if (occurrence.first == option)
            values = occurrence.second;
    }
    return values;
}

std::optional<int> ParseInt(const QString& text)
{
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    if (!ok)
        return std::nullopt;
    return value;
}

const Command* CurrentCommand() { return g_command; }

void SetCurrentCommand(const Command* command) { g_command = command; }

bool CurrentCommandTakes(const char* option)
{
    if (!g_command)
        return false;
    const QString usage = QString::fromUtf8(g_command->Usage);
    const QString name = QString::fromUtf8(option);
    // A whole word of the usage line: "--templates", not the start of "--templates-only".
    for (qsizetype at = usage.indexOf(name); at >= 0; at = usage.indexOf(name, at + 1)) {
        const qsizetype end = at + name.size();
        if (end == usage.size() || !(usage[end].isLetterOrNumber() || usage[end] == QLatin1Char('-')))
            return true;
    }
    return false;
}

namespace {
QString UsageText(const Command* command)
{
    if (command)
        return QStringLiteral("usage: sablemap-cli %1\n").arg(QString::fromUtf8(command->Usage));
    QString text = QStringLiteral("usage:\n");
    for (const Command& each : Commands())
        text += QStringLiteral("  sablemap-cli %1\n").arg(QString::fromUtf8(each.Usage));
    return text;
}
} // namespace

int Usage(const QString& problem)
{
    QString text;
    if (!problem.isEmpty())
        text += QStringLiteral("sablemap-cli: %1\n").arg(problem);
    text += UsageText(g_command);
    WriteUtf8(stderr, text);
    return UsageError;
}

void PrintUsage(const Command* command) { Print(UsageText(command)); }

int Fail(const QString& message, const QString& reason)
{
    WriteUtf8(stderr, message + QStringLiteral(": ") + reason + QLatin1Char('\n'));
    return Failure;
}

void Print(const QString& text) { WriteUtf8(stdout, text); }

void PrintBytes(const char* bytes, size_t size) { WriteBytes(stdout, bytes, size); }

void Warn(const QString& text) { WriteUtf8(stderr, QStringLiteral("Warning: ") + text + QLatin1Char('\n')); }

bool OutputWritten()
{
    static bool reported = false;
    errno = 0;
    if (std::fflush(stdout) != 0 && g_outputError == 0)
        g_outputError = errno != 0 ? errno : EIO;
    if (g_outputError == 0 && std::ferror(stdout))
        g_outputError = EIO;
    if (g_outputError == 0)
        return true;
    if (!reported)
        Fail(QStringLiteral("Write failed"), QString::fromLocal8Bit(std::strerror(g_outputError)));
    reported = true;
    return false;
}

int FinishOutput(int status) { return OutputWritten() || status != Success ? status : Failure; }

QString NameProblem(const QByteArray& argument)
{
    if (QFile::encodeName(QFile::decodeName(argument)) == argument)
        return QString();
    QString shown;
    for (const char c : argument) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F)
            shown += QLatin1Char(c);
        else
            shown += QStringLiteral("\\x") + QString::number(byte, 16).toUpper().rightJustified(2, QLatin1Char('0'));
    }
    return QStringLiteral("the name \"%1\" is not valid in the system's encoding").arg(shown);
}

bool LoadCatalogueOption(const Arguments& args, C3DObjectsList& catalogue)
{
    const auto path = args.Values(QStringLiteral("--catalogue"));
    if (!path)
        return true;
    QString reason;
    if (!QFile::exists(path->first())) {
        Fail(QString::fromUtf8(kCatalogueMessage), QStringLiteral("%1: no such file").arg(path->first()));
        return false;
    }
    if (!catalogue.LoadFromFile(path->first(), &reason)) {
        Fail(QString::fromUtf8(kCatalogueMessage), reason);
        return false;
    }
    return true;
}

QString ReadProblem(const QString& path, FileKind wanted, const QString& reason)
{
    const FileKind kind = SniffFile(path);
    if (kind == wanted || kind == FileKind::Unknown)
        return reason;
    switch (kind) {
    case FileKind::FactionFile:
        return wanted == FileKind::MapBin
            ? QStringLiteral("this is a faction file, not a Map BIN file")
            : QStringLiteral("this is a faction file, not a template file or Map BIN file");
    case FileKind::TemplateList:
        if (wanted != FileKind::MapBin)
            return QStringLiteral("this looks like a template file, not a faction file");
        return CurrentCommandTakes("--templates")
            ? QStringLiteral("this looks like a template file: add --templates")
            : QStringLiteral("this looks like a template file, not a Map BIN file");
    case FileKind::MapBin:
        // A template source may be a Map BIN file; one that failed to read is damaged.
        return wanted == FileKind::FactionFile ? QStringLiteral("this is a Map BIN file, not a faction file") : reason;
    case FileKind::Unknown: break;
    }
    return reason;
}

bool OpenStored(const QString& path, bool templateListOnly, StoredRecords& records)
{
    QString reason;
    if (!QFile::exists(path))
        return Fail(QStringLiteral("Open failed"), QStringLiteral("%1: no such file").arg(path)), false;
    if (!LoadStoredRecords(path, templateListOnly, records, &reason)) {
        reason = ReadProblem(path, templateListOnly ? FileKind::TemplateList : FileKind::MapBin, reason);
        return Fail(QStringLiteral("Open failed"), QStringLiteral("%1: %2").arg(path, reason)), false;
    }
    return true;
}

} // namespace cli
