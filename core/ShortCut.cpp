#include "ShortCut.h"

namespace kalvo {

namespace {

QString KeyName(int key)
{
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9'))
        return QString(QLatin1Char(char(key)));
    if (key >= vk::F1 && key < vk::F1 + 24)
        return QStringLiteral("F%1").arg(key - vk::F1 + 1);
    switch (key) {
    case vk::Down:
        return QStringLiteral("Unten");
    default:
        return {};
    }
}

} // namespace

QString ShortCutToText(TShortCut shortCut)
{
    const QString name = KeyName(shortCut & 0xFF);
    if (name.isEmpty())
        return {};
    QString text;
    if (shortCut & scShift)
        text += QStringLiteral("Umsch+");
    if (shortCut & scCtrl)
        text += QStringLiteral("Strg+");
    if (shortCut & scAlt)
        text += QStringLiteral("Alt+");
    return text + name;
}

} // namespace kalvo
