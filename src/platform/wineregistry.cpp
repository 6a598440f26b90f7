#include "platform/wineregistry.h"

#include "platform/filepaths.h"
#include "platform/fileread.h"
#include "platform/hexdigit.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <vector>

namespace {

// Decodes escaped text from `at` up to the unescaped `terminator`; `at` ends just past it. Bytes
// outside escapes are UTF-8 (Wine writes ASCII and escapes the rest).
bool DecodeEscaped(const QByteArray& text, qsizetype& at, char terminator, QString& decoded)
{
    decoded.clear();
    qsizetype run = at;
    const auto flush = [&](qsizetype end) { decoded += QString::fromUtf8(text.constData() + run, end - run); };
    while (at < text.size()) {
        const char c = text[at];
        if (c == terminator) {
            flush(at);
            ++at;
            return true;
        }
        if (c != '\\') {
            ++at;
            continue;
        }
        flush(at);
        if (++at >= text.size())
            return false;
        const char escaped = text[at++];
        switch (escaped) {
        case 'a': decoded += QChar(7); break;
        case 'b': decoded += QChar(8); break;
        case 'e': decoded += QChar(27); break;
        case 'f': decoded += QChar(12); break;
        case 'n': decoded += QChar(10); break;
        case 'r': decoded += QChar(13); break;
        case 't': decoded += QChar(9); break;
        case 'v': decoded += QChar(11); break;
        case 'x': {
            // Up to four hex digits: one UTF-16 unit (pairs of them make the characters beyond).
            int unit = 0;
            int digits = 0;
            for (; digits < 4 && at < text.size() && HexDigit(text[at]) >= 0; ++digits, ++at)
                unit = unit * 16 + HexDigit(text[at]);
            if (digits == 0)
                return false;
            decoded += QChar(char16_t(unit));
            break;
        }
        default:
            if (escaped >= '0' && escaped <= '7') {
                int value = escaped - '0';
                for (int digits = 1; digits < 3 && at < text.size() && text[at] >= '0' && text[at] <= '7'; ++digits)
                    value = value * 8 + (text[at++] - '0');
                decoded += QChar(char16_t(value));
            } else {
                decoded += QLatin1Char(escaped); // "\\", "\"" and anything else stand for themselves
            }
        }
        run = at;
    }
    return false;
}

// What one of the wanted keys turned out to hold.
struct KeyFinding {
    bool Present = false;
    enum { Nothing, String, OtherType } Value = Nothing;
    QString Text;
};

// The data of a value line, from just after its '='.
void ReadData(const QByteArray& line, qsizetype at, KeyFinding& finding)
{
    if (line.mid(at, 7) == "str(2):") // REG_EXPAND_SZ, taken as written
        at += 7;
    if (at < line.size() && line[at] == '"') {
        QString text;
        ++at;
        if (DecodeEscaped(line, at, '"', text)) {
            finding.Value = KeyFinding::String;
            finding.Text = text;
        }
        return; // an unterminated string is a damaged value: as good as missing
    }
    for (const char* prefix : {"str(", "dword:", "hex:", "hex("}) {
        if (line.mid(at).startsWith(prefix)) {
            finding.Value = KeyFinding::OtherType;
            return;
        }
    }
}

// One line at a time without its line ending, never holding more than the line limit.
class CLineReader {
public:
    explicit CLineReader(QIODevice& in) : m_in(in), m_buffer(kMaxWineRegistryLine + 2, Qt::Uninitialized) { }

    // False at the end, and once more than a registry's worth was read (a file that reported a
    // small size and does not end). A line over the limit is read to its end and given back empty.
    bool Next(QByteArray& line)
    {
        if (m_read > kMaxWineRegistryBytes)
            return false;
        qint64 got = m_in.readLine(m_buffer.data(), m_buffer.size());
        if (got <= 0)
            return false;
        m_read += got;
        bool complete = m_buffer[got - 1] == '\n' || m_in.atEnd();
        if (!complete) {
            while (!complete && m_read <= kMaxWineRegistryBytes) {
                got = m_in.readLine(m_buffer.data(), m_buffer.size());
                m_read += std::max<qint64>(got, 0);
                complete = got <= 0 || m_buffer[got - 1] == '\n';
            }
            line.clear();
            return true;
        }
        while (got > 0 && (m_buffer[got - 1] == '\n' || m_buffer[got - 1] == '\r'))
            --got;
        line = QByteArray(m_buffer.constData(), got);
        return true;
    }

private:
    QIODevice& m_in;
    QByteArray m_buffer;
    qint64 m_read = 0;
};

} // namespace

bool DecodeWineString(const QByteArray& text, qsizetype& at, QString& decoded)
{
    if (at >= text.size() || text[at] != '"')
        return false;
    qsizetype inside = at + 1;
    if (!DecodeEscaped(text, inside, '"', decoded))
        return false;
    at = inside;
    return true;
}

RegistryRead ReadWineRegistryValue(QIODevice& registry, const QStringList& keys, const QString& valueName,
                                   QString& value)
{
    std::vector<KeyFinding> findings(size_t(keys.size()));
    KeyFinding* current = nullptr; // the wanted key whose section the lines are in, if any
    CLineReader reader(registry);
    QByteArray line;
    while (reader.Next(line)) {
        if (line.startsWith('[')) {
            current = nullptr;
            qsizetype at = 1;
            QString name;
            if (!DecodeEscaped(line, at, ']', name))
                continue; // a header cut short belongs to no key
            for (qsizetype k = 0; k < keys.size(); ++k) {
                if (name.compare(keys[k], Qt::CaseInsensitive) == 0) {
                    current = &findings[size_t(k)];
                    current->Present = true;
                }
            }
            continue;
        }
        if (!current || current->Value != KeyFinding::Nothing)
            continue; // the first value of the name counts
        QString name;
        qsizetype at = 0;
        if (line.startsWith('@'))
            at = 1; // the default value, whose name is empty
        else if (!DecodeWineString(line, at, name))
            continue;
        if (at >= line.size() || line[at] != '=' || name.compare(valueName, Qt::CaseInsensitive) != 0)
            continue;
        ReadData(line, at + 1, *current);
        if (current == &findings.front() && current->Value == KeyFinding::String)
            break; // the preferred key has it: nothing later can change the answer
    }

    for (const KeyFinding& finding : findings) {
        if (finding.Value == KeyFinding::String) {
            value = finding.Text;
            return RegistryRead::Found;
        }
    }
    bool present = false;
    for (const KeyFinding& finding : findings) {
        if (finding.Value == KeyFinding::OtherType)
            return RegistryRead::NotAString;
        present = present || finding.Present;
    }
    return present ? RegistryRead::ValueMissing : RegistryRead::KeyMissing;
}

RegistryRead ReadWineRegistryFile(const QString& file, const QStringList& keys, const QString& valueName,
                                  QString& value)
{
    QFile in(file);
    if (!OpenRegularFile(in) || in.size() > kMaxWineRegistryBytes)
        return RegistryRead::KeyMissing;
    return ReadWineRegistryValue(in, keys, valueName, value);
}

QString WinePathToLocal(const QString& prefix, const QString& windowsPath)
{
    QString path = windowsPath;
    if (path.startsWith(QLatin1String("\\\\?\\")) || path.startsWith(QLatin1String("\\??\\")))
        path.remove(0, 4);
    const char letter = path.isEmpty() ? '\0' : path[0].toLatin1();
    const bool drive = (letter >= 'A' && letter <= 'Z') || (letter >= 'a' && letter <= 'z');
    if (!drive || path.size() < 2 || path[1] != QLatin1Char(':'))
        return windowsPath; // no drive letter: nothing to translate
    QString link = JoinPath(prefix, QStringLiteral("dosdevices/") + path.left(1).toLower() + QLatin1Char(':'));
    if (!QFileInfo::exists(link)) {
        const QString upper =
            JoinPath(prefix, QStringLiteral("dosdevices/") + path.left(1).toUpper() + QLatin1Char(':'));
        if (QFileInfo::exists(upper))
            link = upper;
    }
    // "." and ".." steps resolved as Windows does: ".." at the drive's root stays there, so a
    // registry value can never lead out of the drive's folder.
    QStringList steps;
    for (const QString& step :
         path.mid(2).replace(QLatin1Char('\\'), QLatin1Char('/')).split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (step == QLatin1String("..")) {
            if (!steps.isEmpty())
                steps.removeLast();
        } else if (step != QLatin1String(".")) {
            steps.append(step);
        }
    }
    const QString rest = steps.join(QLatin1Char('/'));
    const QString root = QFileInfo(link).canonicalFilePath(); // empty when the link leads nowhere
    if (root.isEmpty())
        return JoinPath(link, rest);
    return rest.isEmpty() ? root : ResolveGamePath(root, rest);
}
