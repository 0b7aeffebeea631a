#include "FormLayout.h"

#include <QLabel>
#include <QWidget>

#include <array>

namespace kalvo {

namespace {

// Character heights at 96 dpi: 7 pt = 9 px, 8 pt = 11 px, 10 pt = 13 px, 12 pt = 16 px.
constexpr int Pt7 = 9, Pt8 = 11, Pt10 = 13, Pt12 = 16;

constexpr std::array<TLayoutEntry, 27> Layout{{
    {u"Label1", {127, 10, 19, 19}, u"Tahoma", Pt12, true, false, TAutoSize::KeepLeft},
    {u"Label2", {12, 42, 33, 16}, u"Arial", Pt10, true, false, TAutoSize::KeepRight},
    {u"Label3", {6, 72, 39, 16}, u"Arial", Pt10, true, false, TAutoSize::KeepRight},
    {u"L2", {170, 72, 34, 16}, u"Arial", Pt10, true},
    {u"Label5", {7, 102, 38, 16}, u"Arial", Pt10, true, false, TAutoSize::KeepRight},
    {u"L1", {170, 42, 34, 16}, u"Arial", Pt10, true},
    {u"L3", {170, 102, 34, 16}, u"Arial", Pt10, true},
    {u"Shape1", {2, 7, 49, 25}, u"", 0},
    {u"oval", {10, 12, 33, 15}, u"Arial", Pt10, true},
    {u"SpeedButton1", {194, 118, 13, 13}, u"Arial", Pt10, true},
    {u"ggg", {54, 12, 24, 15}, u"", 0},
    {u"SpeedButton2", {334, 116, 13, 13}, u"Arial", Pt10, true},
    {u"Zufug", {172, 6, 29, 25}, u"Arial", Pt8},
    {u"Edit2", {80, 7, 45, 24}, u"Tahoma", Pt12, true},
    {u"SpinButton1", {147, 7, 20, 24}, u"", 0},
    {u"Edit5", {10, 164, 335, 29}, u"", Pt10},
    {u"PageControl1", {208, 1, 139, 129}, u"Arial", Pt8},
    {u"Tabelle", {0, 0, 131, 101}, u"Arial", Pt7},
    {u"Label7", {4, -2, 122, 14}, u"Arial", Pt8, true, false, TAutoSize::KeepCentre},
    {u"ListBox1", {2, 16, 127, 73}, u"Arial", Pt8},
    {u"Label4", {2, 0, 130, 43}, u"Arial", Pt8},
    {u"Label6", {-2, 40, 137, 13}, u"Arial", Pt8, false, true},
    {u"Image1", {2, 59, 124, 34}, u"", 0},
    {u"Edit1", {56, 40, 113, 25}, u"Tahoma", Pt12},
    {u"Edit3", {56, 72, 113, 25}, u"Tahoma", Pt12},
    {u"Edit4", {56, 104, 113, 25}, u"Tahoma", Pt12},
    // The window's own font, which only the hidden memo uses.
    {u"Form1", {}, u"", Pt10},
}};

} // namespace

std::span<const TLayoutEntry> FormLayout()
{
    return Layout;
}

void ApplyFormLayout(QWidget* root, int factor)
{
    for (const TLayoutEntry& entry : Layout) {
        QWidget* widget = entry.Name == root->objectName()
                              ? root
                              : root->findChild<QWidget*>(entry.Name.toString());
        if (!widget)
            continue;
        QRect rect(entry.Rect.topLeft() * factor, entry.Rect.size() * factor);
        if (entry.FontPixels > 0) {
            QFont font = widget->font();
            if (!entry.FontFamily.isEmpty())
                font.setFamilies({entry.FontFamily.toString()});
            font.setPixelSize(entry.FontPixels * factor);
            font.setBold(entry.Bold);
            font.setUnderline(entry.Underline);
            widget->setFont(font);
        }
        if (const auto* label = qobject_cast<const QLabel*>(widget);
            label && entry.AutoSize != TAutoSize::None) {
            const int width = label->fontMetrics().horizontalAdvance(label->text()) + 1;
            if (entry.AutoSize == TAutoSize::KeepRight)
                rect.setLeft(rect.right() + 1 - width);
            else if (entry.AutoSize == TAutoSize::KeepCentre)
                rect = QRect(rect.center().x() - width / 2, rect.top(), width, rect.height());
            else
                rect.setWidth(width);
        }
        if (widget != root)
            widget->setGeometry(rect);
    }
}

} // namespace kalvo
