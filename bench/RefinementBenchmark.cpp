// The refinement of the best fit of the synthetic example (examples/synthetic: 12 test
// points, n = 2), after the grid analysis: its time and its moment evaluations.

#include "flows/InputFile.h"
#include "flows/InverseFlow.h"
#include "flows/RefinementFlow.h"

#include <benchmark/benchmark.h>

#include <fstream>

using namespace prurez;

namespace {

void refinement(benchmark::State& state)
{
    const std::string folder = std::string(PRUREZ_EXAMPLES_DIR) + "/synthetic";
    std::ifstream file(folder + "/synthetic.input");
    const InverseInput in = readInverseInput(InputFile::parse(file));
    InverseTables t;
    LineSeries testCurve;
    LineSeries fitCurve;
    const std::string points = std::to_string(readTestDataFile(folder + "/" + in.testFile, t.testPoints, ','));
    copyTestPoints(t.testPoints, t.testDiagram);
    computeTestDiagram(in.test, t.testDiagram, testCurve, ',', {});
    generateCombinations(in.combinations, t.values, t.combinations, ',');
    const BeamTexts beam{in.height, in.width, points};
    computeCombinationMoments(beam, t.testDiagram, t.combinations, t.moments, ',');
    computeDeviations(points, t.moments, t.testDiagram, t.combinations, t.deviations, ',');
    fillDeviationList(t.combinations, t.deviations, t.deviationList);
    const BestFit best =
        findBestFit(points, t.deviationList, t.combinations, t.testDiagram, t.moments, testCurve, fitCurve, ',');
    for (auto _ : state) {
        const RefinedFit fit = refineBestFit(beam, t.testDiagram, t.combinations, best.combination, in.combinations, ',');
        state.counters["evaluations"] = static_cast<double>(fit.momentEvaluations);
        state.SetLabel("summed deviation " + fit.gridSum + " -> " + fit.refinedSum);
    }
}

}  // namespace

BENCHMARK(refinement)->Unit(benchmark::kMillisecond);
