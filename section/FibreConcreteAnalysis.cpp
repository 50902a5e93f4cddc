// The moment–curvature analysis of a steel-fibre-reinforced concrete rectangle.

#include "common/CellText.h"
#include "common/Failure.h"
#include "common/FixedPoint.h"
#include "common/FloatingPoint.h"
#include "common/NumberText.h"
#include "section/FibreConcreteLaw.h"
#include "section/NeutralAxisSearch.h"
#include "section/SectionAnalysis.h"
#include "section/SectionMessages.h"
#include "section/SectionRun.h"

#include <cmath>
#include <optional>

namespace prurez {

namespace {

using namespace sectionRun;

// Whether N [kN, fixed-point] balances FT + FP [MN] within 1 kN, rounded as the
// fixed-point residual: r = (N·0.001 − (FT + FP)) in MN, then |r| in kN.
bool balances(Fixed N, const FibreTrial& trial)
{
    const Fixed r = Fixed::store(N.value() * 0.001L - (trial.tension.force + trial.compression.force));
    const Fixed q = Fixed::store(std::fabs(r.value()) * 1000.0L);
    return std::trunc(q.value()) == 0.0L;
}

// The neutral-axis scan of one curvature: trial positions from mid-height upwards,
// each 5 µm above the last, up to half a step beyond the compressed face. Returns the first trial that
// balances, none when no position in the section does.
std::optional<FibreTrial> scanNeutralAxis(const FibreConcreteLaw& law, long double w, long double h, Fixed N,
                                          long double kappa, bool exhaustiveScan)
{
    if (!exhaustiveScan) {
        const std::vector<long double>* positions = scanPositions(h / 2.0L + scanStep, scanStep, -0.5L * scanStep, true);
        FibreTrial trial;
        const ScanPlan plan = fibreScanPlan(law, w, h, kappa, N.value() * 0.001L, positions);
        const SearchResult found = searchFirstPassing(plan, [&](int i) {
            trial = fibreTrial(law, w, h, kappa, (*positions)[i]);
            return ScanVerdict{balances(N, trial), trial.tension.force + trial.compression.force};
        });
        if (found.end == SearchResult::found)
            return trial;
        if (found.end == SearchResult::noBalance)
            return std::nullopt;
    }
    long double x = h / 2.0L + scanStep;
    for (;;) {
        x = x - scanStep;
        if (x < -0.5L * scanStep)
            return std::nullopt;
        const FibreTrial trial = fibreTrial(law, w, h, kappa, x);
        checkFloatingPointFaults();
        if (balances(N, trial))
            return trial;
    }
}

}  // namespace

SectionOutcome fibreConcreteAnalysis(const SectionFields& fields, char separator, GridTable& table,
                                     const SectionRunOptions& options)
{
    if (fields.RadioGroup2 != 0 && fields.RadioGroup2 != 1)
        throw Failure(sectionMessages::noShape);
    clearFloatingPointFaults();

    const long double a = single(parseNumber(fields.Edit6, separator));
    const long double b = single(parseNumber(fields.Edit7, separator));
    const Fixed E = Fixed::store(parseNumber(fields.Edit3, separator));
    const long double ecpm = parseNumber(fields.Edit4, separator);
    const long double ectm = parseNumber(fields.Edit5, separator);
    const Fixed fcp = Fixed::store(parseNumber(fields.Edit1, separator));
    const Fixed fct = Fixed::store(parseNumber(fields.Edit2, separator));
    const long double w = single(parseNumber(fields.Edit13, separator));
    const long double h = single(parseNumber(fields.RadioGroup2 == 0 ? fields.Edit13 : fields.Edit14, separator));
    const Fixed N = Fixed::store(parseNumber(fields.Edit17, separator));
    if (!(w > 0.0L && h > 0.0L))
        throw Failure(sectionMessages::dimensionsNotPositive);

    prepareTable(table, 11, 55, concreteHeaders);

    const FibreConcreteLaw law = sectionFibreLaw(E, fcp, fct, a, b, ectm * 0.01L);
    const long double ecu = ecpm * 0.01L;
    checkFloatingPointFaults();
    const long double step = single(parseNumber(fields.ComboBox1, separator));
    if (!(step > 0.0L))
        throw Failure(sectionMessages::stepNotPositive);

    long double kappa = -step;
    int i = 0;
    FibreTrial trial;
    for (;;) {
        if (i == lastStepIndex)
            return stopWithRows(table, i + 1, concreteSizes, sectionMessages::tooManySteps);
        kappa = kappa + step;
        i = i + 1;
        const std::optional<FibreTrial> found = scanNeutralAxis(law, w, h, N, kappa, options.exhaustiveScan);
        if (!found)
            return stopWithRows(table, i, concreteSizes, noEquilibriumMessage(kappa, separator));
        trial = *found;
        const long double FP = trial.compression.force;
        const long double FT = trial.tension.force;
        const long double M = -FP * single(trial.compression.arm + trial.tension.arm);

        writeNumber(table, 0, i, kappa, separator);
        writeNumber(table, 1, i, M, separator);
        writeFixed(table, 2, i, Fixed::store(trial.x), separator);
        writeFixed(table, 3, i, Fixed::store(-trial.compression.faceStress), separator);
        writeFixed(table, 4, i, Fixed::store(trial.tension.faceStress), separator);
        writeNumber(table, 5, i, trial.epsh, separator);
        writeNumber(table, 6, i, trial.epsd, separator);
        writeNumber(table, 7, i, FT, separator);
        writeNumber(table, 8, i, FP, separator);

        if (trial.epsd > law.etu || trial.epsh > ecu)
            break;
    }

    if (trial.epsd > law.etu) {
        writeEndRow(table, i, kappa, 6, "bet.roztržen", separator);
        sizeTable(table, i + 1, concreteSizes);
    }
    if (trial.epsh > ecu) {
        writeEndRow(table, i, kappa, 5, "bet.rozdrcen", separator);
        sizeTable(table, i + 1, concreteSizes);
    }
    return finishedRun();
}

}  // namespace prurez
