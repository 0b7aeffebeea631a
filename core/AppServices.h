// The few platform services every layer reports to: the alert sound, the error box and the
// information box. The program installs the real ones; tests install recorders.
#pragma once

#include "Errors.h"

#include <QString>

#include <exception>
#include <functional>

namespace kalvo {

struct TAppServices
{
    std::function<void()> Beep;
    // Shows a failure's message in the error box (the "." rule applied by the box).
    std::function<void(const QString& message)> ReportError;
    // Shows an information box captioned "Informationen".
    std::function<void(const QString& text)> ShowInformation;
    // Asks the platform to open a web address with its default action; the outcome is not
    // looked at.
    std::function<void(const QString& address)> OpenUrl;
};

TAppServices& AppServices();

void Beep();
void ReportError(const QString& message);
// Reports once the current event is done, so that no box opens in the middle of a focus change
// or a popup's closing.
void ReportErrorLater(const QString& message);
void ShowInformation(const QString& text);
void OpenUrl(const QString& address);

// Runs f; a failure that leaves it is reported, never passed on. Returns whether f completed.
template<class F>
bool Guarded(F&& f) noexcept
{
    try {
        f();
        return true;
    } catch (const Exception& e) {
        ReportError(e.Message());
    } catch (const std::exception& e) {
        ReportError(QString::fromUtf8(e.what()));
    }
    return false;
}

} // namespace kalvo
