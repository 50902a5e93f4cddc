// The whole inverse analysis after the test input (combinations, the moment of every
// combination at every test curvature on all hardware threads, deviations, best fit)
// for n intermediate values: the fast neutral-axis search against the plain scans.

#include "common/GridTable.h"
#include "common/LineSeries.h"
#include "inverse/InverseAnalysis.h"

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
    CombinationFields ranges{"40", "0,35", "25000", "35000", "2,5", "4,5", "2", "4", "0,2", "0,6", "0,2", "0,6",
                             std::to_string(state.range(0))};
    MomentRunControl control;
    control.exhaustiveScan = state.range(1) != 0;
    for (auto _ : state) {
        GridTable values(5, 2);
        GridTable combinations(8, 20);
        GridTable moments(5, 5);
        GridTable deviations(5, 5);
        GridTable list(2, 5);
        LineSeries testCurve;
        LineSeries fitCurve;
        generateCombinations(ranges, values, combinations, ',');
        computeCombinationMoments({"0,15", "0,15", "10"}, diagram, combinations, moments, ',', control);
        computeDeviations("10", moments, diagram, combinations, deviations, ',');
        fillDeviationList(combinations, deviations, list);
        const BestFit best = findBestFit("10", list, combinations, diagram, moments, testCurve, fitCurve, ',');
        benchmark::DoNotOptimize(best.row);
        state.counters["combinations"] = combinations.rowCount() - 1;
    }
    state.counters["threads"] = std::thread::hardware_concurrency();
}

}  // namespace

// Arguments: n, plain scan (1) or fast search (0).
BENCHMARK(inverseAnalysis)->Args({2, 0})->Args({2, 1})->Args({5, 0})->Args({10, 0})
    ->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(inverseAnalysis)->Name("inverseAnalysis/plainScanLong")->Args({5, 1})
    ->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
