#include "platform/profile.h"

#include "platform/atomicsave.h"
#include "platform/fileread.h"

#include <QFile>

namespace {

QByteArray Trimmed(const QByteArray& text) { return text.trimmed(); }

// Names of sections and keys compare like the profile functions compare them: letter case of the
// 8-bit characters ignored.
bool SameName(const QByteArray& a, const std::string& b)
{
    if (a.size() != static_cast<qsizetype>(b.size()))
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        const unsigned char x = static_cast<unsigned char>(a[i]);
        const unsigned char y = static_cast<unsigned char>(b[static_cast<size_t>(i)]);
        if (x == y)
            continue;
        const auto fold = [](unsigned char c) -> unsigned char {
            if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
                return static_cast<unsigned char>(c + 32);
            return c;
        };
        if (fold(x) != fold(y))
            return false;
    }
    return true;
}

// "[name]" (blanks allowed around it) gives name; anything else is not a section header.
std::optional<QByteArray> SectionName(const QByteArray& line)
{
    const QByteArray t = Trimmed(line);
    if (!t.startsWith('['))
        return std::nullopt;
    const qsizetype close = t.indexOf(']');
    if (close < 0)
        return std::nullopt;
    return Trimmed(t.mid(1, close - 1));
}

bool IsComment(const QByteArray& trimmed) { return trimmed.startsWith(';'); }

} // namespace

bool CProfileFile::Load(const QString& path, QString* error)
{
    return GuardAllocation(error, [&] {
        if (!QFile::exists(path)) {
            m_lines.clear();
            return true;
        }
        // The settings are looked for beside the program, never named by the person.
        QByteArray bytes;
        if (!ReadRegularFile(path, FileLimits::Settings, bytes, error))
            return false;
        CProfileFile read;
        read.LoadBytes(bytes);
        *this = std::move(read);
        return true;
    });
}

void CProfileFile::LoadBytes(const QByteArray& bytes)
{
    m_lines.clear();
    m_newline = bytes.contains("\r\n") ? QByteArrayLiteral("\r\n") : QByteArrayLiteral("\n");
    m_finalNewline = bytes.isEmpty() || bytes.endsWith('\n');
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        const bool ended = end >= 0;
        if (!ended)
            end = bytes.size();
        QByteArray text = bytes.mid(start, end - start);
        // Only a line ending loses its '\r': a last line without one keeps its bytes.
        if (ended && text.endsWith('\r'))
            text.chop(1);
        m_lines.push_back({text});
        start = end + 1;
    }
}

int CProfileFile::FindSection(const std::string& section) const
{
    for (size_t i = 0; i < m_lines.size(); ++i) {
        const auto name = SectionName(m_lines[i].Text);
        if (name && SameName(*name, section))
            return static_cast<int>(i);
    }
    return -1;
}

int CProfileFile::SectionEnd(int header) const
{
    int end = header + 1;
    while (end < static_cast<int>(m_lines.size()) && !SectionName(m_lines[static_cast<size_t>(end)].Text))
        ++end;
    return end;
}

std::optional<std::string> CProfileFile::Value(const std::string& section, const std::string& key) const
{
    const int header = FindSection(section);
    if (header < 0)
        return std::nullopt;
    const int end = SectionEnd(header);
    for (int i = header + 1; i < end; ++i) {
        const QByteArray& text = m_lines[static_cast<size_t>(i)].Text;
        const qsizetype eq = text.indexOf('=');
        if (eq < 0 || IsComment(Trimmed(text)))
            continue;
        if (!SameName(Trimmed(text.left(eq)), key))
            continue;
        QByteArray value = Trimmed(text.mid(eq + 1));
        // A value in matching quotes is given without them.
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
            value = value.mid(1, value.size() - 2);
        return value.toStdString();
    }
    return std::nullopt;
}

void CProfileFile::SetValue(const std::string& section, const std::string& key, const std::string& value)
{
    const QByteArray line = QByteArray::fromStdString(key) + '=' + QByteArray::fromStdString(value);
    int header = FindSection(section);
    if (header < 0) {
        // A new section is set off from what precedes it by a blank line.
        if (!m_lines.empty() && !Trimmed(m_lines.back().Text).isEmpty())
            m_lines.push_back({QByteArray()});
        m_lines.push_back({'[' + QByteArray::fromStdString(section) + ']'});
        m_lines.push_back({line});
        return;
    }
    const int end = SectionEnd(header);
    int lastEntry = header;
    for (int i = header + 1; i < end; ++i) {
        const QByteArray& text = m_lines[static_cast<size_t>(i)].Text;
        const qsizetype eq = text.indexOf('=');
        if (Trimmed(text).isEmpty() || IsComment(Trimmed(text)))
            continue;
        lastEntry = i;
        if (eq >= 0 && SameName(Trimmed(text.left(eq)), key)) {
            m_lines[static_cast<size_t>(i)].Text = line;
            return;
        }
    }
    m_lines.insert(m_lines.begin() + lastEntry + 1, Line{line});
}

QByteArray CProfileFile::Bytes() const
{
    QByteArray bytes;
    for (size_t i = 0; i < m_lines.size(); ++i) {
        bytes += m_lines[i].Text;
        if (i + 1 < m_lines.size() || m_finalNewline)
            bytes += m_newline;
    }
    return bytes;
}

bool CProfileFile::Save(const QString& path, QString* error) const { return SaveFileAtomically(path, Bytes(), error); }
