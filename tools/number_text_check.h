#pragma once
// The number text conversions held to the C library, for tools/number_text_check.cpp,
// the unit tests and the benchmark:
// - byLibc: formatNumber, isNumberText and decimalToLongDouble as they were before the
//   fast conversions, on snprintf("%.14Le") and strtold alone, kept word for word;
// - generators of the values and texts where the conversions are hardest: any bit
//   pattern, subnormals, powers of ten and their neighbours, values next to the
//   halfway points between 15-digit decimals, and every kind of exact tie;
// - NumberTextComparison, which runs both versions and records what differs.

#include "common/Failure.h"
#include "common/NumberText.h"

#include <cfenv>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <locale.h>
#include <random>
#include <string>
#include <vector>

namespace prurez::byLibc {

inline bool isBlank(char c) { return static_cast<unsigned char>(c) <= 32; }
inline bool isDigit(char c) { return c >= '0' && c <= '9'; }

inline locale_t cLocale()
{
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return locale;
}

inline std::string formatNumber(long double value, char decimalSeparator)
{
    if (value == 0.0L)
        return "0";
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value > 0 ? "INF" : "-INF";

    // The exact value rounded to 15 significant digits: d.dddddddddddddde±x.
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.14Le", value);
    char digits[16];
    int count = 0;
    const char* p = buffer;
    for (; *p != 'e'; ++p) {
        if (isDigit(*p) && count < 15)
            digits[count++] = *p;
    }
    const int exponent = static_cast<int>(std::strtol(p + 1, nullptr, 10)) + 1;  // |v| = 0.d1d2… × 10^exponent
    while (count > 1 && digits[count - 1] == '0')
        --count;

    std::string text;
    text.reserve(24);
    if (value < 0)
        text += '-';
    if (exponent >= -3 && exponent <= 15) {
        if (exponent <= 0) {
            text += '0';
            text += decimalSeparator;
            text.append(static_cast<size_t>(-exponent), '0');
            text.append(digits, static_cast<size_t>(count));
        } else {
            for (int i = 0; i < exponent; ++i)
                text += i < count ? digits[i] : '0';
            if (count > exponent) {
                text += decimalSeparator;
                text.append(digits + exponent, static_cast<size_t>(count - exponent));
            }
        }
    } else {
        text += digits[0];
        if (count > 1) {
            text += decimalSeparator;
            text.append(digits + 1, static_cast<size_t>(count - 1));
        }
        text += 'E';
        text += std::to_string(exponent - 1);
    }
    return text;
}

inline bool isNumberText(const std::string& text, char decimalSeparator)
{
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    size_t i = begin;
    if (i < end && (text[i] == '+' || text[i] == '-'))
        ++i;
    int digitCount = 0;
    bool separatorSeen = false;
    for (; i < end; ++i) {
        if (isDigit(text[i]))
            ++digitCount;
        else if (text[i] == decimalSeparator && !separatorSeen)
            separatorSeen = true;
        else
            break;
    }
    if (digitCount == 0)
        return false;
    if (i < end && (text[i] == 'E' || text[i] == 'e')) {
        ++i;
        if (i < end && (text[i] == '+' || text[i] == '-'))
            ++i;
        int exponentDigits = 0;
        while (i < end && isDigit(text[i])) {
            ++i;
            ++exponentDigits;
        }
        if (exponentDigits == 0)
            return false;
    }
    return i == end;
}

inline long double decimalToLongDouble(const std::string& text, char decimalSeparator)
{
    std::string plain;
    plain.reserve(text.size());
    for (char c : text) {
        if (isBlank(c))
            continue;  // only around the number, the grammar saw to that
        plain += c == decimalSeparator ? '.' : c;
    }
    return strtold_l(plain.c_str(), nullptr, cLocale());
}

inline long double parseNumber(const std::string& text, char decimalSeparator)
{
    if (!isNumberText(text, decimalSeparator))
        throw Failure("'" + text + "' is not a valid floating point value");
    return decimalToLongDouble(text, decimalSeparator);
}

}  // namespace prurez::byLibc

namespace prurez::numbertextcheck {

using Random = std::mt19937_64;

inline std::uint64_t uniform(Random& random, std::uint64_t low, std::uint64_t high)
{
    return std::uniform_int_distribution<std::uint64_t>(low, high)(random);
}

inline long long uniformSigned(Random& random, long long low, long long high)
{
    return std::uniform_int_distribution<long long>(low, high)(random);
}

// The long double of the given sign, biased exponent and 64-bit significand.
inline bool isPseudoDenormal(long double value)
{
    std::uint64_t significand;
    std::uint16_t signAndExponent;
    std::memcpy(&significand, &value, 8);
    std::memcpy(&signAndExponent, reinterpret_cast<const char*>(&value) + 8, 2);
    return (signAndExponent & 0x7fff) == 0 && (significand >> 63) != 0;
}

inline long double fromBits(bool negative, unsigned biasedExponent, std::uint64_t significand)
{
    long double value = 0.0L;
    const std::uint16_t signAndExponent = static_cast<std::uint16_t>((negative ? 0x8000u : 0u) | biasedExponent);
    std::memcpy(&value, &significand, 8);
    std::memcpy(reinterpret_cast<char*>(&value) + 8, &signAndExponent, 2);
    return value;
}

// The long double nearest a decimal text, by strtold.
inline long double nearest(const std::string& text) { return strtold_l(text.c_str(), nullptr, byLibc::cLocale()); }

// `value` moved by `steps` units in the last place (towards +∞ when positive).
inline long double stepUlps(long double value, int steps)
{
    for (; steps > 0; --steps)
        value = std::nextafterl(value, LDBL_MAX * 2);
    for (; steps < 0; ++steps)
        value = std::nextafterl(value, -LDBL_MAX * 2);
    return value;
}

inline std::string decimalDigits(std::uint64_t value) { return std::to_string(value); }

// Every x with an exact tie at the 15th significant digit is (2D+1)/2 · 10^-n with
// 10^14 ≤ D < 10^15, and it is a long double only for -7 ≤ n ≤ 21: for n ≥ 0 the odd
// 2D+1 must hold 5^n, for n < 0 the odd part (2D+1)·5^|n| must fit 64 bits.
inline long double exactTie(Random& random)
{
    for (;;) {
        const int n = static_cast<int>(uniformSigned(random, -7, 21));
        const std::uint64_t lowest = 200000000000001ULL;  // 2·10^14 + 1
        const std::uint64_t highest = 1999999999999999ULL;
        long double value;
        if (n >= 0) {
            std::uint64_t five = 1;
            for (int i = 0; i < n; ++i)
                five *= 5;
            // 2D+1 = five·w with w odd.
            const std::uint64_t wLow = (lowest + five - 1) / five;
            const std::uint64_t wHigh = highest / five;
            if (wLow > wHigh)
                continue;
            std::uint64_t w = uniform(random, wLow, wHigh) | 1;
            if (w > wHigh)
                w -= 2;
            if (w < wLow)
                continue;
            value = std::ldexp(static_cast<long double>(w), -(n + 1));
        } else {
            const std::uint64_t odd = uniform(random, lowest, highest) | 1;
            std::uint64_t five = 1;
            for (int i = 0; i < -n; ++i)
                five *= 5;
            if (odd > UINT64_MAX / five)
                continue;
            value = std::ldexp(static_cast<long double>(odd * five), -n - 1);
        }
        return random() & 1 ? -value : value;
    }
}

enum class ValueKind {
    AnyBits,          // any normal bit pattern: every binary exponent
    Moderate,         // 1e-45 … 1e18: the exact 128-bit path
    ShortSignificand, // fewer significant bits (float-like, double-like, small integers)
    Subnormal,
    NearPowerOfTen,   // 10^k and 9,99999999999999|5·10^k, a few units in the last place around
    NearHalfway,      // next to the halfway point between two 15-digit decimals
    ExactTie,         // exactly halfway, and one unit in the last place either side
};
constexpr int kValueKindCount = 7;

inline long double randomValue(ValueKind kind, Random& random)
{
    const bool negative = random() & 1;
    switch (kind) {
    case ValueKind::AnyBits:
        return fromBits(negative, static_cast<unsigned>(uniform(random, 1, 0x7ffe)), random() | (1ULL << 63));
    case ValueKind::Moderate:
        return fromBits(negative, static_cast<unsigned>(16383 + uniformSigned(random, -150, 60)),
                        random() | (1ULL << 63));
    case ValueKind::ShortSignificand: {
        const int bits = static_cast<int>(uniform(random, 1, 64));
        const std::uint64_t significand = (random() | (1ULL << 63)) & ~(bits == 64 ? 0 : (~0ULL >> bits));
        return fromBits(negative, static_cast<unsigned>(16383 + uniformSigned(random, -200, 200)), significand);
    }
    case ValueKind::Subnormal: {
        const std::uint64_t significand = random() >> uniform(random, 1, 63);
        return fromBits(negative, 0, significand == 0 ? 1 : significand);
    }
    case ValueKind::NearPowerOfTen: {
        const long long k = uniformSigned(random, -4951, 4932);
        const std::string text = random() & 1 ? "1e" + std::to_string(k) : "9.999999999999995e" + std::to_string(k - 1);
        const long double value = stepUlps(nearest(text), static_cast<int>(uniformSigned(random, -3, 3)));
        if (value == 0.0L || std::isinf(value))
            return negative ? -LDBL_MAX : LDBL_MAX;
        return negative ? -value : value;
    }
    case ValueKind::NearHalfway: {
        const std::uint64_t d = uniform(random, 100000000000000ULL, 999999999999999ULL);
        const long long k = random() & 3 ? uniformSigned(random, -60, 40) : uniformSigned(random, -4950, 4917);
        const long double halfway = nearest(decimalDigits(d) + "5e" + std::to_string(k));
        const long double value = stepUlps(halfway, static_cast<int>(uniformSigned(random, -2, 2)));
        if (value == 0.0L || std::isinf(value))
            return negative ? -LDBL_MIN : LDBL_MIN;
        return negative ? -value : value;
    }
    case ValueKind::ExactTie:
        return stepUlps(exactTie(random), static_cast<int>(uniformSigned(random, -1, 1)));
    }
    return 0.0L;
}

// The fixed edge cases: the powers of two and of ten (and the values just below 10^k
// that round up to it) with units in the last place around, the largest and smallest
// values and their neighbours, subnormals and pseudo-denormals, exact ties, both signs. Every power within
// 2^±1200 and 10^±350, and every `farStride`-th beyond.
inline std::vector<long double> edgeValues(int farStride = 1)
{
    std::vector<long double> values;
    auto both = [&](long double v) {
        values.push_back(v);
        values.push_back(-v);
    };
    for (int e = -16445; e <= 16383; ++e) {
        if (std::abs(e) <= 1200 || e % farStride == 0)
            both(std::ldexp(1.0L, e));
    }
    for (int k = -4951; k <= 4932; ++k) {
        if (std::abs(k) > 350 && k % farStride != 0)
            continue;
        for (const std::string& text : {"1e" + std::to_string(k), "9.999999999999995e" + std::to_string(k - 1),
                                        "9.99999999999999e" + std::to_string(k - 1)}) {
            const long double v = nearest(text);
            for (int steps = -2; steps <= 2; ++steps) {
                const long double w = stepUlps(v, steps);
                if (w != 0.0L && !std::isinf(w))
                    both(w);
            }
        }
    }
    for (int steps = 0; steps < 64; ++steps) {
        both(stepUlps(LDBL_MAX, -steps));
        both(stepUlps(LDBL_MIN, steps - 32));
        both(stepUlps(LDBL_TRUE_MIN, steps));
        both(fromBits(false, 0, ~0ULL >> (1 + steps % 63)));  // all ones below every subnormal exponent
        both(fromBits(false, 0x7ffe, ~0ULL << steps));
    }
    // Pseudo-denormals, an encoding no arithmetic makes: left to snprintf.
    for (const std::uint64_t significand : {1ULL << 63, (1ULL << 63) | 1, ~0ULL})
        both(fromBits(false, 0, significand));
    // Ties that must go to the even digit, and their neighbours.
    for (const char* text : {"1234567890123455", "1234567890123465", "123456789012345.5", "123456789012346.5",
                             "0.1000000000000005", "999999999999999.5", "999999999999998.5", "100000000000000.5",
                             "12345678901234550", "12345678901234650", "1.000000000000005e19",
                             "1.000000000000005e21", "1.000000000000015e21"}) {
        const long double tie = nearest(text);
        for (int steps = -1; steps <= 1; ++steps)
            both(stepUlps(tie, steps));
    }
    for (long double v : {0.1L, 0.2L, 1.0L / 3.0L, 2.5L, 1234.5L, 0.00012L, 1e15L, 999999999999999.0L})
        both(v);
    return values;
}

// Texts at the limits of the fast reading: 19 and 20 digits, 10^±27 and just beyond,
// exponents moved into the mantissa up to 2^64, zeros, overflow and underflow, texts
// longer than the reader's own buffer; written with a point, the separator replaces it.
inline std::vector<std::string> edgeTexts(char decimalSeparator)
{
    std::vector<std::string> texts = {
        "9999999999999999999", "18446744073709551615", "18446744073709551616", "1000000000000000000000000000000",
        "9999999999999999999e-27", "9999999999999999999e27", "1e27", "1e28", "1e-27", "1e-28", "123e46", "123e47",
        "1844674407370955161e28", "1844674407370955162e28", "18446744073709551615e-30",
        "0.0000000000000000000000000001",
        "0000000000000000000000000000123.45", "123.450000000000000000000000000000", "1.0000000000000000001",
        "1.00000000000000000000", "-0", "+0.0e0", "-0e99999999999999999999", "0e-5", "1e99999", "-1e5000",
        "1e-99999", "1e-4951", "3.6e-4951", "1.18973149535723176502e4932", "1.18973149535723176508e4932",
        ".5", "5.", "-.5e-3", " \t\n1.5\r ", std::string("\0001.5\0", 5), "1.5 ", "1 .5", "1e 5", "e5", "."};
    std::string longText = "0." + std::string(200, '0') + "1";
    texts.push_back(longText);
    texts.push_back(std::string(150, '9') + "e-150");
    texts.push_back(std::string(130, '1'));
    for (std::string& text : texts) {
        for (char& c : text) {
            if (c == '.')
                c = decimalSeparator;
        }
    }
    return texts;
}

// A text of the grammar: sign, digits with a separator somewhere (or none), maybe an
// exponent, blanks around; mostly within reach of the exact path, some far beyond.
inline std::string randomNumberText(Random& random, char decimalSeparator)
{
    std::string text;
    for (std::uint64_t blanks = uniform(random, 0, 5); blanks > 3; --blanks)
        text += random() & 1 ? ' ' : '\t';
    const std::uint64_t sign = uniform(random, 0, 3);
    if (sign == 1)
        text += '-';
    else if (sign == 2)
        text += '+';
    const int digits = static_cast<int>(random() & 1 ? uniform(random, 1, 20) : uniform(random, 1, 30));
    const int separatorAt = static_cast<int>(uniform(random, 0, static_cast<std::uint64_t>(digits) + 3));
    const int leadingZeros = random() % 4 == 0 ? static_cast<int>(uniform(random, 1, 6)) : 0;
    for (int i = 0; i < digits; ++i) {
        if (i == separatorAt)
            text += decimalSeparator;
        const std::uint64_t roll = uniform(random, 0, 9);
        text += static_cast<char>('0' + (i < leadingZeros ? 0 : random() % 8 == 0 ? 0 : roll));
    }
    if (separatorAt == digits)
        text += decimalSeparator;
    const std::uint64_t exponentKind = uniform(random, 0, 5);
    if (exponentKind >= 2) {
        text += random() & 1 ? 'e' : 'E';
        const long long e = exponentKind == 5 ? uniformSigned(random, -5000, 5000) : uniformSigned(random, -40, 40);
        if (e >= 0 && random() & 1)
            text += '+';
        text += std::to_string(e);
    }
    for (std::uint64_t blanks = uniform(random, 0, 5); blanks > 3; --blanks)
        text += random() & 1 ? ' ' : '\n';
    return text;
}

// Anything: short strings over the characters the grammar knows and a few it does not.
inline std::string randomAnyText(Random& random)
{
    static const char alphabet[] = "0123456789,.eE+- \txI\0";
    std::string text;
    for (std::uint64_t length = uniform(random, 0, 10); length > 0; --length)
        text += alphabet[uniform(random, 0, sizeof alphabet - 1)];
    return text;
}

// Runs the new conversions and byLibc side by side.
class NumberTextComparison {
public:
    std::uint64_t values = 0;          // values formatted (and their texts read back)
    std::uint64_t fastDigits = 0;      // of those, by fastFifteenDigits
    std::uint64_t texts = 0;           // texts read (round trips and random texts)
    std::uint64_t fastParses = 0;      // of those, by fastDecimalToLongDouble
    std::uint64_t readBacks = 0;       // values read back without their text (readBackNumber)
    std::uint64_t mismatchCount = 0;
    std::vector<std::string> mismatches;  // the first few, described

    // Formats `value` both ways and compares the texts; then reads the text back.
    void checkValue(long double value, char decimalSeparator)
    {
        ++values;
        std::uint64_t digits;
        int exponent;
        if (numbertext::fastFifteenDigits(value, digits, exponent))
            ++fastDigits;
        const std::string text = formatNumber(value, decimalSeparator);
        const std::string expected = byLibc::formatNumber(value, decimalSeparator);
        if (text != expected) {
            record("formatNumber(" + hex(value) + ", '" + decimalSeparator + "') = " + text +
                   ", snprintf: " + expected);
            return;
        }
        checkText(text, decimalSeparator);
        // The text read back without being written: the same bits, the same flags.
        ++readBacks;
        std::feclearexcept(FE_ALL_EXCEPT);
        long double readBack = 0;
        const std::string failure = failureOf([&] { readBack = readBackNumber(value); });
        const int flags = std::fetestexcept(kFaults);
        std::feclearexcept(FE_ALL_EXCEPT);
        long double parsed = 0;
        const std::string expectedFailure = failureOf([&] { parsed = byLibc::parseNumber(expected, decimalSeparator); });
        const int expectedFlags = std::fetestexcept(kFaults);
        if (failure != expectedFailure || !sameBits(readBack, parsed) || flags != expectedFlags)
            record("readBackNumber(" + hex(value) + ") = " + hex(readBack) + " " + failure + ", strtold of " +
                   expected + ": " + hex(parsed) + " " + expectedFailure);
    }

    // Reads `text` both ways: the grammar, the value to the last bit, the failure
    // message, and the floating-point fault flags raised.
    void checkText(const std::string& text, char decimalSeparator)
    {
        ++texts;
        const bool number = isNumberText(text, decimalSeparator);
        if (number != byLibc::isNumberText(text, decimalSeparator)) {
            record("isNumberText('" + text + "') = " + (number ? "true" : "false"));
            return;
        }
        long double fast;
        if (numbertext::fastDecimalToLongDouble(text, decimalSeparator, fast))
            ++fastParses;
        std::feclearexcept(FE_ALL_EXCEPT);
        const long double converted = decimalToLongDouble(text, decimalSeparator);
        const int flags = std::fetestexcept(kFaults);
        std::feclearexcept(FE_ALL_EXCEPT);
        const long double expected = byLibc::decimalToLongDouble(text, decimalSeparator);
        const int expectedFlags = std::fetestexcept(kFaults);
        if (!sameBits(converted, expected) || flags != expectedFlags) {
            record("decimalToLongDouble('" + text + "') = " + hex(converted) + ", strtold: " + hex(expected));
            return;
        }
        if (number) {
            const long double parsed = parseNumber(text, decimalSeparator);
            if (!sameBits(parsed, expected))
                record("parseNumber('" + text + "') = " + hex(parsed) + ", strtold: " + hex(expected));
        } else {
            const std::string message = failureOf([&] { parseNumber(text, decimalSeparator); });
            if (message == "(no failure)" ||
                message != failureOf([&] { byLibc::parseNumber(text, decimalSeparator); }))
                record("parseNumber('" + text + "') fails with " + message);
        }
    }

    void add(const NumberTextComparison& other)
    {
        values += other.values;
        fastDigits += other.fastDigits;
        texts += other.texts;
        fastParses += other.fastParses;
        readBacks += other.readBacks;
        mismatchCount += other.mismatchCount;
        for (const std::string& m : other.mismatches)
            if (mismatches.size() < kKept)
                mismatches.push_back(m);
    }

    template <class Action>
    static std::string failureOf(Action&& action)
    {
        try {
            action();
        } catch (const Failure& failure) {
            return failure.message();
        }
        return "(no failure)";
    }

    static bool sameBits(long double a, long double b) { return std::memcmp(&a, &b, 10) == 0; }

    static std::string hex(long double value)
    {
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "%La", value);
        return buffer;
    }

private:
    static constexpr int kFaults = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;
    static constexpr size_t kKept = 20;

    void record(const std::string& what)
    {
        ++mismatchCount;
        if (mismatches.size() < kKept)
            mismatches.push_back(what);
    }
};

}  // namespace prurez::numbertextcheck
