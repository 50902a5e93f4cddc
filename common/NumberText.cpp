#include "common/NumberText.h"

#include "common/Failure.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <locale.h>

namespace prurez {

namespace {

bool isBlank(char c) { return static_cast<unsigned char>(c) <= 32; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// A "C" locale for strtold, so the process's locale (set by Qt) never matters.
locale_t cLocale()
{
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return locale;
}

}  // namespace

std::string formatNumber(long double value, char decimalSeparator)
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

std::string formatInteger(long long value) { return std::to_string(value); }

bool isNumberText(const std::string& text, char decimalSeparator)
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

long double decimalToLongDouble(const std::string& text, char decimalSeparator)
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

long double parseNumber(const std::string& text, char decimalSeparator)
{
    if (!isNumberText(text, decimalSeparator))
        throw Failure("'" + text + "' is not a valid floating point value");
    return decimalToLongDouble(text, decimalSeparator);
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
        throw Failure("'" + text + "' is not a valid integer value");
    long long magnitude = 0;
    for (; i < text.size(); ++i) {
        if (!isDigit(text[i]) || magnitude > 2147483648LL)
            throw Failure("'" + text + "' is not a valid integer value");
        magnitude = magnitude * 10 + (text[i] - '0');
    }
    const long long value = negative ? -magnitude : magnitude;
    if (value < -2147483648LL || value > 2147483647LL)
        throw Failure("'" + text + "' is not a valid integer value");
    return static_cast<std::int32_t>(value);
}

}  // namespace prurez
