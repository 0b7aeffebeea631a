// A push button that never takes the keyboard focus, shows itself pressed while the left mouse
// button is held on it and clicks when the button is released over it. It draws a caption or a
// picture: a strip of NumGlyphs images side by side (normal, disabled, pressed, ...).
#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QPixmap>

namespace kalvo {

class TJvxSpeedButton : public QAbstractButton
{
    Q_OBJECT

public:
    explicit TJvxSpeedButton(QWidget* parent = nullptr);

    const QPixmap& Glyph() const { return FGlyph; }
    void SetGlyph(const QPixmap& glyph);
    int NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int count);
    // The picture is drawn this many times its size (pixel art stays crisp).
    void SetGlyphScale(int scale);

    // A caption colour of its own; invalid: the palette's button text.
    void SetTextColor(const QColor& color);
    QColor TextColor() const { return FTextColor; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap CurrentImage() const;

    QPixmap FGlyph;
    int FNumGlyphs = 1;
    int FGlyphScale = 1;
    QColor FTextColor;
};

} // namespace kalvo
