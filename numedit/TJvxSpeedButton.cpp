#include "TJvxSpeedButton.h"

#include <QPainter>
#include <QStyleOptionButton>

namespace kalvo {

TJvxSpeedButton::TJvxSpeedButton(QWidget* parent) : QAbstractButton(parent)
{
    setFocusPolicy(Qt::NoFocus);
}

void TJvxSpeedButton::SetGlyph(const QPixmap& glyph)
{
    FGlyph = glyph;
    update();
}

void TJvxSpeedButton::SetNumGlyphs(int count)
{
    FNumGlyphs = std::clamp(count, 1, 4);
    update();
}

void TJvxSpeedButton::SetGlyphScale(int scale)
{
    FGlyphScale = std::max(1, scale);
    update();
}

void TJvxSpeedButton::SetTextColor(const QColor& color)
{
    FTextColor = color;
    update();
}

QSize TJvxSpeedButton::sizeHint() const
{
    return {21, 21};
}

QPixmap TJvxSpeedButton::CurrentImage() const
{
    if (FGlyph.isNull())
        return {};
    const int width = FGlyph.width() / FNumGlyphs;
    // Image 1 is the disabled look, image 2 (when there is one) the pressed look.
    int index = 0;
    if (!isEnabled() && FNumGlyphs > 1)
        index = 1;
    else if (isDown() && FNumGlyphs > 2)
        index = 2;
    return FGlyph.copy(index * width, 0, width, FGlyph.height());
}

void TJvxSpeedButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QStyleOptionButton option;
    option.initFrom(this);
    option.features = QStyleOptionButton::None;
    if (isDown())
        option.state |= QStyle::State_Sunken;
    else
        option.state |= QStyle::State_Raised;
    style()->drawControl(QStyle::CE_PushButtonBevel, &option, &painter, this);

    // A pressed button shows its face one pixel down and to the right.
    const int shift = isDown() ? 1 : 0;
    const QPixmap image = CurrentImage();
    if (!image.isNull()) {
        const QSize size = image.size() * FGlyphScale;
        const QRect target(
            QPoint((width() - size.width()) / 2 + shift, (height() - size.height()) / 2 + shift),
            size);
        painter.drawPixmap(target, image);
        return;
    }
    if (!text().isEmpty()) {
        QColor color = FTextColor.isValid() ? FTextColor : palette().color(QPalette::ButtonText);
        if (!isEnabled())
            color = palette().color(QPalette::Disabled, QPalette::ButtonText);
        painter.setPen(color);
        painter.setFont(font());
        painter.drawText(rect().translated(shift, shift), Qt::AlignCenter | Qt::TextShowMnemonic,
                         text());
    }
}

} // namespace kalvo
