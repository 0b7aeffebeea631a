// Thousands of random key presses, clicks and pastes on the real main window, with the real
// message boxes answered. The program must never crash or hang, and after every burst without a
// reported failure the stored amounts must agree with the rate.
//
//   monkey_test [actions] [seconds]      (KALVO_MONKEY_SEED reproduces a run)
#include "core/AppServices.h"
#include "core/NumberText.h"
#include "ui/AppServicesQt.h"
#include "ui/TForm1.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QMap>
#include <QMenu>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cmath>
#include <cstdio>
#include <random>

using namespace kalvo;

namespace {

std::mt19937 Random;

int Pick(int n)
{
    return static_cast<int>(Random() % static_cast<unsigned>(n));
}

QString RandomText()
{
    static const QString alphabet = QStringLiteral("0123456789,.-+Ee %abcXYZ\t;=ä€");
    QString text;
    const int length = Pick(4) == 0 ? Pick(200) : Pick(12);
    for (int i = 0; i < length; ++i)
        text += alphabet[Pick(alphabet.size())];
    return text;
}

// A key a user might press. F8 (printing) and the exit command stay out: the first would fill
// the print queue, the second end the run.
void PressKey(QWidget* target)
{
    static const Qt::Key typed[] = {
        Qt::Key_0,       Qt::Key_1,         Qt::Key_2,        Qt::Key_3,      Qt::Key_4,
        Qt::Key_5,       Qt::Key_6,         Qt::Key_7,        Qt::Key_8,      Qt::Key_9,
        Qt::Key_Comma,   Qt::Key_Period,    Qt::Key_Minus,    Qt::Key_Plus,   Qt::Key_E,
        Qt::Key_Space,   Qt::Key_Backspace, Qt::Key_Delete,   Qt::Key_Return, Qt::Key_Escape,
        Qt::Key_Tab,     Qt::Key_Left,      Qt::Key_Right,    Qt::Key_Home,   Qt::Key_End,
        Qt::Key_Up,      Qt::Key_Down,      Qt::Key_Asterisk, Qt::Key_Slash,  Qt::Key_Equal,
        Qt::Key_Percent, Qt::Key_Q,         Qt::Key_R,        Qt::Key_C,      Qt::Key_A,
        Qt::Key_F1,      Qt::Key_F2,        Qt::Key_F5,       Qt::Key_F6,     Qt::Key_F7,
        Qt::Key_F9,      Qt::Key_F12,
    };
    const Qt::Key key = typed[Pick(std::size(typed))];
    Qt::KeyboardModifiers modifiers;
    switch (Pick(10)) {
    case 0:
        modifiers = Qt::ControlModifier; // the state shortcuts, Ctrl+Y, Ctrl+Z ...
        break;
    case 1:
        modifiers = Qt::AltModifier; // Alt+Down opens the calculator, Alt+L ...
        break;
    default:
        break;
    }
    if (key >= Qt::Key_A && key <= Qt::Key_Z && modifiers == Qt::NoModifier) {
        QTest::keyClick(target, char('a' + (key - Qt::Key_A)));
        return;
    }
    QTest::keyClick(target, key, modifiers);
}

void Click(TForm1& form)
{
    const QList<QWidget*> widgets = form.findChildren<QWidget*>();
    QWidget* w = widgets[Pick(widgets.size())];
    if (!w->isVisible() || w->width() <= 0 || w->height() <= 0)
        return;
    const QPoint at(Pick(w->width()), Pick(w->height()));
    if (Pick(8) == 0)
        QTest::mouseDClick(w, Qt::LeftButton, {}, at);
    else
        QTest::mouseClick(w, Qt::LeftButton, {}, at);
}

void Paste(QWidget* target)
{
    QGuiApplication::clipboard()->setText(RandomText());
    QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);
}

// The stored amounts agree with the rate: VAT = net * rate / 100 and gross = net + VAT.
bool Consistent(const TCalcState& s, QString& why)
{
    const auto near = [](double a, double b) {
        return std::fabs(a - b) <= std::max(0.01, 1e-9 * std::max(std::fabs(a), std::fabs(b)));
    };
    const long double vat = static_cast<long double>(s.Netto) * s.Satz / 100;
    if (!near(s.Steuer, static_cast<double>(vat)) || !near(s.Brutto, s.Netto + s.Steuer)) {
        why = QStringLiteral("net %1, VAT %2, gross %3, rate %4")
                  .arg(s.Netto, 0, 'g', 17)
                  .arg(s.Steuer, 0, 'g', 17)
                  .arg(s.Brutto, 0, 'g', 17)
                  .arg(s.Satz, 0, 'g', 17);
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const int actions = argc > 1 ? std::atoi(argv[1]) : 3000;
    const int seconds = argc > 2 ? std::atoi(argv[2]) : 120;
    const unsigned seed = qEnvironmentVariableIsSet("KALVO_MONKEY_SEED")
                              ? qEnvironmentVariableIntValue("KALVO_MONKEY_SEED")
                              : std::random_device{}();
    Random.seed(seed);
    std::printf("monkey: %d actions, at most %d s, seed %u\n", actions, seconds, seed);

    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));

    TForm1 form;
    InstallQtServices(&form);
    // Count the failures the window reports, and still show them in the real box.
    int errors = 0;
    QMap<QString, int> kinds; // message without its quoted text, and how often
    const auto showError = AppServices().ReportError;
    AppServices().ReportError = [&](const QString& message) {
        ++errors;
        QString kind = message;
        kind.replace(QRegularExpression(QStringLiteral("'.*'")), QStringLiteral("'…'"));
        ++kinds[kind];
        showError(message);
    };
    AppServices().OpenUrl = [](const QString&) {};
    // Answer every box: the real ones open their own event loop, which runs this timer.
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, &app, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            box->accept();
    });
    answer.start(20);

    form.show();
    if (!QTest::qWaitForWindowExposed(&form))
        return 1;
    QTest::qWait(200);

    QElapsedTimer clock;
    clock.start();
    int done = 0, checked = 0;
    while (done < actions && clock.elapsed() < seconds * 1000) {
        const int errorsBefore = errors;
        for (int i = 0; i < 25 && done < actions; ++i, ++done) {
            QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : &form;
            switch (Pick(10)) {
            case 0:
            case 1:
                Click(form);
                break;
            case 2:
                Paste(target);
                break;
            default:
                PressKey(target);
                break;
            }
            QCoreApplication::processEvents();
            // Menus the monkey opened are closed again: choosing in them is the keys' job.
            if (QWidget* popup = QApplication::activePopupWidget())
                popup->close();
        }
        if (!form.isVisible()) {
            std::printf("monkey: the window closed after %d actions (seed %u)\n", done, seed);
            return 1;
        }
        if (errors == errorsBefore) {
            QString why;
            if (!Consistent(form.State(), why)) {
                std::printf("monkey: amounts disagree after %d actions: %s (seed %u)\n", done,
                            qPrintable(why), seed);
                return 1;
            }
            ++checked;
        }
    }
    std::printf("monkey: %d actions in %.1f s, %d failures reported and answered, %d bursts "
                "checked\n",
                done, clock.elapsed() / 1000.0, errors, checked);
    for (auto it = kinds.cbegin(); it != kinds.cend(); ++it)
        std::printf("  %5d x %s\n", it.value(), qPrintable(it.key()));
    return 0;
}
