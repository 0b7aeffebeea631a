// The numeric field's value logic: a text, a selection and a typed key. Normalising is stable,
// the key check decides by its rules, an accepted key leaves a text that reads as a number with
// no more fraction digits than allowed, grouping undoes itself under normalising, and a value's
// edit text reads back as that value.
//
// Input: [flags] [places] [limits] [selection start] [selection end] [key] [key high] [UTF-8 text]
//   flags bits 0-2: the separators (German, English, and some other locales' pairs);
//   flags bit 3: grouping for GroupIntegerDigits;
//   flags bit 4: the key is a raw UTF-16 unit (key, key high) instead of one of the usual keys;
//   places: DecimalPlaces, mostly 0 to 6; limits: one of a few MinValue/MaxValue pairs;
//   the selection bounds are signed bytes.

#include "FuzzSupport.h"
#include "core/Errors.h"
#include "numedit/NumEditLogic.h"

#include <cfloat>

using namespace kalvo;
using namespace kalvo::fuzz;

namespace {

const NumberSeparators SeparatorChoices[] = {
    NumberSeparators::German(),
    NumberSeparators::English(),
    {u',', u' '},
    {u'.', u' '},
    {u'.', u'\''},
    {u',', QChar(0x00A0)},
    {u',', QChar(0x202F)},
    {u'.', QChar(0x2019)},
};

const TValueLimits LimitChoices[] = {
    {0, 0}, {0, 100}, {10, 0}, {0, -5}, {-100, 100}, {5, 5}, {1, -1}, {-1e300L, 1e300L},
};

const char16_t UsualKeys[] = u"0123456789,.-+eE \x08";

// The limit check, once more: both equal means none, one of them 0 with Min > Max a limit on
// the other side only.
long double ReferenceClamp(long double v, TValueLimits l)
{
    if (l.MinValue < l.MaxValue)
        return std::clamp(v, l.MinValue, l.MaxValue);
    if (l.MinValue > l.MaxValue && l.MaxValue == 0)
        return std::max(v, l.MinValue);
    if (l.MinValue > l.MaxValue && l.MinValue == 0)
        return std::min(v, l.MaxValue);
    return v;
}

// Fraction digits: after the first decimal separator, up to an "E" or "e" behind it.
qsizetype FractionDigits(QStringView s, NumberSeparators seps)
{
    const qsizetype point = s.indexOf(seps.Decimal);
    if (point < 0)
        return 0;
    qsizetype end = point + 1;
    while (end < s.size() && s[end] != u'E' && s[end] != u'e')
        ++end;
    return end - point - 1;
}

// The key check's rules as they read: the fraction digits up to the first "E"/"e" of the text
// when it lies after the separator, else to the end; only number characters; the text reads as
// a number; no negative value in a positive range.
bool ReferenceAcceptable(QStringView candidate, unsigned places, TValueLimits limits,
                         NumberSeparators seps)
{
    const qsizetype point = candidate.indexOf(seps.Decimal);
    if (point >= 0) {
        qsizetype e = candidate.indexOf(u'E', 0, Qt::CaseInsensitive);
        if (e < point)
            e = candidate.size();
        if (e - point - 1 > qsizetype(places))
            return false;
    }
    for (const QChar c : candidate) {
        if (!(IsAsciiDigit(c) || c == u'+' || c == u'-' || c == u'E' || c == u'e' ||
              c == seps.Decimal))
            return false;
    }
    const auto value = ReadNumber(candidate, seps);
    return value && !(*value < 0 && limits.MinValue >= 0 && limits.MaxValue > 0);
}

std::string Context(QStringView text, qsizetype start, qsizetype end, QChar key, unsigned places,
                    TValueLimits limits, NumberSeparators seps)
{
    return "text " + Quote(text) + ", selection " + std::to_string(start) + ".." +
           std::to_string(end) + ", key " + Quote(QString(key)) + ", " + std::to_string(places) +
           " places, limits " + Number(limits.MinValue) + ".." + Number(limits.MaxValue) + ", " +
           SeparatorsName(seps);
}

// Returns the text normalised until it no longer changes: trimming comes before the thousands
// separators go, so a separator next to a blank leaves the blank for a second round (" . 5"
// becomes " 5", then "5"; " . " becomes " ", then "0").
QString CheckNormalized(QStringView text, const QString& n, NumberSeparators seps)
{
    const auto context = [&] {
        return "NormalizeNumberText(" + Quote(text) + ", " + SeparatorsName(seps) +
               ") = " + Quote(n);
    };
    if (n.isEmpty() || n == u"-")
        Fail("normalised texts are never empty or a lone \"-\"", context());
    for (const QChar c : n) {
        if (c != seps.Decimal && (c == seps.Thousands || c == u'.' || c == u','))
            Fail("normalised texts hold no thousands separator and no other \".\" or \",\"",
                 context());
    }
    const QString again = NormalizeNumberText(n, seps);
    if (again != n && NormalizeNumberText(again, seps) != again)
        Fail("normalising twice gives a text that normalising leaves as it is", context());
    return again;
}

void CheckGrouping(const QString& n, NumberSeparators seps)
{
    for (const bool grouping : {false, true}) {
        const QString grouped = GroupIntegerDigits(n, grouping, seps);
        if (NormalizeNumberText(grouped, seps) != n)
            Fail("GroupIntegerDigits followed by NormalizeNumberText gives the normalised text",
                 "text " + Quote(n) + ", grouped " + Quote(grouped) + ", " + SeparatorsName(seps));
        if (!grouping && grouped != n)
            Fail("GroupIntegerDigits without grouping changes nothing", "text " + Quote(n));
    }
}

// A value from an edit text: within the limits, and its edit text reads back as the value.
void CheckValue(QStringView text, unsigned places, TValueLimits limits, NumberSeparators seps)
{
    long double value = 0;
    try {
        value = ParseEditText(text, limits, places, seps);
    } catch (const EConvertError&) {
        return;
    }
    const long double read = TextToNumber(NormalizeNumberText(text, seps), seps);
    const auto context = [&] {
        return "text " + Quote(text) + ", value " + Number(value) + ", " + std::to_string(places) +
               " places, limits " + Number(limits.MinValue) + ".." + Number(limits.MaxValue);
    };
    if (value != ReferenceClamp(read, limits))
        Fail("ParseEditText keeps the value within the limits", context());
    if (std::fabs(value) > 1e4000L)
        return; // the 15-digit general form may round beyond the extended range
    const QString edit = EditText(value, places, false, seps);
    long double back = 0;
    try {
        back = ParseEditText(edit, {}, places, seps);
    } catch (const EConvertError&) {
        Fail("a value's edit text reads back", context() + ", edit text " + Quote(edit));
    }
    const long double tolerance =
        std::fabs(value) >= 1e18L
            ? std::fabs(value) * 5.1e-15L
            : PowerOfTen(-int(places)) * 0.5000001L + std::fabs(value) * 6e-18L + LDBL_TRUE_MIN;
    if (!(std::fabs(back - value) <= tolerance))
        Fail("a value's edit text reads back within its decimal places",
             context() + ", edit text " + Quote(edit) + " reads " + Number(back));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ByteReader in(data, size);
    const std::uint8_t flags = in.Byte();
    const std::uint8_t placesByte = in.Byte();
    const unsigned places = placesByte < 224 ? placesByte % 7 : placesByte;
    const TValueLimits limits = LimitChoices[in.Byte() % std::size(LimitChoices)];
    const qsizetype start = std::int8_t(in.Byte());
    const qsizetype end = std::int8_t(in.Byte());
    const std::uint8_t keyLow = in.Byte();
    const std::uint8_t keyHigh = in.Byte();
    const QString text = QString::fromUtf8(in.Rest());
    const NumberSeparators seps = SeparatorChoices[flags & 7];
    const QChar key = flags & 0x10 ? QChar(char16_t(keyLow | keyHigh << 8))
                                   : QChar(UsualKeys[keyLow % (std::size(UsualKeys) - 1)]);

    CheckGrouping(CheckNormalized(text, NormalizeNumberText(text, seps), seps), seps);
    CheckValue(text, places, limits, seps);

    const bool accepted = IsAcceptableKey(text, start, end, key, places, limits, seps);
    const QString candidate = CandidateText(text, start, end, key);
    const QString n = NormalizeNumberText(candidate, seps);
    const auto context = [&] {
        return Context(text, start, end, key, places, limits, seps) + ", candidate " +
               Quote(candidate) + ", normalised " + Quote(n);
    };
    if (accepted != ReferenceAcceptable(n, places, limits, seps))
        Fail("IsAcceptableKey decides by the key check's rules", context());
    if (accepted) {
        try {
            ParseEditText(candidate, limits, places, seps);
        } catch (const EConvertError&) {
            Fail("an accepted key leaves a text that reads as a number", context());
        }
        if (FractionDigits(n, seps) > qsizetype(places))
            Fail("an accepted key leaves at most DecimalPlaces fraction digits", context());
        CheckValue(candidate, places, limits, seps);
    }
    CheckGrouping(CheckNormalized(candidate, n, seps), seps);
    return 0;
}
