#include "common/FloatingPoint.h"

#include "common/Failure.h"

#include <cfenv>

namespace prurez {

void clearFloatingPointFaults() { std::feclearexcept(FE_ALL_EXCEPT); }

void checkFloatingPointFaults()
{
    const int raised = std::fetestexcept(FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW);
    if (raised == 0)
        return;
    std::feclearexcept(FE_ALL_EXCEPT);
    if (raised & FE_INVALID)
        throw Failure("Invalid floating point operation");
    if (raised & FE_DIVBYZERO)
        throw Failure("Floating point division by zero");
    throw Failure("Floating point overflow");
}

}  // namespace prurez
