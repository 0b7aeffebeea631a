#include "Errors.h"

namespace kalvo {

Exception::Exception(QString message) : FMessage(std::move(message)), FUtf8(FMessage.toUtf8()) {}

EConvertError EConvertError::NotAFloat(const QString& text)
{
    return EConvertError(QStringLiteral("'%1' ist kein gültiger Gleitkommawert").arg(text));
}

EConvertError EConvertError::NotAnInteger(const QString& text)
{
    return EConvertError(QStringLiteral("'%1' ist kein gültiger Integerwert").arg(text));
}

EZeroDivide::EZeroDivide() : EMathError(QStringLiteral("Gleitkommadivision durch Null")) {}
EInvalidOp::EInvalidOp() : EMathError(QStringLiteral("Ungültige Gleitkommaoperation")) {}
EOverflow::EOverflow() : EMathError(QStringLiteral("Gleitkommaüberlauf")) {}

EWriteError::EWriteError(const QString& fileName)
    : Exception(QStringLiteral("In %1 kann nicht geschrieben werden").arg(fileName))
{}

EPrinterError EPrinterError::NoDefaultPrinter()
{
    return EPrinterError(QStringLiteral("Zur Zeit ist kein Standard-Drucker gewählt"));
}

EPrinterError EPrinterError::SystemError(int code, const QString& text)
{
    return EPrinterError(
        QStringLiteral("Systemfehler.  Code: %1.\r\n%2").arg(QString::number(code), text));
}

EPrinterError EPrinterError::NotAvailable()
{
    return EPrinterError(QStringLiteral("Operation auf ausgewähltem Drucker nicht verfügbar"));
}

EPrinterError EPrinterError::InvalidPrinter()
{
    return EPrinterError(QStringLiteral("Ausgewählter Drucker ist ungültig"));
}

EPrinterError EPrinterError::Printing()
{
    return EPrinterError(QStringLiteral("Druckvorgang läuft"));
}

EClipboardError::EClipboardError()
    : Exception(QStringLiteral("Zwischenablage kann nicht geöffnet werden"))
{}

QString ErrorBoxText(const QString& message)
{
    if (!message.isEmpty() && message.back() > QLatin1Char('.'))
        return message + QLatin1Char('.');
    return message;
}

} // namespace kalvo
