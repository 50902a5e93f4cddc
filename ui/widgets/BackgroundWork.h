#pragma once
// A computation that runs off the GUI thread while the windows keep painting.
//
// While it runs every other window and every control of its own window but the
// cancel button are disabled; its progress bar (and status label, if any) shows how
// far it got; "Přerušit", Esc or closing the window asks it to stop. The work must
// not touch widgets or anything the windows show: it writes into tables of its own,
// which the window takes over when it has ended.

#include "prurez/Progress.h"

#include <QString>

#include <atomic>
#include <chrono>
#include <functional>
#include <utility>

class QLabel;
class QProgressBar;
class QPushButton;
class QWidget;

namespace prurez {

struct WorkProgress {
    std::atomic<long long> done{0};
    std::atomic<long long> total{0};  // 0: not known, the bar only shows that work goes on
    std::atomic<bool> cancel{false};  // set when the user asks to stop

    // The progress callback of the library's computations (prurez/Progress.h): it
    // shows their progress here and stops them when the user asks.
    ProgressCallback callback()
    {
        return [this](long long workDone, long long workTotal) {
            total = workTotal;
            done = workDone;
            return !cancel;
        };
    }
};

struct WorkDisplay {
    WorkDisplay(QProgressBar* progressBar, QPushButton* cancel, QLabel* statusLabel = nullptr,
                std::function<QString(long long done)> describeDone = {})
        : bar(progressBar), cancelButton(cancel), status(statusLabel), describe(std::move(describeDone))
    {
    }
    QProgressBar* bar;
    QPushButton* cancelButton;
    QLabel* status;  // optional
    // The status text for the work done so far (used when there is a status label).
    std::function<QString(long long done)> describe;
};

// Runs `work` on a worker thread and returns when it has ended; an exception of the
// work is thrown again here. A request to stop reaches the work through
// WorkProgress::cancel: work that ends normally all the same has its result.
void runInBackground(QWidget* window, const WorkDisplay& display, const std::function<void(WorkProgress&)>& work);

// How long work run aside may take before the window shows it.
inline constexpr std::chrono::milliseconds asidePatience{150};

// Work that is mostly over at once (reading a file) but may take long (a slow disk):
// it runs on a worker thread while the window waits, taking no input, up to
// asidePatience; beyond that a panel in the window shows `what` with a busy bar and
// "Přerušit", and everything is quiet as under runInBackground until the work ends. An
// exception of the work is thrown again here. Work that is stopped and does not end
// within half a second is left behind and false is returned, so the work must own
// everything it touches: capture by value, a result through a shared_ptr.
bool runAside(QWidget* window, const QString& what, std::function<void(WorkProgress&)> work);

// True while a background computation runs (a second one is not started).
bool backgroundWorkRunning();

}  // namespace prurez
