#include "AppServices.h"

#include <QCoreApplication>
#include <QDebug>
#include <QTimer>

namespace kalvo {

TAppServices& AppServices()
{
    static TAppServices services;
    return services;
}

void Beep()
{
    if (AppServices().Beep)
        AppServices().Beep();
}

void ReportError(const QString& message)
{
    if (AppServices().ReportError)
        AppServices().ReportError(message);
    else
        qWarning().noquote() << ErrorBoxText(message);
}

void ReportErrorLater(const QString& message)
{
    QTimer::singleShot(0, QCoreApplication::instance(), [message] { ReportError(message); });
}

void ShowInformation(const QString& text)
{
    if (AppServices().ShowInformation)
        AppServices().ShowInformation(text);
    else
        qInfo().noquote() << text;
}

void OpenUrl(const QString& address)
{
    if (AppServices().OpenUrl)
        AppServices().OpenUrl(address);
}

} // namespace kalvo
