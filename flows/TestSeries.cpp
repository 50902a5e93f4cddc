// A test series (prurez/Series.h): an inverse analysis session per specimen over one
// grid, the joint fit through the refinement of several tests, and the statistics.

#include "flows/SeriesState.h"

#include "common/Failure.h"
#include "common/FloatingPoint.h"
#include "common/NumberText.h"
#include "common/WorkControl.h"
#include "flows/InverseState.h"
#include "flows/RefinementFlow.h"
#include "flows/Refusals.h"
#include "flows/SeriesMessages.h"
#include "mechanics/Deviations.h"
#include "mechanics/Refinement.h"
#include "mechanics/SeriesStatistics.h"

#include <cmath>
#include <limits>
#include <map>
#include <utility>

namespace prurez {

SeriesState& stateOf(TestSeries& series) { return *series.state_; }

TestSeries::TestSeries(char decimalSeparator) : state_(std::make_unique<SeriesState>())
{
    state_->separator = decimalSeparator;
}

TestSeries::~TestSeries() = default;
TestSeries::TestSeries(TestSeries&&) noexcept = default;
TestSeries& TestSeries::operator=(TestSeries&&) noexcept = default;

char TestSeries::decimalSeparator() const { return state_->separator; }

namespace {

struct SpecimenRun {
    std::string name;
    InverseInput input;
};

// The specimens of an input: one for each file, or the input's own test points.
std::vector<SpecimenRun> specimenRuns(const SeriesInput& input)
{
    std::vector<SpecimenRun> runs;
    for (const SpecimenFile& file : input.specimens) {
        InverseInput one = input.common;
        one.testFile = file.path;
        one.testFileGiven = true;
        one.points.clear();
        runs.push_back({file.name, std::move(one)});
    }
    if (runs.empty()) {
        const bool fromFile = input.common.testFileGiven || !input.common.testFile.empty();
        runs.push_back({fromFile ? input.common.testFile : typedPointsSpecimenName, input.common});
    }
    return runs;
}

// What the moments of the combinations read of a specimen's test: its point count and
// its curvatures as texts. Specimens with the same key have the same moment table.
std::string curvatureKey(const InverseAnalysis& session)
{
    const TableTexts& diagram = session.testDiagram();
    std::string key = session.fields().beam.pointCount + '\n' + std::to_string(diagram.rowCount()) + '\n';
    for (int row = 1; row < diagram.rowCount(); ++row)
        key += diagram.cell(2, row) + '\n';
    return key;
}

// Runs a step of a specimen; its failure, in a series of several, names the specimen.
template <typename Step>
auto specimenStep(const std::string& name, bool several, Step step) -> decltype(step())
{
    try {
        return step();
    } catch (const Failure& failure) {
        if (!several)
            throw;
        throw Failure(failure.reason(), specimenFailureMessage(name, failure.message()));
    }
}

// ---- statistics

constexpr size_t quantityCount = 6;
const std::array<const char*, quantityCount> quantityNames{"E", "fct", "ectm", "a", "b", "S"};

// E, fct, ectm, a, b and the slope S of one specimen's refined texts.
std::array<long double, quantityCount> quantitiesOf(const std::array<std::string, 7>& texts, char separator)
{
    const long double fcp = parseNumber(texts[1], separator);
    const FitValues values{parseNumber(texts[0], separator), parseNumber(texts[2], separator),
                           parseNumber(texts[4], separator), parseNumber(texts[5], separator),
                           parseNumber(texts[6], separator)};
    clearFloatingPointFaults();
    long double slope = gentleSlope(fibreParametersOf(fcp, values));
    if (FaultFlags::faultRaised() || !std::isfinite(slope))
        slope = std::numeric_limits<long double>::quiet_NaN();  // no slope: no statistics of it
    clearFloatingPointFaults();
    return {values[fitE], values[fitFct], values[fitEctm], values[fitA], values[fitB], slope};
}

std::string textOf(const std::optional<long double>& value, char separator)
{
    return value ? formatNumber(*value, separator) : std::string();
}

SeriesStatistics seriesStatistics(const std::vector<SeriesSpecimen>& specimens, char separator)
{
    SeriesStatistics result;
    const int count = static_cast<int>(specimens.size());
    result.specimenCount = count;
    std::array<std::vector<long double>, quantityCount> samples;
    for (const SeriesSpecimen& specimen : specimens) {
        const auto values = quantitiesOf(specimen.fit.refined.texts, separator);
        for (size_t q = 0; q < quantityCount; ++q)
            samples[q].push_back(values[q]);
    }
    result.fractileFactor = textOf(fractileFactor(count), separator);
    for (size_t q = 0; q < quantityCount; ++q) {
        const SampleStatistics statistics = sampleStatistics(samples[q]);
        QuantityStatistics& shown = result.quantities[q];
        shown.name = quantityNames[q];
        shown.mean = textOf(statistics.mean, separator);
        shown.standardDeviation = textOf(statistics.standardDeviation, separator);
        shown.variation = textOf(statistics.variation, separator);
        shown.characteristic = textOf(statistics.characteristic, separator);
    }
    result.method = characteristicMethodText(result.fractileFactor, count, separator);
    if (count < fewestCharacteristicSpecimens)
        result.notes.push_back(tooFewForCharacteristicMessage(count));
    return result;
}

// ---- tables

void writeRow(GridTable& table, int row, const std::vector<std::string>& cells)
{
    for (size_t column = 0; column < cells.size(); ++column)
        table.setCell(static_cast<int>(column), row, cells[column]);
}

void fillTables(SeriesState& state, const TableTexts& combinations, const std::string& sumHeader)
{
    std::vector<std::string> parameterHeaders;  // E … b as the combination table heads them
    for (int column = 1; column <= 7; ++column)
        parameterHeaders.push_back(combinations.cell(column, 0));
    const int count = static_cast<int>(state.specimens.size());

    auto headed = [&](std::vector<std::string> first, bool withCombination) {
        if (withCombination)
            first.push_back(combinations.cell(0, 0));
        first.insert(first.end(), parameterHeaders.begin(), parameterHeaders.end());
        first.push_back(sumHeader);
        return first;
    };
    state.specimenTable = GridTable(10, count + 1);
    state.refinedTable = GridTable(9, count + 1);
    writeRow(state.specimenTable, 0, headed({specimenHeader}, true));
    writeRow(state.refinedTable, 0, headed({specimenHeader}, false));
    for (int i = 0; i < count; ++i) {
        const SpecimenFit& fit = state.specimens[static_cast<size_t>(i)].fit;
        std::vector<std::string> best{fit.name, formatInteger(fit.best.combination)};
        best.insert(best.end(), fit.best.texts.begin(), fit.best.texts.end());
        best.push_back(fit.best.sum);
        writeRow(state.specimenTable, i + 1, best);
        std::vector<std::string> refined{fit.name};
        refined.insert(refined.end(), fit.refined.texts.begin(), fit.refined.texts.end());
        refined.push_back(fit.refined.refinedSum);
        writeRow(state.refinedTable, i + 1, refined);
    }

    state.jointTable = GridTable(8, 2);
    writeRow(state.jointTable, 0, headed({}, false));
    std::vector<std::string> joint(state.jointRefined->texts.begin(), state.jointRefined->texts.end());
    joint.push_back(state.jointRefined->refinedSum);
    writeRow(state.jointTable, 1, joint);

    state.statisticsTable = GridTable(5, static_cast<int>(quantityCount) + 1);
    writeRow(state.statisticsTable, 0, {statisticsHeaders.begin(), statisticsHeaders.end()});
    for (size_t q = 0; q < quantityCount; ++q) {
        const QuantityStatistics& s = state.statistics.quantities[q];
        writeRow(state.statisticsTable, static_cast<int>(q) + 1,
                 {s.name, s.mean, s.standardDeviation, s.variation, s.characteristic});
    }
}

}  // namespace

Completion TestSeries::run(const SeriesInput& input, const RunOptions& options)
{
    const CallerFloatingPoint caller;
    SeriesState next;
    const char separator = state_->separator;
    next.separator = separator;
    const std::vector<SpecimenRun> runs = specimenRuns(input);
    const bool several = runs.size() > 1;

    // The fields every specimen shares, read once (a failure there is no specimen's):
    // the bending test's values, the ranges and n; this session keeps the grid.
    InverseAnalysis grid(separator);
    setInputFields(grid.fields(), input.common);
    grid.setTestPointCount();  // no points
    grid.copyTestPoints();
    grid.computeTestDiagram();
    grid.generateCombinations();
    const long long rows = grid.combinations().rowCount() - 1;

    // The whole work: each specimen's moments, deviations and refinement, then the joint
    // refinement.
    const long long perSpecimen = 2 * rows + refinementStepCount;
    const long long total = static_cast<long long>(runs.size()) * perSpecimen + refinementStepCount;
    auto staged = [&](long long before) { return stagedOptions(options, before, total); };

    // Every specimen's test; those with the same curvatures share the grid's moments.
    next.specimens.resize(runs.size());
    std::vector<std::string> keys;
    std::map<std::string, size_t> lastUse;
    for (size_t i = 0; i < runs.size(); ++i) {
        SeriesSpecimen& specimen = next.specimens[i];
        specimen.fit.name = runs[i].name;
        specimen.session = InverseAnalysis(separator);
        specimenStep(runs[i].name, several,
                     [&] { return specimen.session.run(runs[i].input, InverseAnalysis::Step::testDiagram); });
        keys.push_back(curvatureKey(specimen.session));
        lastUse[keys.back()] = i;
    }

    std::map<std::string, decltype(InverseTables::moments)> sharedMoments;
    std::vector<long double> jointSums(static_cast<size_t>(rows) + 1, 0.0L);
    std::string sumHeader;
    for (size_t i = 0; i < runs.size(); ++i) {
        SeriesSpecimen& specimen = next.specimens[i];
        InverseAnalysis& session = specimen.session;
        InverseState& state = stateOf(session);
        const long long before = static_cast<long long>(i) * perSpecimen;
        const Completion completion = specimenStep(runs[i].name, several, [&] {
            session.generateCombinations();
            const auto shared = sharedMoments.find(keys[i]);
            if (shared != sharedMoments.end())
                state.tables.moments = shared->second;
            else if (session.computeMoments(staged(before)) == Completion::cancelled)
                return Completion::cancelled;
            if (session.computeDeviations(staged(before + rows)) == Completion::cancelled)
                return Completion::cancelled;
            session.fillDeviationList();
            session.findBestFit();
            return session.refine(staged(before + 2 * rows));
        });
        if (completion == Completion::cancelled)
            return Completion::cancelled;

        // The summed deviations of every combination, added up over the specimens.
        const TableTexts& list = session.deviationList();
        for (long long row = 1; row <= rows; ++row) {
            const auto r = static_cast<size_t>(row);
            jointSums[r] = jointSums[r] + parseNumber(list.cell(1, static_cast<int>(row)), separator);
        }
        if (i == 0)
            sumHeader = list.cell(1, 0);
        specimen.fit.best = *session.bestFit();
        specimen.fit.refined = *session.refinedFit();
        specimen.testCurve = state.testCurve;
        specimen.fittedCurve = fitCurve(specimen.fit.refined, separator, colourBlue);

        // Its grid tables are done with; the moments stay for a later specimen that shares them.
        if (lastUse[keys[i]] > i && sharedMoments.count(keys[i]) == 0)
            sharedMoments.emplace(keys[i], std::move(state.tables.moments));
        if (lastUse[keys[i]] == i)
            sharedMoments.erase(keys[i]);
        const InverseTables empty;
        state.tables.moments = empty.moments;
        state.tables.deviations = empty.deviations;
        state.tables.deviationList = empty.deviationList;
        state.tables.combinations = empty.combinations;
        state.tables.values = empty.values;
    }

    // The joint fit: the smallest sum of the summed deviations, refined against every test.
    clearFloatingPointFaults();
    BestFitSearch search;
    for (long long row = 1; row <= rows; ++row)
        search.offer(static_cast<int>(row), jointSums[static_cast<size_t>(row)]);
    if (search.chosen() == 0)
        throw refusal(Reason::noBestFit);
    checkFloatingPointFaults();
    const TableTexts& combinations = grid.combinations();
    BestFit jointBest;
    jointBest.combination = search.chosen();
    jointBest.texts = combinationTexts(combinations, jointBest.combination);
    jointBest.sum = formatNumber(search.smallest(), separator);
    next.jointBest = jointBest;

    std::vector<FittedTest> tests;
    for (SeriesSpecimen& specimen : next.specimens) {
        InverseState& state = stateOf(specimen.session);
        tests.push_back({&state.fields.beam, &state.tables.testDiagram});
    }
    const RunOptions jointOptions = staged(static_cast<long long>(runs.size()) * perSpecimen);
    WorkControl work(jointOptions.progress);
    RefinementRunControl control;
    control.scan.exhaustiveScan = options.exhaustiveScan;
    control.scan.exactEquilibrium = options.exactEquilibrium || input.common.exactEquilibrium;
    control.scan.work = &work;
    const InverseState& gridState = stateOf(grid);
    try {
        next.jointRefined = refineBestFit(tests, gridState.tables.combinations, jointBest.combination,
                                          gridState.generatedRanges, separator, control);
    } catch (const Cancelled&) {
        return Completion::cancelled;
    }
    next.jointCurve = fitCurve(*next.jointRefined, separator, colourBlue);

    next.statistics = seriesStatistics(next.specimens, separator);
    fillTables(next, combinations, sumHeader);
    *state_ = std::move(next);
    if (options.progress)
        options.progress(total, total);
    return Completion::finished;
}

int TestSeries::specimenCount() const { return static_cast<int>(state_->specimens.size()); }

const SpecimenFit& TestSeries::specimen(int index) const
{
    return state_->specimens.at(static_cast<size_t>(index)).fit;
}

const TableTexts& TestSeries::testDiagram(int index) const
{
    return state_->specimens.at(static_cast<size_t>(index)).session.testDiagram();
}

const std::optional<BestFit>& TestSeries::jointBest() const { return state_->jointBest; }
const std::optional<RefinedFit>& TestSeries::jointRefined() const { return state_->jointRefined; }
const SeriesStatistics& TestSeries::statistics() const { return state_->statistics; }
const TableTexts& TestSeries::specimenTable() const { return state_->specimenTable; }
const TableTexts& TestSeries::refinedTable() const { return state_->refinedTable; }
const TableTexts& TestSeries::jointTable() const { return state_->jointTable; }
const TableTexts& TestSeries::statisticsTable() const { return state_->statisticsTable; }

FibreLaw TestSeries::lawOf(const std::array<std::string, 7>& texts) const
{
    return InverseAnalysis(state_->separator).lawOf(texts);
}

}  // namespace prurez
