// A test series: each specimen recovered, the joint fit against sums formed specimen by
// specimen, the statistics against their own definitions, one specimen as the single
// analysis, and what its input names and refuses.

#include "common/NumberText.h"
#include "flows/InputFile.h"
#include "flows/InputRuns.h"
#include "mechanics/Refinement.h"
#include "mechanics/SeriesStatistics.h"
#include "prurez/prurez.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <sstream>
#include <string>
#include <vector>

using namespace prurez;

namespace {

const std::string seriesFolder = std::string(PRUREZ_EXAMPLES_DIR) + "/series";

long double number(const std::string& text) { return parseNumber(text, ','); }

// The lines of each "# name" block of the batch tool's output.
std::map<std::string, std::vector<std::string>> blocksOf(const std::string& out)
{
    std::map<std::string, std::vector<std::string>> blocks;
    std::vector<std::string>* block = nullptr;
    for (const std::string& line : split(out, '\n')) {
        if (line.rfind("# ", 0) == 0)
            block = &blocks[line.substr(2)];
        else if (block != nullptr)
            block->push_back(line);
    }
    return blocks;
}

// S = (1 − a − b)·fct / (εtu − εt1), εt1 = (1 + a)·fct / E, written out here.
long double slope(long double E, long double fct, long double ectm, long double a, long double b)
{
    const long double et1 = fct / E + a * fct / E;
    return (1.0L - a - b) * fct / (ectm / 100.0L - et1);
}

// E, fct, ectm, a, b and S of the cells E, fcp, fct, ecpm, ectm, a, b from `first` on.
std::vector<long double> quantities(const std::vector<std::string>& cells, size_t first)
{
    const long double E = number(cells[first]);
    const long double fct = number(cells[first + 2]);
    const long double ectm = number(cells[first + 4]);
    const long double a = number(cells[first + 5]);
    const long double b = number(cells[first + 6]);
    return {E, fct, ectm, a, b, slope(E, fct, ectm, single(a), single(b))};
}

}  // namespace

TEST(Series, RecoversEverySpecimenOfTheSyntheticSeriesAndFitsThemTogether)
{
    const BatchRun run = runBatch("series series.input --decimal , --threads 2", "", seriesFolder);
    ASSERT_EQ(run.status, 0) << run.err;
    auto blocks = blocksOf(run.out);
    ASSERT_EQ(blocks.size(), 4u) << run.out;
    ASSERT_EQ(blocks["specimens"].size(), 5u);
    ASSERT_EQ(blocks["refined"].size(), 5u);
    ASSERT_EQ(blocks["statistics"].size(), 7u);
    ASSERT_GE(blocks["joint"].size(), 2u);  // the values, then the notes of the refinement

    std::vector<std::vector<long double>> truth;
    for (const std::string& line : split(fileText(seriesFolder + "/true-parameters.txt"), '\n'))
        if (!line.empty() && line[0] != '#')
            truth.push_back(quantities(split(line, '\t'), 1));
    ASSERT_EQ(truth.size(), 5u);

    // Each specimen: E, fct and a within 2 %, the slope of the gentle branch within 5 %.
    std::vector<std::vector<long double>> fitted;
    for (size_t i = 0; i < 5; ++i) {
        const std::vector<std::string> grid = split(blocks["specimens"][i], '\t');
        const std::vector<std::string> refined = split(blocks["refined"][i], '\t');
        ASSERT_EQ(grid.size(), 10u);
        ASSERT_EQ(refined.size(), 9u);
        const std::string name = "beam-" + std::to_string(i + 1) + ".txt";
        EXPECT_EQ(grid[0], name);
        EXPECT_EQ(refined[0], name);
        EXPECT_LT(number(refined[8]), number(grid[9]));
        fitted.push_back(quantities(refined, 1));
        for (size_t q : {0, 1, 3})
            EXPECT_NEAR(fitted[i][q] / truth[i][q], 1.0L, 0.02L) << name << " quantity " << q;
        EXPECT_NEAR(fitted[i][5] / truth[i][5], 1.0L, 0.05L) << name;
    }
    // The joint fit lies between the specimens.
    const std::vector<long double> joint = quantities(split(blocks["joint"][0], '\t'), 0);
    for (size_t q : {0, 1, 3, 5}) {
        long double low = fitted[0][q], high = fitted[0][q];
        for (const auto& specimen : fitted) {
            low = std::min(low, specimen[q]);
            high = std::max(high, specimen[q]);
        }
        EXPECT_GT(joint[q], low) << q;
        EXPECT_LT(joint[q], high) << q;
    }

    // The statistics, by their definitions over the refined values (kn = 2,33 for 5).
    EXPECT_EQ(blocks["statistics"][0],
              "veličina\tprůměr\tsměrodatná odchylka\tvariační součinitel\tcharakteristická hodnota");
    const char* names[] = {"E", "fct", "ectm", "a", "b", "S"};
    for (size_t q = 0; q < 6; ++q) {
        const std::vector<std::string> cells = split(blocks["statistics"][q + 1], '\t');
        ASSERT_EQ(cells.size(), 5u);
        EXPECT_EQ(cells[0], names[q]);
        long double mean = 0.0L;
        for (const auto& specimen : fitted)
            mean += specimen[q] / 5.0L;
        long double squares = 0.0L;
        for (const auto& specimen : fitted)
            squares += (specimen[q] - mean) * (specimen[q] - mean);
        const long double deviation = std::sqrt(squares / 4.0L);
        const long double expected[] = {mean, deviation, deviation / mean, mean - 2.33L * deviation};
        for (size_t c = 0; c < 4; ++c)
            EXPECT_NEAR(number(cells[c + 1]) / expected[c], 1.0L, 1e-12L) << names[q] << " column " << c + 1;
    }
}

TEST(Series, OfOneSpecimenIsTheSingleAnalysisAndSaysWhyItHasNoCharacteristicValues)
{
    const std::string folder = std::string(PRUREZ_EXAMPLES_DIR) + "/synthetic";
    const BatchRun single = runBatch("inverse synthetic.input --refine --blocks best,refined", "", folder);
    const BatchRun series = runBatch("series synthetic.input", "", folder);
    ASSERT_EQ(single.status, 0) << single.err;
    ASSERT_EQ(series.status, 0) << series.err;
    auto one = blocksOf(single.out);
    auto all = blocksOf(series.out);
    const std::vector<std::string> sums = split(one["refined"][1], '\t');
    ASSERT_EQ(sums.size(), 2u);
    EXPECT_EQ(all["specimens"], std::vector<std::string>{"synthetic-beam.txt\t" + one["best"][0] + '\t' + sums[0]});
    EXPECT_EQ(all["refined"], std::vector<std::string>{"synthetic-beam.txt\t" + one["refined"][0] + '\t' + sums[1]});
    std::vector<std::string> joint{one["refined"][0] + '\t' + sums[1]};
    joint.insert(joint.end(), one["refined"].begin() + 2, one["refined"].end());
    EXPECT_EQ(all["joint"], joint);

    // One value: its mean, nothing else, and the line saying why.
    const std::vector<std::string>& statistics = all["statistics"];
    ASSERT_EQ(statistics.size(), 8u);
    EXPECT_EQ(statistics[1], "E\t" + split(one["refined"][0], '\t')[0] + "\t\t\t");
    EXPECT_EQ(statistics[7], "Charakteristické hodnoty se stanoví nejméně ze tří zkoušek; série má jen 1 zkoušku.");
}

TEST(Series, JointFitIsTheSmallestSumOfTheSpecimensOwnSums)
{
    // A specimen named twice shares its moments with its first naming.
    std::istringstream text(fileText(seriesFolder + "/series.input"));
    SeriesInput input = seriesInputOf(InputFile::parse(text), seriesFolder + "/series.input");
    input.specimens = {input.specimens[0], input.specimens[3], input.specimens[0]};
    TestSeries series(',');
    std::vector<long long> reported;
    RunOptions options;
    options.progress = [&](long long done, long long total) {
        reported.push_back(done);
        return done <= total;
    };
    ASSERT_EQ(series.run(input, options), Completion::finished);
    ASSERT_TRUE(std::is_sorted(reported.begin(), reported.end()));

    // The same sums, each specimen analysed on its own.
    std::vector<long double> sums;
    std::vector<InverseAnalysis> sessions;
    for (size_t i = 0; i < 3; ++i) {
        InverseInput one = input.common;
        one.testFile = input.specimens[i].path;
        one.testFileGiven = true;
        sessions.emplace_back(',');
        ASSERT_EQ(sessions[i].run(one, InverseAnalysis::Step::deviations), Completion::finished);
        const TableTexts& list = sessions[i].deviationList();
        sums.resize(static_cast<size_t>(list.rowCount()), 0.0L);
        for (int row = 1; row < list.rowCount(); ++row)
            sums[static_cast<size_t>(row)] += number(list.cell(1, row));
        EXPECT_EQ(series.specimen(static_cast<int>(i)).best.sum,
                  list.cell(1, series.specimen(static_cast<int>(i)).best.combination));
    }
    EXPECT_EQ(series.specimen(2).refined.texts, series.specimen(0).refined.texts);
    const auto smallest = std::min_element(sums.begin() + 1, sums.end());
    ASSERT_TRUE(series.jointBest());
    EXPECT_EQ(series.jointBest()->combination, smallest - sums.begin());
    EXPECT_EQ(series.jointBest()->sum, formatNumber(*smallest, ','));

    // Values typed as every range (n = 0): each specimen's own summed deviation, added
    // up. At the joint refined values that is the joint sum reported, and it is smaller
    // than at any specimen's own refined values.
    auto sumAt = [&](const std::array<std::string, 7>& texts) {
        long double sum = 0.0L;
        for (size_t i = 0; i < 3; ++i) {
            InverseInput one = input.common;
            one.testFile = input.specimens[i].path;
            one.testFileGiven = true;
            CombinationTexts& c = one.combinations;
            for (auto [range, index] : {std::pair{&c.E, 0}, {&c.fct, 2}, {&c.ectm, 4}, {&c.a, 5}, {&c.b, 6}})
                *range = {texts[static_cast<size_t>(index)], texts[static_cast<size_t>(index)]};
            c.intermediateCount = "0";
            InverseAnalysis session(',');
            session.run(one, InverseAnalysis::Step::deviations);
            sum += number(session.deviationList().cell(1, 1));
        }
        return sum;
    };
    const RefinedFit& joint = *series.jointRefined();
    EXPECT_EQ(joint.gridSum, series.jointBest()->sum);
    const long double jointSum = sumAt(joint.texts);
    EXPECT_EQ(joint.refinedSum, formatNumber(jointSum, ','));
    for (int i = 0; i < 2; ++i)
        EXPECT_LT(jointSum, sumAt(series.specimen(i).refined.texts)) << i;

    // Stopped: cancelled, the series as it was.
    const std::string tableBefore = [&] {
        std::ostringstream out;
        series.statisticsTable().writeTsv(out);
        return out.str();
    }();
    RunOptions stopping;
    stopping.progress = [](long long done, long long) { return done < 500; };
    input.specimens.pop_back();
    EXPECT_EQ(series.run(input, stopping), Completion::cancelled);
    EXPECT_EQ(series.specimenCount(), 3);
    std::ostringstream after;
    series.statisticsTable().writeTsv(after);
    EXPECT_EQ(after.str(), tableBefore);
}

TEST(SeriesStatistics, FractileFactorFromItsTableAndTheSampleStatistics)
{
    EXPECT_FALSE(fractileFactor(2));
    EXPECT_EQ(*fractileFactor(3), 3.37L);
    EXPECT_EQ(*fractileFactor(8), 2.00L);
    EXPECT_EQ(*fractileFactor(30), 1.73L);
    // Between the tabulated n linearly in 1/n, towards 1,64 for n = ∞.
    EXPECT_NEAR(*fractileFactor(7), 2.00L + 0.18L * (1.0L / 7 - 1.0L / 8) / (1.0L / 6 - 1.0L / 8), 1e-15L);
    EXPECT_NEAR(*fractileFactor(15), 1.92L - 0.16L * (1.0L / 10 - 1.0L / 15) / (1.0L / 10 - 1.0L / 20), 1e-15L);
    EXPECT_NEAR(*fractileFactor(40), 1.7075L, 1e-15L);
    EXPECT_NEAR(*fractileFactor(100000), 1.64L, 1e-4L);

    const SampleStatistics three = sampleStatistics({1.0L, 2.0L, 3.0L});
    EXPECT_EQ(*three.mean, 2.0L);
    EXPECT_EQ(*three.standardDeviation, 1.0L);
    EXPECT_EQ(*three.variation, 0.5L);
    EXPECT_NEAR(*three.characteristic, 2.0L * (1.0L - 3.37L * 0.5L), 1e-18L);
    const SampleStatistics two = sampleStatistics({4.0L, 6.0L});
    EXPECT_EQ(*two.standardDeviation, std::sqrt(2.0L));
    EXPECT_FALSE(two.characteristic);
    const SampleStatistics negative = sampleStatistics({-1.0L, -2.0L, -3.0L});
    EXPECT_TRUE(negative.standardDeviation);
    EXPECT_FALSE(negative.variation);
    EXPECT_FALSE(sampleStatistics({1.0L, NAN, 2.0L}).mean);
}

TEST(Series, InputNamesEachSpecimenAndAFailureNamesItsSpecimen)
{
    const std::string text = "test_file = a.txt\ntest_file = sub/b.txt\nE_test = 30000\nn = 1\n";
    std::istringstream in(text);
    const InputFile file = InputFile::parse(in);
    const SeriesInput series = readSeriesInput(file);
    ASSERT_EQ(series.specimens.size(), 2u);
    EXPECT_EQ(series.specimens[1].name, "sub/b.txt");
    EXPECT_EQ(series.common.test.E, "30000");
    std::istringstream saved(writeSeriesInput(series, ','));
    const SeriesInput again = readSeriesInput(InputFile::parse(saved));
    EXPECT_EQ(again.specimens[1].path, "sub/b.txt");
    EXPECT_NE(writeSeriesInput(series, ',').find("prurez-batch series SOUBOR --decimal ,"), std::string::npos);
    try {
        readInverseInput(file);
        ADD_FAILURE() << "two test files read as one analysis";
    } catch (const InputFileError& error) {
        EXPECT_NE(std::string(error.what()).find("prurez-batch series"), std::string::npos) << error.what();
    }

    std::string input = fileText(seriesFolder + "/series.input");
    input.replace(input.find("beam-4.txt"), 10, "missing.txt");
    const BatchRun run = runBatch("series - --decimal ,", input, seriesFolder);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "Zkouška „missing.txt“: File not found\n");
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(runBatch("inverse series.input", "", seriesFolder).status, 2);
}
