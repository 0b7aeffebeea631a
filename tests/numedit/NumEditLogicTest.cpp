#include "numedit/NumEditLogic.h"

#include "core/Errors.h"

#include <gtest/gtest.h>

using namespace kalvo;

namespace {

constexpr auto De = NumberSeparators::German();
constexpr auto En = NumberSeparators::English();
// A locale that groups with a space and uses neither "." nor "," for it.
constexpr NumberSeparators Fr{u',', u'\u202F'};

QString S(const char16_t* s)
{
    return QString::fromUtf16(s);
}

TEST(NormalizeNumberText, TrimsDropsGroupingAndMapsTheOtherSeparator)
{
    const struct
    {
        NumberSeparators Seps;
        const char16_t* Text;
        const char16_t* Normal;
    } cases[] = {
        {De, u"1.234,5", u"1234,5"},
        {De, u"  12 ", u"12"},
        {De, u"", u"0"},
        {De, u"   ", u"0"},
        {De, u"-", u"-0"},
        {De, u"1,5", u"1,5"},
        {En, u"1,234.5", u"1234.5"},
        {En, u"1.5", u"1.5"},
        {Fr, u"1.5", u"1,5"},
        {Fr, u"1,5", u"1,5"},
        {Fr, u"1\u202F234,5", u"1234,5"},
        {De, u"\t1", u"\t1"}, // only spaces are trimmed
    };
    for (const auto& c : cases)
        EXPECT_EQ(NormalizeNumberText(c.Text, c.Seps), S(c.Normal)) << S(c.Text).toStdString();
}

TEST(IsNumberText, OnlyNumberCharactersAndAReadableNumber)
{
    EXPECT_EQ(IsNumberText(u"12,5", De), 12.5L);
    EXPECT_EQ(IsNumberText(u"12.5", En), 12.5L);
    EXPECT_EQ(IsNumberText(u"1E5", De), 100000.0L);
    EXPECT_EQ(IsNumberText(u"-0", De), 0.0L);
    EXPECT_FALSE(IsNumberText(u"12.5", De));
    EXPECT_FALSE(IsNumberText(u" 5", De));
    EXPECT_FALSE(IsNumberText(u"+", De));
    EXPECT_FALSE(IsNumberText(u"abc", De));
    EXPECT_FALSE(IsNumberText(u"E5", De));
    // The whole text is read, however long: a long number with a broken end is no number.
    EXPECT_TRUE(IsNumberText(QString(200, u'1'), De));
    EXPECT_FALSE(IsNumberText(QString(63, u'1') + QStringLiteral("-------"), De));
    EXPECT_FALSE(IsNumberText(QString(63, u'8') + QStringLiteral("e8E8"), De));
}

TEST(ClampValue, TheFiveKindsOfLimits)
{
    const struct
    {
        long double Min, Max, In, Out;
    } cases[] = {
        {0, 0, -5, -5},    {0, 0, 1e30L, 1e30L}, // no limits
        {0, 100, -1, 0},   {0, 100, 101, 100},   {0, 100, 50, 50},
        {10, 0, 5, 10},    {10, 0, 500, 500},  // lower limit only
        {0, -10, -5, -10}, {0, -10, -50, -50}, // upper limit only
        {10, 5, 1, 1},     {10, 5, 100, 100},  // inverted, both non-zero: no limits
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ClampValue(c.In, {c.Min, c.Max}, false, 2, De), c.Out)
            << double(c.Min) << ".." << double(c.Max) << " " << double(c.In);
    }
}

TEST(ClampValue, RaisesTheRangeMessageWhenAsked)
{
    try {
        ClampValue(101, {0, 100}, true, 2, De);
        FAIL() << "no exception";
    } catch (const ERangeError& e) {
        EXPECT_EQ(e.Message(), u"Wert muss zwischen 0,00 und 100,00 liegen");
    }
    EXPECT_EQ(RangeErrorMessage({-1.5, 2}, 0, En), u"Wert muss zwischen -2 und 2 liegen");
    EXPECT_EQ(ClampValue(50, {0, 100}, true, 2, De), 50);
}

TEST(ParseEditText, NormalisesReadsAndClamps)
{
    EXPECT_EQ(ParseEditText(u"1.234,5", {}, 2, De), 1234.5L);
    EXPECT_EQ(ParseEditText(u"", {}, 2, De), 0);
    EXPECT_EQ(ParseEditText(u"-", {}, 2, De), 0);
    EXPECT_EQ(ParseEditText(u"500", {0, 100}, 2, De), 100);
    EXPECT_THROW(ParseEditText(u"+", {}, 2, De), EConvertError);
    EXPECT_THROW(ParseEditText(u"E5", {}, 2, De), EConvertError);
}

TEST(EditText, TheEditPatternAndEmptyZero)
{
    EXPECT_EQ(EditPattern(2), u"0.##");
    EXPECT_EQ(EditPattern(0), u"0");
    const struct
    {
        long double Value;
        unsigned Places;
        bool ZeroEmpty;
        const char16_t* German;
    } cases[] = {
        {1234.5, 2, true, u"1234,5"},
        {1234, 2, true, u"1234"},
        {1234.567, 2, true, u"1234,57"},
        {-0.004, 2, true, u"0"},
        {0, 2, true, u""},
        {0, 2, false, u"0"},
        {0.5, 0, true, u"1"},
        {12.3456, 2, true, u"12,35"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(EditText(c.Value, c.Places, c.ZeroEmpty, De), S(c.German));
}

TEST(FormatForDisplay, TheDisplayFormatOrTheGeneralForm)
{
    EXPECT_EQ(FormatForDisplay(1234.5, u",0.00", De), u"1.234,50");
    EXPECT_EQ(FormatForDisplay(1234567.891, u",0.00", De), u"1.234.567,89");
    EXPECT_EQ(FormatForDisplay(-1234.567, u",0.00", De), u"-1.234,57");
    EXPECT_EQ(FormatForDisplay(0, u",0.00", De), u"0,00");
    EXPECT_EQ(FormatForDisplay(1e20L, u",0.00", De), u"1E20");
    EXPECT_EQ(FormatForDisplay(1234.5, u"", De), u"1234,5");
    EXPECT_EQ(FormatForDisplay(1234.5, u",0.00", En), u"1,234.50");
}

struct KeyCase
{
    const char16_t* Text;
    int SelStart, SelEnd;
    char16_t Key;
    bool Accepted;
    unsigned Places = 2;
    TValueLimits Limits = {};
};

TEST(IsAcceptableKey, GermanFieldWithTwoPlaces)
{
    const KeyCase cases[] = {
        {u"1234,5", 6, 6, u'6', true},
        {u"1234,56", 7, 7, u'7', false}, // a third decimal
        {u"1234,56", 0, 0, u'7', true},  // more integer digits are fine
        {u"1234", 1, 1, u'.', true},     // the thousands separator is let in
        {u"1234", 4, 4, u',', true},
        {u"12,5", 4, 4, u',', false}, // a second decimal separator
        {u"", 0, 0, u'-', true},      // reads as -0
        {u"", 0, 0, u'+', false},
        {u"5", 0, 0, u'+', true},
        {u"1", 1, 1, u'E', true},
        {u"1,23E", 5, 5, u'5', true},
        {u"1,23E5", 4, 4, u'4', false},
        {u"12", 0, 0, u' ', true},      // trimmed away
        {u"12", 1, 1, u' ', false},     // inside the number
        {u"1234,56", 0, 7, u'9', true}, // typing over the selection
        {u"12", 2, 2, u'a', false},
        {u"12", 2, 2, u'%', false},
        {u"12,", 3, 3, u'5', false, 0}, // no decimal places
        {u"12", 2, 2, u',', true, 0},
        {u"", 0, 0, u'-', true, 2, {0, 100}}, // a lone "-" reads as zero
        {u"-", 1, 1, u'5', false, 2, {0, 100}},
        {u"-", 1, 1, u'5', true, 2, {10, 0}}, // lower limit only: not a positive range
    };
    for (const auto& c : cases) {
        EXPECT_EQ(
            IsAcceptableKey(c.Text, c.SelStart, c.SelEnd, QChar(c.Key), c.Places, c.Limits, De),
            c.Accepted)
            << S(c.Text).toStdString() << " + '" << QString(QChar(c.Key)).toStdString() << "'";
    }
}

TEST(IsAcceptableKey, EnglishFieldWithTwoPlaces)
{
    EXPECT_FALSE(IsAcceptableKey(u"1234.56", 7, 7, u'7', 2, {}, En));
    EXPECT_TRUE(IsAcceptableKey(u"1234", 1, 1, u',', 2, {}, En));
    EXPECT_TRUE(IsAcceptableKey(u"12", 2, 2, u'.', 2, {}, En));
}

TEST(Keys, SeparatorMappingAndCalculatorKeys)
{
    EXPECT_EQ(MapSeparatorKey(u',', De), u',');
    EXPECT_EQ(MapSeparatorKey(u'.', De), u'.'); // the thousands separator stays itself
    EXPECT_EQ(MapSeparatorKey(u'.', En), u'.');
    EXPECT_EQ(MapSeparatorKey(u',', En), u',');
    EXPECT_EQ(MapSeparatorKey(u'.', Fr), u',');
    EXPECT_EQ(MapSeparatorKey(u'x', De), u'x');

    for (const char16_t k : u"0123456789+-*/=%_cCqQrR,\b\r")
        EXPECT_TRUE(k == 0 || IsCalculatorKey(QChar(k), De)) << int(k);
    EXPECT_FALSE(IsCalculatorKey(u'.', De));
    EXPECT_FALSE(IsCalculatorKey(u',', En));
    EXPECT_TRUE(IsCalculatorKey(u'.', En));
    EXPECT_FALSE(IsCalculatorKey(u'x', De));
    EXPECT_FALSE(IsCalculatorKey(QChar(27), De)); // Esc closes the popup instead
}

TEST(GroupIntegerDigits, GroupsTheIntegerPartOnly)
{
    EXPECT_EQ(GroupIntegerDigits(u"-1234567,5", true, De), u"-1.234.567,5");
    EXPECT_EQ(GroupIntegerDigits(u"+1000", true, De), u"+1.000");
    EXPECT_EQ(GroupIntegerDigits(u"123", true, De), u"123");
    EXPECT_EQ(GroupIntegerDigits(u"1234E5", true, De), u"1.234E5");
    EXPECT_EQ(GroupIntegerDigits(u"1234567,5", false, De), u"1234567,5");
    EXPECT_EQ(GroupIntegerDigits(u"1234567.5", true, En), u"1,234,567.5");
    EXPECT_EQ(GroupIntegerDigits(u"", true, De), u"");
}

TEST(DisplayTextLeft, AlignmentBesideTheButton)
{
    // A field of client width 109 with a 20-pixel button, a 40-pixel text, left margin 1.
    EXPECT_EQ(DisplayTextLeft(TAlignment::taRightJustify, false, 109, 20, 40, 1),
              109 - 20 - 41 - 1 - 2);
    EXPECT_EQ(DisplayTextLeft(TAlignment::taRightJustify, true, 109, 20, 40, 1), 1);
    EXPECT_EQ(DisplayTextLeft(TAlignment::taLeftJustify, false, 109, 20, 40, 1), 1);
    EXPECT_EQ(DisplayTextLeft(TAlignment::taCenter, false, 109, 20, 40, 1), (109 - 20 - 41) / 2);
    EXPECT_EQ(DisplayTextLeft(TAlignment::taRightJustify, false, 109, 0, 40, 1), 109 - 40 - 1 - 2);
}

} // namespace
