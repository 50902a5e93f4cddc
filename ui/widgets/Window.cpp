#include "ui/widgets/Window.h"

#include "ui/widgets/GridView.h"

#include <QApplication>
#include <QCloseEvent>
#include <QResizeEvent>

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

void Window::setOpeningSize(const QSize& size)
{
    openingSize_ = size;
    setMinimumSize(size);
    resize(size);
}

void Window::followGrowth(QWidget* control, Qt::Edges edges) { followers_.emplace_back(control, edges); }

void Window::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (!openingSize_.isValid())
        return;
    const QSize growth = (size() - openingSize_).expandedTo(QSize(0, 0));
    const QSize change = growth - growth_;
    growth_ = growth;
    for (const auto& [control, edges] : followers_) {
        if (control.isNull())
            continue;
        const bool right = edges.testFlag(Qt::RightEdge);
        const bool bottom = edges.testFlag(Qt::BottomEdge);
        if (auto* grid = qobject_cast<GridView*>(control.data())) {
            grid->setGrowth(QSize(right ? growth.width() : 0, bottom ? growth.height() : 0));
            continue;
        }
        QRect place = control->geometry();
        if (right && edges.testFlag(Qt::LeftEdge))
            place.translate(change.width(), 0);
        else if (right)
            place.setWidth(place.width() + change.width());
        if (bottom && edges.testFlag(Qt::TopEdge))
            place.translate(0, change.height());
        else if (bottom)
            place.setHeight(place.height() + change.height());
        control->setGeometry(place);
    }
}

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
