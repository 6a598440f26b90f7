#pragma once
// Numbers as the record grids, the dialogs and the tool show them, and text typed into a dialog
// turned back into a number. The decimal separator is the user's locale's in the window and "."
// in the tool, so it is always passed in.

#include <QChar>
#include <QString>
#include <cstdint>
#include <optional>

QString IntegerText(int64_t value);

// General form with 15 significant digits of the value widened to double: fixed notation while
// the integer part has at most 15 digits and the magnitude is at least 0.0001, else "1.5E-5"
// style. A tie at the 15th digit rounds away from zero; -0 shows as "0", NaN as "NAN", the
// infinities as "INF" and "-INF".
QString FloatText(float value, QChar decimalSeparator);

// The first 15 significant digits of |value| (finite and non-zero) after rounding its exact value
// half away from zero, and the decimal exponent of the first digit: 0.1f gives "100000001490116"
// and -1. FloatText lays these out.
struct SignificantDigits {
    char Digits[15];
    int Exponent;
};
SignificantDigits RoundToSignificantDigits(float value);

// Optional sign, digits with at most one decimal separator, optional exponent (E or e, optional
// sign, digits); blanks around it are allowed, thousands separators are not, and at least one
// digit is needed. Returns nothing for text that does not convert.
std::optional<double> TextToNumber(const QString& text, QChar decimalSeparator);
// TextToNumber rounded to a 32-bit float; values beyond the float range do not convert.
std::optional<float> TextToFloat32(const QString& text, QChar decimalSeparator);

// The decimal separator of the user's regional settings.
QChar SystemDecimalSeparator();
