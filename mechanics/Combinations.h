#pragma once
// The grid of the inverse analysis: five parameters (E, fct, εtm, a, b), each taking
// its minimum, n evenly spaced intermediate values and its maximum; every combination
// of them, E varying slowest and b fastest.

#include <array>
#include <cstddef>

namespace prurez {

inline constexpr int gridParameterCount = 5;

// The k-th intermediate value (k = 1 … n) between min and max, nx being n as an
// extended number: ((max − min) / (nx + 1))·k + min.
inline long double intermediateValue(long double minimum, long double maximum, long double nx, int k)
{
    return ((maximum - minimum) / (nx + 1.0L)) * static_cast<long double>(k) + minimum;
}

// The number of combinations of five parameters with m values each.
inline int combinationCount(int m) { return m * m * m * m * m; }

// The value indices of combination 1, 2, … in order: combination r holds the digits of
// r − 1 in base m, E (index 0) most significant.
class CombinationDigits {
public:
    explicit CombinationDigits(int m) : m_(m) {}
    const std::array<int, gridParameterCount>& digits() const { return digits_; }
    // On to the next combination.
    void next()
    {
        for (int place = gridParameterCount - 1; place >= 0; --place) {
            if (++digits_[static_cast<size_t>(place)] < m_)
                return;
            digits_[static_cast<size_t>(place)] = 0;
        }
    }

private:
    int m_;
    std::array<int, gridParameterCount> digits_{};
};

}  // namespace prurez
