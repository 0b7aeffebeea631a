// Keyboard shortcuts as the menus store them: a virtual key code plus modifier bits.
#pragma once

#include <QString>

#include <cstdint>

namespace kalvo {

using TShortCut = std::uint16_t;

constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;
constexpr TShortCut scNone = 0;

// Virtual key codes: letters and digits are their upper-case ASCII codes.
namespace vk {
constexpr int Down = 0x28;
constexpr int F1 = 0x70;
constexpr int F2 = 0x71;
constexpr int F5 = 0x74;
constexpr int F6 = 0x75;
constexpr int F7 = 0x76;
constexpr int F8 = 0x77;
constexpr int F9 = 0x78;
constexpr int F12 = 0x7B;
} // namespace vk

constexpr TShortCut ShortCut(int key, TShortCut modifiers = scNone)
{
    return static_cast<TShortCut>((key & 0xFF) | modifiers);
}

constexpr TShortCut Ctrl(char letter)
{
    return ShortCut(letter, scCtrl);
}

constexpr TShortCut Alt(char letter)
{
    return ShortCut(letter, scAlt);
}

// The German text a menu shows beside its caption: "Umsch+", "Strg+", "Alt+", in that order,
// then the key name ("Strg+Alt+L", "F8"); empty for no shortcut.
QString ShortCutToText(TShortCut shortCut);

} // namespace kalvo
