// prurez: nonlinear modelling of concrete cross-sections.

#include "ui/Windows.h"
#include "ui/widgets/Handlers.h"
#include "prurez/prurez.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    // The only argument of its own; the desktop program takes no other.
    if (argc > 1 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("prurez %s\n", prurez::version());
        return 0;
    }
    QApplication application(argc, argv);
    // Qt's own dialogs (choosing a file to open or save) in Czech too, where Qt's
    // translations are installed.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::Czech), "qtbase", "_", QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);
    QApplication::setApplicationName(QString::fromUtf8(prurez::applicationTitle));
    QApplication::setQuitOnLastWindowClosed(false);
    prurez::createWindows();
    prurez::showMainWindowAtStart();
    return application.exec();
}
