// Qt key events as the shortcut values the menus and the field's click key use.
#pragma once

#include "core/ShortCut.h"

class QKeyEvent;

namespace kalvo {

// The virtual key code of a Qt key (letters, digits, function and navigation keys), or 0.
int VirtualKey(int qtKey);
// The key with its Shift, Ctrl and Alt states; scNone for keys without a code.
TShortCut ShortCutFromKeyEvent(const QKeyEvent* event);

} // namespace kalvo
