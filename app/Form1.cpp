#include "app/Form1.h"

#include "widgets/Handlers.h"

#include <QApplication>
#include <QCloseEvent>

namespace prurez {

Form1::Form1(QWidget* parent) : QMainWindow(parent)
{
    setObjectName("Form1");
    setWindowTitle(QString::fromUtf8(applicationTitle));
}

void Form1::closeEvent(QCloseEvent* event)
{
    event->accept();
    QApplication::quit();  // closing the main window ends the program
}

}  // namespace prurez
