#pragma once
// The one way a long computation is watched and stopped inside the library: the
// caller's progress callback (prurez/Progress.h), asked from the calling thread only,
// and a stop flag that every thread of the computation reads.

#include "prurez/Progress.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace prurez {

// `options` for one stage of a longer piece of work: its progress told as `before` plus
// the stage's own work done, out of the whole work `total`.
RunOptions stagedOptions(const RunOptions& options, long long before, long long total);

// Thrown where a computation stops on request. It never leaves the library: every entry
// point turns it into its cancelled outcome.
struct Cancelled {};

class WorkControl {
public:
    // Made on the thread that calls the computation.
    explicit WorkControl(ProgressCallback callback = {});
    WorkControl(const WorkControl&) = delete;
    WorkControl& operator=(const WorkControl&) = delete;

    // From the calling thread: the work done so far and the whole (0: not known). The
    // callback is told, and may ask to stop.
    void report(long long done, long long total);
    // From any thread: true once a stop was asked. On the calling thread it also tells
    // the callback the last progress again when 20 ms have passed since it last did, so
    // that a long step stays stoppable.
    bool stopRequested();
    // Cancelled is thrown when a stop was asked.
    void stopIfRequested()
    {
        if (stopRequested())
            throw Cancelled();
    }

private:
    void ask();

    ProgressCallback callback_;
    std::thread::id caller_;
    std::atomic<bool> stop_{false};
    long long done_ = 0;
    long long total_ = 0;
    std::chrono::steady_clock::time_point lastAsked_;
};

// The same for a computation that may run without control (nullptr).
inline bool stopRequested(WorkControl* work) { return work != nullptr && work->stopRequested(); }

}  // namespace prurez
