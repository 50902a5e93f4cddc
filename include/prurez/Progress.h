#pragma once
// How a long computation runs, and how its caller watches and stops it: one callback.

#include <functional>

namespace prurez {

// Called from the thread that called the computation (never from a worker thread),
// with the work done so far and the whole work (0 when it is not known: the curvature
// steps of a section). It is called as the work advances and, inside a long single
// step, about every 20 ms. Returning false asks the computation to stop; it then
// ends soon (within a few tens of milliseconds) as cancelled, as its entry point says.
// The callback does not throw; what it does to the floating-point environment (a flag
// its own arithmetic raises) stays out of the computation.
using ProgressCallback = std::function<bool(long long done, long long total)>;

struct RunOptions {
    ProgressCallback progress;  // none: the computation runs to its end
    // The worker threads of the inverse analysis's moments and deviations; 0: all
    // hardware threads. Results are the same for every count.
    int threads = 0;
    // The plain fixed-step neutral-axis scans, trial by trial, instead of the search that
    // finds the same positions faster. Results are the same; it exists to prove that.
    bool exhaustiveScan = false;
    // The neutral axis where the section forces balance the axial force to the
    // precision of the extended type, instead of the first position of the fixed-step
    // scan within 1 kN: other results than the program's default ones.
    bool exactEquilibrium = false;
};

// How a computation that can be stopped ended.
enum class Completion { finished, cancelled };

}  // namespace prurez
