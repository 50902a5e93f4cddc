#include "mechanics/ExactEquilibrium.h"

namespace prurez {

std::optional<FibreTrial> exactFibreTrial(const FibreConcreteLaw& law, long double w, long double h, long double kappa,
                                          long double target)
{
    const FibreAtCurvature zones(law, w, kappa);
    FibreTrial trial;
    auto residual = [&](long double x) {
        trial = zones.trial(h, x);
        return target - (trial.tension.force + trial.compression.force);
    };
    const long double middle = h / 2.0L;
    if (!findExactRoot({{middle, 0.0L}, {middle, h}}, residual))
        return std::nullopt;
    return trial;
}

}  // namespace prurez
