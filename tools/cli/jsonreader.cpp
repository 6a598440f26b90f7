#include "jsonreader.h"

#include "platform/hexdigit.h"

#include <QStringDecoder>

namespace cli {
namespace {

// Deeper nesting than any of the tool's forms uses is refused before it can exhaust the stack.
constexpr int kDeepest = 32;

class CJsonParser {
public:
    explicit CJsonParser(const QByteArray& text) : m_at(text.constData()), m_end(text.constData() + text.size()) {}

    bool Document(JsonValue& value)
    {
        Space();
        if (!Value(value, 0))
            return false;
        Space();
        return m_at == m_end || Fail(QStringLiteral("text after the end of the JSON value"));
    }

    int Line() const { return m_line; }
    const QString& Error() const { return m_error; }

private:
    bool Fail(const QString& error)
    {
        if (m_error.isEmpty())
            m_error = error;
        return false;
    }

    void Space()
    {
        for (; m_at < m_end; ++m_at) {
            if (*m_at == '\n')
                ++m_line;
            else if (*m_at != ' ' && *m_at != '\t' && *m_at != '\r')
                return;
        }
    }

    bool Literal(const char* word)
    {
        for (const char* w = word; *w; ++w, ++m_at) {
            if (m_at == m_end || *m_at != *w)
                return Fail(QStringLiteral("unexpected character; expected a JSON value"));
        }
        return true;
    }

    bool Value(JsonValue& value, int depth)
    {
        value.Line = m_line;
        if (m_at == m_end)
            return Fail(QStringLiteral("unexpected end of the text"));
        if (depth > kDeepest)
            return Fail(QStringLiteral("values nested too deeply"));
        switch (*m_at) {
        case '{': return ObjectValue(value, depth);
        case '[': return ArrayValue(value, depth);
        case '"': value.Type = JsonValue::String; return StringValue(value.Text);
        case 't': value.Type = JsonValue::Boolean; value.Truth = true; return Literal("true");
        case 'f': value.Type = JsonValue::Boolean; return Literal("false");
        case 'n': value.Type = JsonValue::Null; return Literal("null");
        default: value.Type = JsonValue::Number; return NumberValue(value.Text);
        }
    }

    bool ObjectValue(JsonValue& value, int depth)
    {
        value.Type = JsonValue::Object;
        ++m_at;
        Space();
        if (m_at < m_end && *m_at == '}')
            return ++m_at, true;
        for (;;) {
            Space();
            if (m_at == m_end || *m_at != '"')
                return Fail(QStringLiteral("expected a key in quotes"));
            auto& member = value.Members.emplace_back();
            if (!StringValue(member.first))
                return false;
            Space();
            if (m_at == m_end || *m_at != ':')
                return Fail(QStringLiteral("expected ':' after the key"));
            ++m_at;
            Space();
            if (!Value(member.second, depth + 1))
                return false;
            Space();
            if (m_at < m_end && *m_at == ',') {
                ++m_at;
                continue;
            }
            if (m_at < m_end && *m_at == '}')
                return ++m_at, true;
            return Fail(QStringLiteral("expected ',' or '}'"));
        }
    }

    bool ArrayValue(JsonValue& value, int depth)
    {
        value.Type = JsonValue::Array;
        ++m_at;
        Space();
        if (m_at < m_end && *m_at == ']')
            return ++m_at, true;
        for (;;) {
            Space();
            if (!Value(value.Items.emplace_back(), depth + 1))
                return false;
            Space();
            if (m_at < m_end && *m_at == ',') {
                ++m_at;
                continue;
            }
            if (m_at < m_end && *m_at == ']')
                return ++m_at, true;
            return Fail(QStringLiteral("expected ',' or ']'"));
        }
    }

    bool NumberValue(QString& text)
    {
        const char* start = m_at;
        auto digits = [&] {
            const char* from = m_at;
            while (m_at < m_end && *m_at >= '0' && *m_at <= '9')
                ++m_at;
            return m_at > from;
        };
        if (m_at < m_end && *m_at == '-')
            ++m_at;
        if (m_at < m_end && *m_at == '0')
            ++m_at;
        else if (!digits())
            return Fail(QStringLiteral("unexpected character; expected a JSON value"));
        if (m_at < m_end && *m_at == '.' && (++m_at, !digits()))
            return Fail(QStringLiteral("a digit must follow the decimal point"));
        if (m_at < m_end && (*m_at == 'e' || *m_at == 'E')) {
            ++m_at;
            if (m_at < m_end && (*m_at == '+' || *m_at == '-'))
                ++m_at;
            if (!digits())
                return Fail(QStringLiteral("a digit must follow the exponent"));
        }
        text = QString::fromLatin1(start, m_at - start);
        return true;
    }

    bool StringValue(QString& text)
    {
        ++m_at; // the opening quote
        QByteArray utf8;
        text.clear();
        auto takeUtf8 = [&] {
            if (utf8.isEmpty())
                return true;
            QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
            text += decoder.decode(utf8);
            utf8.clear();
            return !decoder.hasError() || Fail(QStringLiteral("text that is not UTF-8"));
        };
        while (m_at < m_end && *m_at != '"') {
            const auto c = static_cast<unsigned char>(*m_at);
            if (c < 0x20)
                return Fail(QStringLiteral("a control character inside a string must be escaped"));
            if (c != '\\') {
                utf8 += char(c);
                ++m_at;
                continue;
            }
            if (!takeUtf8())
                return false;
            if (++m_at == m_end)
                break;
            const char e = *m_at++;
            switch (e) {
            case '"': text += QLatin1Char('"'); break;
            case '\\': text += QLatin1Char('\\'); break;
            case '/': text += QLatin1Char('/'); break;
            case 'b': text += QLatin1Char('\b'); break;
            case 'f': text += QLatin1Char('\f'); break;
            case 'n': text += QLatin1Char('\n'); break;
            case 'r': text += QLatin1Char('\r'); break;
            case 't': text += QLatin1Char('\t'); break;
            case 'u': {
                int unit = 0;
                for (int i = 0; i < 4; ++i) {
                    const int digit = m_at < m_end ? HexDigit(*m_at++) : -1;
                    if (digit < 0)
                        return Fail(QStringLiteral("\\u must be followed by four hexadecimal digits"));
                    unit = unit * 16 + digit;
                }
                text += QChar(char16_t(unit));
                break;
            }
            default: return Fail(QStringLiteral("unknown escape \\%1").arg(QLatin1Char(e)));
            }
        }
        if (m_at == m_end)
            return Fail(QStringLiteral("a string is not closed"));
        ++m_at;
        return takeUtf8();
    }

    const char* m_at;
    const char* m_end;
    int m_line = 1;
    QString m_error;
};

} // namespace

bool ParseJson(const QByteArray& text, JsonValue& value, int& line, QString& error)
{
    CJsonParser parser(text);
    value = JsonValue();
    if (parser.Document(value))
        return true;
    line = parser.Line();
    error = parser.Error();
    return false;
}

} // namespace cli
