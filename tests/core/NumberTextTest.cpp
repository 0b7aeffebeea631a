#include "core/NumberText.h"

#include "core/Errors.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace kalvo;

namespace {

constexpr auto De = NumberSeparators::German();
constexpr auto En = NumberSeparators::English();

struct FormatCase
{
    const char16_t* Pattern;
    long double Value;
    const char16_t* German;
    const char16_t* English;
};

// The patterns the program uses, with the rounding rules that matter for money.
const FormatCase FormatCases[] = {
    // Halves away from zero, on the value's 18-digit decimal form.
    {u"0.00", 0.125, u"0,13", u"0.13"},
    {u"0.00", 0.005, u"0,01", u"0.01"},
    {u"0.00", -0.125, u"-0,13", u"-0.13"},
    {u"0.00", 99.999, u"100,00", u"100.00"},
    {u"0.0", 0.96, u"1,0", u"1.0"},
    // A negative value that rounds to zero has no sign.
    {u"0.00", -0.004, u"0,00", u"0.00"},
    {u"0.##", -0.004, u"0", u"0"},
    // The rate text.
    {u"0.0", 19, u"19,0", u"19.0"},
    {u"0.0", 7.7, u"7,7", u"7.7"},
    {u"0.0", 8.75, u"8,8", u"8.8"},
    {u"0.0", 0, u"0,0", u"0.0"},
    // The record table's columns.
    {u"##0.00", 0, u"0,00", u"0.00"},
    {u"##0.00", 19, u"19,00", u"19.00"},
    {u"##0.00", 7.5, u"7,50", u"7.50"},
    {u"##0.00", 1234.5, u"1234,50", u"1234.50"},
    {u"##0.#", 0, u"0", u"0"},
    {u"##0.#", 19, u"19", u"19"},
    {u"##0.#", 7.5, u"7,5", u"7.5"},
    {u"##0.#", 8.75, u"8,8", u"8.8"},
    {u"##0.#", 1234.5, u"1234,5", u"1234.5"},
    {u"###,##0.00", 0, u"0,00", u"0.00"},
    {u"###,##0.#", 0, u"0", u"0"},
    // The amount fields: edit text and painted text.
    {u"0.##", 1234.5, u"1234,5", u"1234.5"},
    {u"0.##", 1234, u"1234", u"1234"},
    {u"0.##", 1234.567, u"1234,57", u"1234.57"},
    {u",0.00", 1234.5, u"1.234,50", u"1,234.50"},
    {u",0.00", 1234567.891, u"1.234.567,89", u"1,234,567.89"},
    {u",0.00", -1234.567, u"-1.234,57", u"-1,234.57"},
    {u",0.00", 0, u"0,00", u"0.00"},
    {u",0.00", 999.995L, u"1.000,00", u"1,000.00"},
    {u"0", 0.5, u"1", u"1"},
    {u"0", 1234.4, u"1234", u"1234"},
    // From 1E18 on, the general form with 15 digits.
    {u",0.00", 999999999999999999.0L, u"999.999.999.999.999.999,00", u"999,999,999,999,999,999.00"},
    {u",0.00", 1e18L, u"1E18", u"1E18"},
    {u",0.00", 1e20L, u"1E20", u"1E20"},
    {u",0.00", -1.5e300L, u"-1,5E300", u"-1.5E300"},
    // Values far below the last placeholder.
    {u"0.00", 1e-30L, u"0,00", u"0.00"},
    {u"0.00", 0.0049999, u"0,00", u"0.00"},
};

TEST(FormatNumber, PatternsAndRounding)
{
    for (const auto& c : FormatCases) {
        SCOPED_TRACE(QString::fromUtf16(c.Pattern).toStdString() + " " +
                     std::to_string(static_cast<double>(c.Value)));
        EXPECT_EQ(FormatNumber(c.Pattern, c.Value, De), QString::fromUtf16(c.German));
        EXPECT_EQ(FormatNumber(c.Pattern, c.Value, En), QString::fromUtf16(c.English));
    }
}

TEST(FormatNumber, WritesWhatReadsBack)
{
    // What the program writes into a field or a table cell reads back as the rounded number.
    const long double values[] = {0,        0.01, 0.1,           1,    19,   84.0336134453781,
                                  1469.055, -2.5, 123456789.125, 9.99, 1e17L};
    for (const long double v : values) {
        for (const auto seps : {De, En}) {
            const QString text = FormatNumber(u"##0.00", v, seps);
            const long double back = TextToNumber(text, seps);
            EXPECT_NEAR(static_cast<double>(back), static_cast<double>(v), 0.005000001)
                << text.toStdString();
        }
    }
}

struct GeneralCase
{
    long double Value;
    const char16_t* German;
};

TEST(GeneralNumberText, FifteenDigits)
{
    const GeneralCase cases[] = {
        {0.0001, u"0,0001"},
        {0.00001, u"1E-5"},
        {1e15L, u"1E15"},
        {123456789012345.0L, u"123456789012345"},
        {1.0 / 3, u"0,333333333333333"},
        {2.0 / 3, u"0,666666666666667"},
        {-2.5, u"-2,5"},
        {12.50, u"12,5"},
        {1e20L, u"1E20"},
        {0.0, u"0"},
        {-0.0, u"0"},
        {1234.5, u"1234,5"},
        {999999999999999.5L, u"1E15"}, // rounding carries into a new digit
        {0.00012345, u"0,00012345"},
        {-1.25e-7L, u"-1,25E-7"},
        {1e-300L, u"1E-300"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(GeneralNumberText(c.Value, 15, De), QString::fromUtf16(c.German))
            << static_cast<double>(c.Value);
        QString english = QString::fromUtf16(c.German);
        english.replace(u',', u'.');
        EXPECT_EQ(GeneralNumberText(c.Value, 15, En), english);
    }
}

TEST(GeneralNumberText, PrecisionChangesTheFixedRange)
{
    EXPECT_EQ(GeneralNumberText(123456, 4, De), u"1,235E5");
    EXPECT_EQ(GeneralNumberText(1234, 4, De), u"1234");
    EXPECT_EQ(GeneralNumberText(2.0 / 3, 2, De), u"0,67");
}

struct ReadCase
{
    const char16_t* Text;
    std::optional<long double> Value;
};

TEST(ReadNumber, AcceptsTheNumberForm)
{
    const ReadCase german[] = {
        {u"0", 0},
        {u"12,5", 12.5},
        {u"  12,5  ", 12.5},
        {u"+5", 5},
        {u"-5,25", -5.25},
        {u"12,", 12},
        {u",5", 0.5},
        {u",", 0},
        {u"-,", 0},
        {u"1E", 1},
        {u"1e5", 100000},
        {u"1,23E5", 123000},
        {u"1E+2", 100},
        {u"25E-1", 2.5},
        {u"007", 7},
        {u"1E600", 1e600L}, // fine in the extended format
        {u"1E0000000000000003", 1000},
        // Refused:
        {u"", std::nullopt},
        {u"   ", std::nullopt},
        {u"-", std::nullopt},
        {u"+", std::nullopt},
        {u"E5", std::nullopt},
        {u"1.5", std::nullopt},     // the other separator
        {u"1.234,5", std::nullopt}, // no grouping
        {u"1 000", std::nullopt},
        {u"\t5", std::nullopt}, // only spaces are blanks
        {u"5x", std::nullopt},
        {u"1,2,3", std::nullopt},
        {u"1E4999", std::nullopt}, // too large even for the extended format
        {u"1E5001", std::nullopt}, // the reader stops at an exponent of 500: "1" is left over
        {u"1E-5001", std::nullopt},
        {u"--5", std::nullopt},
        {u"٣", std::nullopt}, // only ASCII digits
    };
    for (const auto& c : german) {
        const auto value = ReadNumber(c.Text, De);
        const QString text = QString::fromUtf16(c.Text);
        ASSERT_EQ(value.has_value(), c.Value.has_value()) << text.toStdString();
        if (value) {
            EXPECT_EQ(*value, *c.Value) << text.toStdString();
        }
        // The same text in English notation reads the same.
        QString english = text;
        for (QChar& ch : english) {
            if (ch == u',')
                ch = u'.';
            else if (ch == u'.')
                ch = u',';
        }
        const auto englishValue = ReadNumber(english, En);
        ASSERT_EQ(englishValue.has_value(), c.Value.has_value()) << english.toStdString();
        if (englishValue) {
            EXPECT_EQ(*englishValue, *c.Value);
        }
    }
}

TEST(ReadNumber, IsCorrectlyRoundedInExtendedPrecision)
{
    // 84.03 as the nearest extended value, not as a double widened afterwards.
    EXPECT_EQ(*ReadNumber(u"84,03", De), 84.03L);
    EXPECT_NE(*ReadNumber(u"84,03", De), static_cast<long double>(84.03));
    EXPECT_EQ(*ReadNumber(u"0,1", De), 0.1L);
}

TEST(ReadNumber, HugeInputsDoNotBreakIt)
{
    const QString longFraction = QStringLiteral("0,") + QString(100000, u'9');
    EXPECT_EQ(*ReadNumber(longFraction, De), 1.0L);
    const QString tooMany = QString(6000, u'9');
    EXPECT_FALSE(ReadNumber(tooMany, De).has_value()); // 1E6000: beyond the extended range
    const QString tiny = QStringLiteral("0,") + QString(6000, u'0') + u'1';
    EXPECT_EQ(*ReadNumber(tiny, De), 0.0L); // underflow is no failure
}

TEST(TextToNumber, RaisesTheGermanMessage)
{
    try {
        TextToNumber(u"abc", De);
        FAIL() << "no exception";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), u"'abc' ist kein gültiger Gleitkommawert");
    }
    EXPECT_EQ(TextToNumber(u"19,5", De), 19.5L);
}

} // namespace
