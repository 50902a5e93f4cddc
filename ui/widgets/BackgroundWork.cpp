#include "ui/widgets/BackgroundWork.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QTabBar>
#include <QTimer>

#include <exception>
#include <thread>

namespace prurez {

namespace {

bool running = false;

// Esc and closing the window ask the work to stop; the window stays.
class StopRequests : public QObject {
public:
    explicit StopRequests(WorkProgress& progress) : progress_(progress) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Close) {
            progress_.cancel = true;
            event->ignore();
            return true;
        }
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            progress_.cancel = true;
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    WorkProgress& progress_;
};

// The controls a user could change the inputs or start something with.
bool isInput(QWidget* widget)
{
    return qobject_cast<QAbstractButton*>(widget) != nullptr || qobject_cast<QLineEdit*>(widget) != nullptr ||
           qobject_cast<QComboBox*>(widget) != nullptr || qobject_cast<QAbstractItemView*>(widget) != nullptr ||
           qobject_cast<QAbstractSpinBox*>(widget) != nullptr || qobject_cast<QTabBar*>(widget) != nullptr;
}

void showProgress(const WorkDisplay& display, const WorkProgress& progress)
{
    const long long total = progress.total.load();
    const long long done = progress.done.load();
    if (total > 0) {
        display.bar->setRange(0, static_cast<int>(std::min<long long>(total, 1 << 30)));
        display.bar->setValue(static_cast<int>(std::min(done, total)));
    } else {
        display.bar->setRange(0, 0);  // busy
    }
    if (display.status != nullptr && display.describe)
        display.status->setText(display.describe(done));
}

}  // namespace

bool backgroundWorkRunning() { return running; }

void runInBackground(QWidget* window, const WorkDisplay& display, const std::function<void(WorkProgress&)>& work)
{
    WorkProgress progress;
    running = true;

    // Everything that takes input goes quiet, but for the cancel button.
    QList<QPointer<QWidget>> disabled;
    auto quieten = [&](QWidget* widget) {
        if (widget->isEnabled()) {
            widget->setEnabled(false);
            disabled.append(widget);
        }
    };
    // So do the keyboard shortcuts (Ctrl+O would fill the fields of a running input).
    QList<QPointer<QShortcut>> silenced;
    auto silence = [&](QWidget* top) {
        for (QShortcut* shortcut : top->findChildren<QShortcut*>())
            if (shortcut->isEnabled()) {
                shortcut->setEnabled(false);
                silenced.append(shortcut);
            }
    };
    for (QWidget* other : QApplication::topLevelWidgets())
        if (other != window && other->isVisible()) {
            quieten(other);
            silence(other);
        }
    for (QWidget* control : window->findChildren<QWidget*>())
        if (control != display.cancelButton && isInput(control))
            quieten(control);
    silence(window);
    display.cancelButton->setEnabled(true);
    display.cancelButton->show();
    display.cancelButton->raise();
    display.bar->show();
    if (display.status != nullptr)
        display.status->show();
    showProgress(display, progress);

    StopRequests stopRequests(progress);
    window->installEventFilter(&stopRequests);
    const QMetaObject::Connection cancelled =
        QObject::connect(display.cancelButton, &QPushButton::clicked, [&] { progress.cancel = true; });

    std::exception_ptr failure;
    std::atomic<bool> finished{false};
    QEventLoop loop;
    std::thread worker([&] {
        try {
            work(progress);
        } catch (...) {
            failure = std::current_exception();
        }
        finished = true;
    });
    QTimer poll;
    poll.setInterval(40);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (finished) {
            loop.quit();
            return;
        }
        showProgress(display, progress);
    });
    poll.start();
    loop.exec();
    worker.join();
    showProgress(display, progress);  // where the work ended

    poll.stop();
    QObject::disconnect(cancelled);
    window->removeEventFilter(&stopRequests);
    for (const QPointer<QWidget>& widget : disabled)
        if (widget)
            widget->setEnabled(true);
    for (const QPointer<QShortcut>& shortcut : silenced)
        if (shortcut)
            shortcut->setEnabled(true);
    display.cancelButton->hide();
    if (display.status != nullptr)
        display.status->hide();
    running = false;
    if (failure)
        std::rethrow_exception(failure);
}

}  // namespace prurez
