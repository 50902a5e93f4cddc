// The refinement of the best fit beyond the grid.

#include "common/FixedPoint.h"
#include "common/FloatingPoint.h"
#include "common/NumberText.h"
#include "flows/GridTable.h"
#include "flows/InputFile.h"
#include "flows/InverseMessages.h"
#include "flows/RefinementFlow.h"
#include "mechanics/MomentAtCurvature.h"
#include "mechanics/Refinement.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

using namespace prurez;

namespace {

long double number(const std::string& text) { return parseNumber(text, ','); }

// E, fct, ectm, a, b of seven parameter texts (E, fcp, fct, ecpm, ectm, a, b).
FitValues fitted(const std::vector<std::string>& texts)
{
    return {number(texts[0]), number(texts[2]), number(texts[4]), number(texts[5]), number(texts[6])};
}

long double slopeOf(const FitValues& values) { return gentleSlope(fibreParametersOf(40.0L, values)); }

const BeamSection beam{Single(0.15L), Single(0.15L)};
const BeamTexts beamTexts{"0,15", "0,15", ""};

// A test diagram whose curvatures (held single) and moments are those MomentAtCurvature
// gives for `truth` (fcp 40).
GridTable diagramOf(const FitValues& truth, const std::vector<long double>& curvatures)
{
    GridTable diagram(4, static_cast<int>(curvatures.size()) + 1);
    for (size_t k = 0; k < curvatures.size(); ++k) {
        const Single kappa(curvatures[k]);
        const int row = static_cast<int>(k) + 1;
        diagram.setCell(2, row, formatNumber(kappa, ','));
        diagram.setCell(3, row, formatNumber(*MomentAtCurvature(beam, fibreParametersOf(40.0L, truth), kappa), ','));
    }
    return diagram;
}

CombinationTexts rangesOfTheExample()
{
    CombinationTexts ranges;
    ranges.E = {"25000", "37000"};
    ranges.fct = {"4,5", "2,5"};  // typed downwards: the same interval
    ranges.ectm = {"2", "4"};
    ranges.a = {"0,2", "0,6"};
    ranges.b = {"0,1", "0,5"};
    return ranges;
}

}  // namespace

TEST(Refinement, RecoversTheSyntheticExampleWithTextsThatReproduceItsSum)
{
    const std::string folder = std::string(PRUREZ_EXAMPLES_DIR) + "/synthetic";
    std::ifstream truthFile(folder + "/true-parameters.txt");
    const InputFile truthInput = InputFile::parse(truthFile);
    const FitValues truth{number(truthInput.value("E")), number(truthInput.value("fct")),
                          number(truthInput.value("ectm")), number(truthInput.value("a")),
                          number(truthInput.value("b"))};

    const BatchRun run = runBatch("inverse synthetic.input --decimal , --refine --blocks refined,best", "", folder);
    ASSERT_EQ(run.status, 0) << run.err;
    const size_t best = run.out.find("# best\n");
    const size_t refinedBlock = run.out.find("# refined\n");
    ASSERT_LT(best, refinedBlock);
    const std::vector<std::string> lines = split(run.out.substr(refinedBlock + 10), '\n');
    // The values, the two sums and the b–ectm line: no range holds the fit back.
    ASSERT_EQ(lines.size(), 3u) << run.out;
    const std::vector<std::string> texts = split(lines[0], '\t');
    const std::vector<std::string> sums = split(lines[1], '\t');
    ASSERT_EQ(texts.size(), 7u);
    ASSERT_EQ(sums.size(), 2u);
    EXPECT_EQ(lines[2].rfind(slopeOnlyMessage, 0), 0u);

    // E, fct and a are found; of b and εtm the slope of the gentle branch, both inside their ranges.
    const FitValues values = fitted(texts);
    EXPECT_NEAR(values[fitE] / truth[fitE], 1.0L, 0.02L);
    EXPECT_NEAR(values[fitFct] / truth[fitFct], 1.0L, 0.02L);
    EXPECT_NEAR(values[fitA], truth[fitA], 0.02L);
    EXPECT_NEAR(slopeOf(values) / slopeOf(truth), 1.0L, 0.02L);
    EXPECT_GE(values[fitB], 0.1L);
    EXPECT_LE(values[fitB], 0.5L);
    EXPECT_GE(values[fitEctm], 2.0L);
    EXPECT_LE(values[fitEctm], 4.0L);
    EXPECT_EQ(texts[1], "40");
    EXPECT_EQ(texts[3], "0,35");
    EXPECT_LE(10.0L * number(sums[1]), number(sums[0]));
    // A value the fit moved is held as the section analysis reads it: E and fct to 4
    // decimals, a and b in single precision (a moved here).
    const std::vector<std::string> bestTexts = split(run.out.substr(best + 7, refinedBlock - best - 8), '\t');
    ASSERT_EQ(bestTexts.size(), 8u);
    EXPECT_NE(texts[5], bestTexts[6]);
    for (size_t i : {0, 2, 5, 6}) {
        if (texts[i] == bestTexts[i + 1])
            continue;
        const long double value = number(texts[i]);
        const long double held = i < 5 ? Fixed::store(value).value() : single(value);
        EXPECT_EQ(texts[i], formatNumber(held, ',')) << i;
    }

    // The refined texts typed as every range (n = 0) give the same summed deviation.
    std::string input;
    for (const std::string& line : split(fileText(folder + "/synthetic.input"), '\n'))
        if (line.find("_min") == std::string::npos && line.find("_max") == std::string::npos &&
            line.rfind("n =", 0) != 0)
            input += line + '\n';
    const std::vector<std::pair<const char*, size_t>> keys{{"E", 0}, {"fct", 2}, {"ectm", 4}, {"a", 5}, {"b", 6}};
    for (const auto& [key, index] : keys)
        input += std::string(key) + "_min = " + texts[index] + "\n" + key + "_max = " + texts[index] + "\n";
    const BatchRun again = runBatch("inverse - --decimal , --blocks deviations", input, folder);
    ASSERT_EQ(again.status, 0) << again.err;
    EXPECT_NE(again.out.find("\n1\t" + sums[1] + "\n"), std::string::npos) << again.out;
}

TEST(Refinement, KeepsTheSlopeReportsLimitsAndLeavesWhatTheTestCannotShow)
{
    const FitValues truth{32150.0L, 3.37L, 2.73L, 0.43L, 0.27L};
    GridTable combinations(8, 2);
    const std::vector<std::string> start{"1", "29000", "40", "3,16666666666667", "0,35", "2,66666666666667",
                                         "0,333333333333333", "0,233333333333333"};
    for (size_t column = 0; column < start.size(); ++column)
        combinations.setCell(static_cast<int>(column), 1, start[column]);
    auto refine = [&](const GridTable& diagram, const CombinationTexts& ranges) {
        BeamTexts texts = beamTexts;
        texts.pointCount = std::to_string(diagram.rowCount() - 1);
        return refineBestFit(texts, diagram, combinations, 1, ranges, ',');
    };
    auto textsOf = [](const RefinedFit& fit) { return std::vector<std::string>(fit.texts.begin(), fit.texts.end()); };

    // No point strains the tensioned face up to εtu (2,73 %): the slope is found, b kept,
    // εtm derived from them.
    const GridTable beforeEtu = diagramOf(truth, {0.0004L, 0.0012L, 0.002L, 0.003L, 0.005L, 0.01L, 0.03L, 0.08L});
    RefinedFit fit = refine(beforeEtu, rangesOfTheExample());
    EXPECT_TRUE(fit.improved);
    FitValues values = fitted(textsOf(fit));
    EXPECT_NEAR(values[fitE] / truth[fitE], 1.0L, 0.02L);
    EXPECT_NEAR(values[fitFct] / truth[fitFct], 1.0L, 0.02L);
    EXPECT_NEAR(values[fitA], truth[fitA], 0.02L);
    EXPECT_NEAR(slopeOf(values) / slopeOf(truth), 1.0L, 0.02L);
    EXPECT_EQ(fit.texts[6], "0,233333333333333");
    EXPECT_EQ(fit.warnings, std::vector<std::string>{std::string(slopeOnlyMessage) + slopeByEctmMessage});
    EXPECT_LE(10.0L * number(fit.refinedSum), number(fit.gridSum));
    EXPECT_EQ(fit.moments.size(), 8u);
    EXPECT_EQ(fit.curvatures[7], beforeEtu.cell(2, 8));
    EXPECT_GT(fit.momentEvaluations, 8);

    // A range that stops short of the truth holds E at its limit, and says so.
    CombinationTexts lowE = rangesOfTheExample();
    lowE.E.max = "30000";
    fit = refine(beforeEtu, lowE);
    EXPECT_EQ(fit.texts[0], "30000");
    ASSERT_EQ(fit.warnings.size(), 2u);
    EXPECT_EQ(fit.warnings[0], "Parametr E leží na hranici rozsahu, rozšiřte rozsah.");

    // No point beyond εt1: b and εtm stay as the grid had them.
    fit = refine(diagramOf(truth, {0.0004L, 0.0008L, 0.0012L, 0.0016L}), rangesOfTheExample());
    EXPECT_EQ(fit.texts[4], "2,66666666666667");
    EXPECT_EQ(fit.texts[6], "0,233333333333333");
    EXPECT_EQ(fit.warnings, std::vector<std::string>{gentleBranchNotReachedMessage});

    // Asked to stop: Cancelled, at once.
    WorkControl stopping([](long long, long long) { return false; });
    RefinementRunControl control;
    control.scan.work = &stopping;
    BeamTexts texts = beamTexts;
    texts.pointCount = "8";
    EXPECT_THROW(refineBestFit(texts, beforeEtu, combinations, 1, rangesOfTheExample(), ',', control), Cancelled);
    // Asked to stop as the fit's last step begins, its scans the plain ones (the neutral
    // axis far from mid-height): Cancelled too.
    const GridTable farFromMid = diagramOf(truth, {0.05L, 0.08L});
    texts.pointCount = "2";
    long long steps = 0;
    WorkControl counting([&](long long, long long) {
        ++steps;
        return true;
    });
    RefinementRunControl countingControl;
    countingControl.scan.work = &counting;
    refineBestFit(texts, farFromMid, combinations, 1, rangesOfTheExample(), ',', countingControl);
    long long step = 0;
    WorkControl late([&](long long, long long) { return ++step < steps - 1; });
    RefinementRunControl lateControl;
    lateControl.scan.exhaustiveScan = true;
    lateControl.scan.work = &late;
    EXPECT_THROW(refineBestFit(texts, farFromMid, combinations, 1, rangesOfTheExample(), ',', lateControl),
                 Cancelled);

    EXPECT_EQ(failureOf([&] { refineBestFit(texts, beforeEtu, combinations, 2, rangesOfTheExample(), ','); }),
              noBestRowMessage);
}
