#include "ui/widgets/Window.h"

#include <QApplication>
#include <QCloseEvent>

namespace prurez {

namespace {
std::function<void()>& nothingVisibleHandler()
{
    static std::function<void()> handler;
    return handler;
}
}  // namespace

Window::Window(QWidget* parent) : QWidget(parent, Qt::Window) {}

void Window::setNothingVisibleHandler(std::function<void()> handler) { nothingVisibleHandler() = std::move(handler); }

void Window::closeEvent(QCloseEvent* event)
{
    event->accept();  // hidden, never destroyed
    hide();
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->isVisible() && (qobject_cast<Window*>(widget) != nullptr || widget->inherits("QMainWindow")))
            return;
    if (nothingVisibleHandler())
        nothingVisibleHandler()();
}

}  // namespace prurez
