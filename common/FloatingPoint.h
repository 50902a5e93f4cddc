#pragma once
// Precision classes and the floating-point fault guard.
//
// All arithmetic is long double (80-bit extended, 64-bit mantissa). A value "held in
// single precision" is rounded to float where it is stored and read back as long double.

#include <cfenv>
#include <limits>

static_assert(std::numeric_limits<long double>::digits == 64,
              "prurez needs the 80-bit extended long double (64-bit mantissa)");

namespace prurez {

// Stores v in single precision and returns the stored value as extended.
inline long double single(long double v) { return static_cast<long double>(static_cast<float>(v)); }

// A quantity held in single precision: stored as float, read as long double.
class Single {
public:
    Single() = default;
    explicit Single(long double v) : value_(static_cast<float>(v)) {}
    operator long double() const { return value_; }

private:
    float value_ = 0.0f;
};

// Clears the IEEE exception flags; called when a handler or computation starts.
void clearFloatingPointFaults();

// Every entry point of the library computes in the default floating-point environment
// (rounding to nearest, extended precision, no flag raised): this keeps the caller's
// environment aside while it lives and puts it back, raised flags included, however
// the entry point ends. A flag the caller left raised therefore fails nothing inside.
class CallerFloatingPoint {
public:
    CallerFloatingPoint();
    ~CallerFloatingPoint();
    CallerFloatingPoint(const CallerFloatingPoint&) = delete;
    CallerFloatingPoint& operator=(const CallerFloatingPoint&) = delete;

private:
    std::fenv_t saved_;
};

// The same for reading a table whose texts are computed when they are read (a value
// formatted, a deviation formed): the default environment while it lives, the reader's
// put back afterwards. Inside an entry point, or another such scope, it costs nothing.
class DefaultFloatingPointScope {
public:
    DefaultFloatingPointScope();
    ~DefaultFloatingPointScope();
    DefaultFloatingPointScope(const DefaultFloatingPointScope&) = delete;
    DefaultFloatingPointScope& operator=(const DefaultFloatingPointScope&) = delete;

private:
    bool switched_ = false;
    std::fenv_t saved_;
};

// Keeps the computation's floating-point environment across a call of the caller's own
// code (a progress callback, a row sink): what that code raises or sets stays out of
// the computation.
class ComputationFloatingPoint {
public:
    ComputationFloatingPoint();
    ~ComputationFloatingPoint();
    ComputationFloatingPoint(const ComputationFloatingPoint&) = delete;
    ComputationFloatingPoint& operator=(const ComputationFloatingPoint&) = delete;

private:
    std::fenv_t saved_;
};

// Throws the Failure for the first raised flag in the order invalid operation,
// division by zero, overflow. Underflow and inexact results are not faults.
void checkFloatingPointFaults();

// The state of the fault flags when it is made, to be put back after a computation
// whose own faults are judged apart.
class FaultFlags {
public:
    FaultFlags();
    bool faultRaisedBefore() const { return raisedBefore_; }
    // True when a fault flag is raised now.
    static bool faultRaised();
    // Puts the flags back as they were when this was made.
    void restore() const;

private:
    std::fexcept_t saved_;
    bool raisedBefore_ = false;
};

// A check inside a trial of a scan: skipped while a fast search defers the checks of
// its trials to its end (the flags are sticky, so a search that ends without a flag
// raised had none; one that ends with a flag is redone with every check).
void checkTrialFaults();

// Defers the checks of checkTrialFaults for as long as it lives (on this thread).
class DeferredTrialChecks {
public:
    DeferredTrialChecks();
    ~DeferredTrialChecks();
    DeferredTrialChecks(const DeferredTrialChecks&) = delete;
    DeferredTrialChecks& operator=(const DeferredTrialChecks&) = delete;

private:
    bool previous_;
};

}  // namespace prurez
