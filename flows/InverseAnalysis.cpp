// The inverse analysis session of the interface (prurez/InverseAnalysis.h): the flows
// of its windows' handlers in one object that holds what they show and hand on.

#include "flows/InverseState.h"

#include "common/FloatingPoint.h"
#include "common/NumberText.h"
#include "common/WorkControl.h"
#include "flows/InverseMessages.h"
#include "flows/RefinementFlow.h"
#include "flows/Refusals.h"
#include "mechanics/MomentAtCurvature.h"
#include "mechanics/Refinement.h"

#include <utility>

namespace prurez {

InverseState& stateOf(InverseAnalysis& session) { return *session.state_; }

void setInputFields(InverseFields& fields, const InverseInput& input)
{
    fields.test = input.test;
    fields.combinations = input.combinations;
    fields.beam.height = input.height;
    fields.beam.width = input.width;
    fields.exactEquilibrium = input.exactEquilibrium;
}

void getInputFields(InverseInput& input, const InverseFields& fields)
{
    input.test = fields.test;
    input.combinations = fields.combinations;
    input.height = fields.beam.height;
    input.width = fields.beam.width;
    input.exactEquilibrium = fields.exactEquilibrium;
}

InverseAnalysis::InverseAnalysis(char decimalSeparator) : state_(std::make_unique<InverseState>())
{
    state_->separator = decimalSeparator;
}

InverseAnalysis::~InverseAnalysis() = default;
InverseAnalysis::InverseAnalysis(InverseAnalysis&&) noexcept = default;
InverseAnalysis& InverseAnalysis::operator=(InverseAnalysis&&) noexcept = default;

char InverseAnalysis::decimalSeparator() const { return state_->separator; }

InverseFields& InverseAnalysis::fields() { return state_->fields; }

const InverseFields& InverseAnalysis::fields() const { return state_->fields; }

// ---- the test points

std::optional<int> InverseAnalysis::setTestPointCount()
{
    const CallerFloatingPoint caller;
    return prurez::setTestPointCount(state_->fields.beam.pointCount, state_->tables.testPoints);
}

void InverseAnalysis::setTestPoint(int point, const TestPointTexts& texts)
{
    if (point < 1 || point > maximumTestPointCount)
        throw refusal(Reason::tooManyTestPoints);
    state_->tables.testPoints.setCell(0, point, texts.force);
    state_->tables.testPoints.setCell(1, point, texts.deflection);
}

int InverseAnalysis::readTestFile(const std::string& fileName) { return readTestData(testDataFileContent(fileName)); }

int InverseAnalysis::readTestData(const std::string& content)
{
    const CallerFloatingPoint caller;
    const int count = prurez::readTestData(content, state_->tables.testPoints, state_->separator);
    state_->fields.beam.pointCount = formatInteger(count);
    return count;
}

// ---- the test's moment–curvature

void InverseAnalysis::copyTestPoints() { prurez::copyTestPoints(state_->tables.testPoints, state_->tables.testDiagram); }

void InverseAnalysis::computeTestDiagram(const std::function<void()>& afterTestValues)
{
    const CallerFloatingPoint caller;
    prurez::computeTestDiagram(state_->fields.test, state_->tables.testDiagram, state_->testCurve, state_->separator,
                               afterTestValues);
}

// ---- the grid

void InverseAnalysis::generateCombinations()
{
    const CallerFloatingPoint caller;
    InverseState& s = *state_;
    prurez::generateCombinations(s.fields.combinations, s.tables.values, s.tables.combinations, s.separator);
    s.generatedRanges = s.fields.combinations;
}

namespace {

// The moments of every combination, kept up to `keptMomentLimit` of them.
Completion computeMomentsOf(InverseState& s, const RunOptions& options, long long keptMomentLimit)
{
    // Computed into a table of its own: a stop leaves the moments as they were, and so
    // does a failure before the table was sized (a bad field, a refusal).
    bool started = false;
    WorkControl work([&](long long done, long long total) {
        started = true;
        return !options.progress || options.progress(done, total);
    });
    MomentRunControl control;
    control.work = &work;
    control.threads = options.threads;
    control.scan.exhaustiveScan = options.exhaustiveScan;
    control.scan.exactEquilibrium = options.exactEquilibrium || s.fields.exactEquilibrium;
    control.keptMomentLimit = keptMomentLimit;
    MomentTable computed(s.tables.moments.columnCount(), s.tables.moments.rowCount());
    try {
        prurez::computeCombinationMoments(s.fields.beam, s.tables.testDiagram, s.tables.combinations, computed,
                                          s.separator, control);
    } catch (const Cancelled&) {
        return Completion::cancelled;
    } catch (...) {
        if (started)
            s.tables.moments = std::move(computed);
        throw;
    }
    s.tables.moments = std::move(computed);
    // The deviations, the best fit and its refinement of earlier moments are gone.
    s.tables.deviations = InverseTables().deviations;
    s.best.reset();
    s.refined.reset();
    s.comparedTestCurve.clear();
    s.combinationCurve.clear();
    s.refinedCurve.clear();
    return Completion::finished;
}

}  // namespace

Completion InverseAnalysis::computeMoments(const RunOptions& options)
{
    const CallerFloatingPoint caller;
    return computeMomentsOf(*state_, options, defaultKeptMomentLimit);
}

Completion InverseAnalysis::computeDeviations(const RunOptions& options)
{
    const CallerFloatingPoint caller;
    InverseState& s = *state_;
    // Computed into a table of their own: a stop leaves the deviations as they were; a
    // failure keeps what was written before it.
    WorkControl work(options.progress);
    RowRunControl control;
    control.work = &work;
    control.threads = options.threads;
    DeviationTable computed = s.tables.deviations;
    try {
        prurez::computeDeviations(s.fields.beam.pointCount, s.tables.moments, s.tables.testDiagram,
                                  s.tables.combinations, computed, s.separator, control);
    } catch (const Cancelled&) {
        return Completion::cancelled;
    } catch (...) {
        s.tables.deviations = std::move(computed);
        throw;
    }
    s.tables.deviations = std::move(computed);
    return Completion::finished;
}

void InverseAnalysis::fillDeviationList()
{
    prurez::fillDeviationList(state_->tables.combinations, state_->tables.deviations, state_->tables.deviationList);
}

const BestFit& InverseAnalysis::findBestFit()
{
    const CallerFloatingPoint caller;
    InverseState& s = *state_;
    LineSeries testCurve;
    LineSeries combinationCurve;
    const BestFit fit = prurez::findBestFit(s.fields.beam.pointCount, s.tables.deviationList, s.tables.combinations,
                                            s.tables.testDiagram, s.tables.moments, testCurve, combinationCurve,
                                            s.separator);
    s.best = fit;
    s.comparedTestCurve = std::move(testCurve);
    s.combinationCurve = std::move(combinationCurve);
    // A refinement of an earlier best fit is gone.
    s.refined.reset();
    s.refinedCurve.clear();
    return *s.best;
}

Completion InverseAnalysis::computeBestFit(const RunOptions& options)
{
    const CallerFloatingPoint caller;
    // The moments find the deviations from the test on the way: the press of
    // "Spočítej odchylky" that follows takes them as they are.
    if (computeMomentsOf(*state_, options, 0) == Completion::cancelled)
        return Completion::cancelled;
    if (computeDeviations(RunOptions()) == Completion::cancelled)
        return Completion::cancelled;
    fillDeviationList();
    findBestFit();
    return Completion::finished;
}

Completion InverseAnalysis::refine(const RunOptions& options)
{
    const CallerFloatingPoint caller;
    InverseState& s = *state_;
    WorkControl work(options.progress);
    RefinementRunControl control;
    control.scan.exhaustiveScan = options.exhaustiveScan;
    control.scan.exactEquilibrium = options.exactEquilibrium || s.fields.exactEquilibrium;
    control.scan.work = &work;
    RefinedFit fit;
    try {
        fit = refineBestFit(s.fields.beam, s.tables.testDiagram, s.tables.combinations,
                            s.best ? s.best->combination : 0, s.generatedRanges, s.separator, control);
    } catch (const Cancelled&) {
        return Completion::cancelled;
    }
    // The refined moments at the test curvatures, from the origin as the other curves.
    s.refinedCurve = fitCurve(fit, s.separator, colourGreen);
    s.refined = std::move(fit);
    return Completion::finished;
}

// ---- the whole road

Completion InverseAnalysis::run(const InverseInput& input, Step last, const RunOptions& options, Tables tables)
{
    const CallerFloatingPoint caller;
    const char separator = state_->separator;
    *state_ = InverseState();
    state_->separator = separator;
    InverseState& s = *state_;
    setInputFields(s.fields, input);
    if (input.testFileGiven || !input.testFile.empty()) {
        readTestFile(input.testFile);
    } else if (!input.points.empty()) {
        s.fields.beam.pointCount = formatInteger(static_cast<long long>(input.points.size()));
        setTestPointCount();
        for (size_t i = 0; i < input.points.size(); ++i)
            setTestPoint(static_cast<int>(i) + 1, input.points[i]);
    }
    copyTestPoints();
    computeTestDiagram();
    if (last == Step::testDiagram)
        return Completion::finished;
    generateCombinations();
    if (last == Step::combinations)
        return Completion::finished;

    // The moments, the deviations and the refinement as one piece of work.
    const long long rows = s.tables.combinations.rowCount() - 1;
    const long long total = 2 * rows + (last == Step::refinement ? refinementStepCount : 0);
    auto stage = [&](long long before) { return stagedOptions(options, before, total); };
    auto finished = [&] {
        if (options.progress)
            options.progress(total, total);
        return Completion::finished;
    };
    if (tables == Tables::notKept && last >= Step::bestFit) {
        // One pass for the moments and the deviations, told as both.
        RunOptions streamed = options;
        if (options.progress)
            streamed.progress = [&options, total](long long done, long long) {
                return options.progress(2 * done, total);
            };
        if (computeBestFit(streamed) == Completion::cancelled)
            return Completion::cancelled;
        if (last == Step::bestFit)
            return finished();
        if (refine(stage(2 * rows)) == Completion::cancelled)
            return Completion::cancelled;
        return finished();
    }
    if (computeMoments(stage(0)) == Completion::cancelled)
        return Completion::cancelled;
    if (last == Step::moments)
        return finished();
    if (computeDeviations(stage(rows)) == Completion::cancelled)
        return Completion::cancelled;
    fillDeviationList();
    if (last == Step::deviations)
        return finished();
    findBestFit();
    if (last == Step::bestFit)
        return finished();
    if (refine(stage(2 * rows)) == Completion::cancelled)
        return Completion::cancelled;
    return finished();
}

// ---- what the session holds

const TableTexts& InverseAnalysis::testPoints() const { return state_->tables.testPoints; }
const TableTexts& InverseAnalysis::testDiagram() const { return state_->tables.testDiagram; }
const TableTexts& InverseAnalysis::values() const { return state_->tables.values; }
const TableTexts& InverseAnalysis::combinations() const { return state_->tables.combinations; }
const TableTexts& InverseAnalysis::moments() const { return state_->tables.moments; }
const TableTexts& InverseAnalysis::deviations() const { return state_->tables.deviations; }
const TableTexts& InverseAnalysis::deviationList() const { return state_->tables.deviationList; }
const std::optional<BestFit>& InverseAnalysis::bestFit() const { return state_->best; }
const std::optional<RefinedFit>& InverseAnalysis::refinedFit() const { return state_->refined; }

FibreLaw InverseAnalysis::lawOf(const std::array<std::string, 7>& texts) const
{
    const CallerFloatingPoint caller;
    std::array<long double, 7> values{};
    for (size_t i = 0; i < texts.size(); ++i)
        values[i] = parseNumber(texts[i], state_->separator);
    checkFloatingPointFaults();
    FibreLaw law;
    law.E = values[0];
    law.fcp = values[1];
    law.fct = values[2];
    law.epsCu = values[3] * 0.01L;
    law.epsTu = values[4] * 0.01L;
    law.a = values[5];
    law.b = values[6];
    return law;
}

// ---- one moment

std::optional<long double> fibreMomentAtCurvature(const FibreBeam& beam, const FibreLaw& law, long double kappa,
                                                  const RunOptions& options)
{
    const CallerFloatingPoint caller;
    if (!(beam.width > 0.0L) || !(beam.height > 0.0L))
        throw refusal(Reason::dimensionsNotPositive);
    if (!(kappa >= 0.0L))
        throw refusal(Reason::curvatureNegative);
    const BeamSection section{Single(beam.width), Single(beam.height)};
    FibreParameters parameters;
    parameters.E = law.E;
    parameters.fcp = law.fcp;
    parameters.fct = law.fct;
    parameters.a = Single(law.a);
    parameters.b = Single(law.b);
    parameters.epsTu = law.epsTu;
    const Single curvature(kappa);
    checkFloatingPointFaults();  // a value beyond the single range
    ScanOptions scan;
    scan.exhaustiveScan = options.exhaustiveScan;
    scan.exactEquilibrium = options.exactEquilibrium;
    const std::optional<long double> moment = MomentAtCurvature(section, parameters, curvature, scan);
    checkFloatingPointFaults();
    if (!moment)
        return std::nullopt;
    return *moment / 1000.0L;  // kNm to MNm
}

}  // namespace prurez
