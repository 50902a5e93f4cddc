// The working diagram of a plain-concrete section: for curvatures Δκ, 2Δκ, … the
// neutral axis is found by a scan from the top edge, one row per curvature, until the
// top edge is crushed or the bottom edge torn.

#include "common/CellText.h"
#include "common/Failure.h"
#include "section/ConcreteLaws.h"
#include "section/NeutralAxisSearch.h"
#include "section/SectionAnalysis.h"
#include "section/SectionMessages.h"
#include "section/SectionRun.h"

#include <cmath>
#include <cstdint>

namespace prurez {

namespace {

using namespace sectionRun;


struct PlainSection {
    ConcreteProperties concrete;
    int diagramKind = 0;
    long double height = 0;  // single
    Fixed N;                 // axial force [kN], tension positive
};

// One position of the neutral axis at one curvature.
struct PlainTrial {
    long double x = 0;
    long double epsh = 0;
    long double epsd = 0;
    CompressionZone compression;
    TensionZone tension;
    bool balanced = false;
};

PlainTrial evaluateTrial(const PlainSection& section, long double kappa, long double xt)
{
    PlainTrial trial;
    trial.x = section.height - xt;
    trial.epsd = xt * kappa;
    trial.epsh = trial.x * kappa;
    trial.compression = concreteCompression(section.concrete, section.diagramKind, trial.x, kappa, trial.epsh);
    trial.tension = concreteTension(section.concrete, xt, kappa, trial.epsd);
    const long double FT = trial.tension.FT;
    const long double FP = trial.compression.FP;
    // N·10000 in MN is the fixed-point kN value times 0.001.
    const long double residual =
        std::fabs((0.001L * static_cast<long double>(section.N.raw()) - (FT + FP) * 10000.0L) / 10000.0L);
    trial.balanced = balanceAccepted(Fixed::store(residual));
    return trial;
}

void writeRow(GridTable& table, int row, long double kappa, const PlainTrial& trial, char separator)
{
    const long double FP = trial.compression.FP;
    const long double FT = trial.tension.FT;
    const long double M = -(FP * trial.compression.zc) + trial.tension.Mt;
    writeNumber(table, 0, row, kappa, separator);
    writeNumber(table, 1, row, M, separator);
    writeFixed(table, 2, row, Fixed::store(trial.x), separator);
    writeFixed(table, 3, row, trial.compression.sigh, separator);
    writeFixed(table, 4, row, trial.tension.sigd, separator);
    writeNumber(table, 5, row, trial.epsh, separator);
    writeNumber(table, 6, row, trial.epsd, separator);
    writeNumber(table, 7, row, FT, separator);
    writeNumber(table, 8, row, FP, separator);
}

}  // namespace

SectionOutcome plainConcreteAnalysis(const SectionFields& fields, char separator, GridTable& table,
                                     const SectionRunOptions& options)
{
    PlainSection section;
    ConcreteProperties& concrete = section.concrete;
    concrete.grouping = LawGrouping::plainConcrete;
    section.diagramKind = fields.RadioGroup3;

    concrete.E = readFixed(fields.Edit3, separator);
    const long double epsCu = readPercent(fields.Edit4, separator);
    concrete.epsTu = readPercent(fields.Edit5, separator);
    concrete.fcp = readFixed(fields.Edit1, separator);
    concrete.fct = readFixed(fields.Edit2, separator);
    concrete.width = readSingle(fields.Edit13, separator);
    concrete.epsC1 = readPercent(fields.Edit6, separator);
    section.height = readSingle(heightText(fields), separator);
    section.N = readFixed(fields.Edit17, separator);
    checkSectionInputs(concrete.width, section.height, concrete.E, concrete.fcp);

    prepareTable(table, 11, 55, concreteHeaders);
    const char* zeroRow[] = {"  0", "  0", "", " 0", " 0", " 0", " 0", "0", "0"};
    for (int column = 0; column < 9; ++column)
        table.setCell(column, 1, zeroRow[column]);
    writeFixed(table, 2, 1, Fixed::store(0.5L * section.height), separator);

    concrete.epsT0 = single(ratio(concrete.fct, concrete.E));
    checkFloatingPointFaults();  // εt0 fails before the step is read
    const long double kappaStep = readSingle(fields.ComboBox1, separator);
    if (!(kappaStep > 0.0L))
        throw Failure(sectionMessages::stepNotPositive);

    long double kappa = 0.0L;
    std::uint16_t k = 0;
    PlainTrial trial;
    do {
        if (k == lastStepIndex)
            return stopWithRows(table, k + 2, concreteSizes, sectionMessages::tooManySteps);
        kappa = kappa + kappaStep;
        k = static_cast<std::uint16_t>(k + 1);
        const ScanPlan plan = options.exhaustiveScan ? ScanPlan()
                                                     : topEdgeScanPlan(concrete, section.diagramKind, true,
                                                                       SteelLayersForPlan(), section.height, kappa,
                                                                       section.N);
        const bool balanced = searchFromTopEdge(plan, section.height, [&](long double xt) {
            trial = evaluateTrial(section, kappa, xt);
            return ScanVerdict{trial.balanced, -(trial.tension.FT + trial.compression.FP)};
        });
        if (!balanced)
            return stopWithRows(table, k + 1, concreteSizes, noEquilibriumMessage(kappa, separator));
        writeRow(table, k + 1, kappa, trial, separator);
    } while (trial.epsh <= epsCu && trial.epsd <= concrete.epsTu);

    if (trial.epsd > concrete.epsTu)
        writeEndRow(table, k + 1, kappa, 6, "Beton roztržen", separator);
    if (trial.epsh > epsCu)
        writeEndRow(table, k + 1, kappa, 5, "Beton rozdrcen", separator);
    sizeTable(table, k + 2, concreteSizes);
    return finishedRun();
}

}  // namespace prurez
