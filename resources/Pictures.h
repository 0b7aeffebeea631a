#pragma once

#include <QCursor>
#include <QPixmap>
#include <QStringView>

namespace kalvo {

// The picture compiled in under ":/kalvo/<name>" ("BITMAP_1", "CEDITBMP", ...); a null pixmap
// when there is none.
QPixmap LoadBitmap(QStringView name);

// The picture with every pixel of its bottom-left pixel's colour made transparent.
QPixmap TransparentBitmap(const QPixmap& picture);

// Image `index` of `count` equally wide images side by side; null for an index out of range.
QPixmap GlyphImage(const QPixmap& strip, int count, int index);

// The pointing hand "CURSOR_1", hot spot at the tip of the index finger (7, 0).
QCursor HandCursor();

} // namespace kalvo
