#pragma once
// The fixed-point value: a signed 64-bit integer holding the value times 10000.

#include <cstdint>

namespace prurez {

class Fixed {
public:
    Fixed() = default;
    // Rounds v·10000 to the nearest integer, ties to even. A value whose scaled
    // magnitude does not fit 64 bits fails with "Invalid floating point operation".
    static Fixed store(long double v);
    static Fixed fromRaw(std::int64_t raw) { Fixed f; f.raw_ = raw; return f; }

    std::int64_t raw() const { return raw_; }
    long double value() const { return static_cast<long double>(raw_) / 10000.0L; }

private:
    std::int64_t raw_ = 0;
};

// The ratio of two fixed-point values, formed from the raw integers (the scale cancels).
inline long double ratio(Fixed numerator, Fixed denominator)
{
    return static_cast<long double>(numerator.raw()) / static_cast<long double>(denominator.raw());
}

}  // namespace prurez
