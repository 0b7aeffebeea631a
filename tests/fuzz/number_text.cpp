// The number text: ReadNumber and TextToNumber against a reference reader of the number form;
// FormatNumber and GeneralNumberText against their output rules and by reading back what they
// write, with German and English separators.
//
// Input: [flags] [precision] [n] [n pattern bytes] [8 bytes of a double] [UTF-8 text]
//   flags bit 0: the text is read with English instead of German separators;
//   precision: the significant digits for GeneralNumberText, modulo 20 (0 and 19 are clamped);
//   pattern bytes: "0#.,"[b & 3], repeated ((b >> 2) & 7) + 1 times (n is taken modulo 16).

#include "FuzzSupport.h"
#include "core/Errors.h"
#include "core/NumberText.h"

#include <cerrno>
#include <cfloat>
#include <cstring>

using namespace kalvo;
using namespace kalvo::fuzz;

namespace {

constexpr auto De = NumberSeparators::German();
constexpr auto En = NumberSeparators::English();

// The patterns the program itself writes with.
const char16_t* const ProgramPatterns[] = {u"0.0",   u"##0.00", u"##0.#",     u",0.00",
                                           u",0.##", u"0.##",   u"###,##0.00"};

struct ReferenceNumber
{
    bool Form = false;     // the text has the number form
    bool Overflow = false; // ... but its value lies beyond the extended range
    bool Tiny = false;     // ... or below its normal range (may read as 0)
    long double Value = 0;
};

// The number form read once more, independently of the program: blanks, sign, digits, the
// decimal separator and digits, an exponent whose digits stop at 500, blanks. strtold does the
// correctly rounded conversion.
ReferenceNumber ReferenceRead(QStringView text, NumberSeparators separators)
{
    ReferenceNumber r;
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n && text[i] == u' ')
        ++i;
    bool negative = false;
    if (i < n && (text[i] == u'+' || text[i] == u'-'))
        negative = text[i++] == u'-';
    std::string mantissa;
    qsizetype digits = 0;
    for (; i < n && IsAsciiDigit(text[i]); ++i, ++digits)
        mantissa += char(text[i].unicode());
    bool point = false;
    if (i < n && text[i] == separators.Decimal) {
        point = true;
        mantissa += '.';
        for (++i; i < n && IsAsciiDigit(text[i]); ++i, ++digits)
            mantissa += char(text[i].unicode());
    }
    if (digits == 0 && !point)
        return r;
    long exponent = 0;
    if (i < n && (text[i] == u'E' || text[i] == u'e')) {
        ++i;
        bool negativeExponent = false;
        if (i < n && (text[i] == u'+' || text[i] == u'-'))
            negativeExponent = text[i++] == u'-';
        for (; i < n && IsAsciiDigit(text[i]) && exponent < 500; ++i)
            exponent = exponent * 10 + (text[i].unicode() - u'0');
        if (negativeExponent)
            exponent = -exponent;
    }
    while (i < n && text[i] == u' ')
        ++i;
    if (i != n)
        return r;
    r.Form = true;
    if (digits == 0)
        return r; // a lone separator is 0
    const std::string c = mantissa + 'e' + std::to_string(exponent);
    errno = 0;
    const long double v = std::strtold(c.c_str(), nullptr);
    r.Overflow = std::isinf(v);
    r.Tiny = v < LDBL_MIN;
    r.Value = negative ? -v : v;
    return r;
}

QString SwapSeparators(QStringView text)
{
    QString out = text.toString();
    for (QChar& c : out) {
        if (c == u',')
            c = u'.';
        else if (c == u'.')
            c = u',';
    }
    return out;
}

std::string Context(QStringView text, NumberSeparators separators)
{
    return "text " + Quote(text) + ", " + SeparatorsName(separators);
}

std::optional<long double> CheckRead(QStringView text, NumberSeparators separators)
{
    const auto value = ReadNumber(text, separators);
    const ReferenceNumber ref = ReferenceRead(text, separators);
    if (value) {
        const auto got = [&] { return Context(text, separators) + ", read " + Number(*value); };
        if (!ref.Form)
            Fail("ReadNumber accepts only the number form", got());
        if (!std::isfinite(*value) || ref.Overflow)
            Fail("ReadNumber refuses values beyond the extended range", got());
        if (ref.Tiny ? !(*value == 0 || *value == ref.Value) : *value != ref.Value)
            Fail("ReadNumber gives the correctly rounded value",
                 got() + ", expected " + Number(ref.Value));
        try {
            if (TextToNumber(text, separators) != *value)
                Fail("TextToNumber gives what ReadNumber gives", got());
        } catch (const EConvertError&) {
            Fail("TextToNumber accepts what ReadNumber accepts", got());
        }
    } else {
        if (ref.Form && !ref.Overflow)
            Fail("ReadNumber accepts every text of the number form within the extended range",
                 Context(text, separators) + ", expected " + Number(ref.Value));
        try {
            TextToNumber(text, separators);
            Fail("TextToNumber refuses what ReadNumber refuses", Context(text, separators));
        } catch (const EConvertError& e) {
            const QString expected =
                u'\'' + text.toString() + QStringLiteral("' ist kein gültiger Gleitkommawert");
            if (e.Message() != expected)
                Fail("TextToNumber's message names the text",
                     Context(text, separators) + ", message " + Quote(e.Message()));
        }
    }

    // The other notation reads the same.
    const NumberSeparators other = separators == De ? En : De;
    const auto swapped = ReadNumber(SwapSeparators(text), other);
    if (swapped.has_value() != value.has_value() || (value && *swapped != *value))
        Fail("German and English notation read alike", Context(text, separators));
    return value;
}

bool NonFiniteTextOk(long double value, const QString& out)
{
    if (std::isnan(value))
        return out == u"NAN";
    return out == (value < 0 ? u"-INF" : u"INF");
}

// The general form: P significant digits, fixed notation exactly when the decimal exponent E
// (value = 0.d1d2... x 10^E) lies in [-3, P], and it reads back within half a unit of its last
// digit (plus the 18-digit rounding that comes first).
void CheckGeneral(long double value, int precision, NumberSeparators separators)
{
    const QString out = GeneralNumberText(value, precision, separators);
    const int p = std::clamp(precision, 1, 18);
    const auto context = [&] {
        return "GeneralNumberText(" + Number(value) + ", " + std::to_string(precision) + ", " +
               SeparatorsName(separators) + ") = " + Quote(out);
    };
    if (!std::isfinite(value)) {
        if (!NonFiniteTextOk(value, out))
            Fail("GeneralNumberText writes NAN, INF or -INF for non-finite values", context());
        return;
    }
    if (value == 0) {
        if (out != u"0")
            Fail("GeneralNumberText writes zero as \"0\"", context());
        return;
    }

    QStringView rest = out;
    const bool negative = rest.startsWith(u'-');
    if (negative != std::signbit(value))
        Fail("GeneralNumberText writes the sign of the value", context());
    if (negative)
        rest = rest.mid(1);
    const qsizetype e = rest.indexOf(u'E');
    const QStringView mantissa = e < 0 ? rest : rest.left(e);
    int exponent10 = 0; // E
    QString significant;
    for (const QChar c : mantissa) {
        if (!IsAsciiDigit(c) && c != separators.Decimal)
            Fail("GeneralNumberText writes only digits, a sign, the decimal separator and E",
                 context());
    }
    const qsizetype point = mantissa.indexOf(separators.Decimal);
    if (point >= 0 && (mantissa.indexOf(separators.Decimal, point + 1) >= 0 ||
                       point == mantissa.size() - 1 || mantissa.endsWith(u'0')))
        Fail("GeneralNumberText writes one separator and no trailing fraction zeros", context());
    if (e >= 0) {
        QStringView digits = rest.mid(e + 1);
        const bool negativeExponent = digits.startsWith(u'-');
        if (negativeExponent)
            digits = digits.mid(1);
        if (digits.isEmpty() || digits.startsWith(u'0') ||
            !std::all_of(digits.begin(), digits.end(), IsAsciiDigit) || digits.size() > 5)
            Fail("GeneralNumberText writes the exponent as digits without leading zeros",
                 context());
        if ((point >= 0 && point != 1) || mantissa.isEmpty() || mantissa[0] == u'0')
            Fail("GeneralNumberText's exponent form has one leading digit", context());
        exponent10 = digits.toInt() * (negativeExponent ? -1 : 1) + 1;
        if (exponent10 >= -3 && exponent10 <= p)
            Fail("GeneralNumberText uses the exponent form only outside [-3, P]", context());
        significant = mantissa.toString().remove(separators.Decimal);
    } else if (mantissa.startsWith(u'0')) {
        if (point != 1 || mantissa.size() < 3)
            Fail("GeneralNumberText writes no leading zeros", context());
        const QStringView fraction = mantissa.mid(2);
        qsizetype zeros = 0;
        while (zeros < fraction.size() && fraction[zeros] == u'0')
            ++zeros;
        if (zeros > 3)
            Fail("GeneralNumberText uses the fixed form only from E = -3 on", context());
        exponent10 = -int(zeros);
        significant = fraction.mid(zeros).toString();
    } else {
        const qsizetype integerDigits = point < 0 ? mantissa.size() : point;
        if (integerDigits > p)
            Fail("GeneralNumberText uses the fixed form only up to E = P", context());
        exponent10 = int(integerDigits);
        significant = mantissa.toString().remove(separators.Decimal);
        if (point < 0) {
            while (significant.endsWith(u'0'))
                significant.chop(1);
        }
    }
    if (significant.size() > p)
        Fail("GeneralNumberText writes at most P significant digits", context());

    const auto back = ReadNumber(out, separators);
    if (!back) {
        // Rounded up at the very end of the extended range, the text names a number beyond it.
        if (ReferenceRead(out, separators).Overflow && exponent10 >= 4932)
            return;
        Fail("GeneralNumberText's output reads back", context());
    }
    const long double unit = PowerOfTen(exponent10 - p) + PowerOfTen(exponent10 - 18);
    const long double tolerance = unit * 0.5000001L + std::fabs(value) * 0x1p-63L + LDBL_TRUE_MIN;
    if (!(std::fabs(*back - value) <= tolerance))
        Fail("GeneralNumberText's output reads back within its precision",
             context() + ", reads " + Number(*back));
}

struct PatternRules
{
    int MinIntegerDigits = 0;
    int MinFractionDigits = 0;
    int MaxFractionDigits = 0;
    bool Grouping = false;
};

PatternRules Rules(QStringView pattern)
{
    PatternRules r;
    bool fraction = false;
    bool zero = false;
    for (const QChar c : pattern) {
        if (c == u',') {
            r.Grouping = true;
        } else if (c == u'.') {
            fraction = true;
        } else if (fraction) {
            ++r.MaxFractionDigits;
            if (c == u'0')
                r.MinFractionDigits = r.MaxFractionDigits;
        } else {
            zero = zero || c == u'0';
            r.MinIntegerDigits += zero ? 1 : 0;
        }
    }
    return r;
}

void CheckFormat(QStringView pattern, long double value, NumberSeparators separators)
{
    const QString out = FormatNumber(pattern, value, separators);
    const auto context = [&] {
        return "FormatNumber(" + Quote(pattern) + ", " + Number(value) + ", " +
               SeparatorsName(separators) + ") = " + Quote(out);
    };
    if (!std::isfinite(value)) {
        if (!NonFiniteTextOk(value, out))
            Fail("FormatNumber writes NAN, INF or -INF for non-finite values", context());
        return;
    }
    const long double magnitude = std::fabs(value);
    if (magnitude >= 1e18L || (magnitude >= 999999999999999999.0L && out.contains(u'E'))) {
        if (out != GeneralNumberText(value, 15, separators))
            Fail("FormatNumber writes magnitudes from 1E18 on in the 15-digit general form",
                 context());
        return;
    }

    const PatternRules rules = Rules(pattern);
    QStringView rest = out;
    const bool negative = rest.startsWith(u'-');
    if (negative)
        rest = rest.mid(1);
    const qsizetype point = rest.indexOf(separators.Decimal);
    const QStringView integer = point < 0 ? rest : rest.left(point);
    const QStringView fraction = point < 0 ? QStringView() : rest.mid(point + 1);

    // The integer digits: grouped by threes with the thousands separator, or not at all.
    QString integerDigits;
    qsizetype group = 0;
    for (qsizetype i = integer.size() - 1; i >= 0; --i) {
        if (IsAsciiDigit(integer[i])) {
            if (rules.Grouping && group == 3)
                Fail("FormatNumber groups every three integer digits", context());
            integerDigits.prepend(integer[i]);
            ++group;
        } else if (rules.Grouping && integer[i] == separators.Thousands && group == 3 && i > 0) {
            group = 0;
        } else {
            Fail("FormatNumber writes the integer digits grouped by threes, or not grouped",
                 context());
        }
    }
    if (integerDigits.size() < rules.MinIntegerDigits ||
        (integerDigits.size() > rules.MinIntegerDigits && integerDigits.startsWith(u'0')))
        Fail("FormatNumber writes the integer digits the pattern asks for, without extra "
             "leading zeros",
             context());
    if (point >= 0 && fraction.isEmpty())
        Fail("FormatNumber writes the decimal separator only before fraction digits", context());
    if (!std::all_of(fraction.begin(), fraction.end(), IsAsciiDigit) ||
        fraction.size() < rules.MinFractionDigits || fraction.size() > rules.MaxFractionDigits ||
        (fraction.size() > rules.MinFractionDigits && fraction.endsWith(u'0')))
        Fail("FormatNumber writes between the required and the possible fraction digits, "
             "without optional trailing zeros",
             context());

    long double back = 0;
    QString plain = out;
    plain.remove(separators.Thousands);
    if (!integerDigits.isEmpty() || !fraction.isEmpty()) {
        try {
            back = TextToNumber(plain, separators);
        } catch (const EConvertError&) {
            Fail("FormatNumber's output reads back without its thousands separators", context());
        }
    } else if (negative) {
        Fail("FormatNumber writes no lone sign", context());
    }
    if (negative && back == 0)
        Fail("FormatNumber writes no sign for a value that rounds to zero", context());
    if (!negative && back != 0 && value < 0)
        Fail("FormatNumber writes the sign of a negative value", context());
    const long double tolerance =
        PowerOfTen(-rules.MaxFractionDigits) * 0.5000001L + magnitude * 6e-18L + LDBL_TRUE_MIN;
    if (!(std::fabs(back - value) <= tolerance))
        Fail("FormatNumber's output reads back within half a unit of its last placeholder",
             context() + ", reads " + Number(back));
}

QString BuildPattern(std::string_view bytes)
{
    QString pattern;
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        pattern += QString(((b >> 2) & 7) + 1, QChar(u"0#.,"[b & 3]));
    }
    return pattern;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ByteReader in(data, size);
    const std::uint8_t flags = in.Byte();
    const int precision = in.Byte() % 20;
    const QString pattern = BuildPattern(in.Bytes(in.Byte() % 16));
    double bits = 0;
    const std::string_view raw = in.Bytes(sizeof bits);
    std::memcpy(&bits, raw.data(), raw.size());
    const QString text = QString::fromUtf8(in.Rest());

    const NumberSeparators separators = flags & 1 ? En : De;
    const auto read = CheckRead(text, separators);

    long double values[3] = {bits, 0, 0};
    int count = 1;
    if (read) {
        values[count++] = *read;
        if (std::fabs(*read) <= DBL_MAX)
            values[count++] = static_cast<double>(*read);
    }
    for (int i = 0; i < count; ++i) {
        for (const auto seps : {De, En}) {
            CheckGeneral(values[i], precision, seps);
            CheckGeneral(values[i], 15, seps);
            CheckFormat(pattern, values[i], seps);
            for (const char16_t* program : ProgramPatterns)
                CheckFormat(program, values[i], seps);
        }
    }
    return 0;
}
