#include "resources/Pictures.h"

#include <QBitmap>
#include <QImage>
#include <QString>

namespace kalvo {

namespace {

constexpr int HandHotX = 7;
constexpr int HandHotY = 0;

// A one-bit image whose set bits are colour1 (black), as QBitmap expects them.
QImage MonoImage(QSize size)
{
    QImage image(size, QImage::Format_Mono);
    image.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    image.fill(0);
    return image;
}

} // namespace

QPixmap LoadBitmap(QStringView name)
{
    QPixmap picture;
    if (!name.isEmpty())
        picture.load(QStringLiteral(":/kalvo/") + name.toString());
    return picture;
}

QPixmap TransparentBitmap(const QPixmap& picture)
{
    if (picture.isNull())
        return picture;
    QImage image = picture.toImage().convertToFormat(QImage::Format_ARGB32);
    const QRgb key = image.pixel(0, image.height() - 1);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (line[x] == key)
                line[x] = qRgba(0, 0, 0, 0);
        }
    }
    return QPixmap::fromImage(image);
}

QPixmap GlyphImage(const QPixmap& strip, int count, int index)
{
    if (strip.isNull() || count < 1 || index < 0 || index >= count)
        return {};
    const int width = strip.width() / count;
    return strip.copy(index * width, 0, width, strip.height());
}

QCursor HandCursor()
{
    const QImage picture = LoadBitmap(u"CURSOR_1").toImage().convertToFormat(QImage::Format_ARGB32);
    if (picture.isNull())
        return QCursor(Qt::PointingHandCursor);
    QImage bits = MonoImage(picture.size());
    QImage mask = MonoImage(picture.size());
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb pixel = picture.pixel(x, y);
            if (qAlpha(pixel) == 0)
                continue;
            mask.setPixel(x, y, 1);
            if (qGray(pixel) < 128)
                bits.setPixel(x, y, 1);
        }
    }
    return QCursor(QBitmap::fromImage(bits), QBitmap::fromImage(mask), HandHotX, HandHotY);
}

} // namespace kalvo
