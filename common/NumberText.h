#pragma once
// Number text: the general 15-digit form and the parsing of typed numbers.
// The decimal separator is always a parameter.

#include <cstdint>
#include <string>
#include <string_view>

namespace prurez {

// The general form with up to 15 significant digits: "0", "0,00012", "1234,5",
// "9E-5", "1,23456789012346E15", "-2,5".
std::string formatNumber(long double value, char decimalSeparator);
// The same text appended to `text` (no text of its own is made).
void appendNumber(std::string& text, long double value, char decimalSeparator);

// The value parseNumber reads from the text formatNumber writes for `value` (with
// either separator): its 15 significant digits as the nearest long double, formed
// without the text wherever one exact operation gives it (everyday values), through
// the text otherwise. Fails as parseNumber fails for "NAN" and "INF".
long double readBackNumber(long double value);

// A plain decimal integer ("243", "-7").
std::string formatInteger(long long value);

// Accepts blanks (codes 0-32) around an optional sign, digits with at most one
// separator, an optional exponent. Otherwise fails with
// "'<text>' is not a valid floating point value" naming the untouched text.
long double parseNumber(std::string_view text, char decimalSeparator);

// Leading blanks, an optional sign, digits, within 32-bit range. Otherwise fails with
// "'<text>' is not a valid integer value".
std::int32_t parseInteger(const std::string& text);

// The grammar check of parseNumber without the failure: true when the text is a number.
bool isNumberText(const std::string& text, char decimalSeparator);

// Converts a number text that passed the grammar (separator given) to the nearest
// long double, independently of the C locale.
long double decimalToLongDouble(const std::string& text, char decimalSeparator);

// The fast conversions behind formatNumber and decimalToLongDouble, for the checks that
// hold them to the C library's (snprintf "%.14Le", strtold).
namespace numbertext {

// The value's 15 significant digits, correctly rounded (ties to even), as an integer in
// [10^14, 10^15) and the decimal exponent of the first; false, with nothing set, for
// zero, infinities, NaNs and wherever only the C library's exact conversion can decide.
bool fastFifteenDigits(long double value, std::uint64_t& digits, int& exponent);

// The long double nearest a number text of the grammar; false where the text is outside
// it or the fast exact computation does not apply.
bool fastDecimalToLongDouble(const std::string& text, char decimalSeparator, long double& result);

}  // namespace numbertext

}  // namespace prurez
