#include "document/numbertext.h"

#include <QLocale>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <cstdio>
#include <limits>

QString IntegerText(int64_t value)
{
    return QString::number(value);
}

namespace {

// The 15 significant digits of |value| (value finite and non-zero), rounded half away from zero
// from the exact decimal expansion, and the decimal exponent of the first digit.
void SignificantDigits(double value, char digits[15], int& exponent)
{
    // A double widened from a float has an exact decimal expansion of at most ~110 significant
    // digits, so 120 digits after the first make the expansion exact and a tie detectable.
    char buffer[160];
    std::snprintf(buffer, sizeof buffer, "%.120e", std::fabs(value));
    // buffer: d.ddddd...e[+-]xx
    const char* mantissa = buffer;
    const char* e = std::strchr(buffer, 'e');
    exponent = std::atoi(e + 1);
    char all[122];
    int count = 0;
    for (const char* p = mantissa; p < e; ++p) {
        if (*p != '.')
            all[count++] = *p;
    }
    // Round at 15 digits: the 16th digit decides, ties (16th = 5, rest zero) go away from zero.
    bool roundUp = all[15] >= '5';
    for (int i = 0; i < 15; ++i)
        digits[i] = all[i];
    if (roundUp) {
        int i = 14;
        while (i >= 0 && digits[i] == '9') {
            digits[i] = '0';
            --i;
        }
        if (i >= 0) {
            ++digits[i];
        } else {
            digits[0] = '1';
            for (int j = 1; j < 15; ++j)
                digits[j] = '0';
            ++exponent;
        }
    }
}

} // namespace

QString FloatText(float value, QChar decimalSeparator)
{
    const double wide = value;
    if (std::isnan(wide))
        return QStringLiteral("NAN");
    if (std::isinf(wide))
        return wide > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    if (wide == 0)
        return QStringLiteral("0");

    char digits[15];
    int exponent = 0;
    SignificantDigits(wide, digits, exponent);
    int used = 15;
    while (used > 1 && digits[used - 1] == '0')
        --used;

    QString text;
    if (wide < 0)
        text += QLatin1Char('-');
    if (exponent >= -4 && exponent < 15) {
        if (exponent < 0) {
            text += QLatin1Char('0');
            text += decimalSeparator;
            for (int i = -1; i > exponent; --i)
                text += QLatin1Char('0');
            for (int i = 0; i < used; ++i)
                text += QLatin1Char(digits[i]);
        } else {
            for (int i = 0; i <= exponent; ++i)
                text += QLatin1Char(i < used ? digits[i] : '0');
            if (used > exponent + 1) {
                text += decimalSeparator;
                for (int i = exponent + 1; i < used; ++i)
                    text += QLatin1Char(digits[i]);
            }
        }
    } else {
        text += QLatin1Char(digits[0]);
        if (used > 1) {
            text += decimalSeparator;
            for (int i = 1; i < used; ++i)
                text += QLatin1Char(digits[i]);
        }
        text += QLatin1Char('E');
        text += QString::number(exponent);
    }
    return text;
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
