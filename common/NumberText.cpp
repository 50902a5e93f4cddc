#include "common/NumberText.h"

#include "common/Failure.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <locale.h>

namespace prurez {

namespace {

__extension__ typedef unsigned __int128 Uint128;

bool isBlank(char c) { return static_cast<unsigned char>(c) <= 32; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// A "C" locale for strtold, so the process's locale (set by Qt) never matters.
locale_t cLocale()
{
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return locale;
}

constexpr std::uint64_t kSmallestFifteenDigits = 100000000000000ULL;  // 10^14
constexpr std::uint64_t kBeyondFifteenDigits = 1000000000000000ULL;   // 10^15

// ---------------------------------------------------------------------------------
// 15 significant digits without the C library.
//
// A finite non-zero value is m·2^e with a 64-bit integer m. Scaled by 10^n, with n
// chosen so that 10^14 ≤ |v|·10^n < 10^15, the value's 15 digits are |v|·10^n rounded
// to an integer. 10^n is held as a 128-bit c with 10^n ≈ c·2^p, so |v|·10^n ≈ m·c·2^(e+p),
// a 192-bit product with about 140 bits below the binary point.
//
// For 0 ≤ n ≤ 55, 5^n < 2^128 and c is exact: the product is the exact scaled value and
// the rounding, ties to even included, is decided on it. Every other c is truncated: it
// is built from 10^0 by n steps of ×10 or ÷10, each truncating a 128-bit value that is
// at least 2^127, so c ≥ (1 - |n|·2^-127)·(true c) and c ≤ true c. With |n| < 2^13 and
// the scaled value below 2^51 the product then falls short of the true scaled value by
// less than 2^-63. The rounding is taken only where that shortfall cannot change it;
// within it lie the exact ties at the 15th digit beyond 10^15, recognized exactly, and
// in principle values within 2^-62 of halfway, which snprintf decides.

constexpr int kMinPower = -4920;  // 10^n for every n the long double range needs
constexpr int kMaxPower = 4966;
constexpr int kPowerCount = kMaxPower - kMinPower + 1;
constexpr int kLastExactPower = 55;  // 5^55 < 2^128 < 5^56

struct PowersOfTen {
    std::uint64_t high[kPowerCount];  // c = high·2^64 + low, 2^127 ≤ c < 2^128
    std::uint64_t low[kPowerCount];
    std::int16_t binaryExponent[kPowerCount];  // p
};

constexpr void storePower(PowersOfTen& table, int n, Uint128 c, int p)
{
    table.high[n - kMinPower] = static_cast<std::uint64_t>(c >> 64);
    table.low[n - kMinPower] = static_cast<std::uint64_t>(c);
    table.binaryExponent[n - kMinPower] = static_cast<std::int16_t>(p);
}

constexpr PowersOfTen makePowersOfTen()
{
    PowersOfTen table{};
    const Uint128 one = Uint128(1) << 127;
    storePower(table, 0, one, -127);

    // Upwards: c·10 has 131 or 132 bits; the top 128 are kept.
    Uint128 c = one;
    int p = -127;
    for (int n = 1; n <= kMaxPower; ++n) {
        const Uint128 low = Uint128(static_cast<std::uint64_t>(c)) * 10;
        const Uint128 high = Uint128(static_cast<std::uint64_t>(c >> 64)) * 10 + (low >> 64);
        const std::uint64_t top = static_cast<std::uint64_t>(high >> 64);  // bits 128 and up
        const Uint128 below = (high << 64) | static_cast<std::uint64_t>(low);
        const int shift = top >= 8 ? 4 : 3;
        c = (Uint128(top) << (128 - shift)) | (below >> shift);
        p += shift;
        storePower(table, n, c, p);
    }

    // Downwards: c·2^s / 10 with s = 4 or 3, whichever keeps it at 128 bits.
    c = one;
    p = -127;
    for (int n = -1; n >= kMinPower; --n) {
        const int shift = c < (Uint128(5) << 125) ? 4 : 3;
        const std::uint64_t words[3] = {static_cast<std::uint64_t>(c >> (128 - shift)),
                                        static_cast<std::uint64_t>((c << shift) >> 64),
                                        static_cast<std::uint64_t>(c << shift)};
        Uint128 quotient = 0;
        Uint128 remainder = 0;
        for (const std::uint64_t word : words) {
            const Uint128 current = (remainder << 64) | word;
            quotient = (quotient << 64) | (current / 10);
            remainder = current % 10;
        }
        c = quotient;
        p -= shift;
        storePower(table, n, c, p);
    }
    return table;
}

constexpr PowersOfTen kPowersOfTen = makePowersOfTen();

// floor(b·log10 2), exact for |b| ≤ 16600 (every binary exponent of a long double).
int floorLog10Pow2(int b) { return static_cast<int>((static_cast<std::int64_t>(b) * 1292913986) >> 32); }

// m·2^e·10^n as an integer part and the fraction's top 64 bits, plus whether any
// fraction bit below those is set.
struct Scaled {
    std::uint64_t integer;
    std::uint64_t fraction;
    bool sticky;
};

bool scale(std::uint64_t m, int e, int n, Scaled& x)
{
    if (n < kMinPower || n > kMaxPower)
        return false;
    const int index = n - kMinPower;
    const Uint128 lowProduct = Uint128(m) * kPowersOfTen.low[index];
    const Uint128 highProduct = Uint128(m) * kPowersOfTen.high[index];
    const Uint128 middle = (lowProduct >> 64) + static_cast<std::uint64_t>(highProduct);
    const std::uint64_t w0 = static_cast<std::uint64_t>(lowProduct);
    const std::uint64_t w1 = static_cast<std::uint64_t>(middle);
    const std::uint64_t w2 = static_cast<std::uint64_t>(highProduct >> 64) + static_cast<std::uint64_t>(middle >> 64);
    const int fractionBitsInTop = -(e + kPowersOfTen.binaryExponent[index]) - 128;
    if (fractionBitsInTop < 1 || fractionBitsInTop > 63)
        return false;
    const int r = fractionBitsInTop;
    x.integer = w2 >> r;
    x.fraction = (w2 << (64 - r)) | (w1 >> r);
    x.sticky = (w1 << (64 - r)) != 0 || w0 != 0;
    return true;
}

// Rounds the scaled value to the nearest integer, ties to even; false when the
// truncated power leaves the rounding undecided.
bool roundScaled(const Scaled& x, int n, std::uint64_t& rounded)
{
    constexpr std::uint64_t half = 1ULL << 63;
    bool up;
    if (x.fraction > half || (x.fraction == half && x.sticky))
        up = true;  // the true value is at least this one
    else if (n >= 0 && n <= kLastExactPower)
        up = x.fraction == half && (x.integer & 1) != 0;
    else if (x.fraction <= half - 16)
        up = false;  // the true fraction lies below this one + 2^-62
    else
        return false;
    rounded = x.integer + (up ? 1 : 0);
    return true;
}

// Whether m·2^e = (2d+1)/2 · 10^k exactly, for k ≥ 1: an exact tie above 10^15.
bool isTieAbove(std::uint64_t m, int e, std::uint64_t d, int k)
{
    Uint128 twiceTie = 2 * Uint128(d) + 1;  // below 2^51, times 10^k ≤ 10^7
    for (int i = 0; i < k; ++i)
        twiceTie *= 10;
    const int shift = e + 1;  // 2·m·2^e = m·2^shift
    if (shift >= 0)
        return shift < 64 && (Uint128(m) << shift) == twiceTie;
    return shift > -64 && (m & ((1ULL << -shift) - 1)) == 0 && Uint128(m >> -shift) == twiceTie;
}

// The 15 digits and the exponent as "%.14Le" prints them: "d.dddddddddddddde±x".
void fifteenDigitsBySnprintf(long double value, char digits[15], int& exponent)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.14Le", value);
    int count = 0;
    const char* p = buffer;
    for (; *p != 'e'; ++p) {
        if (isDigit(*p) && count < 15)
            digits[count++] = *p;
    }
    exponent = static_cast<int>(std::strtol(p + 1, nullptr, 10));
}

constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// Writes the 15 decimal digits of 10^14 ≤ d < 10^15.
void writeFifteenDigits(std::uint64_t d, char digits[15])
{
    std::uint32_t low = static_cast<std::uint32_t>(d % 100000000);  // digits 8 … 15
    std::uint32_t high = static_cast<std::uint32_t>(d / 100000000);  // digits 1 … 7
    for (int i = 14; i > 7; i -= 2) {
        std::memcpy(digits + i - 1, kDigitPairs + 2 * (low % 100), 2);
        low /= 100;
    }
    digits[6] = static_cast<char>('0' + high % 10);
    high /= 10;
    for (int i = 5; i > 0; i -= 2) {
        std::memcpy(digits + i - 1, kDigitPairs + 2 * (high % 100), 2);
        high /= 100;
    }
}

// ---------------------------------------------------------------------------------
// Number texts.

// What the grammar saw of a number: the first (up to 19) significant digits as an
// integer and the power of ten that scales them.
struct DecimalText {
    bool negative = false;
    std::uint64_t mantissa = 0;
    long long exponent = 0;  // |value| = mantissa·10^exponent when complete
    bool complete = true;    // false when a non-zero digit lies beyond the 19 kept
};

// Adds one digit to the number: into the mantissa while it holds fewer than 19
// significant digits, otherwise only into the scale (integer digits) or the tail.
inline void addDigit(DecimalText& number, int& significant, unsigned digit, bool fraction)
{
    if (significant < 19) {
        number.mantissa = number.mantissa * 10 + digit;
        significant += number.mantissa != 0;  // leading zeros are not significant
        number.exponent -= fraction;
    } else {
        number.complete &= digit == 0;
        number.exponent += !fraction;
    }
}

// The grammar of isNumberText over [begin, end), collecting the number on the way:
// blanks, a sign, digits with at most one separator, an exponent, blanks.
bool scanNumberText(const char* begin, const char* end, char decimalSeparator, DecimalText& number)
{
    while (begin < end && isBlank(*begin))
        ++begin;
    while (end > begin && isBlank(end[-1]))
        --end;
    const char* i = begin;
    if (i < end && (*i == '+' || *i == '-'))
        number.negative = *i++ == '-';
    const char* const digitsBegin = i;
    int significant = 0;
    for (; i < end && isDigit(*i); ++i)
        addDigit(number, significant, static_cast<unsigned>(*i - '0'), false);
    bool separatorSeen = false;
    if (i < end && *i == decimalSeparator) {
        separatorSeen = true;
        for (++i; i < end && isDigit(*i); ++i)
            addDigit(number, significant, static_cast<unsigned>(*i - '0'), true);
    }
    if (i - digitsBegin == (separatorSeen ? 1 : 0))
        return false;  // no digit
    if (i < end && (*i == 'E' || *i == 'e')) {
        ++i;
        bool negativeExponent = false;
        if (i < end && (*i == '+' || *i == '-'))
            negativeExponent = *i++ == '-';
        long long value = 0;  // held below 10^6: beyond any long double anyway
        const char* const exponentBegin = i;
        for (; i < end && isDigit(*i); ++i) {
            if (value < 100000)
                value = value * 10 + (*i - '0');
        }
        if (i == exponentBegin)
            return false;
        number.exponent += negativeExponent ? -value : value;
    }
    return i == end;
}

// 10^0 … 10^27 are exact in long double (5^27 < 2^64).
constexpr int kLastExactLongDoublePower = 27;
constexpr long double kLongDoublePowers[] = {
    1e0L,  1e1L,  1e2L,  1e3L,  1e4L,  1e5L,  1e6L,  1e7L,  1e8L,  1e9L,  1e10L, 1e11L, 1e12L, 1e13L,
    1e14L, 1e15L, 1e16L, 1e17L, 1e18L, 1e19L, 1e20L, 1e21L, 1e22L, 1e23L, 1e24L, 1e25L, 1e26L, 1e27L};
// 10^0 … 10^19 as integers.
constexpr std::uint64_t kIntegerPowers[] = {
    1ULL, 10ULL, 100ULL, 1000ULL, 10000ULL, 100000ULL, 1000000ULL, 10000000ULL,
    100000000ULL, 1000000000ULL, 10000000000ULL, 100000000000ULL, 1000000000000ULL, 10000000000000ULL,
    100000000000000ULL, 1000000000000000ULL, 10000000000000000ULL, 100000000000000000ULL,
    1000000000000000000ULL, 10000000000000000000ULL};

// mantissa·10^exponent in one correctly rounded long double operation on exact
// operands, when there is one: the mantissa has at most 64 bits and 10^|exponent| is
// exact (or part of it moves exactly into the mantissa).
bool exactDecimalValue(const DecimalText& number, long double& result)
{
    if (!number.complete)
        return false;
    const long double mantissa = static_cast<long double>(number.mantissa);
    long double magnitude;
    if (number.mantissa == 0) {
        magnitude = 0.0L;
    } else if (number.exponent >= 0 && number.exponent <= kLastExactLongDoublePower) {
        magnitude = mantissa * kLongDoublePowers[number.exponent];
    } else if (number.exponent < 0 && number.exponent >= -kLastExactLongDoublePower) {
        magnitude = mantissa / kLongDoublePowers[-number.exponent];
    } else if (number.exponent > kLastExactLongDoublePower && number.exponent <= kLastExactLongDoublePower + 19) {
        const std::uint64_t moved = kIntegerPowers[number.exponent - kLastExactLongDoublePower];
        if (number.mantissa > UINT64_MAX / moved)
            return false;
        magnitude = static_cast<long double>(number.mantissa * moved) * kLongDoublePowers[kLastExactLongDoublePower];
    } else {
        return false;
    }
    result = number.negative ? -magnitude : magnitude;
    return true;
}

// The conversion by the C library: the text without blanks, the separator a point.
long double decimalToLongDoubleByStrtold(const char* begin, const char* end, char decimalSeparator)
{
    const size_t size = static_cast<size_t>(end - begin);
    char small[128];
    std::string large;
    char* plain = small;
    if (size >= sizeof small) {
        large.resize(size);
        plain = &large[0];
    }
    size_t count = 0;
    for (const char* p = begin; p < end; ++p) {
        if (isBlank(*p))
            continue;  // only around the number, the grammar saw to that
        plain[count++] = *p == decimalSeparator ? '.' : *p;
    }
    plain[count] = '\0';
    return strtold_l(plain, nullptr, cLocale());
}

long double toLongDouble(const DecimalText& number, const char* begin, const char* end, char decimalSeparator)
{
    long double value;
    if ((decimalSeparator == '.' || decimalSeparator == ',') && exactDecimalValue(number, value))
        return value;
    return decimalToLongDoubleByStrtold(begin, end, decimalSeparator);
}

}  // namespace

namespace numbertext {

bool fastFifteenDigits(long double value, std::uint64_t& digits, int& exponent)
{
    std::uint64_t m;
    std::uint16_t signAndExponent;
    static_assert(sizeof(long double) >= 10, "the 80-bit extended layout");
    std::memcpy(&m, &value, 8);
    std::memcpy(&signAndExponent, reinterpret_cast<const char*>(&value) + 8, 2);
    const int biased = signAndExponent & 0x7fff;
    // Zero, infinities, NaNs and the encodings arithmetic never makes (the integer
    // bit contradicting the exponent) are left to the C library.
    if (m == 0 || biased == 0x7fff || (biased != 0) != ((m >> 63) != 0))
        return false;
    int e = (biased == 0 ? 1 : biased) - 16383 - 63;  // |value| = m·2^e
    const int leadingZeros = __builtin_clzll(m);
    m <<= leadingZeros;
    e -= leadingZeros;

    // 2^(e+63) ≤ |value| < 2^(e+64): the decimal exponent is this one or the next.
    int n = 14 - floorLog10Pow2(e + 63);
    Scaled x;
    if (!scale(m, e, n, x))
        return false;
    if (x.integer >= kBeyondFifteenDigits) {
        // Certainly 10^15 or more: one digit less. Now at least 10^14, though the
        // truncated power may show 10^14 - 1 with the fraction that rounds it up.
        if (!scale(m, e, --n, x))
            return false;
    } else if (x.integer < kSmallestFifteenDigits) {
        if (!scale(m, e, ++n, x) || x.integer < kSmallestFifteenDigits)
            return false;
    }
    std::uint64_t rounded;
    if (!roundScaled(x, n, rounded)) {
        // Exact ties beyond the exact powers: 2|v| = (2d+1)·10^k has an odd part of
        // 64 bits at most, so k ≤ 7. Near them no other value comes within 2^-38 of
        // halfway, so a truncated power leaves only these undecided; they are
        // recognized exactly and rounded to the even digit.
        if (n < -7 || n > -1 || !isTieAbove(m, e, x.integer, -n))
            return false;
        rounded = x.integer + (x.integer & 1);
    }
    if (rounded < kSmallestFifteenDigits || rounded > kBeyondFifteenDigits)
        return false;
    if (rounded == kBeyondFifteenDigits) {  // 9,99…95 and up carries into the next decade
        rounded = kSmallestFifteenDigits;
        --n;
    }
    digits = rounded;
    exponent = 14 - n;
    return true;
}

bool fastDecimalToLongDouble(const std::string& text, char decimalSeparator, long double& result)
{
    DecimalText number;
    return (decimalSeparator == '.' || decimalSeparator == ',') &&
           scanNumberText(text.data(), text.data() + text.size(), decimalSeparator, number) &&
           exactDecimalValue(number, result);
}

}  // namespace numbertext

namespace {

// The general form into `text` (room for 32 characters); returns its length.
size_t formatNumberInto(long double value, char decimalSeparator, char* text)
{
    const auto put = [&](const char* word) {
        const size_t length = std::strlen(word);
        std::memcpy(text, word, length);
        return length;
    };
    if (value == 0.0L)
        return put("0");
    if (std::isnan(value))
        return put("NAN");
    if (std::isinf(value))
        return put(value > 0 ? "INF" : "-INF");

    // The exact value rounded to 15 significant digits: d.dddddddddddddd × 10^x.
    char digits[15];
    int scientificExponent;
    std::uint64_t rounded;
    if (numbertext::fastFifteenDigits(value, rounded, scientificExponent))
        writeFifteenDigits(rounded, digits);
    else
        fifteenDigitsBySnprintf(value, digits, scientificExponent);
    const int exponent = scientificExponent + 1;  // |v| = 0.d1d2… × 10^exponent
    int count = 15;
    while (count > 1 && digits[count - 1] == '0')
        --count;

    // At most "-0,000" and 15 digits, or "-d," 14 digits "E-4951".
    char* out = text;
    if (value < 0)
        *out++ = '-';
    if (exponent >= -3 && exponent <= 15) {
        if (exponent <= 0) {
            *out++ = '0';
            *out++ = decimalSeparator;
            for (int i = 0; i < -exponent; ++i)
                *out++ = '0';
            std::memcpy(out, digits, static_cast<size_t>(count));
            out += count;
        } else {
            for (int i = 0; i < exponent; ++i)
                *out++ = i < count ? digits[i] : '0';
            if (count > exponent) {
                *out++ = decimalSeparator;
                std::memcpy(out, digits + exponent, static_cast<size_t>(count - exponent));
                out += count - exponent;
            }
        }
    } else {
        *out++ = digits[0];
        if (count > 1) {
            *out++ = decimalSeparator;
            std::memcpy(out, digits + 1, static_cast<size_t>(count - 1));
            out += count - 1;
        }
        *out++ = 'E';
        int shown = exponent - 1;
        if (shown < 0) {
            *out++ = '-';
            shown = -shown;
        }
        char reversed[8];
        int length = 0;
        do {
            reversed[length++] = static_cast<char>('0' + shown % 10);
            shown /= 10;
        } while (shown != 0);
        while (length > 0)
            *out++ = reversed[--length];
    }
    return static_cast<size_t>(out - text);
}

}  // namespace

std::string formatNumber(long double value, char decimalSeparator)
{
    char text[32];
    return std::string(text, formatNumberInto(value, decimalSeparator, text));
}

void appendNumber(std::string& text, long double value, char decimalSeparator)
{
    char number[32];
    text.append(number, formatNumberInto(value, decimalSeparator, number));
}

long double readBackNumber(long double value)
{
    if (value == 0.0L)
        return 0.0L;  // "0"
    std::uint64_t digits;
    int exponent;
    if (numbertext::fastFifteenDigits(value, digits, exponent)) {
        // The text holds these digits without their trailing zeros, scaled by the power
        // of ten of the last one kept; every form of that rational read exactly gives the
        // same nearest value.
        DecimalText number;
        number.negative = value < 0;
        number.exponent = exponent - 14;
        while (digits % 10 == 0) {
            digits /= 10;
            ++number.exponent;
        }
        number.mantissa = digits;
        long double result;
        if (exactDecimalValue(number, result))
            return result;
    }
    char text[32];
    return parseNumber(std::string_view(text, formatNumberInto(value, '.', text)), '.');
}

std::string formatInteger(long long value) { return std::to_string(value); }

bool isNumberText(const std::string& text, char decimalSeparator)
{
    DecimalText number;
    return scanNumberText(text.data(), text.data() + text.size(), decimalSeparator, number);
}

long double decimalToLongDouble(const std::string& text, char decimalSeparator)
{
    const char* begin = text.data();
    const char* end = begin + text.size();
    DecimalText number;
    if (!scanNumberText(begin, end, decimalSeparator, number))
        return decimalToLongDoubleByStrtold(begin, end, decimalSeparator);  // outside the grammar: as it comes
    return toLongDouble(number, begin, end, decimalSeparator);
}

long double parseNumber(std::string_view text, char decimalSeparator)
{
    const char* begin = text.data();
    const char* end = begin + text.size();
    DecimalText number;
    if (!scanNumberText(begin, end, decimalSeparator, number))
        throw Failure(Reason::notANumber, "'" + std::string(text) + "' is not a valid floating point value");
    return toLongDouble(number, begin, end, decimalSeparator);
}

std::int32_t parseInteger(const std::string& text)
{
    size_t i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    if (i == text.size())
        throw Failure(Reason::notAnInteger, "'" + text + "' is not a valid integer value");
    long long magnitude = 0;
    for (; i < text.size(); ++i) {
        if (!isDigit(text[i]) || magnitude > 2147483648LL)
            throw Failure(Reason::notAnInteger, "'" + text + "' is not a valid integer value");
        magnitude = magnitude * 10 + (text[i] - '0');
    }
    const long long value = negative ? -magnitude : magnitude;
    if (value < -2147483648LL || value > 2147483647LL)
        throw Failure(Reason::notAnInteger, "'" + text + "' is not a valid integer value");
    return static_cast<std::int32_t>(value);
}

}  // namespace prurez
