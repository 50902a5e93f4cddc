#include "common/WorkControl.h"

#include "common/FloatingPoint.h"

#include <utility>

namespace prurez {

namespace {

// A long step asks the callback again after this long.
constexpr std::chrono::milliseconds askingInterval(20);

}  // namespace

RunOptions stagedOptions(const RunOptions& options, long long before, long long total)
{
    RunOptions staged = options;
    if (options.progress)
        staged.progress = [progress = options.progress, before, total](long long done, long long) {
            return progress(before + done, total);
        };
    return staged;
}

WorkControl::WorkControl(ProgressCallback callback)
    : callback_(std::move(callback)), caller_(std::this_thread::get_id()), lastAsked_(std::chrono::steady_clock::now())
{
}

void WorkControl::ask()
{
    lastAsked_ = std::chrono::steady_clock::now();
    const ComputationFloatingPoint kept;  // a flag the callback's own arithmetic raises fails nothing
    if (!callback_(done_, total_))
        stop_ = true;
}

void WorkControl::report(long long done, long long total)
{
    done_ = done;
    total_ = total;
    if (callback_ && !stop_)
        ask();
}

bool WorkControl::stopRequested()
{
    if (stop_.load(std::memory_order_relaxed))
        return true;
    if (callback_ && std::this_thread::get_id() == caller_ &&
        std::chrono::steady_clock::now() - lastAsked_ >= askingInterval)
        ask();
    return stop_.load(std::memory_order_relaxed);
}

}  // namespace prurez
