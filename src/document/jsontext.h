#pragma once
// JSON text as it is written: UTF-8 gathered in a string, names escaped as the record form needs
// them. A writer that hands the text on as it goes (the tool's standard output) empties the string
// whenever enough has gathered; everyone else takes the whole text at the end.

#include <QString>
#include <string>
#include <string_view>

namespace json {

// Appends the UTF-8 bytes of the character `c`.
inline void AppendUtf8(std::string& text, char32_t c)
{
    if (c < 0x80) {
        text += static_cast<char>(c);
    } else if (c < 0x800) {
        text += static_cast<char>(0xC0 | (c >> 6));
        text += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        text += static_cast<char>(0xE0 | (c >> 12));
        text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        text += static_cast<char>(0xF0 | (c >> 18));
        text += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (c & 0x3F));
    }
}

} // namespace json

class CJsonText {
public:
    virtual ~CJsonText() = default;

    void Raw(const char* text) { m_text += text; }
    void Raw(std::string_view text) { m_text += text; }
    void Raw(char c) { m_text += c; }

    // A JSON string of `text`: quotes, backslashes and control characters escaped.
    void String(const QString& text)
    {
        m_text += '"';
        const char16_t* p = reinterpret_cast<const char16_t*>(text.utf16());
        const char16_t* end = p + text.size();
        for (; p < end; ++p) {
            const char16_t c = *p;
            switch (c) {
            case '"': m_text += "\\\""; continue;
            case '\\': m_text += "\\\\"; continue;
            case '\n': m_text += "\\n"; continue;
            case '\r': m_text += "\\r"; continue;
            case '\t': m_text += "\\t"; continue;
            default: break;
            }
            // Control characters, C1 ones too (bytes that Windows-1252 leaves undefined), stay visible.
            if (c < 0x20 || (c >= 0x7F && c < 0xA0)) {
                static const char kHex[] = "0123456789abcdef";
                m_text += "\\u00";
                m_text += kHex[c >> 4];
                m_text += kHex[c & 0xF];
            } else if (c >= 0xD800 && c < 0xDC00 && p + 1 < end && p[1] >= 0xDC00 && p[1] < 0xE000) {
                json::AppendUtf8(m_text, 0x10000 + ((char32_t(c) - 0xD800) << 10) + (char32_t(p[1]) - 0xDC00));
                ++p;
            } else {
                json::AppendUtf8(m_text, c);
            }
        }
        m_text += '"';
        Gathered();
    }

    // The text written and not yet handed on.
    std::string& Text() { return m_text; }

protected:
    // After each string: a writer that hands the text on may do so here.
    virtual void Gathered() { }

    std::string m_text;
};

namespace json {

// "[]", or the elements one to a line, each `indent` plus two spaces in, the bracket at `indent`.
template <typename Element>
void Array(CJsonText& out, int count, const char* indent, Element element)
{
    if (count == 0) {
        out.Raw("[]");
        return;
    }
    out.Raw("[\n");
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            out.Raw(",\n");
        out.Raw(indent);
        out.Raw("  ");
        element(i);
    }
    out.Raw('\n');
    out.Raw(indent);
    out.Raw(']');
}

} // namespace json
