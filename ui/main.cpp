// prurez: nonlinear modelling of concrete cross-sections.

#include "ui/Form1.h"
#include "ui/Windows.h"
#include "ui/widgets/Handlers.h"

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
        std::printf("prurez %s\n", PRUREZ_VERSION);
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
    prurez::windows().form1->show();
    return application.exec();
}
