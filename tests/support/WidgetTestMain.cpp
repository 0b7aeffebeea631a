#include "WidgetTestSupport.h"
#include "core/AppServices.h"

#include <QDialog>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

namespace kalvo::test {

TRecorder& Recorded()
{
    static TRecorder recorder;
    return recorder;
}

namespace {

// Clears the recorder before each test and closes what a test left open.
class TRecorderListener : public ::testing::EmptyTestEventListener
{
    void OnTestStart(const ::testing::TestInfo&) override { Recorded().Clear(); }
    void OnTestEnd(const ::testing::TestInfo&) override
    {
        for (QWidget* w : QApplication::topLevelWidgets())
            w->close();
        Settle();
    }
};

} // namespace

} // namespace kalvo::test

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);

    using kalvo::test::Recorded;
    kalvo::TAppServices& services = kalvo::AppServices();
    services.Beep = [] { ++Recorded().Beeps; };
    services.ReportError = [](const QString& m) { Recorded().Errors << m; };
    services.ShowInformation = [](const QString& t) { Recorded().Informations << t; };

    // A modal box that a test did not expect would wait for a user forever.
    QTimer watchdog;
    QObject::connect(&watchdog, &QTimer::timeout, &app, [] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            ADD_FAILURE() << "unexpected modal window: " << modal->windowTitle().toStdString();
            if (auto* dialog = qobject_cast<QDialog*>(modal))
                dialog->reject();
            else
                modal->close();
        }
    });
    watchdog.start(200);

    ::testing::UnitTest::GetInstance()->listeners().Append(new kalvo::test::TRecorderListener);
    return RUN_ALL_TESTS();
}
