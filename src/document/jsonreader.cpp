#include "document/jsonreader.h"

#include "document/jsontext.h"

#include "platform/hexdigit.h"

#include <QIODevice>
#include <cstring>

namespace {

// Deeper nesting than any of the tool's forms uses is refused before it can exhaust the stack.
constexpr int kDeepest = 32;
// What a device is read by: large enough that reading costs no more than it would all at once.
constexpr qint64 kPiece = 1 << 16;

// The length of the well-formed UTF-8 sequence at `at` (lead byte 0x80 or above), or 0.
int Utf8Length(const unsigned char* at, const unsigned char* end)
{
    const unsigned char lead = *at;
    int length = lead >= 0xF0 && lead <= 0xF4 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 && lead <= 0xDF ? 2 : 0;
    if (length == 0 || end - at < length)
        return 0;
    for (int i = 1; i < length; ++i) {
        if ((at[i] & 0xC0) != 0x80)
            return 0;
    }
    // Overlong forms, surrogates and values past U+10FFFF.
    if ((lead == 0xE0 && at[1] < 0xA0) || (lead == 0xED && at[1] >= 0xA0) || (lead == 0xF0 && at[1] < 0x90)
        || (lead == 0xF4 && at[1] >= 0x90))
        return 0;
    return length;
}

} // namespace

CJsonReader::CJsonReader(const QByteArray& text) : m_at(text.constData()), m_end(text.constData() + text.size()) { }

CJsonReader::CJsonReader(QIODevice& device, qint64 most, const QString& tooLong)
    : m_at(nullptr), m_end(nullptr), m_device(&device), m_most(most), m_tooLong(tooLong)
{
}

bool CJsonReader::Refill(std::ptrdiff_t count)
{
    if (!m_device || !m_error.isEmpty())
        return false;
    // Keep what is left at the front of the window, then fill the window behind it.
    const qint64 left = m_end - m_at;
    if (left > 0 && m_at != m_window.constData())
        std::memmove(m_window.data(), m_at, static_cast<size_t>(left));
    const qint64 room = std::max<qint64>(kPiece, count);
    m_window.resize(left + room);
    qint64 have = left;
    while (have < count) {
        const qint64 got = m_device->read(m_window.data() + have, room - (have - left));
        if (got < 0) {
            Fail(QStringLiteral("cannot read on: %1").arg(m_device->errorString()));
            break;
        }
        if (got == 0)
            break;
        have += got;
        m_read += got;
        if (m_read > m_most) {
            Fail(m_tooLong);
            break;
        }
    }
    m_window.resize(have);
    m_at = m_window.constData();
    m_end = m_at + have;
    return m_end - m_at >= count && m_error.isEmpty();
}

bool CJsonReader::Fail(const QString& error)
{
    if (m_error.isEmpty())
        m_error = error;
    return false;
}

void CJsonReader::Space()
{
    for (; Have(1); ++m_at) {
        if (*m_at == '\n')
            ++m_line;
        else if (*m_at != ' ' && *m_at != '\t' && *m_at != '\r')
            return;
    }
}

bool CJsonReader::Literal(const char* word)
{
    for (const char* w = word; *w; ++w, ++m_at) {
        if (!Have(1) || *m_at != *w)
            return Fail(QStringLiteral("unexpected character; expected a JSON value"));
    }
    return true;
}

bool CJsonReader::Value(JsonValue& value)
{
    Space();
    return Value(value, static_cast<int>(m_first.size()));
}

bool CJsonReader::Value(JsonValue& value, int depth)
{
    value.Line = m_line;
    if (!Have(1))
        return Fail(QStringLiteral("unexpected end of the text"));
    if (depth > kDeepest)
        return Fail(QStringLiteral("values nested too deeply"));
    bool more = false;
    switch (*m_at) {
    case '{': {
        value.Type = JsonValue::Object;
        Begin('{');
        std::string key;
        while (NextMember(more, key) && more) {
            value.Members.push_back({std::move(key), JsonValue()});
            if (!Value(value.Members.back().Value, depth + 1))
                return false;
        }
        return m_error.isEmpty();
    }
    case '[':
        value.Type = JsonValue::Array;
        Begin('[');
        while (NextItem(more) && more) {
            if (!Value(value.Items.emplace_back(), depth + 1))
                return false;
        }
        return m_error.isEmpty();
    case '"': value.Type = JsonValue::String; return StringValue(value.Text);
    case 't':
        value.Type = JsonValue::Boolean;
        value.Truth = true;
        return Literal("true");
    case 'f': value.Type = JsonValue::Boolean; return Literal("false");
    case 'n': value.Type = JsonValue::Null; return Literal("null");
    default: value.Type = JsonValue::Number; return NumberValue(value.Text);
    }
}

bool CJsonReader::Begin(char open)
{
    Space();
    if (!Have(1) || *m_at != open)
        return Fail(open == '{' ? QStringLiteral("expected an object") : QStringLiteral("expected an array"));
    ++m_at;
    m_first.push_back(true);
    return true;
}

// Past the ',' before the next member or item, or past the closing bracket.
bool CJsonReader::Next(bool& more, char close)
{
    more = false;
    Space();
    if (Have(1) && *m_at == close) {
        ++m_at;
        m_first.pop_back();
        return true;
    }
    if (!m_first.back()) {
        if (!Have(1) || *m_at != ',')
            return Fail(close == '}' ? QStringLiteral("expected ',' or '}'") : QStringLiteral("expected ',' or ']'"));
        ++m_at;
        Space();
    }
    m_first.back() = false;
    more = true;
    return true;
}

bool CJsonReader::NextMember(bool& more, std::string& key)
{
    if (!Next(more, '}') || !more)
        return m_error.isEmpty();
    if (!Have(1) || *m_at != '"')
        return Fail(QStringLiteral("expected a key in quotes"));
    if (!StringValue(key))
        return false;
    Space();
    if (!Have(1) || *m_at != ':')
        return Fail(QStringLiteral("expected ':' after the key"));
    ++m_at;
    Space();
    return true;
}

bool CJsonReader::NextItem(bool& more) { return Next(more, ']'); }

bool CJsonReader::End()
{
    Space();
    if (!m_error.isEmpty())
        return false;
    return !Have(1) || Fail(QStringLiteral("text after the end of the JSON value"));
}

bool CJsonReader::NumberValue(std::string& text)
{
    // Gathered as it is read: from a device, the number's start may be gone from the window.
    text.clear();
    auto take = [&] { text += *m_at++; };
    auto digits = [&] {
        const size_t from = text.size();
        while (Have(1) && *m_at >= '0' && *m_at <= '9')
            take();
        return text.size() > from;
    };
    if (Have(1) && *m_at == '-')
        take();
    if (Have(1) && *m_at == '0')
        take();
    else if (!digits())
        return Fail(QStringLiteral("unexpected character; expected a JSON value"));
    if (Have(1) && *m_at == '.' && (take(), !digits()))
        return Fail(QStringLiteral("a digit must follow the decimal point"));
    if (Have(1) && (*m_at == 'e' || *m_at == 'E')) {
        take();
        if (Have(1) && (*m_at == '+' || *m_at == '-'))
            take();
        if (!digits())
            return Fail(QStringLiteral("a digit must follow the exponent"));
    }
    return m_error.isEmpty();
}

bool CJsonReader::StringValue(std::string& text)
{
    ++m_at; // the opening quote
    text.clear();
    auto hex4 = [&](char32_t& unit) {
        unit = 0;
        for (int i = 0; i < 4; ++i) {
            const int digit = Have(1) ? HexDigit(*m_at++) : -1;
            if (digit < 0)
                return Fail(QStringLiteral("\\u must be followed by four hexadecimal digits"));
            unit = unit * 16 + static_cast<char32_t>(digit);
        }
        return true;
    };
    while (Have(1) && *m_at != '"') {
        const auto c = static_cast<unsigned char>(*m_at);
        if (c < 0x20)
            return Fail(QStringLiteral("a control character inside a string must be escaped"));
        if (c >= 0x80) {
            Have(4); // as much of the sequence as there is
            const int length =
                Utf8Length(reinterpret_cast<const unsigned char*>(m_at), reinterpret_cast<const unsigned char*>(m_end));
            if (length == 0)
                return Fail(QStringLiteral("text that is not UTF-8"));
            text.append(m_at, static_cast<size_t>(length));
            m_at += length;
            continue;
        }
        ++m_at;
        if (c != '\\') {
            text += static_cast<char>(c);
            continue;
        }
        if (!Have(1))
            break;
        const char e = *m_at++;
        switch (e) {
        case '"': text += '"'; break;
        case '\\': text += '\\'; break;
        case '/': text += '/'; break;
        case 'b': text += '\b'; break;
        case 'f': text += '\f'; break;
        case 'n': text += '\n'; break;
        case 'r': text += '\r'; break;
        case 't': text += '\t'; break;
        case 'u': {
            char32_t unit = 0, low = 0;
            if (!hex4(unit))
                return false;
            if (unit >= 0xD800 && unit < 0xDC00) {
                if (!Have(2) || m_at[0] != '\\' || m_at[1] != 'u')
                    return Fail(QStringLiteral("\\u%1 is half a character")
                                    .arg(static_cast<uint>(unit), 4, 16, QLatin1Char('0')));
                m_at += 2;
                if (!hex4(low))
                    return false;
                if (low < 0xDC00 || low >= 0xE000)
                    return Fail(QStringLiteral("\\u%1 is half a character")
                                    .arg(static_cast<uint>(unit), 4, 16, QLatin1Char('0')));
                unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
            } else if (unit >= 0xDC00 && unit < 0xE000) {
                return Fail(
                    QStringLiteral("\\u%1 is half a character").arg(static_cast<uint>(unit), 4, 16, QLatin1Char('0')));
            }
            json::AppendUtf8(text, unit);
            break;
        }
        default: return Fail(QStringLiteral("unknown escape \\%1").arg(QLatin1Char(e)));
        }
    }
    if (!Have(1))
        return Fail(QStringLiteral("a string is not closed"));
    ++m_at;
    return true;
}
