#include "inverse/MomentAtCurvature.h"

#include "common/Failure.h"

namespace prurez {

// Placeholder until the fibre-concrete law is in place.
std::optional<long double> MomentAtCurvature(long double, long double, long double, long double, long double,
                                             long double, long double, long double, long double,
                                             const MomentScanOptions&)
{
    throw Failure("not available yet");
}

}  // namespace prurez
