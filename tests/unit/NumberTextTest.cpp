#include "common/Failure.h"
#include "common/NumberText.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

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
