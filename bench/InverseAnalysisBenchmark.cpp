// The whole inverse analysis after the test input (combinations, the moment of every
// combination at every test curvature on all hardware threads, deviations, best fit)
// for n intermediate values: the fast neutral-axis search against the plain scans.

#include "flows/InverseFlow.h"

#include <benchmark/benchmark.h>

#include <thread>

using namespace prurez;

namespace {

// The four-point bending test of a 150 × 150 mm fibre-concrete beam (10 points).
GridTable testDiagram()
{
    const char* const points[][2] = {{"5", "0,00001"}, {"10", "0,00002"}, {"14", "0,00004"}, {"15,5", "0,0001"},
                                     {"14,2", "0,0003"}, {"12,8", "0,0006"}, {"11,9", "0,001"}, {"10,6", "0,0015"},
                                     {"9,4", "0,002"}, {"8,3", "0,003"}};
    GridTable input(2, 11);
    for (int r = 1; r <= 10; ++r) {
        input.setCell(0, r, points[r - 1][0]);
        input.setCell(1, r, points[r - 1][1]);
    }
    GridTable diagram(4, 8);
    copyTestPoints(input, diagram);
    LineSeries curve;
    computeTestDiagram({"30000", "0,15", "0,15"}, diagram, curve, ',', [] {});
    return diagram;
}

void inverseAnalysis(benchmark::State& state)
{
    const GridTable diagram = testDiagram();
    CombinationTexts ranges;
    ranges.fcp = "40";
    ranges.ecpm = "0,35";
    ranges.E = {"25000", "35000"};
    ranges.fct = {"2,5", "4,5"};
    ranges.ectm = {"2", "4"};
    ranges.a = {"0,2", "0,6"};
    ranges.b = {"0,2", "0,6"};
    ranges.intermediateCount = std::to_string(state.range(0));
    MomentRunControl control;
    control.scan.exhaustiveScan = state.range(1) != 0;
    for (auto _ : state) {
        InverseTables t;
        LineSeries testCurve;
        LineSeries fitCurve;
        generateCombinations(ranges, t.values, t.combinations, ',');
        computeCombinationMoments({"0,15", "0,15", "10"}, diagram, t.combinations, t.moments, ',', control);
        computeDeviations("10", t.moments, diagram, t.combinations, t.deviations, ',');
        fillDeviationList(t.combinations, t.deviations, t.deviationList);
        const BestFit best =
            findBestFit("10", t.deviationList, t.combinations, diagram, t.moments, testCurve, fitCurve, ',');
        benchmark::DoNotOptimize(best.combination);
        state.counters["combinations"] = t.combinations.rowCount() - 1;
    }
    state.counters["threads"] = std::thread::hardware_concurrency();
}

}  // namespace

// Arguments: n, plain scan (1) or fast search (0).
BENCHMARK(inverseAnalysis)->Args({2, 0})->Args({2, 1})->Args({5, 0})->Args({10, 0})
    ->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(inverseAnalysis)->Name("inverseAnalysis/plainScanLong")->Args({5, 1})
    ->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
