#include "platform/ansitext.h"

namespace {

// 0x80..0x9F of Windows-1252; 0 marks the five bytes the code page leaves undefined, which
// Windows maps to the C1 control of the same value.
constexpr char16_t kHighControls[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                        0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                        0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                        0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char16_t Decode(unsigned char byte)
{
    if (byte >= 0x80 && byte <= 0x9F && kHighControls[byte - 0x80] != 0)
        return kHighControls[byte - 0x80];
    return byte;
}

} // namespace

QString AnsiToQString(const std::string& ansi)
{
    QString text(static_cast<qsizetype>(ansi.size()), Qt::Uninitialized);
    QChar* out = text.data();
    for (unsigned char byte : ansi)
        *out++ = QChar(Decode(byte));
    return text;
}

std::string QStringToAnsi(const QString& text)
{
    std::string ansi;
    ansi.reserve(static_cast<size_t>(text.size()));
    for (QChar ch : text) {
        const char16_t unit = ch.unicode();
        if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) {
            ansi.push_back(static_cast<char>(unit));
            continue;
        }
        char mapped = '?';
        for (int i = 0; i < 32; ++i) {
            if (Decode(static_cast<unsigned char>(0x80 + i)) == unit) {
                mapped = static_cast<char>(0x80 + i);
                break;
            }
        }
        ansi.push_back(mapped);
    }
    return ansi;
}
