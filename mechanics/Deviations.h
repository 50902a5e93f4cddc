#pragma once
// How far a combination's moments lie from the test's: the squared deviation of each
// test point [kNm²], their plain sum, and the combination with the smallest sum.

#include <vector>

namespace prurez {

// |M − Mtest|², formed as d·d of the difference.
inline long double squaredDeviation(long double moment, long double testMoment)
{
    const long double difference = moment - testMoment;
    return difference * difference;
}

// The sum of the squared deviations, from 0 in their order.
inline long double summedDeviation(const std::vector<long double>& squared)
{
    long double sum = 0.0L;
    for (long double value : squared)
        sum = sum + value;
    return sum;
}

// The smallest summed deviation over the combinations offered in order: a sum must be
// strictly smaller than the smallest so far, which starts at 10 000 000, so the
// earliest of equal sums wins and a sum of 10 000 000 or more is never chosen.
class BestFitSearch {
public:
    void offer(int combination, long double sum)
    {
        if (sum < smallest_) {
            smallest_ = sum;
            chosen_ = combination;
        }
    }
    // 0 when no sum was below 10 000 000.
    int chosen() const { return chosen_; }
    long double smallest() const { return smallest_; }

private:
    long double smallest_ = 10000000.0L;
    int chosen_ = 0;
};

}  // namespace prurez
