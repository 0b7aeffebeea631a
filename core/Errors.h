// The program's failures: exceptions that carry the German text the user sees.
#pragma once

#include <QByteArray>
#include <QString>

#include <exception>

namespace kalvo {

class Exception : public std::exception
{
public:
    explicit Exception(QString message);

    const QString& Message() const noexcept { return FMessage; }
    const char* what() const noexcept override { return FUtf8.constData(); }

private:
    QString FMessage;
    QByteArray FUtf8;
};

// A text that is no number: "'%s' ist kein gültiger Gleitkommawert" and its integer twin.
class EConvertError : public Exception
{
public:
    using Exception::Exception;
    static EConvertError NotAFloat(const QString& text);
    static EConvertError NotAnInteger(const QString& text);
};

class ERangeError : public Exception
{
public:
    using Exception::Exception;
};

// Floating-point faults. They are detected before they happen, never trapped.
class EMathError : public Exception
{
public:
    using Exception::Exception;
};

class EZeroDivide : public EMathError
{
public:
    EZeroDivide();
};

class EInvalidOp : public EMathError
{
public:
    EInvalidOp();
};

class EOverflow : public EMathError
{
public:
    EOverflow();
};

// The settings file (or another profile file) could not be written.
class EWriteError : public Exception
{
public:
    explicit EWriteError(const QString& fileName);
};

class EPrinterError : public Exception
{
public:
    using Exception::Exception;
    static EPrinterError NoDefaultPrinter();
    static EPrinterError SystemError(int code, const QString& text);
    static EPrinterError NotAvailable();
    static EPrinterError InvalidPrinter();
    static EPrinterError Printing();
};

class EClipboardError : public Exception
{
public:
    EClipboardError();
};

// The text of the error box: the message, with "." appended when its last character has a
// higher code than "." (a letter or a digit, for instance).
QString ErrorBoxText(const QString& message);

} // namespace kalvo
