#pragma once
// The statistics of a test series: the mean, the standard deviation and the
// coefficient of variation of a quantity over the specimens, and its characteristic
// value, the 5 % fractile of a normal distribution whose coefficient of variation is
// not known beforehand:
//
//     Xk = Xm · (1 − kn · V),
//
// kn for n specimens from the standard table (n = 3: 3,37; 4: 2,63; 5: 2,33; 6: 2,18;
// 8: 2,00; 10: 1,92; 20: 1,76; 30: 1,73; ∞: 1,64). Between two tabulated n the factor is
// interpolated linearly in 1/n, as tables of Student's t (of which kn is made) are
// interpolated: that reaches the value for n = ∞ (1/n = 0) and, for 7 specimens, gives
// 2,077 against the exact t₀,₉₅;₆ · √(1 + 1/7) = 2,077 (linear in n: 2,09). Fewer than
// three specimens have no characteristic value.

#include <optional>
#include <vector>

namespace prurez {

// The fewest specimens a characteristic value is given for.
inline constexpr int fewestCharacteristicSpecimens = 3;

// kn for n specimens; none below three.
std::optional<long double> fractileFactor(int specimenCount);

struct SampleStatistics {
    int count = 0;
    std::optional<long double> mean;                // from one value on
    std::optional<long double> standardDeviation;   // with n − 1, from two values on
    std::optional<long double> variation;           // s / mean, where the mean is above zero
    std::optional<long double> characteristic;      // mean · (1 − kn · V), from three values on
};

// The statistics of the values (sums from 0 in their order). A value that is not finite
// makes every statistic of the sample undefined but its count.
SampleStatistics sampleStatistics(const std::vector<long double>& values);

}  // namespace prurez
