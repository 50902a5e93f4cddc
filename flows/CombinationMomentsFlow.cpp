// The moment of every parameter combination at every curvature of the test.
//
// Each combination row is computed by a function of the (unchanged) input tables
// alone, so rows can run on worker threads; the table is then written row by row in
// order, so the cells and the first failure are those of a run one row after another.

#include "flows/InverseFlow.h"

#include "flows/CellText.h"
#include "flows/InverseMessages.h"
#include "mechanics/FibreConcreteLaw.h"
#include "mechanics/MomentAtCurvature.h"

#include "common/Failure.h"
#include "common/FloatingPoint.h"
#include "common/NumberText.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace prurez {

namespace {

struct MomentInputs {
    BeamSection beam;
    int pointCount = 0;
    char decimalSeparator = ',';
    ScanOptions options;
    const GridTable* diagram = nullptr;
    const GridTable* combinations = nullptr;
    std::vector<KeptNumber> curvatures;  // of test points 1 … p (index k − 1)
};

// The combination parameters of the rows a worker computes: consecutive rows share
// most of their texts, which are read once while they stay the same.
class ParameterReader {
public:
    long double read(const GridTable& combinations, int column, int row, char separator)
    {
        Column& kept = columns_[static_cast<size_t>(column)];
        const std::string_view text = combinations.cellView(column, row);
        if (!kept.read.kept || text != kept.text) {
            kept.text.assign(text);
            kept.read = keepNumber(combinations, column, row, separator);
        }
        return keptValue(kept.read, combinations, column, row, separator);
    }

private:
    struct Column {
        std::string text;
        KeptNumber read;
    };
    std::array<Column, 8> columns_;
};

// What one combination row produced: the texts of its cells (the combination number,
// then curvature and moment of each point computed) one after another, and the failure
// that ended the row, if any.
struct RowOutcome {
    std::string texts;
    std::vector<std::uint32_t> ends;
    std::exception_ptr failure;
};

RowOutcome computeRow(const MomentInputs& in, int row, ParameterReader& reader)
{
    RowOutcome outcome;
    const GridTable& combinations = *in.combinations;
    const char separator = in.decimalSeparator;
    auto endCell = [&] { outcome.ends.push_back(static_cast<std::uint32_t>(outcome.texts.size())); };
    outcome.texts.reserve(static_cast<size_t>(24 + 40 * in.pointCount));
    outcome.ends.reserve(static_cast<size_t>(2 * in.pointCount + 1));
    outcome.texts.append(combinations.cellView(0, row));
    endCell();
    try {
        clearFloatingPointFaults();
        // The row's parameters are the same texts for every test point: converted once,
        // they give the values (and the first failure) of a conversion at each point.
        FibreParameters parameters;
        parameters.E = reader.read(combinations, 1, row, separator);
        parameters.fcp = reader.read(combinations, 2, row, separator);
        parameters.fct = reader.read(combinations, 3, row, separator);
        reader.read(combinations, 4, row, separator);  // ecpm: converted, not used
        const long double ectm = reader.read(combinations, 5, row, separator);
        parameters.a = Single(reader.read(combinations, 6, row, separator));
        parameters.b = Single(reader.read(combinations, 7, row, separator));
        parameters.epsTu = ectm * 0.01L;
        // The row's strains are derived before a curvature is read or copied, so E = 0
        // fails with no curvature text of the row written.
        extendedFibreLaw(parameters.E, parameters.fcp, parameters.fct, parameters.a, parameters.b, parameters.epsTu);
        checkFloatingPointFaults();
        for (int k = 1; k <= in.pointCount; ++k) {
            const Single kappa(keptValue(in.curvatures[static_cast<size_t>(k - 1)], *in.diagram, 2, k, separator));
            outcome.texts.append(in.diagram->cellView(2, k));
            endCell();
            const std::optional<long double> moment = MomentAtCurvature(in.beam, parameters, kappa, in.options);
            if (!moment)
                throw Failure(noBalanceMessage(combinations.cell(0, row), in.diagram->cell(2, k)));
            checkFloatingPointFaults();
            appendNumber(outcome.texts, *moment, separator);
            endCell();
        }
    } catch (const ScanCancelled&) {
        outcome.failure = std::make_exception_ptr(Failure(computationCancelledMessage));
    } catch (...) {
        outcome.failure = std::current_exception();
    }
    return outcome;
}

// Writes one row's outcome into the table; a failure of the row is thrown after the
// cells before it are written.
void writeRow(int row, RowOutcome& outcome, GridTable& moments)
{
    moments.setRowCells(row, std::move(outcome.texts), std::move(outcome.ends));
    if (outcome.failure)
        std::rethrow_exception(outcome.failure);
}

bool cancelled(const MomentRunControl& control)
{
    return control.cancel != nullptr && control.cancel->load();
}

void runSequentially(const MomentInputs& in, int rowCount, GridTable& moments, const MomentRunControl& control)
{
    ParameterReader reader;
    for (int row = 1; row < rowCount; ++row) {
        if (cancelled(control))
            throw Failure(computationCancelledMessage);
        if (control.progress)
            control.progress(row);
        RowOutcome outcome = computeRow(in, row, reader);
        writeRow(row, outcome, moments);
    }
}

// Worker threads take chunks of consecutive rows in ascending order and leave each
// outcome in the row's slot; the calling thread writes the slots in row order. A chunk
// is handed over whole, and the calling thread is woken only when it waits for one.
class RowPool {
public:
    static constexpr int chunkRows = 32;

    RowPool(const MomentInputs& in, int rowCount, int threadCount, const MomentRunControl& control)
        : in_(in), rowCount_(rowCount), control_(control), slots_(static_cast<size_t>(rowCount)),
          ready_(static_cast<size_t>(chunkOf(rowCount - 1) + 1), 0)
    {
        // Where the system runs out of threads (address space, limits), the pool works
        // with those it could start.
        workers_.reserve(static_cast<size_t>(threadCount));
        for (int i = 0; i < threadCount; ++i) {
            try {
                workers_.emplace_back([this] { work(); });
            } catch (const std::system_error&) {
                break;
            }
        }
    }

    bool hasWorkers() const { return !workers_.empty(); }

    ~RowPool()
    {
        stop_ = true;
        for (auto& worker : workers_)
            worker.join();
    }

    // Waits for the outcome of a row; false when cancelled while waiting. Rows are taken
    // in order from 1.
    bool take(int row, RowOutcome& outcome)
    {
        if (row == 1 || row % chunkRows == 0) {
            const int chunk = chunkOf(row);
            std::unique_lock<std::mutex> lock(mutex_);
            while (!ready_[static_cast<size_t>(chunk)]) {
                if (cancelled(control_))
                    return false;
                awaited_ = chunk;
                chunkDone_.wait_for(lock, std::chrono::milliseconds(50));
            }
            awaited_ = -1;
        }
        outcome = std::move(slots_[static_cast<size_t>(row)]);
        return true;
    }

private:
    static int chunkOf(int row) { return row / chunkRows; }

    void work()
    {
        ParameterReader reader;
        while (!stop_ && !cancelled(control_)) {
            const int chunk = nextChunk_++;
            const int first = std::max(1, chunk * chunkRows);
            // Rows after a failed one are never written.
            if (first >= rowCount_ || first > firstFailedRow_)
                return;
            const int end = std::min(rowCount_, (chunk + 1) * chunkRows);
            for (int row = first; row < end; ++row) {
                if (cancelled(control_))
                    return;
                RowOutcome& outcome = slots_[static_cast<size_t>(row)];
                outcome = computeRow(in_, row, reader);
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
                ready_[static_cast<size_t>(chunk)] = 1;
                awaited = awaited_ == chunk;
            }
            if (awaited)
                chunkDone_.notify_one();
        }
    }

    const MomentInputs& in_;
    const int rowCount_;
    const MomentRunControl& control_;
    std::vector<RowOutcome> slots_;  // a row's slot is read once its chunk is ready
    std::vector<char> ready_;        // per chunk, under mutex_
    int awaited_ = -1;               // the chunk the calling thread waits for, under mutex_
    std::mutex mutex_;
    std::condition_variable chunkDone_;
    std::atomic<int> nextChunk_{0};
    std::atomic<int> firstFailedRow_{2147483647};
    std::atomic<bool> stop_{false};
    std::vector<std::thread> workers_;
};

void runOnThreads(const MomentInputs& in, int rowCount, int threadCount, GridTable& moments,
                  const MomentRunControl& control)
{
    RowPool pool(in, rowCount, threadCount, control);
    if (!pool.hasWorkers()) {
        runSequentially(in, rowCount, moments, control);
        return;
    }
    RowOutcome outcome;
    for (int row = 1; row < rowCount; ++row) {
        if (cancelled(control))
            throw Failure(computationCancelledMessage);
        if (control.progress)
            control.progress(row);
        if (!pool.take(row, outcome))
            throw Failure(computationCancelledMessage);
        writeRow(row, outcome, moments);
    }
}

}  // namespace

void computeCombinationMoments(const BeamTexts& beam, const GridTable& diagram, const GridTable& combinations,
                               GridTable& moments, char decimalSeparator, const MomentRunControl& control)
{
    clearFloatingPointFaults();
    MomentInputs in;
    in.beam.width = Single(readExtended(beam.width, decimalSeparator));
    in.beam.height = Single(readExtended(beam.height, decimalSeparator));
    const std::int32_t pointCount = readInteger(beam.pointCount);
    const int rowCount = combinations.rowCount();
    if (pointCount <= 0)
        throw Failure(noTestPointsMessage);
    if (rowCount < 2)
        throw Failure(noCombinationsMessage);
    if (pointCount > diagram.rowCount() - 1)
        throw Failure(pointCountMismatchMessage);
    in.pointCount = pointCount;
    in.decimalSeparator = decimalSeparator;
    in.options = control.scan;
    in.options.cancel = control.cancel;
    in.diagram = &diagram;
    in.combinations = &combinations;
    // The test curvatures are the same texts for every combination: read once.
    for (int k = 1; k <= pointCount; ++k)
        in.curvatures.push_back(keepNumber(diagram, 2, k, decimalSeparator));

    moments.reserveRows(rowCount);
    moments.setRowCount(rowCount);
    moments.setColumnCount(2 * pointCount + 1);
    moments.setCell(0, 0, "kombinace");
    for (int k = 1; k <= pointCount; ++k) {
        moments.setCell(2 * k - 1, 0, " křivost");
        moments.setCell(2 * k, 0, "  Moment");
    }

    int threadCount = control.threads > 0 ? control.threads : static_cast<int>(std::thread::hardware_concurrency());
    threadCount = std::min(std::max(threadCount, 1), rowCount - 1);
    if (threadCount <= 1)
        runSequentially(in, rowCount, moments, control);
    else
        runOnThreads(in, rowCount, threadCount, moments, control);
}

}  // namespace prurez
