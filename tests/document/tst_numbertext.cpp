#include "document/numbertext.h"

#include <QTest>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace {

// Exact decimal expansions of floats, by big-integer arithmetic in base 10^9: a float is
// m x 2^e, that is m x 2^e for e >= 0 and m x 5^-e / 10^-e for e < 0.
class CExactDecimal {
public:
    CExactDecimal()
    {
        m_powersOfTwo.push_back({1});
        for (int i = 1; i <= 104; ++i)
            m_powersOfTwo.push_back(Times(m_powersOfTwo.back(), 2));
        m_powersOfFive.push_back({1});
        for (int i = 1; i <= 149; ++i)
            m_powersOfFive.push_back(Times(m_powersOfFive.back(), 5));
    }

    // The 15 significant digits rounded half away from zero (from the 16th digit alone, which is
    // exact here), and the decimal exponent of the first.
    std::pair<std::string, int> Rounded(float value) const
    {
        uint32_t bits;
        std::memcpy(&bits, &value, 4);
        const uint32_t field = (bits >> 23) & 0xFF;
        const uint32_t mantissa = (bits & 0x7FFFFF) | (field ? 0x800000u : 0u);
        const int e = field ? int(field) - 150 : -149;
        const std::string all = Digits(Times(e >= 0 ? m_powersOfTwo[size_t(e)] : m_powersOfFive[size_t(-e)], mantissa));
        int exponent = int(all.size()) - 1 + std::min(e, 0);
        std::string digits = (all + std::string(16, '0')).substr(0, 16);
        const bool up = digits[15] >= '5';
        digits.resize(15);
        if (up) {
            int i = 14;
            while (i >= 0 && digits[size_t(i)] == '9')
                digits[size_t(i--)] = '0';
            if (i >= 0) {
                ++digits[size_t(i)];
            } else {
                digits[0] = '1';
                ++exponent;
            }
        }
        return {digits, exponent};
    }

private:
    using Big = std::vector<uint32_t>; // base 10^9, least significant first

    static Big Times(const Big& a, uint32_t factor)
    {
        Big out;
        uint64_t carry = 0;
        for (uint32_t limb : a) {
            const uint64_t product = uint64_t(limb) * factor + carry;
            out.push_back(uint32_t(product % 1000000000u));
            carry = product / 1000000000u;
        }
        while (carry) {
            out.push_back(uint32_t(carry % 1000000000u));
            carry /= 1000000000u;
        }
        return out;
    }

    static std::string Digits(const Big& a)
    {
        std::string text = std::to_string(a.back());
        for (size_t i = a.size() - 1; i-- > 0;) {
            const std::string limb = std::to_string(a[i]);
            text += std::string(9 - limb.size(), '0') + limb;
        }
        return text;
    }

    std::vector<Big> m_powersOfTwo;
    std::vector<Big> m_powersOfFive;
};

} // namespace

class TestNumberText : public QObject {
    Q_OBJECT

private slots:
    void floatTexts_data()
    {
        QTest::addColumn<float>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("0.1") << 0.1f << QStringLiteral("0.100000001490116");
        QTest::newRow("123456.789") << 123456.789f << QStringLiteral("123456.7890625");
        QTest::newRow("0.0002 fixed") << 0.0002f << QStringLiteral("0.000199999994947575");
        QTest::newRow("0.0001 scientific") << 0.0001f << QStringLiteral("9.99999974737875E-5");
        QTest::newRow("negative tie") << -61.03521728515625f << QStringLiteral("-61.0352172851563");
        QTest::newRow("negative") << -2.25f << QStringLiteral("-2.25");
        QTest::newRow("zero") << 0.0f << QStringLiteral("0");
        QTest::newRow("negative zero") << -0.0f << QStringLiteral("0");
        QTest::newRow("15 integer digits") << 123456788103168.0f << QStringLiteral("123456788103168");
        QTest::newRow("nearest float to 1e15") << 1e15f << QStringLiteral("999999986991104");
        QTest::newRow("16 integer digits") << 1e16f << QStringLiteral("1.00000002725642E16");
        QTest::newRow("smallest denormal")
            << std::numeric_limits<float>::denorm_min() << QStringLiteral("1.40129846432482E-45");
        QTest::newRow("NaN") << std::numeric_limits<float>::quiet_NaN() << QStringLiteral("NAN");
        QTest::newRow("inf") << std::numeric_limits<float>::infinity() << QStringLiteral("INF");
        QTest::newRow("-inf") << -std::numeric_limits<float>::infinity() << QStringLiteral("-INF");
    }
    void floatTexts()
    {
        QFETCH(float, value);
        QFETCH(QString, text);
        QCOMPARE(FloatText(value, QLatin1Char('.')), text);
    }

    // Against the exact expansion on random bit patterns of every exponent, subnormals included,
    // and on every exponent with the smallest, largest and middle mantissas.
    void digitsAreTheExactValueRounded()
    {
        const CExactDecimal exact;
        std::mt19937 random(15);
        std::vector<uint32_t> patterns;
        for (uint32_t field = 0; field < 255; ++field) {
            for (uint32_t mantissa : {0u, 1u, 0x400000u, 0x7FFFFFu})
                patterns.push_back(field << 23 | mantissa);
        }
        while (patterns.size() < 1100000)
            patterns.push_back(random());
        int compared = 0;
        for (const uint32_t pattern : patterns) {
            float value;
            std::memcpy(&value, &pattern, 4);
            if (!std::isfinite(value) || value == 0)
                continue;
            const SignificantDigits digits = RoundToSignificantDigits(value);
            const auto [expected, exponent] = exact.Rounded(value);
            if (std::string(digits.Digits, 15) != expected || digits.Exponent != exponent)
                QFAIL(qPrintable(QStringLiteral("%1: %2E%3, expected %4E%5")
                                     .arg(pattern, 8, 16, QLatin1Char('0'))
                                     .arg(QLatin1String(digits.Digits, 15))
                                     .arg(digits.Exponent)
                                     .arg(QString::fromStdString(expected))
                                     .arg(exponent)));
            ++compared;
        }
        QVERIFY(compared > 1000000);
    }

    void decimalSeparatorIsPassedIn()
    {
        QCOMPARE(FloatText(12.5f, QLatin1Char(',')), QStringLiteral("12,5"));
        QCOMPARE(FloatText(0.0001f, QLatin1Char(',')), QStringLiteral("9,99999974737875E-5"));
        QCOMPARE(IntegerText(-42), QStringLiteral("-42"));
    }

    void textToNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QChar>("separator");
        QTest::addColumn<bool>("converts");
        QTest::addColumn<double>("value");
        const QChar point = QLatin1Char('.');
        const QChar comma = QLatin1Char(',');
        QTest::newRow("plain") << QStringLiteral("12.5") << point << true << 12.5;
        QTest::newRow("comma under point") << QStringLiteral("12,5") << point << false << 0.0;
        QTest::newRow("comma under comma") << QStringLiteral("12,5") << comma << true << 12.5;
        QTest::newRow("point under comma") << QStringLiteral("12.5") << comma << false << 0.0;
        QTest::newRow("blanks and sign") << QStringLiteral("  -3e2 ") << point << true << -300.0;
        QTest::newRow("exponent sign") << QStringLiteral("+1.5E-1") << point << true << 0.15;
        QTest::newRow("leading separator") << QStringLiteral(".5") << point << true << 0.5;
        QTest::newRow("trailing separator") << QStringLiteral("5.") << point << true << 5.0;
        QTest::newRow("thousands") << QStringLiteral("1,000.5") << point << false << 0.0;
        QTest::newRow("two separators") << QStringLiteral("1.2.3") << point << false << 0.0;
        QTest::newRow("empty") << QString() << point << false << 0.0;
        QTest::newRow("separator only") << QStringLiteral(".") << point << false << 0.0;
        QTest::newRow("exponent only") << QStringLiteral("e5") << point << false << 0.0;
        QTest::newRow("exponent without digits") << QStringLiteral("1e") << point << false << 0.0;
        QTest::newRow("hexadecimal") << QStringLiteral("0x10") << point << false << 0.0;
        QTest::newRow("inf") << QStringLiteral("inf") << point << false << 0.0;
        QTest::newRow("nan") << QStringLiteral("nan") << point << false << 0.0;
        QTest::newRow("inner blank") << QStringLiteral("1 2") << point << false << 0.0;
        QTest::newRow("overflow") << QStringLiteral("1e999") << point << false << 0.0;
    }
    void textToNumber()
    {
        QFETCH(QString, text);
        QFETCH(QChar, separator);
        QFETCH(bool, converts);
        QFETCH(double, value);
        const std::optional<double> result = TextToNumber(text, separator);
        QCOMPARE(result.has_value(), converts);
        if (converts)
            QCOMPARE(*result, value);
    }

    void floatRangeIsChecked()
    {
        QCOMPARE(TextToFloat32(QStringLiteral("0.1"), QLatin1Char('.')).value(), 0.1f);
        QVERIFY(!TextToFloat32(QStringLiteral("1e39"), QLatin1Char('.')));
        QCOMPARE(TextToFloat32(QStringLiteral("-3.4e38"), QLatin1Char('.')).value(), -3.4e38f);
    }
};

QTEST_GUILESS_MAIN(TestNumberText)
#include "tst_numbertext.moc"
