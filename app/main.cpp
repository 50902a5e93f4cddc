// prurez: nonlinear modelling of concrete cross-sections.

#include "app/Form1.h"
#include "app/Windows.h"
#include "widgets/Handlers.h"

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
