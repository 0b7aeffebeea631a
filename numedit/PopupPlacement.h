// Where a drop-down popup goes: below the field or above it, aligned to its right or left edge,
// kept on the screen.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace kalvo {

enum class TPopupAlign
{
    epaRight, // right edges aligned (the default)
    epaLeft,  // left edges aligned
};

// field: the field's rectangle in screen coordinates; popup: the popup's size; screen: the
// screen's size. Returns the popup's top-left corner in screen coordinates.
QPoint PopupPosition(const QRect& field, QSize popup, QSize screen, TPopupAlign align);

} // namespace kalvo
