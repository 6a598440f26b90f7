#include "mapview/tarnconfig.h"

#include "platform/hexdigit.h"
#include "platform/profile.h"

#include <QFileInfo>

namespace {

const char* const kSections[3] = {"Keysite symbol", "Airbase symbol", "SAM symbol"};

constexpr int32_t kReadDefaultShape = 2;
constexpr int32_t kReadDefaultSize = 1;
constexpr int32_t kReadDefaultColor = 32768;

// Up to eight hexadecimal digits fill the 32 bits, as the value's bit pattern.
bool ParseHex(const std::string& digits, uint32_t& value)
{
    if (digits.empty() || digits.size() > 8)
        return false;
    value = 0;
    for (char c : digits) {
        const int d = HexDigit(c);
        if (d < 0)
            return false;
        value = value * 16 + static_cast<uint32_t>(d);
    }
    return true;
}

int32_t ReadValue(const CProfileFile& profile, const char* section, const char* key, int32_t fallback)
{
    const std::string text = profile.Value(section, key).value_or(std::string());
    int32_t value = fallback;
    return ParseProfileInteger(text, value) ? value : fallback;
}

} // namespace

bool ParseProfileInteger(const std::string& text, int32_t& value)
{
    uint32_t bits = 0;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        if (!ParseHex(text.substr(2), bits))
            return false;
        value = static_cast<int32_t>(bits);
        return true;
    }
    size_t at = 0;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        negative = text[at] == '-';
        ++at;
    }
    if (at < text.size() && text[at] == '$') {
        if (!ParseHex(text.substr(at + 1), bits))
            return false;
        value = static_cast<int32_t>(negative ? 0u - bits : bits);
        return true;
    }
    if (at == text.size())
        return false;
    int64_t magnitude = 0;
    for (; at < text.size(); ++at) {
        if (text[at] < '0' || text[at] > '9')
            return false;
        magnitude = magnitude * 10 + (text[at] - '0');
        if (magnitude > int64_t(1) << 31)
            return false;
    }
    const int64_t result = negative ? -magnitude : magnitude;
    if (result > INT32_MAX)
        return false;
    value = static_cast<int32_t>(result);
    return true;
}

CTarnConfig::CTarnConfig()
{
    Styles[KeysiteKind] = {SquareShape, 1, 32768};
    Styles[AirbaseKind] = {CircleShape, 2, 65535};
    Styles[SamKind] = {CrossShape, 2, 65535};
}

bool CTarnConfig::Load(const QString& fileName)
{
    if (!QFileInfo(fileName).isFile())
        return false;
    CProfileFile profile;
    if (!profile.Load(fileName))
        return false;
    for (int kind = 0; kind < 3; ++kind) {
        SymbolStyle& style = Styles[kind];
        style.Shape = static_cast<uint8_t>(ReadValue(profile, kSections[kind], "Shape", kReadDefaultShape) & 0xFF);
        style.Size = ReadValue(profile, kSections[kind], "Size", kReadDefaultSize);
        style.Color = ReadValue(profile, kSections[kind], "Color", kReadDefaultColor);
    }
    return true;
}

bool CTarnConfig::Save(const QString& fileName, QString* message, QString* reason) const
{
    CProfileFile profile;
    QString why;
    bool ok = profile.Load(fileName, &why);
    if (ok) {
        for (int kind = 0; kind < 3; ++kind) {
            const SymbolStyle& style = Styles[kind];
            profile.SetValue(kSections[kind], "Shape", std::to_string(style.Shape));
            profile.SetValue(kSections[kind], "Size", std::to_string(style.Size));
            profile.SetValue(kSections[kind], "Color", std::to_string(style.Color));
        }
        ok = profile.Save(fileName, &why);
    }
    if (!ok) {
        if (message)
            *message = QStringLiteral("Unable to write to %1").arg(fileName);
        if (reason)
            *reason = why;
    }
    return ok;
}

QString SettingsFileNameFor(const QString& executablePath)
{
    qsizetype separator = -1;
    for (const QChar c : {QLatin1Char('\\'), QLatin1Char('/'), QLatin1Char(':')})
        separator = std::max(separator, executablePath.lastIndexOf(c));
    const qsizetype dot = executablePath.lastIndexOf(QLatin1Char('.'));
    const QString stem = dot > separator ? executablePath.left(dot) : executablePath;
    return stem + QStringLiteral(".INI");
}
