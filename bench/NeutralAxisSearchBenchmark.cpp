// The fast neutral-axis search against the plain fixed-step scans: time per call or
// per run, and the trials evaluated ("trials": by the fast search; "plainTrials": by
// the plain scan for the same answers).

#include "common/FloatingPoint.h"
#include "common/GridTable.h"
#include "inverse/MomentAtCurvature.h"
#include "section/NeutralAxisSearch.h"
#include "section/SectionAnalysis.h"

#include <benchmark/benchmark.h>

#include <stdexcept>

using namespace prurez;

namespace {

// The trial counts of one fast call of `run`.
template <class Run>
SearchStatistics countTrials(Run&& run)
{
    const SearchStatistics before = searchStatistics();
    run(false);
    SearchStatistics after = searchStatistics();
    after.searches -= before.searches;
    after.trialsEvaluated -= before.trialsEvaluated;
    after.plainScanTrials -= before.plainScanTrials;
    after.fallBacks -= before.fallBacks;
    return after;
}

template <class Run>
void measure(benchmark::State& state, bool exhaustive, Run&& run)
{
    const SearchStatistics counts = countTrials(run);
    for (auto _ : state)
        run(exhaustive);
    state.counters["scans"] = static_cast<double>(counts.searches);
    state.counters["trials"] = static_cast<double>(exhaustive ? counts.plainScanTrials : counts.trialsEvaluated);
    state.counters["plainTrials"] = static_cast<double>(counts.plainScanTrials);
    state.counters["fallBacks"] = static_cast<double>(counts.fallBacks);
}

// A cracked fibre-concrete beam of 0,15 × 0,15 m at κ = 0,05 1/m.
void momentAtCurvature(benchmark::State& state)
{
    measure(state, state.range(0) != 0, [](bool exhaustive) {
        MomentScanOptions options;
        options.exhaustiveScan = exhaustive;
        clearFloatingPointFaults();
        const auto m = MomentAtCurvature(single(0.15L), single(0.15L), 30000, 40, 3, single(0.4L), single(0.3L),
                                         0.02L, single(0.05L), options);
        benchmark::DoNotOptimize(m);
    });
}

void runSection(const SectionFields& fields, bool exhaustive)
{
    SectionRunOptions options;
    options.exhaustiveScan = exhaustive;
    GridTable table(5, 5);
    const SectionOutcome outcome = runSectionAnalysis(fields, ',', table, options);
    if (!outcome.showResults || !outcome.stopMessage.empty())
        throw std::runtime_error("the benchmark run did not reach a limit");
    benchmark::DoNotOptimize(table.rowCount());
}

// fcp 40, fct 3, E 34000, εcu 0,35 %, εtu 2 %, a 0,4, b 0,3, 0,15 × 0,15 m, N 0,
// step 0,01: torn after 15 rows.
SectionFields fibreFields()
{
    SectionFields f;
    f.RadioGroup1 = 1;
    f.RadioGroup3 = 0;
    f.RadioGroup5 = 0;
    f.RadioGroup2 = 1;
    f.Edit1 = "40";
    f.Edit2 = "3";
    f.Edit3 = "34000";
    f.Edit4 = "0,35";
    f.Edit5 = "2";
    f.Edit6 = "0,4";
    f.Edit7 = "0,3";
    f.Edit13 = "0,15";
    f.Edit14 = "0,15";
    f.Edit17 = "0";
    f.ComboBox1 = "0,01";
    return f;
}

// Plain concrete 0,3 × 0,5 m, parabolic-rectangular, no axial force, curvature step
// 0,00001; a low crushing strain (0,06 %) and a long softening branch (εtu 2 %) make
// it crush at the top edge after 539 steps. (With a compressive force no depth within
// the section balances at the first small curvatures; with a realistic εtu the
// section tears first.)
SectionFields plainFields()
{
    SectionFields f;
    f.RadioGroup1 = 0;
    f.RadioGroup3 = 1;
    f.RadioGroup5 = 0;
    f.RadioGroup2 = 1;
    f.Edit1 = "30";
    f.Edit2 = "2,5";
    f.Edit3 = "30000";
    f.Edit4 = "0,06";
    f.Edit5 = "2";
    f.Edit6 = "0,2";
    f.Edit13 = "0,3";
    f.Edit14 = "0,5";
    f.Edit17 = "0";
    f.ComboBox1 = "0,00001";
    return f;
}

// Reinforced concrete 0,3 × 0,5 m, bilinear, 1500 mm2 at the bottom and 400 mm2 at
// the top, no axial force, curvature step 0,00001: crushed at the top edge after
// 4221 steps.
SectionFields reinforcedFields()
{
    SectionFields f;
    f.RadioGroup1 = 2;
    f.RadioGroup3 = 0;
    f.RadioGroup5 = 0;
    f.RadioGroup2 = 1;
    f.Edit1 = "30";
    f.Edit2 = "2,5";
    f.Edit3 = "30000";
    f.Edit4 = "0,35";
    f.Edit5 = "0,02";
    f.Edit6 = "0,2";
    f.Edit8 = "500";
    f.Edit9 = "200000";
    f.Edit10 = "5";
    f.Edit11 = "1500";
    f.Edit12 = "0,05";
    f.Edit19 = "400";
    f.Edit20 = "0,05";
    f.Edit13 = "0,3";
    f.Edit14 = "0,5";
    f.Edit17 = "0";
    f.ComboBox1 = "0,00001";
    return f;
}

void fibreSection(benchmark::State& state)
{
    measure(state, state.range(0) != 0, [](bool exhaustive) { runSection(fibreFields(), exhaustive); });
}

void plainSection(benchmark::State& state)
{
    measure(state, state.range(0) != 0, [](bool exhaustive) { runSection(plainFields(), exhaustive); });
}

void reinforcedSection(benchmark::State& state)
{
    measure(state, state.range(0) != 0, [](bool exhaustive) { runSection(reinforcedFields(), exhaustive); });
}

}  // namespace

// Argument 0: the fast search; 1: the plain scan.
BENCHMARK(momentAtCurvature)->ArgName("plain")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(fibreSection)->ArgName("plain")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(plainSection)->ArgName("plain")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(reinforcedSection)->ArgName("plain")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1);
