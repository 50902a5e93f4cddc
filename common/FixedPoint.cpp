#include "common/FixedPoint.h"

#include "common/Failure.h"

#include <cmath>

namespace prurez {

Fixed Fixed::store(long double v)
{
    const long double scaled = v * 10000.0L;
    // What rounds into [-2^63, 2^63 - 1]; 2^63 - 0.5 would round (to even) to 2^63.
    // NaN fails the comparisons too.
    if (!(scaled >= -9223372036854775808.0L && scaled < 9223372036854775807.5L))
        throw Failure(Reason::invalidOperation, "Invalid floating point operation");
    return fromRaw(static_cast<std::int64_t>(std::llrintl(scaled)));
}

}  // namespace prurez
