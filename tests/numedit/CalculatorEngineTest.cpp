#include "numedit/CalculatorEngine.h"

#include "core/Errors.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <ostream>
#include <string>
#include <string_view>
#include <tuple>

using namespace kalvo;

void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace {

constexpr auto De = NumberSeparators::German();
constexpr auto En = NumberSeparators::English();
constexpr auto F = TCalcEntryState::cesFresh;
constexpr auto E = TCalcEntryState::cesEntering;
constexpr auto X = TCalcEntryState::cesError;

// An engine that records its notifications and beeps, in order, in Log ("D:text", "R", "B").
class RecordingEngine
{
public:
    explicit RecordingEngine(NumberSeparators separators) : Engine([this] { Beep(); })
    {
        Engine.SetSeparators(separators);
        Engine.OnDisplayChanged = [this] {
            ++DisplayChanges;
            Log << QStringLiteral("D:") + Engine.DisplayText();
        };
        Engine.OnResultKey = [this] {
            ++ResultKeys;
            Log << QStringLiteral("R");
        };
    }

    // Each character is one key; blanks only separate keys for reading.
    void Press(std::u16string_view keys)
    {
        for (const char16_t key : keys) {
            if (key != u' ')
                Engine.ProcessKey(QChar(key));
        }
    }

    TCalculatorEngine Engine;
    int DisplayChanges = 0;
    int ResultKeys = 0;
    int Beeps = 0;
    QStringList Log;

private:
    void Beep()
    {
        ++Beeps;
        Log << QStringLiteral("B");
    }
};

struct KeyCase
{
    const char* Name;
    const char16_t* Keys; // "\b" is backspace, "\r" Enter
    const char16_t* German;
    const char16_t* English; // nullptr: the same as German
    TCalcEntryState State;
    char16_t Pending;
    double Operand;
    int DisplayChanges;
    int ResultKeys;
    int Beeps;
};

void PrintTo(const KeyCase& c, std::ostream* os)
{
    *os << c.Name;
}

// clang-format off
const KeyCase KeyCases[] = {
    // Left-to-right arithmetic and the result notification.
    {"Sum", u"1 2 + 3 =", u"15", nullptr, F, u'=', 15, 5, 1, 0},
    {"LeftToRight", u"2 + 3 * 4 =", u"20", nullptr, F, u'=', 20, 7, 1, 0},
    {"Difference", u"5 - 8 =", u"-3", nullptr, F, u'=', -3, 4, 1, 0},
    {"SecondEqualsRepeatsNothing", u"1 2 + 3 = =", u"15", nullptr, F, u'=', 15, 5, 2, 0},
    {"OperatorReplacesOperator", u"2 + * 3 =", u"6", nullptr, F, u'=', 6, 4, 1, 0},
    {"EnterIsResultKey", u"1 2 + 3 \r", u"15", nullptr, F, u'\r', 15, 5, 1, 0},
    {"RootEndsEntry", u"9 + 1 6 Q =", u"4", nullptr, F, u'=', 4, 5, 1, 0},
    {"CarriedOnWithDisplayDigits", u"1 / 3 =", u"0,333333333333333", u"0.333333333333333", F, u'=', 0.333333333333333, 4, 1, 0},
    {"ThirdTimesThree", u"1 / 3 = * 3 =", u"0,999999999999999", u"0.999999999999999", F, u'=', 0.999999999999999, 7, 2, 0},
    {"FixedDown", u"1 / 1 0 0 0 0 =", u"0,0001", u"0.0001", F, u'=', 0.0001, 8, 1, 0},
    {"ExponentDown", u"1 / 1 0 0 0 0 0 =", u"1E-5", nullptr, F, u'=', 1e-5, 9, 1, 0},
    {"ExponentUp", u"1 0 0 0 0 0 0 0 * 1 0 0 0 0 0 0 0 0 =", u"1E15", nullptr, F, u'=', 1e15, 19, 1, 0},
    // Percent, by the pending operator.
    {"PercentOfSum", u"2 0 0 + 5 %", u"210", nullptr, F, u'%', 210, 6, 1, 0},
    {"PercentOfDifference", u"2 0 0 - 5 %", u"190", nullptr, F, u'%', 190, 6, 1, 0},
    {"PercentFactor", u"2 0 0 * 5 %", u"10", nullptr, F, u'%', 10, 6, 1, 0},
    {"PercentDivisor", u"2 0 0 / 5 %", u"4000", nullptr, F, u'%', 4000, 6, 1, 0},
    {"PercentAlone", u"5 %", u"5", nullptr, F, u'%', 5, 1, 1, 0},
    // The error state: entered with a beep, left only by C.
    {"DivideByZero", u"5 / 0 =", u"Error", nullptr, X, u'=', 0, 3, 1, 1},
    {"PercentDivisorZero", u"2 0 0 / 0 %", u"Error", nullptr, X, u'%', 0, 5, 1, 1},
    {"NegativeRoot", u"9 _ Q", u"Error", nullptr, X, 0, 0, 3, 0, 1},
    {"ZeroReciprocal", u"0 R", u"Error", nullptr, X, 0, 0, 1, 0, 1},
    {"ErrorIgnoresKeys", u"5 / 0 = 1 + \b , _ Q R =", u"Error", nullptr, X, u'=', 0, 3, 1, 1},
    {"ClearLeavesError", u"5 / 0 = 1 C", u"0", nullptr, F, u'=', 0, 4, 1, 1},
    // Clear, root, reciprocal, in either case.
    {"ClearKeepsOperand", u"2 + 3 C", u"0", nullptr, F, u'=', 2, 4, 0, 0},
    {"ClearDropsPendingOperator", u"2 + 3 C 4 =", u"4", nullptr, F, u'=', 4, 5, 1, 0},
    {"LowerCaseRoot", u"9 q", u"3", nullptr, F, 0, 0, 2, 0, 0},
    {"LowerCaseReciprocal", u"4 r", u"0,25", u"0.25", F, 0, 0, 2, 0, 0},
    {"LowerCaseClear", u"1 2 + 3 c", u"0", nullptr, F, u'=', 12, 5, 0, 0},
    {"UnknownKeysIgnored", u"1 x # 2", u"12", nullptr, E, 0, 0, 2, 0, 0},
    // The length limit: 15 characters, sign not counted, separator and a leading "0" counted.
    {"FifteenDigits", u"999999999999999", u"999999999999999", nullptr, E, 0, 0, 15, 0, 0},
    {"SixteenthDigitBeeps", u"9999999999999999", u"999999999999999", nullptr, E, 0, 0, 15, 0, 1},
    {"NegatedFullNumberFull", u"9999999999999999 _ 9", u"-999999999999999", nullptr, E, 0, 0, 16, 0, 2},
    {"NegativeTakesFifteen", u"5 _ 12345678901234", u"-512345678901234", nullptr, E, 0, 0, 16, 0, 0},
    {"NegativeSixteenthBeeps", u"5 _ 123456789012345", u"-512345678901234", nullptr, E, 0, 0, 16, 0, 1},
    {"SeparatorCounts", u", 12345678901234", u"0,1234567890123", u"0.1234567890123", E, 0, 0, 14, 0, 1},
    // Starting an entry.
    {"NoLeadingZeros", u"0 0 7", u"7", nullptr, E, 0, 0, 1, 0, 0},
    {"ZeroOnZeroChangesNothing", u"0 0", u"0", nullptr, E, 0, 0, 0, 0, 0},
    {"CommaStartsEntry", u", 5", u"0,5", u"0.5", E, 0, 0, 2, 0, 0},
    {"PointStartsEntry", u". 5", u"0,5", u"0.5", E, 0, 0, 2, 0, 0},
    {"SecondSeparatorRefused", u"0 , 5 . 5", u"0,55", u"0.55", E, 0, 0, 3, 0, 0},
    {"SeparatorAfterResult", u"1 2 + 3 = , 5", u"0,5", u"0.5", E, u'=', 15, 8, 1, 0},
    {"DigitAfterResult", u"1 2 + 3 = 7", u"7", nullptr, E, u'=', 15, 7, 1, 0},
    // Backspace.
    {"BackspaceDigit", u"1 2 3 \b", u"12", nullptr, E, 0, 0, 4, 0, 0},
    {"BackspaceLastDigit", u"7 \b", u"0", nullptr, E, 0, 0, 2, 0, 0},
    {"BackspaceNegativeDigit", u"5 _ \b", u"0", nullptr, E, 0, 0, 3, 0, 0},
    {"BackspaceOnResult", u"1 2 + 3 = \b", u"0", nullptr, E, u'=', 15, 6, 1, 0},
    // Sign change: reformats the display, keeps the entry state.
    {"SignOnZero", u"_", u"0", nullptr, F, 0, 0, 0, 0, 0},
    {"SignWhileTyping", u"1 2 , _ 3", u"-123", nullptr, E, 0, 0, 5, 0, 0},
    {"SignDropsTrailingZero", u"0 , 5 0 _", u"-0,5", u"-0.5", E, 0, 0, 4, 0, 0},
    {"SignOnResult", u"2 + 3 = _", u"-5", nullptr, F, u'=', 5, 5, 1, 0},
    // The exponent form while typing: no more digits; an "E" without digits reads as E0.
    {"ExponentWhileTyping", u"0 , 0 0 0 0 1 _", u"-1E-5", nullptr, E, 0, 0, 7, 0, 0},
    {"DigitRefusedInExponent", u"0 , 0 0 0 0 1 _ 5", u"-1E-5", nullptr, E, 0, 0, 7, 0, 0},
    {"BackspaceInExponent", u"0 , 0 0 0 0 1 _ \b", u"-1E-", nullptr, E, 0, 0, 8, 0, 0},
    {"ExponentWithoutDigits", u"0 , 0 0 0 0 1 _ \b =", u"-1E-", nullptr, F, u'=', -1, 8, 1, 0},
};
// clang-format on

class CalculatorKeys : public testing::TestWithParam<std::tuple<KeyCase, NumberSeparators>>
{};

TEST_P(CalculatorKeys, Sequence)
{
    const auto& [c, separators] = GetParam();
    RecordingEngine r(separators);
    r.Press(c.Keys);

    const char16_t* display = separators == En && c.English ? c.English : c.German;
    EXPECT_EQ(r.Engine.DisplayText(), QString::fromUtf16(display));
    EXPECT_EQ(r.Engine.EntryState(), c.State);
    EXPECT_EQ(r.Engine.PendingOperator(), QChar(c.Pending));
    EXPECT_DOUBLE_EQ(r.Engine.Operand(), c.Operand);
    EXPECT_EQ(r.DisplayChanges, c.DisplayChanges) << r.Log.join(u' ').toStdString();
    EXPECT_EQ(r.ResultKeys, c.ResultKeys);
    EXPECT_EQ(r.Beeps, c.Beeps);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CalculatorKeys, testing::Combine(testing::ValuesIn(KeyCases), testing::Values(De, En)),
    [](const testing::TestParamInfo<std::tuple<KeyCase, NumberSeparators>>& info) {
        return std::string(std::get<0>(info.param).Name) +
               (std::get<1>(info.param) == De ? "_De" : "_En");
    });

TEST(CalculatorEngine, NotificationOrder)
{
    RecordingEngine sum(De);
    sum.Press(u"1 2 + 3 =");
    EXPECT_EQ(sum.Log.join(u' '), u"D:1 D:12 D:0 D:3 D:15 R");

    RecordingEngine error(De);
    error.Press(u"5 / 0 =");
    EXPECT_EQ(error.Log.join(u' '), u"D:5 D:0 D:Error B R");
}

TEST(CalculatorEngine, StartsFresh)
{
    const TCalculatorEngine engine;
    EXPECT_EQ(engine.DisplayText(), u"0");
    EXPECT_EQ(engine.EntryState(), F);
    EXPECT_EQ(engine.PendingOperator(), QChar(0));
    EXPECT_EQ(engine.Operand(), 0.0);
    EXPECT_EQ(engine.Precision(), 15);
    EXPECT_TRUE(engine.BeepOnError());
}

TEST(CalculatorEngine, LoadNumberKeepsOperand)
{
    for (const auto separators : {De, En}) {
        SCOPED_TRACE(separators == De ? "German" : "English");
        RecordingEngine r(separators);
        r.Press(u"2 + 3 =");
        r.Engine.LoadNumber(12.5);
        EXPECT_EQ(r.Engine.DisplayText(), separators == De ? u"12,5" : u"12.5");
        EXPECT_EQ(r.Engine.EntryState(), F);
        EXPECT_EQ(r.Engine.PendingOperator(), u'=');
        EXPECT_EQ(r.Engine.Operand(), 5.0);

        // The loaded number is not being typed: an operator takes it as it stands.
        r.Press(u"+ 1 =");
        EXPECT_EQ(r.Engine.DisplayText(), separators == De ? u"13,5" : u"13.5");
    }
}

TEST(CalculatorEngine, PrecisionSetsDigitsAndLengthLimit)
{
    RecordingEngine five(De);
    five.Engine.SetPrecision(5);
    five.Press(u"2 / 3 =");
    EXPECT_EQ(five.Engine.DisplayText(), u"0,66667");
    five.Press(u"123456");
    EXPECT_EQ(five.Engine.DisplayText(), u"12345");
    EXPECT_EQ(five.Beeps, 1);

    // Never fewer than two digits.
    RecordingEngine zero(De);
    zero.Engine.SetPrecision(0);
    zero.Press(u"2 / 3 =");
    EXPECT_EQ(zero.Engine.DisplayText(), u"0,67");
    zero.Press(u"123");
    EXPECT_EQ(zero.Engine.DisplayText(), u"12");
    EXPECT_EQ(zero.Beeps, 1);
}

TEST(CalculatorEngine, BeepOnErrorOffIsSilent)
{
    RecordingEngine r(De);
    r.Engine.SetBeepOnError(false);
    r.Press(u"9999999999999999");
    r.Press(u"/ 0 =");
    EXPECT_EQ(r.Engine.DisplayText(), u"Error");
    EXPECT_EQ(r.Beeps, 0);

    // Without a beep sink the refusals are silent too.
    TCalculatorEngine silent;
    for (const char16_t key : std::u16string_view(u"5/0="))
        silent.ProcessKey(QChar(key));
    EXPECT_EQ(silent.DisplayText(), u"Error");
}

// An overflow ends the key where it happens: the entry is over, the last typed number stays, the
// pending operator and its operand are untouched, and no result notification comes.
struct OverflowCase
{
    const char* Name;
    double Loaded;
    const char16_t* Keys;
    char16_t FailingKey;
    const char16_t* Display;
};

void PrintTo(const OverflowCase& c, std::ostream* os)
{
    *os << c.Name;
}

const OverflowCase OverflowCases[] = {
    {"Product", 1e308, u"* 1 0", u'=', u"10"},
    {"Quotient", 1e300, u"/ , 0 0 0 0 0 0 0 0 0 0 0 0 1", u'=', u"0,0000000000001"},
    {"SumThroughPercent", 1e308, u"+ 1 0 0", u'%', u"100"},
    {"NegativeSumThroughPercent", -1e308, u"+ 1 0 0", u'%', u"100"},
    // 1E-310 is subnormal: its nearest double shows with 15 digits as below.
    {"ReciprocalOfSubnormal", 1e-310, u"", u'R', u"9,99999999999997E-311"},
};

class CalculatorOverflow : public testing::TestWithParam<OverflowCase>
{};

TEST_P(CalculatorOverflow, LeavesStateAsItWas)
{
    const OverflowCase& c = GetParam();
    RecordingEngine r(De);
    r.Engine.LoadNumber(c.Loaded);
    r.Press(c.Keys);
    const QChar pending = r.Engine.PendingOperator();
    const double operand = r.Engine.Operand();
    const int changes = r.DisplayChanges;

    EXPECT_THROW(r.Engine.ProcessKey(QChar(c.FailingKey)), EOverflow);
    EXPECT_EQ(r.Engine.EntryState(), F);
    EXPECT_EQ(r.Engine.DisplayText(), QString::fromUtf16(c.Display));
    EXPECT_EQ(r.Engine.PendingOperator(), pending);
    EXPECT_EQ(r.Engine.Operand(), operand);
    EXPECT_EQ(r.DisplayChanges, changes);
    EXPECT_EQ(r.ResultKeys, 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, CalculatorOverflow, testing::ValuesIn(OverflowCases),
                         [](const testing::TestParamInfo<OverflowCase>& info) {
                             return std::string(info.param.Name);
                         });

TEST(CalculatorEngine, RepeatedMultiplicationOverflows)
{
    RecordingEngine r(De);
    const std::u16string_view nines = u"999999999999999";
    r.Press(nines);
    // (1E15)^20 still fits; the 21st factor passes the double range.
    for (int factor = 2; factor <= 21; ++factor) {
        r.Press(u"*");
        r.Press(nines);
    }
    const double operand = r.Engine.Operand();
    EXPECT_GT(operand, 1e299);
    EXPECT_THROW(r.Press(u"*"), EOverflow);
    EXPECT_EQ(r.Engine.EntryState(), F);
    EXPECT_EQ(r.Engine.DisplayText(), u"999999999999999");
    EXPECT_EQ(r.Engine.PendingOperator(), u'*');
    EXPECT_EQ(r.Engine.Operand(), operand);

    // The next digit starts a new entry as usual.
    r.Press(u"2");
    EXPECT_EQ(r.Engine.DisplayText(), u"2");
}

TEST(CalculatorEngine, LargestDoubleDoesNotReadBack)
{
    // Rounded to 15 digits the largest double lies beyond the double range.
    RecordingEngine r(De);
    r.Engine.LoadNumber(DBL_MAX);
    EXPECT_EQ(r.Engine.DisplayText(), u"1,79769313486232E308");
    EXPECT_THROW(r.Engine.DisplayValue(), EOverflow);
    EXPECT_THROW(r.Press(u"+"), EOverflow);
    EXPECT_EQ(r.Engine.PendingOperator(), u'=');
    EXPECT_EQ(r.Engine.Operand(), 0.0);
}

TEST(CalculatorEngine, ShowNumberRefusesNonFinite)
{
    RecordingEngine r(De);
    r.Press(u"7");
    EXPECT_THROW(r.Engine.ShowNumber(std::numeric_limits<double>::infinity()), EOverflow);
    EXPECT_THROW(r.Engine.ShowNumber(-std::numeric_limits<double>::infinity()), EOverflow);
    EXPECT_THROW(r.Engine.ShowNumber(std::nan("")), EInvalidOp);
    EXPECT_EQ(r.Engine.DisplayText(), u"7");
    EXPECT_EQ(r.DisplayChanges, 1);
}

TEST(CalculatorEngine, SeparatorAfterExponentDoesNotRead)
{
    for (const auto separators : {De, En}) {
        SCOPED_TRACE(separators == De ? "German" : "English");
        const QString shown = QString::fromUtf16(separators == De ? u"-1E-5," : u"-1E-5.");
        RecordingEngine r(separators);
        r.Press(u"0 , 0 0 0 0 1 _ ,");
        EXPECT_EQ(r.Engine.DisplayText(), shown);

        try {
            r.Engine.DisplayValue();
            ADD_FAILURE() << "DisplayValue read an unreadable display";
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(),
                      u'\'' + shown + QStringLiteral("' ist kein gültiger Gleitkommawert"));
        }

        // The operator stops at reading the display: the entry is over, nothing else moved.
        EXPECT_THROW(r.Press(u"+"), EConvertError);
        EXPECT_EQ(r.Engine.EntryState(), F);
        EXPECT_EQ(r.Engine.DisplayText(), shown);
        EXPECT_EQ(r.Engine.PendingOperator(), QChar(0));
        EXPECT_EQ(r.Engine.Operand(), 0.0);
        EXPECT_EQ(r.ResultKeys, 0);

        // A digit starts afresh; C would as well.
        r.Press(u"5");
        EXPECT_EQ(r.Engine.DisplayText(), u"5");
    }
}

} // namespace
