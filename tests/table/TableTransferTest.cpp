#include "table/TableTransfer.h"

#include "ComputedLine.h"

#include <gtest/gtest.h>

using namespace kalvo;

namespace {

constexpr auto De = NumberSeparators::German();
constexpr auto En = NumberSeparators::English();

// A table of lines at rate 19, computed as the window computes them.
struct Fixture
{
    explicit Fixture(std::initializer_list<double> nets, NumberSeparators seps = De)
    {
        Table.SetUp(State, seps);
        for (const double net : nets)
            Table.AddLine(State, test::ComputedLine(net, 19), seps);
    }
    TCalcState State;
    TRecordTable Table;
};

TEST(TablePrintLayout, TwoLinesOnAPageOfScaleOne)
{
    Fixture f{100, 50};
    const TPrintLayout layout = TablePrintLayout(f.Table, f.State.TabellenZeile, 6777, De);
    EXPECT_EQ(layout.S, 1.0);
    const std::vector<TPrintItem> expected{
        {600, 200, QStringLiteral("Umsatzsteuerberechnungen")},
        {600, 600, QStringLiteral(" Nr.          Netto         Brutto            USt    %")},
        {600, 900, QStringLiteral("   1         100,00         119,00          19,00   19 %")},
        {600, 1000, QStringLiteral("   2          50,00          59,50           9,50   19 %")},
        {600, 1200, QStringLiteral("ges.         150,00         178,50          28,50")},
    };
    EXPECT_EQ(layout.Items, expected);
    EXPECT_FALSE(layout.Failure);
    EXPECT_EQ(layout.Items[1].Text.size(), 54);
    EXPECT_EQ(layout.Items[2].Text.size(), 56);
    EXPECT_EQ(layout.Items[4].Text.size(), 49);
}

TEST(TablePrintLayout, PositionsAreTruncatedFromExtendedProducts)
{
    const struct
    {
        int H;
        int Lines;
        TPrintItem Title, Header, Totals;
    } cases[] = {
        // An empty table: the totals 400 * s below the header.
        {6777, 0, {600, 200, {}}, {600, 600, {}}, {600, 1000, {}}},
        {13554, 0, {1200, 400, {}}, {1200, 1200, {}}, {1200, 2000, {}}},
        // s is the double just below 2/3: 600 * s is 399, not 400.
        {4518, 1, {399, 133, {}}, {399, 399, {}}, {399, 533 + 199, {}}},
    };
    for (const auto& c : cases) {
        std::initializer_list<double> one{100}, none{};
        Fixture f(c.Lines ? one : none);
        const auto layout = TablePrintLayout(f.Table, f.State.TabellenZeile, c.H, De);
        ASSERT_EQ(layout.Items.size(), std::size_t(3 + c.Lines));
        EXPECT_EQ(layout.Items[0].X, c.Title.X) << c.H;
        EXPECT_EQ(layout.Items[0].Y, c.Title.Y) << c.H;
        EXPECT_EQ(layout.Items[1].Y, c.Header.Y) << c.H;
        EXPECT_EQ(layout.Items.back().X, c.Totals.X) << c.H;
        EXPECT_EQ(layout.Items.back().Y, c.Totals.Y) << c.H;
        if (c.Lines) {
            EXPECT_EQ(layout.Items[2].Y, 599) << c.H;
        }
    }
    Fixture empty{};
    EXPECT_EQ(TablePrintLayout(empty.Table, 1, 6777, De).Items.back().Text,
              QStringLiteral("ges.           0,00           0,00           0,00"));
}

TEST(TablePrintLayout, TheRateColumnKeepsItsPercentSign)
{
    Fixture f{};
    f.Table.AddLine(f.State, {100, 107.5, 7.5, 7.5}, De);
    const auto layout = TablePrintLayout(f.Table, f.State.TabellenZeile, 6777, De);
    EXPECT_TRUE(layout.Items[2].Text.endsWith(u"  7,5 %"));
}

TEST(TablePrintLayout, ACellThatDoesNotReadBackStopsAfterItsLine)
{
    // Written with a German comma, read after the locale switched to English.
    Fixture f{100, 50};
    const auto layout = TablePrintLayout(f.Table, f.State.TabellenZeile, 6777, En);
    ASSERT_TRUE(layout.Failure);
    EXPECT_EQ(*layout.Failure, u"'100,00' ist kein gültiger Gleitkommawert");
    EXPECT_EQ(layout.Items.size(), 3u); // title, header, line 1
}

TEST(TableClipboardText, TabsBetweenCellsAndCrLfAfterEveryLine)
{
    Fixture two{100, 50};
    EXPECT_EQ(TableClipboardText(two.Table, two.State.TabellenZeile),
              u"Netto\tBrutto\tUSt\t%\r\n100,00\t119,00\t19,00\t19\r\n"
              u"50,00\t59,50\t9,50\t19\r\n");

    two.Table.Clear(two.State, De);
    EXPECT_EQ(TableClipboardText(two.Table, two.State.TabellenZeile), u"Netto\tBrutto\tUSt\t%\r\n");

    Fixture millions{2500000};
    EXPECT_EQ(TableClipboardText(millions.Table, millions.State.TabellenZeile),
              u"Netto\tBrutto\tUSt\t%\r\n2500000,00\t2975000,00\t475000,00\t19\r\n");
}

} // namespace
