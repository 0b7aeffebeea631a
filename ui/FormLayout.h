// The main window's layout as one table: every control's rectangle and font at normal size,
// in pixels at 96 dpi. Creation and the double size both apply it, at factor 1 or 2.
#pragma once

#include <QRect>
#include <QStringView>

#include <span>

class QWidget;

namespace kalvo {

// Labels sized to their text keep one edge (or their centre) where the table puts it.
enum class TAutoSize
{
    None,
    KeepLeft,
    KeepRight,
    KeepCentre,
};

struct TLayoutEntry
{
    QStringView Name;
    QRect Rect;
    QStringView FontFamily; // empty: the window's default font ("System")
    int FontPixels;         // 0: the font is not set here
    bool Bold = false;
    bool Underline = false;
    TAutoSize AutoSize = TAutoSize::None;
};

std::span<const TLayoutEntry> FormLayout();

// Gives each control of the table (found by its object name below root) its rectangle and font
// times factor.
void ApplyFormLayout(QWidget* root, int factor);

} // namespace kalvo
