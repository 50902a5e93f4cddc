// prurez: nonlinear modelling of concrete cross-sections.

#include "ui/Form1.h"
#include "ui/Windows.h"
#include "ui/widgets/Handlers.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(prurez::applicationTitle));
    QApplication::setQuitOnLastWindowClosed(false);
    prurez::createWindows();
    prurez::windows().form1->show();
    return application.exec();
}
