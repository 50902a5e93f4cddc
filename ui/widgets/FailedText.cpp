#include "ui/widgets/FailedText.h"

#include "common/Failure.h"
#include "ui/widgets/GridView.h"

#include <QApplication>
#include <QPointer>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QStackedWidget>
#include <QTabWidget>

namespace prurez {

namespace {

// Makes current every page that holds the control, from the outside in.
void bringPagesForward(QWidget* control)
{
    QList<QWidget*> pages;
    for (QWidget* widget = control; widget != nullptr && !widget->isWindow(); widget = widget->parentWidget()) {
        QWidget* stack = widget->parentWidget();
        if (qobject_cast<QStackedWidget*>(stack) != nullptr && stack->parentWidget() != nullptr &&
            qobject_cast<QTabWidget*>(stack->parentWidget()) != nullptr)
            pages.prepend(widget);
    }
    for (QWidget* page : pages)
        static_cast<QTabWidget*>(page->parentWidget()->parentWidget())->setCurrentWidget(page);
}

void bringWindowForward(QWidget* control)
{
    QWidget* window = control->window();
    if (!window->isVisible())
        window->show();
    window->raise();
    window->activateWindow();
    bringPagesForward(control);
}

// The grid that shows the table: one the window does not keep hidden.
GridView* gridShowing(const void* table)
{
    for (QWidget* widget : QApplication::allWidgets()) {
        auto* grid = qobject_cast<GridView*>(widget);
        if (grid != nullptr && &grid->table() == table && grid->isVisibleTo(grid->window()))
            return grid;
    }
    return nullptr;
}

void showCell(GridView* grid, int column, int row)
{
    bringWindowForward(grid);
    grid->setFocus(Qt::OtherFocusReason);
    grid->selectCell(column, row);
}

// The field texts: a text and the control that shows it.
std::vector<std::pair<const std::string*, QPointer<QWidget>>>& fieldTexts()
{
    static std::vector<std::pair<const std::string*, QPointer<QWidget>>> texts;
    return texts;
}

}  // namespace

void showField(QWidget* control)
{
    bringWindowForward(control);
    if (control->isHidden())
        return;
    control->setFocus(Qt::OtherFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(control))
        edit->selectAll();
    else if (auto* combo = qobject_cast<QComboBox*>(control); combo != nullptr && combo->lineEdit() != nullptr)
        combo->lineEdit()->selectAll();
}

void addFieldTexts(const std::vector<TextSource>& sources)
{
    for (const TextSource& source : sources)
        fieldTexts().emplace_back(source.text, source.control);
}

void showingFailedText(const std::vector<TextSource>& sources, const std::function<void()>& body)
{
    try {
        body();
    } catch (const TextFailure& failure) {
        if (failure.table() != nullptr) {
            if (GridView* grid = gridShowing(failure.table()))
                showCell(grid, failure.column(), failure.row());
        } else {
            for (const TextSource& source : sources)
                if (source.text == failure.text() && source.control != nullptr)
                    showField(source.control);
            for (const auto& [text, control] : fieldTexts())
                if (text == failure.text() && control != nullptr)
                    showField(control);
        }
        throw;
    }
}

}  // namespace prurez
