// The program's number text: reading and writing numbers with the locale's separators.
//
// Everything here is locale-free: the separators come in as a value, and the conversions are
// std::from_chars / std::to_chars, which never look at the C locale.
#pragma once

#include <QChar>
#include <QString>
#include <QStringView>

#include <cfloat>
#include <optional>

static_assert(LDBL_MANT_DIG == 64, "the number text computes in the 80-bit extended format");

namespace kalvo {

struct NumberSeparators
{
    QChar Decimal = u'.';
    QChar Thousands = u',';

    static constexpr NumberSeparators German() { return {u',', u'.'}; }
    static constexpr NumberSeparators English() { return {u'.', u','}; }
    friend constexpr bool operator==(NumberSeparators, NumberSeparators) = default;
};

// The separators of the user's locale, as the window layer last read them ("." and "," until
// it does). Widgets pass these to the functions below.
NumberSeparators LocaleSeparators();
void SetLocaleSeparators(NumberSeparators separators);

// Leading blanks, a sign, digits with an optional decimal separator and fraction, an optional
// exponent, trailing blanks; nothing else. Fails on anything else and on overflow.
std::optional<long double> ReadNumber(QStringView text, NumberSeparators separators);

// ReadNumber, raising EConvertError "'text' ist kein gültiger Gleitkommawert" on failure.
long double TextToNumber(QStringView text, NumberSeparators separators);

// Writes value with a pattern of "0" (digit always shown), "#" (digit shown when significant),
// "." (decimal separator) and "," (grouping of the integer digits by threes). The value is first
// rounded to 18 significant digits, then at the last fraction placeholder, halves away from zero.
// Magnitudes of 1E18 and more are written in the general form with 15 digits.
QString FormatNumber(QStringView pattern, long double value, NumberSeparators separators);

// The general form with `precision` significant digits (1 to 18): fixed notation for decimal
// exponents from -3 to precision, exponent notation ("1E-5", "1E20") otherwise; no grouping.
QString GeneralNumberText(long double value, int precision, NumberSeparators separators);

} // namespace kalvo
