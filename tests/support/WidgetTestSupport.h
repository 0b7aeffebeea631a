// What widget tests see of the program's services: every beep, error box and information box is
// recorded instead of sounded or shown.
#pragma once

#include <QApplication>
#include <QStringList>
#include <QTest>

namespace kalvo::test {

struct TRecorder
{
    int Beeps = 0;
    QStringList Errors;
    QStringList Informations;
    void Clear() { *this = {}; }
};

// The recorder of the running test (cleared before each test).
TRecorder& Recorded();

// Lets queued work (deferred reports, focus changes) run.
inline void Settle()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

} // namespace kalvo::test
