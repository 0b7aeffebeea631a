#include "NumberText.h"

#include "Errors.h"

#include <array>
#include <charconv>
#include <cmath>
#include <string>

namespace kalvo {

namespace {

NumberSeparators GLocaleSeparators;

bool IsDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// A finite, non-zero value as 0.D1 D2 ... Dn x 10^Exponent with D1 != 0, Count digits in Digits.
struct DecimalDigits
{
    static constexpr int Capacity = 19; // 18 significant digits and one for a carry
    std::array<char, Capacity> Digits{};
    int Count = 0;
    int Exponent = 0;
    bool Negative = false;
};

// The value's 18 significant decimal digits, rounded to nearest.
DecimalDigits ToDigits18(long double value)
{
    DecimalDigits d;
    d.Negative = std::signbit(value);
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                      std::chars_format::scientific, 17);
    // "d.ddddddddddddddddde+XX"
    const char* p = buffer;
    for (; p != result.ptr && *p != 'e'; ++p) {
        if (*p >= '0' && *p <= '9')
            d.Digits[d.Count++] = *p;
    }
    int exponent = 0;
    std::from_chars(p + 1 + (p[1] == '+'), result.ptr, exponent);
    d.Exponent = exponent + 1;
    return d;
}

// Keeps `keep` leading digits, rounding half away from zero on the first dropped one. A carry
// out of the leading digit raises the exponent. keep < 0 leaves nothing (the value rounds to 0).
void RoundDigits(DecimalDigits& d, int keep)
{
    if (keep >= d.Count)
        return;
    if (keep < 0) {
        d.Count = 0;
        return;
    }
    const bool up = d.Digits[keep] >= '5';
    d.Count = keep;
    if (!up)
        return;
    int i = keep - 1;
    while (i >= 0 && d.Digits[i] == '9')
        d.Digits[i--] = '0';
    if (i >= 0) {
        ++d.Digits[i];
    } else {
        // All kept digits were 9 (or none was kept): the value becomes 1 in the next place up.
        for (int j = d.Count; j > 0; --j)
            d.Digits[j] = d.Digits[j - 1];
        d.Digits[0] = '1';
        ++d.Count;
        ++d.Exponent;
    }
}

void DropTrailingZeros(DecimalDigits& d)
{
    while (d.Count > 0 && d.Digits[d.Count - 1] == '0')
        --d.Count;
}

// The digit at position i of the number's decimal expansion, counted from the first significant
// digit (negative positions are leading zeros, positions past Count trailing zeros).
char DigitAt(const DecimalDigits& d, int i)
{
    return i >= 0 && i < d.Count ? d.Digits[i] : '0';
}

QString NonFiniteText(long double value)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
}

struct Pattern
{
    int MinIntegerDigits = 0;
    int MinFractionDigits = 0;
    int MaxFractionDigits = 0;
    bool Grouping = false;
};

Pattern ParsePattern(QStringView pattern)
{
    Pattern p;
    bool inFraction = false;
    bool zeroSeen = false;
    for (const QChar c : pattern) {
        if (c == u',') {
            p.Grouping = true;
        } else if (c == u'.') {
            inFraction = true;
        } else if (c == u'0' || c == u'#') {
            if (inFraction) {
                ++p.MaxFractionDigits;
                if (c == u'0')
                    p.MinFractionDigits = p.MaxFractionDigits;
            } else {
                // Every placeholder from the first "0" on is a required integer digit.
                zeroSeen = zeroSeen || c == u'0';
                if (zeroSeen)
                    ++p.MinIntegerDigits;
            }
        }
    }
    return p;
}

} // namespace

NumberSeparators LocaleSeparators()
{
    return GLocaleSeparators;
}

void SetLocaleSeparators(NumberSeparators separators)
{
    GLocaleSeparators = separators;
}

std::optional<long double> ReadNumber(QStringView text, NumberSeparators separators)
{
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n && text[i] == u' ')
        ++i;

    std::string ascii; // the number in the form std::from_chars reads
    ascii.reserve(std::min<qsizetype>(n, 64) + 8);
    bool negative = false;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }

    bool anyDigit = false;
    for (; i < n && IsDigit(text[i]); ++i) {
        ascii += char(text[i].unicode());
        anyDigit = true;
    }
    bool separator = false;
    if (i < n && text[i] == separators.Decimal) {
        separator = true;
        ++i;
        ascii += '.';
        for (; i < n && IsDigit(text[i]); ++i) {
            ascii += char(text[i].unicode());
            anyDigit = true;
        }
    }
    if (!anyDigit && !separator)
        return std::nullopt;

    int exponent = 0;
    if (i < n && (text[i] == u'E' || text[i] == u'e')) {
        ++i;
        bool negativeExponent = false;
        if (i < n && (text[i] == u'+' || text[i] == u'-')) {
            negativeExponent = text[i] == u'-';
            ++i;
        }
        // The reader stops taking exponent digits once the exponent has reached 500.
        for (; i < n && IsDigit(text[i]) && exponent < 500; ++i)
            exponent = exponent * 10 + (text[i].unicode() - u'0');
        if (negativeExponent)
            exponent = -exponent;
    }

    while (i < n && text[i] == u' ')
        ++i;
    if (i != n)
        return std::nullopt;
    if (!anyDigit) // a lone decimal separator reads as 0
        return 0.0L;

    ascii += 'e';
    ascii += std::to_string(exponent);
    long double value = 0;
    const auto result = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value,
                                        std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        // Out of range is an overflow when the leading digit stands left of the point.
        const auto firstNonZero = ascii.find_first_of("123456789");
        const auto point = std::min(ascii.find('.'), ascii.find('e'));
        const long long magnitude =
            (static_cast<long long>(point) - static_cast<long long>(firstNonZero)) + exponent;
        if (magnitude > 0)
            return std::nullopt;
        value = 0; // too small for the extended format: rounds to zero, as the reader may
    } else if (result.ec != std::errc() || result.ptr != ascii.data() + ascii.size()) {
        return std::nullopt;
    }
    return negative ? -value : value;
}

long double TextToNumber(QStringView text, NumberSeparators separators)
{
    if (const auto value = ReadNumber(text, separators))
        return *value;
    throw EConvertError::NotAFloat(text.toString());
}

QString GeneralNumberText(long double value, int precision, NumberSeparators separators)
{
    if (!std::isfinite(value))
        return NonFiniteText(value);
    if (value == 0)
        return QStringLiteral("0");
    precision = std::clamp(precision, 1, 18);

    DecimalDigits d = ToDigits18(value);
    RoundDigits(d, precision);
    DropTrailingZeros(d);

    QString out;
    out.reserve(precision + 8);
    if (d.Negative)
        out += u'-';
    const int e = d.Exponent;
    if (e >= -3 && e <= precision) {
        if (e <= 0) {
            out += u'0';
            out += separators.Decimal;
            out += QString(-e, u'0');
            for (int i = 0; i < d.Count; ++i)
                out += QLatin1Char(d.Digits[i]);
        } else {
            for (int i = 0; i < e; ++i)
                out += QLatin1Char(DigitAt(d, i));
            if (d.Count > e) {
                out += separators.Decimal;
                for (int i = e; i < d.Count; ++i)
                    out += QLatin1Char(d.Digits[i]);
            }
        }
    } else {
        out += QLatin1Char(d.Digits[0]);
        if (d.Count > 1) {
            out += separators.Decimal;
            for (int i = 1; i < d.Count; ++i)
                out += QLatin1Char(d.Digits[i]);
        }
        out += u'E';
        out += QString::number(e - 1);
    }
    return out;
}

QString FormatNumber(QStringView pattern, long double value, NumberSeparators separators)
{
    if (!std::isfinite(value))
        return NonFiniteText(value);

    const Pattern p = ParsePattern(pattern);
    DecimalDigits d;
    if (value != 0) {
        d = ToDigits18(value);
        if (d.Exponent > 18)
            return GeneralNumberText(value, 15, separators);
        RoundDigits(d, d.Exponent + p.MaxFractionDigits);
        DropTrailingZeros(d);
    }
    const bool isZero = d.Count == 0;
    const int integerDigits = isZero ? 0 : std::max(d.Exponent, 0);

    QString integerPart;
    for (int i = integerDigits; i < p.MinIntegerDigits; ++i)
        integerPart += u'0';
    for (int i = 0; i < integerDigits; ++i)
        integerPart += QLatin1Char(DigitAt(d, i));
    if (p.Grouping) {
        for (qsizetype pos = integerPart.size() - 3; pos > 0; pos -= 3)
            integerPart.insert(pos, separators.Thousands);
    }

    QString fraction;
    if (!isZero) {
        for (int i = 0; i < p.MaxFractionDigits; ++i)
            fraction += QLatin1Char(DigitAt(d, d.Exponent + i));
    } else {
        fraction = QString(p.MaxFractionDigits, u'0');
    }
    qsizetype keep = fraction.size();
    while (keep > p.MinFractionDigits && fraction[keep - 1] == u'0')
        --keep;
    fraction.truncate(keep);

    QString out;
    out.reserve(integerPart.size() + fraction.size() + 2);
    if (d.Negative && !isZero)
        out += u'-';
    out += integerPart;
    if (!fraction.isEmpty()) {
        out += separators.Decimal;
        out += fraction;
    }
    return out;
}

} // namespace kalvo
