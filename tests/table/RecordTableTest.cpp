#include "table/RecordTable.h"

#include "ComputedLine.h"

#include <QStringList>

#include <gtest/gtest.h>

using namespace kalvo;
using kalvo::test::ComputedLine;

namespace {

constexpr auto De = NumberSeparators::German();

QString Row(const TRecordTable& t, int row)
{
    QStringList cells;
    for (int c = 0; c < TRecordTable::ColumnCount; ++c)
        cells << t.Cell(c, row);
    return cells.join(u" / ");
}

class Table : public ::testing::Test
{
protected:
    void SetUp() override { T.SetUp(State, De); }
    void Add(double net, double rate = 19) { T.AddLine(State, ComputedLine(net, rate), De); }
    TCalcState State;
    TRecordTable T;
};

TEST_F(Table, StartsWithTheHeaderAndThePlaceholderLine)
{
    EXPECT_EQ(Row(T, 0), u"Netto / Brutto / USt / %");
    EXPECT_EQ(Row(T, 1), u"0,00 / 0,00 / 0,00 / 0");
    EXPECT_EQ(State.TabellenZeile, 1);
    EXPECT_EQ(T.RowCount(), 2);
}

TEST_F(Table, AddedLinesCarryTwoDecimalsAndNoGrouping)
{
    const struct
    {
        double Net, Rate;
        const char16_t* Row;
    } cases[] = {
        {100, 19, u"100,00 / 119,00 / 19,00 / 19"},
        {1234.5, 19, u"1234,50 / 1469,06 / 234,56 / 19"},
        {100, 7.5, u"100,00 / 107,50 / 7,50 / 7,5"},
        {100, 16, u"100,00 / 116,00 / 16,00 / 16"},
        {100, 8.75, u"100,00 / 108,75 / 8,75 / 8,8"},
        {1234567.891, 19, u"1234567,89 / 1469135,79 / 234567,90 / 19"},
    };
    int row = 1;
    for (const auto& c : cases) {
        Add(c.Net, c.Rate);
        EXPECT_EQ(Row(T, row), QString::fromUtf16(c.Row));
        ++row;
        EXPECT_EQ(State.TabellenZeile, row);
        EXPECT_EQ(T.RowCount(), std::max(row, 2));
    }
}

TEST_F(Table, ANetAmountOfZeroOrLessAddsNothing)
{
    for (const double net : {0.0, -5.0, -0.0}) {
        EXPECT_FALSE(T.AddLine(State, ComputedLine(net, 19), De));
    }
    EXPECT_EQ(State.TabellenZeile, 1);
    EXPECT_EQ(Row(T, 1), u"0,00 / 0,00 / 0,00 / 0");
    // A positive net amount with a negative gross amount (a negative rate) is still added.
    EXPECT_TRUE(T.AddLine(State, ComputedLine(100, -150), De));
    EXPECT_EQ(Row(T, 1), u"100,00 / -50,00 / -150,00 / -150");
}

TEST_F(Table, DeletingTheLastLine)
{
    Add(100);
    Add(50);
    Add(10);
    T.DeleteLastLine(State, De);
    EXPECT_EQ(State.TabellenZeile, 3);
    EXPECT_EQ(T.RowCount(), 3);
    EXPECT_EQ(Row(T, 2), u"50,00 / 59,50 / 9,50 / 19");
    T.DeleteLastLine(State, De);
    T.DeleteLastLine(State, De); // the last line: the placeholder comes back
    EXPECT_EQ(State.TabellenZeile, 1);
    EXPECT_EQ(T.RowCount(), 2);
    EXPECT_EQ(Row(T, 1), u"0,00 / 0,00 / 0,00 / 0");
    T.DeleteLastLine(State, De);
    EXPECT_EQ(State.TabellenZeile, 1);
    EXPECT_EQ(Row(T, 1), u"0,00 / 0,00 / 0,00 / 0");
}

TEST_F(Table, ClearingAndAddingAgain)
{
    for (int i = 1; i <= 10; ++i)
        Add(i);
    T.Clear(State, De);
    EXPECT_EQ(State.TabellenZeile, 1);
    EXPECT_EQ(T.RowCount(), 2);
    EXPECT_EQ(Row(T, 1), u"0,00 / 0,00 / 0,00 / 0");
    Add(100);
    EXPECT_EQ(Row(T, 1), u"100,00 / 119,00 / 19,00 / 19");
    EXPECT_EQ(State.TabellenZeile, 2);
}

} // namespace
