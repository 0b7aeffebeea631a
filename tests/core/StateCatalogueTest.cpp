#include "core/StateCatalogue.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <set>

using namespace kalvo;

namespace {

TEST(StateCatalogue, RowsAreNumberedAndUseEachFlagOnce)
{
    std::set<QString> flags;
    for (int i = 0; i < StateCount; ++i) {
        EXPECT_EQ(StateCatalogue[i].Index, i);
        EXPECT_EQ(StateCatalogue[i].HasRate, i != EuroState);
        flags.insert(StateCatalogue[i].FlagBitmap.toString());
    }
    EXPECT_EQ(flags.size(), 30u);
    EXPECT_TRUE(flags.contains(QStringLiteral("BITMAP_1")));
    EXPECT_TRUE(flags.contains(QStringLiteral("BITMAP_30")));
}

TEST(StateCatalogue, ListedAndAppliedRatesDifferOnlyForEstlandAndSchweiz)
{
    for (const auto& row : StateCatalogue) {
        if (!row.HasRate)
            continue;
        const auto listed = row.ListText.mid(row.ListText.lastIndexOf(u' ') + 1).chopped(1);
        const double listedRate = listed.toDouble();
        const double applied = row.Index == 5 ? 22.0 : row.Index == 23 ? 7.7 : listedRate;
        EXPECT_EQ(row.Rate, applied) << row.ListText.toString().toStdString();
    }
    EXPECT_EQ(StateCatalogue[17].CurrencyLabel, u"NKK");
    EXPECT_EQ(StateCatalogue[2].CurrencyLabel, u"BGL");
    EXPECT_EQ(StateCatalogue[19].ListText, u"Österreich - 20%");
    EXPECT_EQ(StateCatalogue[24].FlagHint, u"Slowakische Republik");
}

QStringList Names(std::span<const TMenuItemSpec> menu, int depth)
{
    QStringList names;
    for (const auto& item : menu) {
        if (item.Depth == depth)
            names << item.Name.toString();
    }
    return names;
}

TEST(OptionsMenu, TopLevelItemsInOrder)
{
    EXPECT_EQ(Names(OptionsMenu(), 0).join(u' '),
              u"Hilfe1 Ontop1 Tooltips1 gross Europa1 zeilj Tabdruck1 Tabschen1 letzte1 Zwisch1 "
              u"N2 ber1 N1 raus");
    const auto menu = OptionsMenu();
    EXPECT_FALSE(menu[4].Visible);
    for (const auto& item : menu) {
        const bool tableCommand = item.Name == u"Tabdruck1" || item.Name == u"Tabschen1" ||
                                  item.Name == u"letzte1" || item.Name == u"Zwisch1";
        EXPECT_EQ(item.EnabledAtCreation, !tableCommand) << item.Name.toString().toStdString();
    }
    EXPECT_EQ(menu.back().Caption, u"Sch&ließen\tAlt+F4");
    EXPECT_EQ(menu.back().ShortCut, scNone);
}

TEST(OptionsMenu, TheStaatSubmenuHolds28StatesWithOesterreichBeforePolen)
{
    const QStringList names = Names(OptionsMenu(), 1);
    ASSERT_EQ(names.size(), 28);
    EXPECT_EQ(names.first(), u"EUROPA2");
    EXPECT_EQ(names.last(), u"Zypern1");
    EXPECT_FALSE(names.join(u' ').contains(u"Bulgarien"));
    EXPECT_FALSE(names.join(u' ').contains(u"Rumnien"));
    EXPECT_EQ(names.indexOf(u"sterreich1") + 1, names.indexOf(u"Polen1"));
    // Tags as laid out.
    for (const auto& item : OptionsMenu()) {
        if (item.Name == u"sterreich1") {
            EXPECT_EQ(item.Tag, 13);
        } else if (item.Name == u"Spanien1") {
            EXPECT_EQ(item.Tag, 17);
        } else if (item.Name == u"Estland1") {
            EXPECT_EQ(item.Tag, 0);
        }
    }
}

TEST(StateMenu, HoldsAll30)
{
    const QStringList names = Names(StateMenu(), 0);
    ASSERT_EQ(names.size(), 30);
    EXPECT_EQ(names.indexOf(u"Belgien2") + 1, names.indexOf(u"Bulgarien"));
    EXPECT_EQ(names.indexOf(u"Portugal2") + 1, names.indexOf(u"Rumnien"));
    EXPECT_EQ(names.indexOf(u"sterreich2") + 1, names.indexOf(u"Polen2"));
    for (const auto& item : StateMenu()) {
        EXPECT_EQ(item.Command, TMenuCommand::SelectState);
        EXPECT_EQ(item.Tag, 0);
    }
}

TEST(OptionsMenu, TheFirstItemWithAShortcutWins)
{
    const auto menu = OptionsMenu();
    const struct
    {
        TShortCut Key;
        const char16_t* Item; // nullptr: no item, the key goes on
    } cases[] = {
        {Ctrl('C'), u"Schweiz1"},      {Ctrl('A'), u"sterreich1"},
        {Ctrl('Z'), u"Zypern1"},       {Alt('L'), u"Lettland1"}, // before "Tabelle &löschen"
        {Alt('T'), u"Litauen1"},       {ShortCut('L', scCtrl | scAlt), u"letzte1"},
        {Ctrl('Y'), u"Zwisch1"},       {ShortCut(vk::F8), u"Tabdruck1"},
        {ShortCut(vk::F12), u"gross"}, {Ctrl('E'), u"EUROPA2"},
        {Alt('B'), nullptr}, // Bulgarien is only in the state menu
        {Alt('R'), nullptr},           {ShortCut(vk::F2), nullptr},
        {ShortCut(vk::F5), nullptr},   {ShortCut('C', scCtrl | scShift), nullptr},
        {Ctrl('V'), nullptr},
    };
    for (const auto& c : cases) {
        const int found = FindShortCutItem(menu, c.Key);
        if (!c.Item) {
            EXPECT_EQ(found, -1) << c.Key;
        } else {
            ASSERT_GE(found, 0) << c.Key;
            EXPECT_EQ(menu[found].Name, QStringView(c.Item));
        }
    }
    const int schweiz = FindShortCutItem(menu, Ctrl('C'));
    EXPECT_EQ(menu[ParentItem(menu, schweiz)].Name, u"Europa1");
    EXPECT_EQ(ParentItem(menu, FindShortCutItem(menu, ShortCut(vk::F8))), -1);
    EXPECT_EQ(menu[schweiz].State, 23);
}

TEST(ShortCutToText, GermanModifierNames)
{
    EXPECT_EQ(ShortCutToText(ShortCut('L', scCtrl | scAlt)), u"Strg+Alt+L");
    EXPECT_EQ(ShortCutToText(ShortCut('X', scShift | scCtrl)), u"Umsch+Strg+X");
    EXPECT_EQ(ShortCutToText(Alt('B')), u"Alt+B");
    EXPECT_EQ(ShortCutToText(ShortCut(vk::F12)), u"F12");
    EXPECT_EQ(ShortCutToText(scNone), u"");
}

} // namespace
