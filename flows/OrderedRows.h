#pragma once
// Table rows computed on worker threads and written in row order.
//
// A row's outcome is computed by a function of unchanged inputs alone and holds the
// failure that ended the row, if any; the calling thread writes the outcomes of rows
// 1 … R − 1 in order, so the table and the first failure are those of a run one row
// after another. Rows after a failed one are never written.

#include "common/Failure.h"
#include "flows/GridTable.h"
#include "flows/InverseFlow.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace prurez {

// A row's cells and the failure that ended the row.
struct RowCells : RowTexts {
    std::exception_ptr failure;

    // Moves the cells into `target`, in buffers of their size (`room` characters more),
    // and leaves this one empty with its capacity: a worker builds its rows in one
    // buffer, and the table keeps no unused room.
    void moveFittedTo(RowCells& target, size_t room = 0)
    {
        target.texts.reserve(texts.size() + room);
        target.texts.append(texts);
        target.ends = ends;
        target.failure = std::move(failure);
        texts.clear();
        ends.clear();
        failure = nullptr;
    }
};

namespace orderedrows {

inline bool cancelled(const RowRunControl& control) { return stopRequested(control.work); }

// Worker threads take chunks of consecutive rows in ascending order and leave each
// outcome in the row's slot. A chunk is handed over whole, and the calling thread is
// woken only when it waits for one.
// The outcome of a row; what its work throws (running out of memory) is the row's
// failure, so that it is reported in row order, on every thread alike.
template <class Outcome, class Worker>
Outcome outcomeOf(Worker& compute, int row)
{
    try {
        return compute(row);
    } catch (...) {
        Outcome failed;
        failed.failure = std::current_exception();
        return failed;
    }
}

template <class Outcome, class MakeWorker>
class Pool {
public:
    static constexpr int chunkRows = 32;

    // The outcomes wait in a ring of chunks: a worker runs at most this many chunks
    // ahead of the rows written, so the memory held does not grow with the rows.
    Pool(int rowCount, int threadCount, const RowRunControl& control, MakeWorker& makeWorker)
        : rowCount_(rowCount), control_(control), ringChunks_(4 * threadCount + 4),
          slots_(static_cast<size_t>(ringChunks_ * chunkRows)), ready_(static_cast<size_t>(ringChunks_), -1)
    {
        // Where the system runs out of threads or memory (address space, limits), the
        // pool works with the threads it could start.
        workers_.reserve(static_cast<size_t>(threadCount));
        for (int i = 0; i < threadCount; ++i) {
            try {
                workers_.emplace_back([this, worker = makeWorker()]() mutable { work(worker); });
            } catch (...) {
                break;
            }
        }
    }

    bool hasWorkers() const { return !workers_.empty(); }

    ~Pool()
    {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stop_ = true;
        }
        ringFreed_.notify_all();
        for (auto& worker : workers_)
            worker.join();
    }

    // Waits for the outcome of a row; false when cancelled while waiting. Rows are taken
    // in order from 1.
    bool take(int row, Outcome& outcome)
    {
        if (row == 1 || row % chunkRows == 0) {
            const int chunk = chunkOf(row);
            std::unique_lock<std::mutex> lock(mutex_);
            // The chunks before this one are written: their places in the ring are free.
            released_ = chunk;
            ringFreed_.notify_all();
            while (ready_[static_cast<size_t>(chunk % ringChunks_)] != chunk) {
                if (cancelled(control_))
                    return false;
                awaited_ = chunk;
                chunkDone_.wait_for(lock, std::chrono::milliseconds(50));
            }
            awaited_ = -1;
        }
        outcome = std::move(slot(row));
        return true;
    }

private:
    static int chunkOf(int row) { return row / chunkRows; }
    Outcome& slot(int row)
    {
        return slots_[static_cast<size_t>(chunkOf(row) % ringChunks_ * chunkRows + row % chunkRows)];
    }

    template <class Worker>
    void work(Worker& compute)
    {
        while (!stop_ && !cancelled(control_)) {
            const int chunk = nextChunk_++;
            const int first = std::max(1, chunk * chunkRows);
            if (first >= rowCount_ || first > firstFailedRow_)
                return;
            {
                // Its place in the ring is free once the chunk a ring before it is written.
                std::unique_lock<std::mutex> lock(mutex_);
                while (chunk >= released_ + ringChunks_) {
                    if (stop_ || cancelled(control_))
                        return;
                    ringFreed_.wait_for(lock, std::chrono::milliseconds(50));
                }
            }
            const int end = std::min(rowCount_, (chunk + 1) * chunkRows);
            for (int row = first; row < end; ++row) {
                if (cancelled(control_))
                    return;
                Outcome& outcome = slot(row);
                outcome = outcomeOf<Outcome>(compute, row);
                if (outcome.failure) {
                    int known = firstFailedRow_.load();
                    while (row < known && !firstFailedRow_.compare_exchange_weak(known, row)) {
                    }
                    break;
                }
            }
            bool awaited = false;
            {
                std::lock_guard<std::mutex> lock(mutex_);
                ready_[static_cast<size_t>(chunk % ringChunks_)] = chunk;
                awaited = awaited_ == chunk;
            }
            if (awaited)
                chunkDone_.notify_one();
        }
    }

    const int rowCount_;
    const RowRunControl& control_;
    const int ringChunks_;
    std::vector<Outcome> slots_;  // a row's slot is read once its chunk is ready
    std::vector<int> ready_;      // per place in the ring: the chunk ready there, under mutex_
    int released_ = 0;            // the chunks before it are written, under mutex_
    int awaited_ = -1;            // the chunk the calling thread waits for, under mutex_
    std::atomic<bool> stop_{false};  // set under mutex_, so that a waiting worker sees it
    std::mutex mutex_;
    std::condition_variable chunkDone_;
    std::condition_variable ringFreed_;
    std::atomic<int> nextChunk_{0};
    std::atomic<int> firstFailedRow_{2147483647};
    std::vector<std::thread> workers_;
};

}  // namespace orderedrows

// Computes rows 1 … rowCount − 1 and writes them in order. `makeWorker()` gives each
// thread its row function, `Outcome worker(int row)`: an outcome holds its failure
// (`failure`), and what the function throws is the row's failure too. `write(row,
// outcome)` writes a row and throws its failure. Before each row the calling thread
// reports progress and checks for a stop (throwing Cancelled). `threads` ≤ 0: all
// hardware threads.
template <class Outcome, class MakeWorker, class Write>
void computeRowsInOrder(int rowCount, const RowRunControl& control, MakeWorker makeWorker, Write write)
{
    int threadCount = control.threads > 0 ? control.threads : static_cast<int>(std::thread::hardware_concurrency());
    threadCount = std::min(std::max(threadCount, 1), std::max(rowCount - 1, 1));
    auto next = [&](int row) {
        if (control.work != nullptr) {
            control.work->report(row, rowCount - 1);
            control.work->stopIfRequested();
        }
    };
    auto sequentially = [&] {
        auto worker = makeWorker();
        for (int row = 1; row < rowCount; ++row) {
            next(row);
            Outcome outcome = orderedrows::outcomeOf<Outcome>(worker, row);
            write(row, outcome);
        }
    };
    if (threadCount <= 1) {
        sequentially();
        return;
    }
    orderedrows::Pool<Outcome, MakeWorker> pool(rowCount, threadCount, control, makeWorker);
    if (!pool.hasWorkers()) {
        sequentially();
        return;
    }
    Outcome outcome;
    for (int row = 1; row < rowCount; ++row) {
        next(row);
        if (!pool.take(row, outcome))
            throw Cancelled();
        write(row, outcome);
    }
}

}  // namespace prurez
