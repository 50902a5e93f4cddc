// formatNumber and parseNumber against their C-library versions (snprintf "%.14Le",
// strtold on a copy of the text), in ns per call:
// - "computed": results of arithmetic (all 64 significand bits) from 1e-5 to 1e4, as
//   the moments and curvatures of the inverse analysis, and their 15-digit texts;
// - "typed": short texts as typed into the fields ("0,15", "30000", "2,5E-3").

#include "common/NumberText.h"
#include "tools/number_text_check.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

using namespace prurez;

namespace {

constexpr size_t kCount = 4096;

const std::vector<long double>& computedValues()
{
    static const std::vector<long double> values = [] {
        numbertextcheck::Random random(42);
        std::vector<long double> v;
        for (size_t i = 0; i < kCount; ++i) {
            const long double unit = static_cast<long double>(random() >> 11) / 9007199254740992.0L;  // [0, 1)
            const long double value = std::pow(10.0L, -5.0L + 9.0L * unit) * (1.0L + 1.0L / 3.0L);
            v.push_back(i % 3 == 0 ? -value : value);
        }
        return v;
    }();
    return values;
}

const std::vector<std::string>& computedTexts()
{
    static const std::vector<std::string> texts = [] {
        std::vector<std::string> t;
        for (long double v : computedValues())
            t.push_back(formatNumber(v, ','));
        return t;
    }();
    return texts;
}

const std::vector<std::string>& typedTexts()
{
    static const std::vector<std::string> texts = {"0,15", "30000", "2,5E-3", "40", "0,35", "25000", "4,5",
                                                   "0,0001", "12,8", "-7", "0,003", "1,5"};
    return texts;
}

template <class Format>
void format(benchmark::State& state, Format&& f)
{
    const std::vector<long double>& values = computedValues();
    size_t i = 0;
    for (auto _ : state) {
        std::string text = f(values[i], ',');
        benchmark::DoNotOptimize(text);
        i = (i + 1) % values.size();
    }
}

template <class Parse>
void parse(benchmark::State& state, const std::vector<std::string>& texts, Parse&& p)
{
    size_t i = 0;
    for (auto _ : state) {
        long double value = p(texts[i], ',');
        benchmark::DoNotOptimize(value);
        i = (i + 1) % texts.size();
    }
}

void formatComputedBySnprintf(benchmark::State& state) { format(state, byLibc::formatNumber); }
void formatComputed(benchmark::State& state) { format(state, formatNumber); }
void parseComputedByStrtold(benchmark::State& state) { parse(state, computedTexts(), byLibc::parseNumber); }
void parseComputed(benchmark::State& state) { parse(state, computedTexts(), parseNumber); }
void parseTypedByStrtold(benchmark::State& state) { parse(state, typedTexts(), byLibc::parseNumber); }
void parseTyped(benchmark::State& state) { parse(state, typedTexts(), parseNumber); }

// The inverse analysis's round trip: a moment to its text and back.
void roundTripBySnprintfAndStrtold(benchmark::State& state)
{
    format(state, [](long double v, char s) {
        return byLibc::formatNumber(byLibc::parseNumber(byLibc::formatNumber(v, s), s), s);
    });
}
void roundTrip(benchmark::State& state)
{
    format(state, [](long double v, char s) { return formatNumber(parseNumber(formatNumber(v, s), s), s); });
}

// A value read back from its text without the text: readBackNumber against
// parseNumber(formatNumber(v)).
void readBackThroughTheText(benchmark::State& state)
{
    const std::vector<long double>& values = computedValues();
    size_t i = 0;
    for (auto _ : state) {
        long double value = parseNumber(formatNumber(values[i], ','), ',');
        benchmark::DoNotOptimize(value);
        i = (i + 1) % values.size();
    }
}
void readBack(benchmark::State& state)
{
    const std::vector<long double>& values = computedValues();
    size_t i = 0;
    for (auto _ : state) {
        long double value = readBackNumber(values[i]);
        benchmark::DoNotOptimize(value);
        i = (i + 1) % values.size();
    }
}

}  // namespace

BENCHMARK(formatComputedBySnprintf);
BENCHMARK(formatComputed);
BENCHMARK(parseComputedByStrtold);
BENCHMARK(parseComputed);
BENCHMARK(parseTypedByStrtold);
BENCHMARK(parseTyped);
BENCHMARK(roundTripBySnprintfAndStrtold);
BENCHMARK(roundTrip);
BENCHMARK(readBackThroughTheText);
BENCHMARK(readBack);
