#include "core/VatComputation.h"

#include "core/Errors.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <optional>
#include <vector>

using namespace kalvo;

namespace {

constexpr auto De = NumberSeparators::German();
constexpr auto En = NumberSeparators::English();

// The two amount fields a computation sets, recorded in order.
struct RecordedFields : TAmountFields
{
    std::vector<std::pair<char, double>> Sets;
    void SetNetValue(double v) override { Sets.emplace_back('N', v); }
    void SetVatValue(double v) override { Sets.emplace_back('V', v); }
    void SetGrossValue(double v) override { Sets.emplace_back('G', v); }
};

TCalcState AtRate(double satz)
{
    TCalcState s;
    s.Satz = satz;
    return s;
}

struct DriveCase
{
    const char* Name;
    double Rate;
    char Driver; // 'N' net, 'V' VAT, 'G' gross
    long double Input;
    double Netto, Steuer, Brutto;
};

TEST(VatComputation, EachFieldDrivesTheOtherTwo)
{
    const DriveCase cases[] = {
        {"net at 19", 19, 'N', 100, 100, 19, 119},
        {"gross at 19", 19, 'G', 119, 100, 19, 119},
        {"VAT at 19", 19, 'V', 19, 100, 19, 119},
        {"net at 7.7", 7.7, 'N', 100, 100, 7.7, 107.7},
        // The stored amounts keep all digits; the fields show them with two.
        {"net 10.01", 19, 'N', 10.01L, 10.01, 1.9019, 11.9119},
        {"net, empty rate", 0, 'N', 50, 50, 0, 50},
        {"gross, empty rate", 0, 'G', 50, 50, 0, 50},
        {"negative rate", -150, 'N', 100, 100, -150, -50},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TCalcState s = AtRate(c.Rate);
        RecordedFields fields;
        if (c.Driver == 'N')
            ComputeFromNet(s, c.Input, fields);
        else if (c.Driver == 'V')
            ComputeFromVat(s, c.Input, fields);
        else
            ComputeFromGross(s, c.Input, fields);
        EXPECT_EQ(s.Netto, c.Netto);
        EXPECT_EQ(s.Steuer, c.Steuer);
        EXPECT_EQ(s.Brutto, c.Brutto);
        ASSERT_EQ(fields.Sets.size(), 2u);
    }
}

TEST(VatComputation, FieldsAreSetInTheOrderOfTheFormulas)
{
    RecordedFields net, vat, gross;
    TCalcState s = AtRate(19);
    ComputeFromNet(s, 100, net);
    ComputeFromVat(s, 19, vat);
    ComputeFromGross(s, 119, gross);
    EXPECT_EQ(net.Sets, (std::vector<std::pair<char, double>>{{'V', 19}, {'G', 119}}));
    EXPECT_EQ(vat.Sets, (std::vector<std::pair<char, double>>{{'N', 100}, {'G', 119}}));
    EXPECT_EQ(gross.Sets, (std::vector<std::pair<char, double>>{{'V', 19}, {'N', 100}}));
}

TEST(VatComputation, ExtendedPrecisionGivesTheNearestDouble)
{
    // Gross 100 at 19 shows a net of 84,03; the rate 20 then computes from that 84.03.
    TCalcState s = AtRate(20);
    RecordedFields fields;
    ComputeFromNet(s, 84.03L, fields);
    EXPECT_EQ(s.Steuer, 16.806);
    const double plain = (84.03 * 20.0) / 100.0;
    EXPECT_NE(plain, 16.806); // plain double arithmetic lands one unit lower
    EXPECT_EQ(s.Brutto, 100.836);
}

TEST(VatComputation, DivisionFaultsStopAfterStoringTheDrivingAmount)
{
    const struct
    {
        const char* Name;
        double Rate;
        char Driver;
        long double Input;
        const char16_t* Message;
    } cases[] = {
        {"VAT at rate 0", 0, 'V', 19, u"Gleitkommadivision durch Null"},
        {"zero VAT at rate 0", 0, 'V', 0, u"Ungültige Gleitkommaoperation"},
        {"gross at rate -100", -100, 'G', 50, u"Gleitkommadivision durch Null"},
        {"zero gross at rate -100", -100, 'G', 0, u"Ungültige Gleitkommaoperation"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TCalcState s = AtRate(c.Rate);
        s.Netto = 1;
        s.Steuer = 2;
        s.Brutto = 3;
        RecordedFields fields;
        try {
            if (c.Driver == 'V')
                ComputeFromVat(s, c.Input, fields);
            else
                ComputeFromGross(s, c.Input, fields);
            ADD_FAILURE() << "no exception";
        } catch (const EMathError& e) {
            EXPECT_EQ(e.Message(), QStringView(c.Message));
        }
        EXPECT_TRUE(fields.Sets.empty());
        if (c.Driver == 'V') {
            EXPECT_EQ(s.Steuer, static_cast<double>(c.Input));
            EXPECT_EQ(s.Netto, 1);
        } else {
            EXPECT_EQ(s.Brutto, static_cast<double>(c.Input));
            EXPECT_EQ(s.Steuer, 2);
        }
    }
}

TEST(VatComputation, OverflowStopsWhereTheValueIsStored)
{
    // The net amount itself is beyond the double range: nothing is stored.
    TCalcState s = AtRate(19);
    RecordedFields fields;
    EXPECT_THROW(ComputeFromNet(s, 1e400L, fields), EOverflow);
    EXPECT_EQ(s.Netto, 0);
    EXPECT_TRUE(fields.Sets.empty());

    // The VAT overflows: the net amount is stored, no field is set.
    s = AtRate(1e11);
    EXPECT_THROW(ComputeFromNet(s, 1e300L, fields), EOverflow);
    EXPECT_EQ(s.Netto, 1e300);
    EXPECT_TRUE(fields.Sets.empty());

    // The gross overflows after the VAT field was set.
    fields.Sets.clear();
    s = AtRate(100);
    EXPECT_THROW(ComputeFromNet(s, DBL_MAX, fields), EOverflow);
    EXPECT_EQ(fields.Sets.size(), 1u);
}

TEST(RateFromText, ConvertsTheTextUnchanged)
{
    EXPECT_EQ(RateFromText(u"", De), 0);
    EXPECT_EQ(RateFromText(u"19,5", De), 19.5);
    EXPECT_EQ(RateFromText(u"19.5", En), 19.5);
    EXPECT_EQ(RateFromText(u",", De), 0);
    EXPECT_EQ(RateFromText(u"7,7", De), 7.7);
    EXPECT_THROW(RateFromText(u"1E400", De), EOverflow);
    const struct
    {
        const char16_t* Text;
        const char16_t* Message;
    } refused[] = {
        {u"-", u"'-' ist kein gültiger Gleitkommawert"},
        {u"19.5", u"'19.5' ist kein gültiger Gleitkommawert"},
        {u"19%", u"'19%' ist kein gültiger Gleitkommawert"},
    };
    for (const auto& r : refused) {
        try {
            RateFromText(r.Text, De);
            ADD_FAILURE() << "no exception";
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), QStringView(r.Message));
        }
    }
}

TEST(ReadRate, ARefusedTextKeepsTheRate)
{
    TCalcState s = AtRate(19);
    EXPECT_THROW(ReadRate(s, u"abc", De), EConvertError);
    EXPECT_EQ(s.Satz, 19);
    ReadRate(s, u"", De);
    EXPECT_EQ(s.Satz, 0);
}

TEST(RateText, OneDecimal)
{
    EXPECT_EQ(RateText(19, De), u"19,0");
    EXPECT_EQ(RateText(7.7, De), u"7,7");
    EXPECT_EQ(RateText(7.7, En), u"7.7");
    EXPECT_EQ(RateText(8.75, De), u"8,8");
}

TEST(Spin, StepsByOneAndNeverBelowZero)
{
    const struct
    {
        double From;
        bool Up;
        double To;
    } cases[] = {
        {0.5, false, 0},    {0, false, 0},  {99, true, 100},
        {7.75, true, 8.75}, {-3, true, -2}, {1e300, true, 1e300},
    };
    for (const auto& c : cases) {
        TCalcState s = AtRate(c.From);
        c.Up ? SpinUp(s) : SpinDown(s);
        EXPECT_EQ(s.Satz, c.To) << c.From;
    }
    // The text written after a step is what the rate becomes: 7.75 + 1 shows and uses 8,8.
    TCalcState s = AtRate(7.75);
    SpinUp(s);
    EXPECT_EQ(RateFromText(RateText(s.Satz, De), De), 8.8);
}

TEST(AddLineAllowed, OnlyForAPositiveGrossAmount)
{
    TCalcState s = AtRate(-150);
    RecordedFields fields;
    ComputeFromNet(s, 100, fields);
    EXPECT_FALSE(AddLineAllowed(s));
    s = AtRate(19);
    ComputeFromNet(s, 100, fields);
    EXPECT_TRUE(AddLineAllowed(s));
    ComputeFromNet(s, 0, fields);
    EXPECT_FALSE(AddLineAllowed(s));
}

TEST(MapRateKey, BothSeparatorKeysGiveTheLocalesOne)
{
    EXPECT_EQ(MapRateKey(u',', De), u',');
    EXPECT_EQ(MapRateKey(u'.', De), u',');
    EXPECT_EQ(MapRateKey(u',', En), u'.');
    EXPECT_EQ(MapRateKey(u'.', En), u'.');
    EXPECT_EQ(MapRateKey(u'a', De), u'a');
    EXPECT_EQ(MapRateKey(u'-', De), u'-');
    // A locale with another decimal character: "0.0" does not give "0,0", so "." it is.
    EXPECT_EQ(MapRateKey(u',', NumberSeparators{u'\u066B', u'\u066C'}), u'.');
}

} // namespace
