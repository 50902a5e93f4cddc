#include "common/Failure.h"
#include "common/NumberText.h"

#include "TestSupport.h"
#include "tools/number_text_check.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using prurez::formatNumber;
using prurez::parseInteger;
using prurez::parseNumber;

TEST(FormatNumber, GeneralFormExamples)
{
    EXPECT_EQ(formatNumber(0.00012L, ','), "0,00012");
    EXPECT_EQ(formatNumber(1234.5L, ','), "1234,5");
    EXPECT_EQ(formatNumber(1.5E3L, ','), "1500");
    EXPECT_EQ(formatNumber(0.00009L, ','), "9E-5");
    EXPECT_EQ(formatNumber(0.0000442615029219009L, ','), "4,42615029219009E-5");
    EXPECT_EQ(formatNumber(1E15L, ','), "1E15");
    EXPECT_EQ(formatNumber(1234567890123456.123L, ','), "1,23456789012346E15");
    EXPECT_EQ(formatNumber(1E100L, ','), "1E100");
    EXPECT_EQ(formatNumber(2.5L, ','), "2,5");
    EXPECT_EQ(formatNumber(30.0L, ','), "30");
}

TEST(FormatNumber, BoundariesBetweenFixedAndScientific)
{
    EXPECT_EQ(formatNumber(0.0001L, ','), "0,0001");
    EXPECT_EQ(formatNumber(0.00001L, ','), "1E-5");
    EXPECT_EQ(formatNumber(0.000099999999999999L, ','), "9,9999999999999E-5");
    EXPECT_EQ(formatNumber(999999999999999.0L, ','), "999999999999999");
    EXPECT_EQ(formatNumber(1000000000000000.0L, ','), "1E15");
}

TEST(FormatNumber, RoundingCarriesIntoTheNextDecade)
{
    EXPECT_EQ(formatNumber(9.9999999999999999L, ','), "10");
    EXPECT_EQ(formatNumber(0.000099999999999999999L, ','), "0,0001");
    EXPECT_EQ(formatNumber(999999999999999.9L, ','), "1E15");
}

TEST(FormatNumber, ZeroSignsAndSeparators)
{
    EXPECT_EQ(formatNumber(0.0L, ','), "0");
    EXPECT_EQ(formatNumber(-0.0L, ','), "0");
    EXPECT_EQ(formatNumber(-1234.5L, ','), "-1234,5");
    EXPECT_EQ(formatNumber(-0.00009L, ','), "-9E-5");
    EXPECT_EQ(formatNumber(-1234567890123456.123L, '.'), "-1.23456789012346E15");
    EXPECT_EQ(formatNumber(1234.5L, '.'), "1234.5");
}

TEST(FormatNumber, SinglePrecisionValuesShowTheirRepresentationError)
{
    EXPECT_EQ(formatNumber(static_cast<float>(0.1L), ','), "0,100000001490116");
    EXPECT_EQ(formatNumber(static_cast<float>(0.2L), ','), "0,200000002980232");
    EXPECT_EQ(formatNumber(static_cast<long double>(static_cast<float>(0.1L)) * 2, ','), "0,200000002980232");
}

TEST(ParseNumber, AcceptsTheGrammar)
{
    EXPECT_EQ(parseNumber("  0", ','), 0.0L);
    EXPECT_EQ(parseNumber(",5", ','), 0.5L);
    EXPECT_EQ(parseNumber("5,", ','), 5.0L);
    EXPECT_EQ(parseNumber("-2E-3", ','), -2E-3L);
    EXPECT_EQ(parseNumber("1e5", ','), 1e5L);
    EXPECT_EQ(parseNumber("+0,1\t", ','), 0.1L);
    EXPECT_EQ(parseNumber("0.1", '.'), 0.1L);
    EXPECT_EQ(parseNumber("0,100000001490116", ','), 0.100000001490116L);
}

TEST(ParseNumber, RejectsAnythingElseWithTheUntouchedText)
{
    for (const char* text : {"", "   ", "+", "e5", "1e", "1 000", "1,,5", "0x10", "1e+", "--1", "1,5,", "inf", "nan"}) {
        EXPECT_EQ(failureOf([&] { parseNumber(text, ','); }),
                  std::string("'") + text + "' is not a valid floating point value")
            << text;
    }
    EXPECT_EQ(failureOf([] { parseNumber("1.5", ','); }), "'1.5' is not a valid floating point value");
    EXPECT_EQ(failureOf([] { parseNumber("1,5", '.'); }), "'1,5' is not a valid floating point value");
    EXPECT_EQ(failureOf([] { parseNumber(" x ", ','); }), "' x ' is not a valid floating point value");
}

TEST(ParseNumber, FormattedTextsReadBackToTheSameText)
{
    for (long double v : {0.1L, 1.0L / 3.0L, -2.5e-7L, 123456.789L, 4.42615029219009E-5L, 1e300L}) {
        const std::string text = formatNumber(v, ',');
        EXPECT_EQ(formatNumber(parseNumber(text, ','), ','), text);
    }
}

TEST(ParseInteger, AcceptsLeadingBlanksSignAndDigitsWithinInt32)
{
    EXPECT_EQ(parseInteger("0"), 0);
    EXPECT_EQ(parseInteger("  12"), 12);
    EXPECT_EQ(parseInteger("-7"), -7);
    EXPECT_EQ(parseInteger("+5"), 5);
    EXPECT_EQ(parseInteger("2147483647"), 2147483647);
    EXPECT_EQ(parseInteger("-2147483648"), -2147483647 - 1);
    for (const char* text : {"", " ", "abc", "1,5", "12 ", "2147483648", "-2147483649", "1e3", "99999999999999999999"})
        EXPECT_EQ(failureOf([&] { parseInteger(text); }), std::string("'") + text + "' is not a valid integer value")
            << text;
}

// --- the fast conversions against the C library (tools/number_text_check runs 10^8)

namespace {

using namespace prurez::numbertextcheck;

void expectNoMismatch(const NumberTextComparison& comparison)
{
    EXPECT_EQ(comparison.mismatchCount, 0u);
    for (const std::string& mismatch : comparison.mismatches)
        ADD_FAILURE() << mismatch;
}

}  // namespace

TEST(FastNumberText, DecidesEverydayValuesAndExactTiesItself)
{
    struct Case {
        long double value;
        std::uint64_t digits;
        int exponent;
    };
    const Case cases[] = {
        {0.1L, 100000000000000, -1},
        {2.0L / 3.0L, 666666666666667, -1},
        {-1234.5L, 123450000000000, 3},
        {1e15L, 100000000000000, 15},
        {9.9999999999999999L, 100000000000000, 1},          // carries into the next decade
        {123456789012345.5L, 123456789012346, 14},          // ties: to the even digit, up …
        {123456789012346.5L, 123456789012346, 14},          // … and down
        {3.0L / 4194304.0L, 715255737304688, -7},           // 3·2^-22 = 7,152557373046875E-7
        {1.0L / 4194304.0L, 238418579101562, -7},           // 2^-22 = 2,384185791015625E-7
        {1.000000000000005e21L, 100000000000000, 21},      // (2·10^14 + 1)·5^7·2^6
        {1.000000000000015e21L, 100000000000002, 21},
        {static_cast<float>(0.1L), 100000001490116, -1},
    };
    for (const Case& c : cases) {
        std::uint64_t digits = 0;
        int exponent = 0;
        ASSERT_TRUE(prurez::numbertext::fastFifteenDigits(c.value, digits, exponent)) << c.value;
        EXPECT_EQ(digits, c.digits) << c.value;
        EXPECT_EQ(exponent, c.exponent) << c.value;
    }

    long double value;
    for (const char* text :
         {"0,1", " -4,42615029219009E-5", "1,23456789012346E15", "30000", "1E30", "0,000000000000000000000000001"})
        EXPECT_TRUE(prurez::numbertext::fastDecimalToLongDouble(text, ',', value)) << text;
    // Beyond 10^±27, beyond 19 significant digits, outside the grammar: strtold's.
    for (const char* text : {"1E-30", "1,5E5000", "1,0000000000000000001", "1 000", "inf"})
        EXPECT_FALSE(prurez::numbertext::fastDecimalToLongDouble(text, ',', value)) << text;
}

TEST(FastNumberText, MatchesTheCLibraryOnTheEdgeCases)
{
    NumberTextComparison comparison;
    std::uint64_t pseudoDenormals = 0;
    for (const long double value : edgeValues(50)) {
        comparison.checkValue(value, ',');
        comparison.checkValue(value, '.');
        pseudoDenormals += isPseudoDenormal(value) ? 2 : 0;
    }
    expectNoMismatch(comparison);
    // All but the pseudo-denormals without snprintf, exact ties included.
    EXPECT_GT(pseudoDenormals, 0u);
    EXPECT_EQ(comparison.fastDigits, comparison.values - pseudoDenormals);
}

TEST(FastNumberText, MatchesTheCLibraryOnRandomValuesAndTheirTexts)
{
    // Mostly the everyday range, where the exact path and the fast parser work; the
    // far ranges, slow in snprintf and strtold, get the edge cases and number_text_check.
    std::vector<ValueKind> kinds(20, ValueKind::Moderate);
    kinds.insert(kinds.end(), 8, ValueKind::ShortSignificand);
    kinds.insert(kinds.end(), 5, ValueKind::ExactTie);
    kinds.insert(kinds.end(), 4, ValueKind::NearHalfway);
    kinds.insert(kinds.end(), {ValueKind::AnyBits, ValueKind::Subnormal, ValueKind::NearPowerOfTen});
    Random random(20240611);
    NumberTextComparison comparison;
    for (int i = 0; i < 800000; ++i)
        comparison.checkValue(randomValue(kinds[i % kinds.size()], random), i % 2 ? ',' : '.');
    expectNoMismatch(comparison);
    EXPECT_EQ(comparison.fastDigits, comparison.values);  // snprintf never needed
    EXPECT_GT(comparison.fastParses, comparison.texts * 2 / 5);
}

TEST(FastNumberText, ReadsTheEdgeAndRandomTextsLikeStrtold)
{
    NumberTextComparison comparison;
    for (const char separator : {',', '.'}) {
        for (const std::string& text : edgeTexts(separator))
            comparison.checkText(text, separator);
    }
    Random random(7);
    for (int i = 0; i < 200000; ++i) {
        const char separator = i % 2 ? ',' : '.';
        comparison.checkText(i % 4 == 0 ? randomAnyText(random) : randomNumberText(random, separator), separator);
    }
    expectNoMismatch(comparison);
    EXPECT_GT(comparison.fastParses, comparison.texts / 4);
}
