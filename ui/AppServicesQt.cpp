#include "AppServicesQt.h"

#include "core/AppServices.h"

#include <QApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>
#include <QUrl>

namespace kalvo {

namespace {

void ShowBox(QWidget* parent, QMessageBox::Icon icon, const QString& caption, const QString& text)
{
    QMessageBox box(icon, caption, text, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    // Centred on the screen, also while the main window still stands off it.
    box.adjustSize();
    const QRect screen =
        (parent && parent->screen() ? parent->screen() : QGuiApplication::primaryScreen())
            ->availableGeometry();
    box.move(screen.center() - box.rect().center());
    box.exec();
}

// A message of thousands of characters (a garbage settings value) would make a box wider than
// any screen: show its start.
QString Shortened(const QString& message)
{
    constexpr qsizetype Limit = 300;
    return message.size() <= Limit ? message : message.left(Limit) + QStringLiteral("…");
}

} // namespace

void InstallQtServices(QWidget* mainWindow)
{
    QPointer<QWidget> window(mainWindow);
    TAppServices& services = AppServices();
    services.Beep = [] { QApplication::beep(); };
    services.ReportError = [window](const QString& message) {
        ShowBox(window, QMessageBox::Critical, QStringLiteral("Tarvo Mehrwertsteuer"),
                Shortened(ErrorBoxText(message)));
    };
    services.ShowInformation = [window](const QString& text) {
        ShowBox(window, QMessageBox::Information, QStringLiteral("Informationen"), text);
    };
    services.OpenUrl = [](const QString& address) { QDesktopServices::openUrl(QUrl(address)); };
}

} // namespace kalvo
