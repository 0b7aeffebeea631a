#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Tarvo Mehrwertsteuer"));
    QWidget window;
    window.setWindowTitle(QStringLiteral("Tarvo Mehrwertsteuer"));
    window.resize(207, 131);
    window.show();
    return app.exec();
}
