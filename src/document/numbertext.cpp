#include "document/numbertext.h"

#include <QLocale>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>

QString IntegerText(int64_t value) { return QString::number(value); }

namespace {

// Whether the exact decimal expansion of |value| (finite, non-zero) has exactly 16 significant
// digits, the last of them a 5: the one case where rounding to 15 digits is a tie. `exponent` is
// the decimal exponent of its first digit. A float is m x 2^e; with m odd and e < 0 its expansion
// ends in a 5 exactly -e places after the point, so it has exponent + 1 - e significant digits.
// With e >= 0 it is a whole number, and a whole number ending in a tie would be N x 10^k with N
// an odd number of 16 digits: then m = N x 5^k, far more than the 24 bits of a float's m.
bool IsTieAtSixteenthDigit(float value, int exponent)
{
    uint32_t bits;
    std::memcpy(&bits, &value, 4);
    const uint32_t field = (bits >> 23) & 0xFF;
    uint32_t mantissa = bits & 0x7FFFFF;
    int binaryExponent = -149;
    if (field != 0) {
        mantissa |= 0x800000;
        binaryExponent = int(field) - 150;
    }
    while ((mantissa & 1) == 0) {
        mantissa >>= 1;
        ++binaryExponent;
    }
    return binaryExponent < 0 && exponent + 1 - binaryExponent == 16;
}

// Reads "d.ddd...e[+-]xx" as written by std::to_chars in scientific form.
int ScientificDigits(const char* text, const char* end, char* digits, int count)
{
    digits[0] = text[0];
    for (int i = 1; i < count; ++i)
        digits[i] = text[i + 1];
    const char* e = text + count + 1;
    int exponent = 0;
    std::from_chars(e + (e[1] == '+' ? 2 : 1), end, exponent);
    return exponent;
}

} // namespace

SignificantDigits RoundToSignificantDigits(float value)
{
    const double wide = std::fabs(double(value));
    SignificantDigits result;
    char text[48];
    // Correctly rounded to 15 digits; only an exact tie can differ from rounding away from zero.
    const auto rounded = std::to_chars(text, text + sizeof text, wide, std::chars_format::scientific, 14);
    result.Exponent = ScientificDigits(text, rounded.ptr, result.Digits, 15);
    if (!IsTieAtSixteenthDigit(value, result.Exponent))
        return result;
    // A tie: the 16 digits are exact; drop the 5 and round the rest up.
    char exact[16];
    const auto full = std::to_chars(text, text + sizeof text, wide, std::chars_format::scientific, 15);
    result.Exponent = ScientificDigits(text, full.ptr, exact, 16);
    std::memcpy(result.Digits, exact, 15);
    int i = 14;
    while (i >= 0 && result.Digits[i] == '9')
        result.Digits[i--] = '0';
    if (i >= 0) {
        ++result.Digits[i];
    } else {
        result.Digits[0] = '1';
        ++result.Exponent;
    }
    return result;
}

QString FloatText(float value, QChar decimalSeparator)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    if (value == 0)
        return QStringLiteral("0");

    const SignificantDigits rounded = RoundToSignificantDigits(value);
    const char* digits = rounded.Digits;
    const int exponent = rounded.Exponent;
    int used = 15;
    while (used > 1 && digits[used - 1] == '0')
        --used;

    // At most a sign, "0.000", 15 digits, a separator and "E-45".
    char16_t text[32];
    int n = 0;
    const char16_t separator = decimalSeparator.unicode();
    if (value < 0)
        text[n++] = u'-';
    if (exponent >= -4 && exponent < 15) {
        if (exponent < 0) {
            text[n++] = u'0';
            text[n++] = separator;
            for (int i = -1; i > exponent; --i)
                text[n++] = u'0';
            for (int i = 0; i < used; ++i)
                text[n++] = char16_t(digits[i]);
        } else {
            for (int i = 0; i <= exponent; ++i)
                text[n++] = char16_t(i < used ? digits[i] : '0');
            if (used > exponent + 1) {
                text[n++] = separator;
                for (int i = exponent + 1; i < used; ++i)
                    text[n++] = char16_t(digits[i]);
            }
        }
    } else {
        text[n++] = char16_t(digits[0]);
        if (used > 1) {
            text[n++] = separator;
            for (int i = 1; i < used; ++i)
                text[n++] = char16_t(digits[i]);
        }
        text[n++] = u'E';
        char power[8];
        const auto written = std::to_chars(power, power + sizeof power, exponent);
        for (const char* p = power; p < written.ptr; ++p)
            text[n++] = char16_t(*p);
    }
    return QString(reinterpret_cast<const QChar*>(text), n);
}

std::optional<double> TextToNumber(const QString& text, QChar decimalSeparator)
{
    const QString trimmed = text.trimmed();
    // Rebuilt in the C locale's form for strtod, after checking the grammar ourselves so that the
    // C library's extras (hex, "inf", "nan", locale separators) are never accepted.
    std::string plain;
    qsizetype i = 0;
    const qsizetype n = trimmed.size();
    if (i < n && (trimmed[i] == QLatin1Char('+') || trimmed[i] == QLatin1Char('-')))
        plain += static_cast<char>(trimmed[i++].unicode());
    int digits = 0;
    bool separator = false;
    for (; i < n; ++i) {
        const QChar ch = trimmed[i];
        if (ch >= QLatin1Char('0') && ch <= QLatin1Char('9')) {
            plain += static_cast<char>(ch.unicode());
            ++digits;
        } else if (ch == decimalSeparator && !separator) {
            plain += '.';
            separator = true;
        } else {
            break;
        }
    }
    if (digits == 0)
        return std::nullopt;
    if (i < n && (trimmed[i] == QLatin1Char('e') || trimmed[i] == QLatin1Char('E'))) {
        plain += 'e';
        ++i;
        if (i < n && (trimmed[i] == QLatin1Char('+') || trimmed[i] == QLatin1Char('-')))
            plain += static_cast<char>(trimmed[i++].unicode());
        int exponentDigits = 0;
        for (; i < n && trimmed[i] >= QLatin1Char('0') && trimmed[i] <= QLatin1Char('9'); ++i) {
            plain += static_cast<char>(trimmed[i].unicode());
            ++exponentDigits;
        }
        if (exponentDigits == 0)
            return std::nullopt;
    }
    if (i != n)
        return std::nullopt;
    errno = 0;
    char* end = nullptr;
    const double value = std::strtod(plain.c_str(), &end);
    if (!std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<float> TextToFloat32(const QString& text, QChar decimalSeparator)
{
    const std::optional<double> value = TextToNumber(text, decimalSeparator);
    if (!value)
        return std::nullopt;
    const float single = static_cast<float>(*value);
    if (std::isinf(single)) // beyond the float range: converting it would not be a number
        return std::nullopt;
    return single;
}

QChar SystemDecimalSeparator()
{
    const QString point = QLocale::system().decimalPoint();
    return point.isEmpty() ? QLatin1Char('.') : point.front();
}
