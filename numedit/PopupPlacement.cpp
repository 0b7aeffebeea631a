#include "PopupPlacement.h"

namespace kalvo {

QPoint PopupPosition(const QRect& field, QSize popup, QSize screen, TPopupAlign align)
{
    const int px = field.left();
    const int py = field.top();
    const int pw = popup.width();
    const int ph = popup.height();
    const int sw = screen.width();
    const int sh = screen.height();

    int y = py + field.height();
    if (y + ph > sh)
        y = py - ph;

    const int rightAligned = px - (pw - field.width());
    int x = 0;
    if (align == TPopupAlign::epaRight) {
        x = rightAligned;
        if (x < 0)
            x = px;
    } else {
        x = px;
        if (x + pw > sw)
            x = rightAligned;
    }

    if (x < 0)
        x = 0;
    else if (x + pw > sw)
        x = sw - pw;
    return {x, y};
}

} // namespace kalvo
