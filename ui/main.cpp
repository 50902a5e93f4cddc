// prurez: nonlinear modelling of concrete cross-sections.

#include "ui/Form1.h"
#include "ui/Windows.h"
#include "ui/widgets/Handlers.h"

#include <QApplication>

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
    QApplication::setApplicationName(QString::fromUtf8(prurez::applicationTitle));
    QApplication::setQuitOnLastWindowClosed(false);
    prurez::createWindows();
    prurez::windows().form1->show();
    return application.exec();
}
