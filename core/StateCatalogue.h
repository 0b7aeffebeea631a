// The 30 states the user can choose, and the two menus built from them.
#pragma once

#include "ShortCut.h"

#include <QStringView>

#include <array>
#include <span>

namespace kalvo {

struct TStateEntry
{
    int Index;
    QStringView ListText;
    bool HasRate; // false only for EURO, which keeps the current rate
    double Rate;
    QStringView CurrencyLabel;
    QStringView LetterCode;
    QStringView FlagBitmap;
    QStringView FlagHint;
};

constexpr int StateCount = 30;
constexpr int EuroState = 0;
constexpr int GermanyState = 4;
constexpr int AustriaState = 19;

// In the order of the rate list and of the numbers stored in the settings file. Two rows list
// another rate than they apply: Estland (listed 20 %, applies 22) and Schweiz (8 %, applies 7.7).
inline constexpr std::array<TStateEntry, StateCount> StateCatalogue{{
    {0, u"EU - (Vorwert %)", false, 0, u"EUR", u"EUR", u"BITMAP_4", u"Euro"},
    {1, u"Belgien - 21%", true, 21, u"EUR", u"B", u"BITMAP_5", u"Belgien"},
    {2, u"Bulgarien - 20%", true, 20, u"BGL", u"BG", u"BITMAP_30", u"Bulgarien"},
    {3, u"Dänemark - 25%", true, 25, u"DKK", u"DK", u"BITMAP_12", u"Dänemark"},
    {4, u"Deutschland - 19%", true, 19, u"EUR", u"D", u"BITMAP_2", u"Deutschland"},
    {5, u"Estland - 20%", true, 22, u"EUR", u"EST", u"BITMAP_19", u"Estland"},
    {6, u"Finnland - 24%", true, 24, u"EUR", u"SF", u"BITMAP_6", u"Finnland"},
    {7, u"Frankreich - 20%", true, 20, u"EUR", u"F", u"BITMAP_7", u"Frankreich"},
    {8, u"Griechenland - 24%", true, 24, u"EUR", u"GR", u"BITMAP_13", u"Griechenland"},
    {9, u"Großbritannien - 20%", true, 20, u"GBP", u"GB", u"BITMAP_8", u"Großbritannien"},
    {10, u"Irland - 23%", true, 23, u"EUR", u"IRL", u"BITMAP_14", u"Irland"},
    {11, u"Italien - 22%", true, 22, u"EUR", u"I", u"BITMAP_9", u"Italien"},
    {12, u"Lettland - 21%", true, 21, u"EUR", u"LV", u"BITMAP_20", u"Lettland"},
    {13, u"Litauen - 21%", true, 21, u"EUR", u"LT", u"BITMAP_21", u"Litauen"},
    {14, u"Luxemburg - 17%", true, 17, u"EUR", u"L", u"BITMAP_15", u"Luxemburg"},
    {15, u"Malta - 18%", true, 18, u"EUR", u"M", u"BITMAP_24", u"Malta"},
    {16, u"Niederlande - 21%", true, 21, u"EUR", u"NL", u"BITMAP_10", u"Niederlande"},
    {17, u"Norwegen - 25%", true, 25, u"NKK", u"N", u"BITMAP_16", u"Norwegen"},
    {18, u"Polen - 23%", true, 23, u"PLN", u"PL", u"BITMAP_25", u"Polen"},
    {19, u"Österreich - 20%", true, 20, u"EUR", u"A", u"BITMAP_1", u"Österreich"},
    {20, u"Portugal - 23%", true, 23, u"EUR", u"P", u"BITMAP_11", u"Portugal"},
    {21, u"Rumänien - 19%", true, 19, u"RON", u"RO", u"BITMAP_29", u"Rumänien"},
    {22, u"Schweden - 25%", true, 25, u"SEK", u"S", u"BITMAP_17", u"Schweden"},
    {23, u"Schweiz - 8%", true, 7.7, u"CHF", u"CH", u"BITMAP_18", u"Schweiz"},
    {24, u"Slowakei - 20%", true, 20, u"EUR", u"SK", u"BITMAP_23", u"Slowakische Republik"},
    {25, u"Slowenien - 22%", true, 22, u"EUR", u"SLO", u"BITMAP_26", u"Slowenien"},
    {26, u"Spanien - 21%", true, 21, u"EUR", u"E", u"BITMAP_3", u"Spanien"},
    {27, u"Tschechien - 21%", true, 21, u"CZK", u"CZ", u"BITMAP_22", u"Tschechische Republik"},
    {28, u"Ungarn - 27%", true, 27, u"HUF", u"H", u"BITMAP_27", u"Ungarn"},
    {29, u"Zypern - 19%", true, 19, u"EUR", u"CY", u"BITMAP_28", u"Zypern"},
}};

// What a menu item does when chosen.
enum class TMenuCommand
{
    Submenu,
    Separator,
    SelectState,
    Hilfe,
    Ontop,
    Tooltips,
    Gross,
    Tabdruck,
    Tabschen,
    Letzte,
    Zwisch,
    About,
    Raus,
};

// One menu item. A menu is a flat list in depth-first order: a submenu's items follow the
// submenu item with Depth one higher, which is also the order in which shortcut keys are matched.
struct TMenuItemSpec
{
    int Depth;
    QStringView Name;
    QStringView Caption;
    TShortCut ShortCut;
    TMenuCommand Command;
    QStringView Handler;
    int State = -1; // the catalogue row of a SelectState item
    int Tag = 0;
    bool EnabledAtCreation = true;
    bool Visible = true;
};

// The options menu PopupMenu2, with the hidden submenu "&Staat" of 28 states.
std::span<const TMenuItemSpec> OptionsMenu();
// The state menu PopupMenu3: all 30 states. Its shortcuts are shown but never act.
std::span<const TMenuItemSpec> StateMenu();

// The first item, in depth-first order, that carries shortCut; hidden items included. -1 if none.
int FindShortCutItem(std::span<const TMenuItemSpec> menu, TShortCut shortCut);

// The index of the submenu item that holds item `index`, or -1 for a top-level item.
int ParentItem(std::span<const TMenuItemSpec> menu, int index);

} // namespace kalvo
