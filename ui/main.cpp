#include "AppServicesQt.h"
#include "TForm1.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kalvo"));
    QApplication::setApplicationDisplayName(QStringLiteral("Tarvo Mehrwertsteuer"));
    QApplication::setOrganizationName(QStringLiteral("Quorvath-Software"));
    QGuiApplication::setDesktopFileName(QStringLiteral("example.quorvath_software.kalvo"));

    // Qt's own texts (the fields' context menu, the boxes' buttons) in German.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::German), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);

    kalvo::TForm1 form;
    kalvo::InstallQtServices(&form);
    form.move(-500, 323); // off the screen until the first activation places it
    form.show();
    return QApplication::exec();
}
