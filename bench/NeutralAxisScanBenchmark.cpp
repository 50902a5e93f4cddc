// The fast neutral-axis search against the plain fixed-step scans: time per call or
// per run, and the trials evaluated ("trials": by the fast search; "plainTrials": by
// the plain scan for the same answers).

#include "flows/SectionAnalysis.h"
#include "mechanics/MomentAtCurvature.h"

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

ScanOptions scanOptions(bool exhaustive)
{
    ScanOptions options;
    options.exhaustiveScan = exhaustive;
    return options;
}

// A cracked fibre-concrete beam of 0,15 × 0,15 m at κ = 0,05 1/m.
void momentAtCurvature(benchmark::State& state)
{
    FibreParameters p;
    p.E = 30000;
    p.fcp = 40;
    p.fct = 3;
    p.a = Single(0.4L);
    p.b = Single(0.3L);
    p.epsTu = 0.02L;
    const BeamSection beam{Single(0.15L), Single(0.15L)};
    measure(state, state.range(0) != 0, [&](bool exhaustive) {
        clearFloatingPointFaults();
        benchmark::DoNotOptimize(MomentAtCurvature(beam, p, Single(0.05L), scanOptions(exhaustive)));
    });
}

void runSection(const HeldSectionInput& input, long double step, bool exhaustive)
{
    RunOptions options;
    options.exhaustiveScan = exhaustive;
    const MomentCurvatureDiagram diagram = heldSectionAnalysis(input).run(step, options);
    if (diagram.outcome.end != RunEnd::crushed && diagram.outcome.end != RunEnd::torn)
        throw std::runtime_error("the benchmark run did not reach a limit");
    benchmark::DoNotOptimize(diagram.rows.size());
}

// fcp 40, fct 3, E 34000, εcu 0,35 %, εtu 2 %, a 0,4, b 0,3, 0,15 × 0,15 m, N 0,
// step 0,01: torn after 15 rows.
HeldSectionInput fibreBeam()
{
    HeldSectionInput in;
    in.material = Material::fibreConcrete;
    in.fcp = Fixed::store(40);
    in.fct = Fixed::store(3);
    in.E = Fixed::store(34000);
    in.epsCu = 0.0035L;
    in.epsTu = 0.02L;
    in.a = Single(0.4L);
    in.b = Single(0.3L);
    in.width = Single(0.15L);
    in.height = Single(0.15L);
    return in;
}

// Plain concrete 0,3 × 0,5 m, parabolic-rectangular, no axial force, curvature step
// 0,00001; a low crushing strain (0,06 %) and a long softening branch (εtu 2 %) make
// it crush at the top edge after 539 steps.
HeldSectionInput plainBeam()
{
    HeldSectionInput in;
    in.material = Material::plainConcrete;
    in.diagram = CompressionDiagram::parabolicRectangular;
    in.fcp = Fixed::store(30);
    in.fct = Fixed::store(2.5L);
    in.E = Fixed::store(30000);
    in.epsCu = 0.0006L;
    in.epsTu = 0.02L;
    in.epsC1 = 0.002L;
    in.width = Single(0.3L);
    in.height = Single(0.5L);
    return in;
}

// Reinforced concrete 0,3 × 0,5 m, bilinear, 1500 mm2 at the bottom and 400 mm2 at
// the top, no axial force, curvature step 0,00001: crushed at the top edge after
// 4221 steps.
HeldSectionInput reinforcedBeam()
{
    HeldSectionInput in = plainBeam();
    in.material = Material::reinforcedConcrete;
    in.diagram = CompressionDiagram::bilinear;
    in.epsCu = 0.0035L;
    in.epsTu = 0.0002L;
    in.fy = Fixed::store(500);
    in.Es = Fixed::store(200000);
    in.epsSu = 0.05L;
    in.bottomBars = {1500e-6L, 0.05L};
    in.topBars = {400e-6L, 0.05L};
    return in;
}

void fibreSection(benchmark::State& state)
{
    measure(state, state.range(0) != 0, [](bool exhaustive) { runSection(fibreBeam(), 0.01L, exhaustive); });
}

void plainSection(benchmark::State& state)
{
    measure(state, state.range(0) != 0, [](bool exhaustive) { runSection(plainBeam(), 0.00001L, exhaustive); });
}

void reinforcedSection(benchmark::State& state)
{
    measure(state, state.range(0) != 0, [](bool exhaustive) { runSection(reinforcedBeam(), 0.00001L, exhaustive); });
}

}  // namespace

// Argument 0: the fast search; 1: the plain scan.
BENCHMARK(momentAtCurvature)->ArgName("plain")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(fibreSection)->ArgName("plain")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(plainSection)->ArgName("plain")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(reinforcedSection)->ArgName("plain")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1);
