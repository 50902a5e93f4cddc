// prurez: nonlinear modelling of concrete cross-sections.

#include "ui/ReportCommand.h"
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
    // Its own arguments: --version, and --report; the desktop program takes no other.
    if (argc > 1 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("prurez %s\n", prurez::version());
        return 0;
    }
    // The report of an input file, written without a window.
    if (argc > 1 && std::strcmp(argv[1], "--report") == 0) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication application(argc, argv);
        return prurez::runReportCommand(argc - 2, argv + 2);
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
