#include "NumEditLogic.h"

#include "core/Errors.h"

namespace kalvo {

namespace {

bool IsDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

QString FixedPattern(unsigned decimalPlaces)
{
    QString pattern = QStringLiteral("0");
    if (decimalPlaces > 0)
        pattern += u'.' + QString(static_cast<qsizetype>(decimalPlaces), u'0');
    return pattern;
}

} // namespace

QString NormalizeNumberText(QStringView text, NumberSeparators separators)
{
    qsizetype end = text.size();
    while (end > 0 && text[end - 1] == u' ')
        --end;
    qsizetype start = 0;
    while (start < end && text[start] == u' ')
        ++start;
    QString s = text.mid(start, end - start).toString();

    if (separators.Decimal != separators.Thousands)
        s.remove(separators.Thousands);
    const auto isSeparator = [&](QChar c) {
        return separators.Decimal == c || separators.Thousands == c;
    };
    if (!isSeparator(u'.'))
        s.replace(u'.', separators.Decimal);
    if (!isSeparator(u','))
        s.replace(u',', separators.Decimal);

    if (s.isEmpty())
        return QStringLiteral("0");
    if (s == u"-")
        return QStringLiteral("-0");
    return s;
}

std::optional<long double> IsNumberText(QStringView text, NumberSeparators separators)
{
    for (const QChar c : text) {
        if (!(IsDigit(c) || c == u'+' || c == u'-' || c == u'E' || c == u'e' ||
              c == separators.Decimal))
            return std::nullopt;
    }
    // The whole text: a check of its start alone would let in keys that leave a text which no
    // longer reads as a number.
    return ReadNumber(text, separators);
}

long double ClampValue(long double v, TValueLimits limits, bool raiseIfChanged,
                       unsigned decimalPlaces, NumberSeparators separators)
{
    const long double min = limits.MinValue, max = limits.MaxValue;
    long double result = v;
    if (min < max) {
        result = v < min ? min : v > max ? max : v;
    } else if (min > max && max == 0) {
        result = v < min ? min : v;
    } else if (min > max && min == 0) {
        result = v > max ? max : v;
    }
    if (raiseIfChanged && result != v)
        throw ERangeError(RangeErrorMessage(limits, decimalPlaces, separators));
    return result;
}

QString RangeErrorMessage(TValueLimits limits, unsigned decimalPlaces, NumberSeparators separators)
{
    const QString pattern = FixedPattern(decimalPlaces);
    return QStringLiteral("Wert muss zwischen %1 und %2 liegen")
        .arg(FormatNumber(pattern, limits.MinValue, separators),
             FormatNumber(pattern, limits.MaxValue, separators));
}

long double ParseEditText(QStringView text, TValueLimits limits, unsigned decimalPlaces,
                          NumberSeparators separators)
{
    const long double value = TextToNumber(NormalizeNumberText(text, separators), separators);
    return ClampValue(value, limits, false, decimalPlaces, separators);
}

QString EditPattern(unsigned decimalPlaces)
{
    QString pattern = QStringLiteral("0");
    if (decimalPlaces > 0)
        pattern += u'.' + QString(static_cast<qsizetype>(decimalPlaces), u'#');
    return pattern;
}

QString EditText(long double value, unsigned decimalPlaces, bool zeroEmpty,
                 NumberSeparators separators)
{
    if (value == 0 && zeroEmpty)
        return {};
    return FormatNumber(EditPattern(decimalPlaces), value, separators);
}

QString FormatForDisplay(long double value, QStringView displayFormat, NumberSeparators separators)
{
    if (!displayFormat.isEmpty())
        return FormatNumber(displayFormat, value, separators);
    return GeneralNumberText(value, 15, separators);
}

QString CandidateText(QStringView text, qsizetype selectionStart, qsizetype selectionEnd, QChar key)
{
    selectionStart = std::clamp<qsizetype>(selectionStart, 0, text.size());
    selectionEnd = std::clamp<qsizetype>(selectionEnd, selectionStart, text.size());
    QString candidate;
    candidate.reserve(text.size() + 1);
    candidate += text.left(selectionStart);
    candidate += key;
    candidate += text.mid(selectionEnd);
    return candidate;
}

bool IsAcceptableKey(QStringView text, qsizetype selectionStart, qsizetype selectionEnd, QChar key,
                     unsigned decimalPlaces, TValueLimits limits, NumberSeparators separators)
{
    const QString candidate =
        NormalizeNumberText(CandidateText(text, selectionStart, selectionEnd, key), separators);

    const qsizetype point = candidate.indexOf(separators.Decimal);
    if (point >= 0) {
        qsizetype exponent = candidate.indexOf(u'E', 0, Qt::CaseInsensitive);
        if (exponent <= point)
            exponent = candidate.size();
        if (exponent - point - 1 > static_cast<qsizetype>(decimalPlaces))
            return false;
    }

    const auto value = IsNumberText(candidate, separators);
    if (!value)
        return false;
    if (*value < 0 && limits.MinValue >= 0 && limits.MaxValue > 0)
        return false;
    return true;
}

QChar MapSeparatorKey(QChar key, NumberSeparators separators)
{
    if ((key == u',' || key == u'.') && key != separators.Thousands)
        return separators.Decimal;
    return key;
}

bool IsCalculatorKey(QChar key, NumberSeparators separators)
{
    if (key == separators.Thousands)
        return false;
    const QChar upper = key.toUpper();
    if (upper == separators.Decimal || IsDigit(upper))
        return true;
    switch (upper.unicode()) {
    case 8:
    case 13:
    case u'%':
    case u'*':
    case u'+':
    case u',':
    case u'-':
    case u'.':
    case u'/':
    case u'=':
    case u'C':
    case u'Q':
    case u'R':
    case u'_':
        return true;
    default:
        return false;
    }
}

QString GroupIntegerDigits(QStringView text, bool grouping, NumberSeparators separators)
{
    qsizetype start = 0;
    if (!text.isEmpty() && (text[0] == u'+' || text[0] == u'-'))
        start = 1;
    qsizetype end = start;
    while (end < text.size() && text[end] != separators.Decimal && text[end] != u'E' &&
           text[end] != u'e')
        ++end;

    QString integer;
    int digits = 0;
    for (qsizetype i = end - 1; i >= start; --i) {
        if (grouping && digits > 0 && digits % 3 == 0)
            integer.prepend(separators.Thousands);
        integer.prepend(text[i]);
        ++digits;
    }
    return text.left(start).toString() + integer + text.mid(end).toString();
}

int DisplayTextLeft(TAlignment alignment, bool popupShown, int clientWidth, int buttonWidth,
                    int textWidth, int leftMargin)
{
    if (popupShown || alignment == TAlignment::taLeftJustify)
        return leftMargin;
    const int w = buttonWidth > 0 ? textWidth + 1 : textWidth;
    if (alignment == TAlignment::taRightJustify)
        return clientWidth - buttonWidth - w - leftMargin - 2;
    return (clientWidth - buttonWidth - w) / 2;
}

} // namespace kalvo
