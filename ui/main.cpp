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
    // The application's title is the caption of its error boxes. It is not set as Qt's display
    // name, which Qt would append to the caption "Informationen" of the information boxes.
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
