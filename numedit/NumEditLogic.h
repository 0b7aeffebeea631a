// The value logic of the numeric edit field, free of any window: normalising typed text, the
// keystroke check, the limits, and the edit and display texts.
#pragma once

#include "core/NumberText.h"

#include <QChar>
#include <QString>
#include <QStringView>

#include <optional>

namespace kalvo {

enum class TAlignment
{
    taLeftJustify,
    taRightJustify,
    taCenter,
};

// MinValue = MaxValue means no limits; MinValue > MaxValue with one of them 0 means a limit on
// the other side only.
struct TValueLimits
{
    long double MinValue = 0;
    long double MaxValue = 0;
};

// Trims spaces, drops thousands separators, turns a "." or "," that is neither separator into
// the decimal separator; "" becomes "0" and "-" becomes "-0". German: "1.234,5" -> "1234,5".
QString NormalizeNumberText(QStringView text, NumberSeparators separators);

// Only "+", "-", digits, "E", "e" and the decimal separator, and the text reads as a number.
// Gives the number, or nothing.
std::optional<long double> IsNumberText(QStringView text, NumberSeparators separators);

// v kept within the limits; with raiseIfChanged, ERangeError instead of a changed value.
long double ClampValue(long double v, TValueLimits limits, bool raiseIfChanged,
                       unsigned decimalPlaces, NumberSeparators separators);
// "Wert muss zwischen 0,00 und 100,00 liegen": both limits with decimalPlaces digits.
QString RangeErrorMessage(TValueLimits limits, unsigned decimalPlaces, NumberSeparators separators);

// The number of an edit text: normalised, read (EConvertError when it does not) and clamped.
long double ParseEditText(QStringView text, TValueLimits limits, unsigned decimalPlaces,
                          NumberSeparators separators);

// "0" followed, with decimal places, by "." and that many "#": "0.##".
QString EditPattern(unsigned decimalPlaces);
// The edit text of a value: empty for 0 when zeroEmpty, else the value in the edit pattern.
QString EditText(long double value, unsigned decimalPlaces, bool zeroEmpty,
                 NumberSeparators separators);
// The painted text: the display format, or the 15-digit general form without one.
QString FormatForDisplay(long double value, QStringView displayFormat, NumberSeparators separators);

// What the keystroke `key` at the selection [selectionStart, selectionEnd) would make of text,
// and whether the field lets it in.
QString CandidateText(QStringView text, qsizetype selectionStart, qsizetype selectionEnd,
                      QChar key);
bool IsAcceptableKey(QStringView text, qsizetype selectionStart, qsizetype selectionEnd, QChar key,
                     unsigned decimalPlaces, TValueLimits limits, NumberSeparators separators);

// "," and "." that are not the thousands separator become the decimal separator.
QChar MapSeparatorKey(QChar key, NumberSeparators separators);
// Whether a typed character goes to the open calculator instead of into the text.
bool IsCalculatorKey(QChar key, NumberSeparators separators);

// Inserts thousands separators into the integer digits: "-1234567,5" -> "-1.234.567,5".
QString GroupIntegerDigits(QStringView text, bool grouping, NumberSeparators separators);

// Where the painted text starts: left margin, or right-aligned or centred before the button.
int DisplayTextLeft(TAlignment alignment, bool popupShown, int clientWidth, int buttonWidth,
                    int textWidth, int leftMargin);

} // namespace kalvo
