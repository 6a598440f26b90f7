#pragma once
// JSON text written as it goes: UTF-8 gathered in a buffer and handed to standard output in
// pieces of a few dozen kilobytes.

#include "cli.h"

#include <QString>
#include <string>

namespace cli {

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

// Collects UTF-8 and hands it to standard output whenever a buffer's worth has gathered.
class CJsonWriter {
public:
    CJsonWriter() { m_buffer.reserve(kFlushAt + 4096); }
    ~CJsonWriter() { Flush(); }

    void Raw(const char* text) { m_buffer += text; }
    void Raw(char c) { m_buffer += c; }

    // A JSON string of `text`: quotes, backslashes and control characters escaped.
    void String(const QString& text)
    {
        m_buffer += '"';
        const char16_t* p = reinterpret_cast<const char16_t*>(text.utf16());
        const char16_t* end = p + text.size();
        for (; p < end; ++p) {
            const char16_t c = *p;
            switch (c) {
            case '"': m_buffer += "\\\""; continue;
            case '\\': m_buffer += "\\\\"; continue;
            case '\n': m_buffer += "\\n"; continue;
            case '\r': m_buffer += "\\r"; continue;
            case '\t': m_buffer += "\\t"; continue;
            default: break;
            }
            // Control characters, C1 ones too (bytes that Windows-1252 leaves undefined), stay visible.
            if (c < 0x20 || (c >= 0x7F && c < 0xA0)) {
                static const char kHex[] = "0123456789abcdef";
                m_buffer += "\\u00";
                m_buffer += kHex[c >> 4];
                m_buffer += kHex[c & 0xF];
            } else if (c >= 0xD800 && c < 0xDC00 && p + 1 < end && p[1] >= 0xDC00 && p[1] < 0xE000) {
                AppendUtf8(m_buffer, 0x10000 + ((char32_t(c) - 0xD800) << 10) + (char32_t(p[1]) - 0xDC00));
                ++p;
            } else {
                AppendUtf8(m_buffer, c);
            }
        }
        m_buffer += '"';
        if (m_buffer.size() >= kFlushAt)
            Flush();
    }

    void Flush()
    {
        PrintBytes(m_buffer.data(), m_buffer.size());
        m_buffer.clear();
    }

private:
    static constexpr size_t kFlushAt = 64 * 1024;
    std::string m_buffer;
};

// "[]", or the elements one to a line, each `indent` plus two spaces in, the bracket at `indent`.
template <typename Element>
void Array(CJsonWriter& out, int count, const char* indent, Element element)
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

} // namespace cli
