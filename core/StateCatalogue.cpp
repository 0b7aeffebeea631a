#include "StateCatalogue.h"

#include <vector>

namespace kalvo {

namespace {

// The menu items bound to each catalogue row, in catalogue order. Both menus share the caption,
// the shortcut and the handler; Bulgarien and Rumänien have no item in the "&Staat" submenu.
struct TStateMenuRow
{
    QStringView Handler;
    QStringView StaatItem; // empty: not in the submenu
    QStringView StateMenuItem;
    QStringView Caption;
    TShortCut ShortCut;
    int StaatTag;
};

constexpr std::array<TStateMenuRow, StateCount> StateMenuRows{{
    {u"EUROPA2Click", u"EUROPA2", u"EURO1", u"EUR&O", Ctrl('E'), 0},
    {u"Belgien1Click", u"Belgien1", u"Belgien2", u"&Belgien", Ctrl('B'), 1},
    {u"BulgarienClick", u"", u"Bulgarien", u"&Bulgarien", Alt('B'), 0},
    {u"danmarkClick", u"danmark", u"Dnemark1", u"Däne&mark", Alt('D'), 2},
    {u"Deutschland1Click", u"Deutschland1", u"Deutschland2", u"&Deutschland", Ctrl('D'), 3},
    {u"Estland1Click", u"Estland1", u"Estland2", u"Estland", Alt('E'), 0},
    {u"Finnland1Click", u"Finnland1", u"Finnland2", u"Finnl&and", Alt('F'), 4},
    {u"Frankreich1Click", u"Frankreich1", u"Frankreich2", u"&Frankreich", Ctrl('F'), 5},
    {u"Griechenland1Click", u"Griechenland1", u"Griechenland2", u"Griec&henland", Alt('G'), 6},
    {u"Grobrittannnei1Click", u"Grobrittannnei1", u"Grobritannien1", u"&Großbritannien", Ctrl('G'),
     7},
    {u"Irland1Click", u"Irland1", u"Irland2", u"I&rland", Alt('I'), 8},
    {u"Italien1Click", u"Italien1", u"Italien2", u"&Italien", Ctrl('I'), 9},
    {u"Lettland1Click", u"Lettland1", u"Lettland2", u"Lettland", Alt('L'), 0},
    {u"Litauen1Click", u"Litauen1", u"Litauen2", u"Litauen", Alt('T'), 0},
    {u"Luxemburg1Click", u"Luxemburg1", u"Luxemburg2", u"&Luxemburg", Ctrl('L'), 10},
    {u"Malta1Click", u"Malta1", u"Malta2", u"&Malta", Ctrl('M'), 0},
    {u"Niederlande1Click", u"Niederlande1", u"Niederlande2", u"&Niederlande", Ctrl('N'), 11},
    {u"Norwegen1Click", u"Norwegen1", u"Norwegen2", u"Nor&wegen", Alt('N'), 12},
    {u"Polen1Click", u"Polen1", u"Polen2", u"Polen", Alt('P'), 0},
    {u"sterreich1Click", u"sterreich1", u"sterreich2", u"&Österreich", Ctrl('A'), 13},
    {u"Portugal1Click", u"Portugal1", u"Portugal2", u"&Portugal", Ctrl('P'), 14},
    {u"RumnienClick", u"", u"Rumnien", u"&Rumänien", Alt('R'), 0},
    {u"Schweden1Click", u"Schweden1", u"Schweden2", u"&Schweden", Ctrl('S'), 15},
    {u"Schweiz1Click", u"Schweiz1", u"Schweiz2", u"S&chweiz", Ctrl('C'), 16},
    {u"SlowakischeRepublik1Click", u"SlowakischeRepublik1", u"SlowakischeRepublik2",
     u"Sl&owakische Republik", Ctrl('O'), 0},
    {u"Slowenien1Click", u"Slowenien1", u"Slowenien2", u"Slowenien", Ctrl('W'), 0},
    {u"Spanien1Click", u"Spanien1", u"Spanien2", u"Spani&en", Alt('S'), 17},
    {u"TschechischeRepublik1Click", u"TschechischeRepublik1", u"TschechischeRepublik2",
     u"&Tschechische Republik", Ctrl('T'), 0},
    {u"Ungarn1Click", u"Ungarn1", u"Ungarn2", u"&Ungarn", Ctrl('U'), 0},
    {u"Zypern1Click", u"Zypern1", u"Zypern2", u"&Zypern", Ctrl('Z'), 0},
}};

// Both menus follow the catalogue, except that Österreich stands before Polen.
constexpr std::array<int, StateCount> MenuOrder{0,  1,  2,  3,  4,  5,  6,  7,  8,  9,
                                                10, 11, 12, 13, 14, 15, 16, 17, 19, 18,
                                                20, 21, 22, 23, 24, 25, 26, 27, 28, 29};

TMenuItemSpec StateItem(int depth, int row, bool inStaat)
{
    const TStateMenuRow& r = StateMenuRows[row];
    TMenuItemSpec item{depth,
                       inStaat ? r.StaatItem : r.StateMenuItem,
                       r.Caption,
                       r.ShortCut,
                       TMenuCommand::SelectState,
                       r.Handler};
    item.State = row;
    item.Tag = inStaat ? r.StaatTag : 0;
    return item;
}

std::vector<TMenuItemSpec> BuildOptionsMenu()
{
    using C = TMenuCommand;
    std::vector<TMenuItemSpec> m;
    m.push_back({0, u"Hilfe1", u"&Hilfe", ShortCut(vk::F1), C::Hilfe, u"Hilfe1Click"});
    m.push_back({0, u"Ontop1", u"&immer sichtbar", ShortCut(vk::F7), C::Ontop, u"Ontop1Click"});
    m.push_back({0, u"Tooltips1", u"&Tooltips", ShortCut(vk::F9), C::Tooltips, u"Tooltips1Click"});
    m.push_back({0, u"gross", u"&doppelte Größe", ShortCut(vk::F12), C::Gross, u"grossClick"});

    TMenuItemSpec staat{0, u"Europa1", u"&Staat", scNone, C::Submenu, u""};
    staat.Visible = false;
    m.push_back(staat);
    for (const int row : MenuOrder) {
        if (!StateMenuRows[row].StaatItem.isEmpty())
            m.push_back(StateItem(1, row, true));
    }

    m.push_back({0, u"zeilj", u"-", scNone, C::Separator, u""});
    const auto disabled = [](TMenuItemSpec item) {
        item.EnabledAtCreation = false;
        return item;
    };
    m.push_back(disabled(
        {0, u"Tabdruck1", u"Tabelle &drucken", ShortCut(vk::F8), C::Tabdruck, u"Tabdruck1Click"}));
    m.push_back(
        disabled({0, u"Tabschen1", u"Tabelle &löschen", Alt('L'), C::Tabschen, u"Tabschen1Click"}));
    m.push_back(disabled({0, u"letzte1", u"letzte Zeile löschen", ShortCut('L', scCtrl | scAlt),
                          C::Letzte, u"letzte1Click"}));
    m.push_back(
        disabled({0, u"Zwisch1", u"&Zwischenablage", Ctrl('Y'), C::Zwisch, u"Zwisch1Click"}));
    m.push_back({0, u"N2", u"-", scNone, C::Separator, u""});
    m.push_back({0, u"ber1", u"&über", ShortCut(vk::F6), C::About, u"ber1Click"});
    m.push_back({0, u"N1", u"-", scNone, C::Separator, u""});
    // The caption shows "Alt+F4" where a shortcut would stand; the item has no shortcut itself.
    m.push_back({0, u"raus", u"Sch&ließen\tAlt+F4", scNone, C::Raus, u"rausClick"});
    return m;
}

std::vector<TMenuItemSpec> BuildStateMenu()
{
    std::vector<TMenuItemSpec> m;
    for (const int row : MenuOrder)
        m.push_back(StateItem(0, row, false));
    return m;
}

} // namespace

std::span<const TMenuItemSpec> OptionsMenu()
{
    static const std::vector<TMenuItemSpec> menu = BuildOptionsMenu();
    return menu;
}

std::span<const TMenuItemSpec> StateMenu()
{
    static const std::vector<TMenuItemSpec> menu = BuildStateMenu();
    return menu;
}

int FindShortCutItem(std::span<const TMenuItemSpec> menu, TShortCut shortCut)
{
    if (shortCut == scNone)
        return -1;
    for (std::size_t i = 0; i < menu.size(); ++i) {
        if (menu[i].ShortCut == shortCut)
            return static_cast<int>(i);
    }
    return -1;
}

int ParentItem(std::span<const TMenuItemSpec> menu, int index)
{
    const int depth = menu[index].Depth;
    for (int i = index - 1; i >= 0; --i) {
        if (menu[i].Depth < depth)
            return i;
    }
    return -1;
}

} // namespace kalvo
