#include "ui/widgets/BackgroundWork.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QTabBar>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <system_error>
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

namespace {

// Keeps every other window and every input of `window` but the cancel button quiet
// and shows the progress until `ended()` says the work is over.
void waitQuietly(QWidget* window, const WorkDisplay& display, WorkProgress& progress, const std::function<bool()>& ended)
{
    running = true;

    // The focus waits on the window itself: a disabled control would hand it on to the
    // next, and a file list that takes it chooses its first file (a name field filled,
    // a file read).
    const QPointer<QWidget> focused = QApplication::focusWidget();
    if (focused != nullptr && focused->window() == window)
        window->setFocus(Qt::OtherFocusReason);

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

    QEventLoop loop;
    QTimer poll;
    poll.setInterval(40);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (ended()) {
            loop.quit();
            return;
        }
        showProgress(display, progress);
    });
    poll.start();
    loop.exec();
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
    if (focused != nullptr && focused->window() == window && focused->isEnabled() && focused->isVisible())
        focused->setFocus(Qt::OtherFocusReason);
    running = false;
}

// The state of work run aside, shared with its thread, which may outlive the wait.
struct AsideWork {
    WorkProgress progress;
    std::function<void(WorkProgress&)> work;
    std::mutex mutex;
    std::condition_variable ended;
    bool finished = false;  // under mutex
    std::exception_ptr failure;
};

}  // namespace

void runInBackground(QWidget* window, const WorkDisplay& display, const std::function<void(WorkProgress&)>& work)
{
    WorkProgress progress;
    std::exception_ptr failure;
    std::atomic<bool> finished{false};
    std::thread worker([&] {
        try {
            work(progress);
        } catch (...) {
            failure = std::current_exception();
        }
        finished = true;
    });
    waitQuietly(window, display, progress, [&] { return finished.load(); });
    worker.join();
    if (failure)
        std::rethrow_exception(failure);
}

bool runAside(QWidget* window, const QString& what, std::function<void(WorkProgress&)> work)
{
    auto state = std::make_shared<AsideWork>();
    state->work = std::move(work);
    if (running) {
        // Never a second waiting loop inside the first: here, then.
        state->work(state->progress);
        return true;
    }
    auto finished = [state] {
        std::lock_guard<std::mutex> lock(state->mutex);
        return state->finished;
    };
    try {
        std::thread([state] {
            try {
                state->work(state->progress);
            } catch (...) {
                state->failure = std::current_exception();
            }
            std::lock_guard<std::mutex> lock(state->mutex);
            state->finished = true;
            state->ended.notify_all();
        }).detach();
    } catch (const std::system_error&) {
        state->work(state->progress);  // no thread to be had: here, then
        return true;
    }
    {
        std::unique_lock<std::mutex> lock(state->mutex);
        state->ended.wait_for(lock, asidePatience, [&] { return state->finished; });
    }
    if (!finished()) {
        // It takes long: the window says what it does and offers to stop it.
        QFrame panel(window);
        panel.setObjectName("AsideWorkPanel");
        panel.setFrameShape(QFrame::StyledPanel);
        panel.setAutoFillBackground(true);
        auto* layout = new QVBoxLayout(&panel);
        auto* label = new QLabel(what, &panel);
        auto* bar = new QProgressBar(&panel);
        auto* cancel = new QPushButton(QString::fromUtf8("Přerušit"), &panel);
        cancel->setObjectName("AsideWorkCancel");
        layout->addWidget(label);
        layout->addWidget(bar);
        layout->addWidget(cancel, 0, Qt::AlignRight);
        panel.resize(std::max(320, panel.sizeHint().width()), panel.sizeHint().height());
        panel.move((window->width() - panel.width()) / 2, (window->height() - panel.height()) / 2);
        panel.show();
        panel.raise();
        // Stopped, it is waited for a little more; work that hangs in the system is left.
        QElapsedTimer sinceCancel;
        waitQuietly(window, WorkDisplay(bar, cancel), state->progress, [&] {
            if (finished())
                return true;
            if (!state->progress.cancel)
                return false;
            if (!sinceCancel.isValid())
                sinceCancel.start();
            return sinceCancel.elapsed() > 500;
        });
        if (!finished())
            return false;
    }
    if (state->failure)
        std::rethrow_exception(state->failure);
    return true;
}

}  // namespace prurez
