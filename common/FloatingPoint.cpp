#include "common/FloatingPoint.h"

#include "common/Failure.h"

#include <cfenv>

namespace prurez {

namespace {

// The flags that are faults (underflow and inexact results are not).
constexpr int faultFlags = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;

// How many scopes of the default environment are open on this thread.
thread_local int defaultScopes = 0;

}  // namespace

void clearFloatingPointFaults()
{
    // feclearexcept(FE_ALL_EXCEPT), without storing and loading the whole x87
    // environment: the x87 flags cleared at once, and the SSE flags in MXCSR.
    __asm__ __volatile__("fnclex");
    unsigned int mxcsr;
    __asm__ __volatile__("stmxcsr %0" : "=m"(mxcsr));
    mxcsr &= ~static_cast<unsigned int>(FE_ALL_EXCEPT);
    __asm__ __volatile__("ldmxcsr %0" : : "m"(mxcsr));
}

CallerFloatingPoint::CallerFloatingPoint()
{
    std::fegetenv(&saved_);
    std::fesetenv(FE_DFL_ENV);
    ++defaultScopes;
}

CallerFloatingPoint::~CallerFloatingPoint()
{
    --defaultScopes;
    std::fesetenv(&saved_);
}

DefaultFloatingPointScope::DefaultFloatingPointScope()
{
    if (defaultScopes++ > 0)
        return;
    switched_ = true;
    std::fegetenv(&saved_);
    std::fesetenv(FE_DFL_ENV);
}

DefaultFloatingPointScope::~DefaultFloatingPointScope()
{
    --defaultScopes;
    if (switched_)
        std::fesetenv(&saved_);
}

ComputationFloatingPoint::ComputationFloatingPoint() { std::fegetenv(&saved_); }

ComputationFloatingPoint::~ComputationFloatingPoint() { std::fesetenv(&saved_); }

void checkFloatingPointFaults()
{
    const int raised = std::fetestexcept(faultFlags);
    if (raised == 0)
        return;
    std::feclearexcept(FE_ALL_EXCEPT);
    if (raised & FE_INVALID)
        throw Failure(Reason::invalidOperation, "Invalid floating point operation");
    if (raised & FE_DIVBYZERO)
        throw Failure(Reason::divisionByZero, "Floating point division by zero");
    throw Failure(Reason::overflow, "Floating point overflow");
}

FaultFlags::FaultFlags()
{
    std::fegetexceptflag(&saved_, FE_ALL_EXCEPT);
    raisedBefore_ = faultRaised();
}

bool FaultFlags::faultRaised() { return std::fetestexcept(faultFlags) != 0; }

void FaultFlags::restore() const { std::fesetexceptflag(&saved_, FE_ALL_EXCEPT); }

namespace {

thread_local bool trialChecksDeferred = false;

}  // namespace

void checkTrialFaults()
{
    if (!trialChecksDeferred)
        checkFloatingPointFaults();
}

DeferredTrialChecks::DeferredTrialChecks() : previous_(trialChecksDeferred) { trialChecksDeferred = true; }

DeferredTrialChecks::~DeferredTrialChecks() { trialChecksDeferred = previous_; }

}  // namespace prurez
