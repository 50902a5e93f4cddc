// Holds formatNumber, isNumberText, decimalToLongDouble and parseNumber to the C library
// (snprintf "%.14Le", strtold) on the fixed edge cases and on COUNT random values and
// texts; every formatted text is also read back, the program's own round trip, and
// each value read back without its text (readBackNumber) is held to that text's value.
//
//     build/number_text_check [COUNT [THREADS [SEED]]]     (default 100000000 2 1)
//
// Prints the counts per kind and the first mismatches; exits 1 on any mismatch.

#include "tools/number_text_check.h"

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

using namespace prurez::numbertextcheck;

namespace {

constexpr int kKinds = kValueKindCount + 1;  // the value kinds and random texts
const char* const kKindNames[kKinds] = {"any bit pattern",      "moderate (1e-45..1e18)", "short significand",
                                        "subnormal",            "near a power of ten",    "near a halfway point",
                                        "exact tie (±1 ulp)",   "random text"};

// Of every 10 checks: 2 any bits, 2 moderate, 1 of each other value kind, 1 text.
int kindOf(std::uint64_t i)
{
    static const int kinds[10] = {0, 0, 1, 1, 2, 3, 4, 5, 6, 7};
    return kinds[i % 10];
}

void run(std::uint64_t first, std::uint64_t last, std::uint64_t seed, std::vector<NumberTextComparison>& byKind)
{
    Random random(seed);
    for (std::uint64_t i = first; i < last; ++i) {
        const char separator = (i / 10) % 2 ? ',' : '.';
        const int kind = kindOf(i);
        if (kind == kValueKindCount) {
            if (random() % 4 == 0)
                byKind[kind].checkText(randomAnyText(random), separator);
            else
                byKind[kind].checkText(randomNumberText(random, separator), separator);
        } else {
            byKind[kind].checkValue(randomValue(static_cast<ValueKind>(kind), random), separator);
        }
    }
}

double percent(std::uint64_t part, std::uint64_t whole) { return whole == 0 ? 0.0 : 100.0 * part / whole; }

}  // namespace

int main(int argc, char** argv)
{
    const std::uint64_t count = argc > 1 ? std::stoull(argv[1]) : 100000000ULL;
    const unsigned threads = argc > 2 ? static_cast<unsigned>(std::stoul(argv[2])) : 2u;
    const std::uint64_t seed = argc > 3 ? std::stoull(argv[3]) : 1ULL;
    const auto start = std::chrono::steady_clock::now();

    NumberTextComparison edges;
    for (const long double value : edgeValues()) {
        edges.checkValue(value, ',');
        edges.checkValue(value, '.');
    }
    for (const char separator : {',', '.'}) {
        for (const std::string& text : edgeTexts(separator))
            edges.checkText(text, separator);
    }

    std::vector<std::vector<NumberTextComparison>> results(threads, std::vector<NumberTextComparison>(kKinds));
    std::vector<std::thread> workers;
    for (unsigned t = 0; t < threads; ++t) {
        const std::uint64_t first = count / threads * t;
        const std::uint64_t last = t + 1 == threads ? count : count / threads * (t + 1);
        workers.emplace_back(run, first, last, seed * 1000003 + t, std::ref(results[t]));
    }
    for (std::thread& worker : workers)
        worker.join();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    std::vector<NumberTextComparison> byKind(kKinds);
    NumberTextComparison total = edges;
    for (const auto& perThread : results) {
        for (int k = 0; k < kKinds; ++k) {
            byKind[k].add(perThread[k]);
            total.add(perThread[k]);
        }
    }

    // "by snprintf": values whose digits the fast path left to snprintf; "fast": texts
    // read without strtold.
    std::printf("%-24s %11s %11s %11s %8s %10s\n", "kind", "values", "by snprintf", "texts", "fast %", "mismatches");
    auto line = [](const char* name, const NumberTextComparison& c) {
        std::printf("%-24s %11llu %11llu %11llu %8.3f %10llu\n", name, static_cast<unsigned long long>(c.values),
                    static_cast<unsigned long long>(c.values - c.fastDigits), static_cast<unsigned long long>(c.texts),
                    percent(c.fastParses, c.texts), static_cast<unsigned long long>(c.mismatchCount));
    };
    line("edge cases", edges);
    for (int k = 0; k < kKinds; ++k)
        line(kKindNames[k], byKind[k]);
    line("total", total);
    std::printf("%llu random checks and %llu edge values (both separators) on %u threads in %.1f s, seed %llu\n",
                static_cast<unsigned long long>(count), static_cast<unsigned long long>(edges.values / 2), threads,
                seconds, static_cast<unsigned long long>(seed));
    std::printf("%llu values read back without their text (readBackNumber) as their text reads\n",
                static_cast<unsigned long long>(total.readBacks));
    for (const std::string& mismatch : total.mismatches)
        std::printf("MISMATCH %s\n", mismatch.c_str());
    return total.mismatchCount == 0 ? 0 : 1;
}
