// The working diagram of a reinforced-concrete section with one bottom and one top
// layer of bars: for curvatures Δκ, 2Δκ, … the neutral axis is found by a scan from
// the top edge, one row per curvature, until the top concrete is crushed or the
// bottom steel torn. Cracking of the concrete alone does not end the run.

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


struct ReinforcedSection {
    ConcreteProperties concrete;
    int diagramKind = 0;
    bool concreteInTension = true;
    long double height = 0;  // single
    Fixed N;                 // axial force [kN], tension positive
    Fixed fy;                // steel yield strength [MPa]
    Fixed Es;                // steel modulus [MPa]
    long double epsY = 0;    // yield strain fy / Es
    long double dd = 0;      // bottom steel from the bottom edge [m]
    long double dh = 0;      // top steel from the top edge [m]
    long double Asd = 0;     // bottom steel area [m2]
    long double Ash = 0;     // top steel area [m2]
};

// One layer of elastic–perfectly plastic steel, yielding on one side only.
struct SteelLayer {
    long double force = 0;  // MN, positive in tension
    Fixed stress;
};

struct ReinforcedTrial {
    long double x = 0;
    long double xt = 0;
    long double epsh = 0;
    long double epsd = 0;
    long double epsSh = 0;  // top steel, positive in compression
    long double epsSd = 0;  // bottom steel, positive in tension
    CompressionZone compression;
    TensionZone tension;
    SteelLayer top;
    SteelLayer bottom;
    bool balanced = false;
};

ReinforcedTrial evaluateTrial(const ReinforcedSection& s, long double kappa, long double xt)
{
    ReinforcedTrial trial;
    trial.xt = xt;
    trial.x = s.height - xt;
    trial.epsh = trial.x * kappa;
    trial.epsd = xt * kappa;
    trial.epsSh = (trial.x - s.dh) * kappa;
    trial.epsSd = (xt - s.dd) * kappa;

    if (trial.epsSh > s.epsY) {
        trial.top.force = -(s.Ash * s.fy.value());
        trial.top.stress = s.fy;
    } else {
        trial.top.force = -(s.Ash * trial.epsSh * s.Es.value());
        trial.top.stress = Fixed::store(trial.epsSh * s.Es.value());
    }
    trial.compression = concreteCompression(s.concrete, s.diagramKind, trial.x, kappa, trial.epsh);
    if (trial.epsSd > s.epsY) {
        trial.bottom.force = s.Asd * s.fy.value();
        trial.bottom.stress = s.fy;
    } else {
        trial.bottom.force = s.Asd * trial.epsSd * s.Es.value();
        trial.bottom.stress = Fixed::store(trial.epsSd * s.Es.value());
    }
    if (s.concreteInTension)
        trial.tension = concreteTension(s.concrete, xt, kappa, trial.epsd);

    const long double sum = trial.tension.FT + trial.bottom.force + trial.compression.FP + trial.top.force;
    const Fixed residual = Fixed::store(std::fabs(s.N.value() * 0.001L - sum));
    trial.balanced = balanceAccepted(residual);
    return trial;
}

void writeRow(GridTable& table, int row, long double kappa, const ReinforcedSection& s, const ReinforcedTrial& t,
              char separator)
{
    const long double M = -(t.top.force * (t.x - s.dh)) - t.compression.FP * t.compression.zc +
                          t.bottom.force * (t.xt - s.dd) + t.tension.Mt;
    const bool cracked = t.epsd >= s.concrete.epsTu;
    writeNumber(table, 0, row, kappa, separator);
    writeNumber(table, 1, row, M, separator);
    writeFixed(table, 2, row, Fixed::store(t.x), separator);
    writeFixed(table, 3, row, t.compression.sigh, separator);
    if (cracked)
        table.setCell(4, row, "");
    else
        writeFixed(table, 4, row, t.tension.sigd, separator);
    writeNumber(table, 5, row, t.epsh, separator);
    if (cracked)
        table.setCell(6, row, "trhlina");
    else
        writeNumber(table, 6, row, t.epsd, separator);
    writeFixed(table, 7, row, t.top.stress, separator);
    writeFixed(table, 8, row, t.bottom.stress, separator);
    writeNumber(table, 9, row, t.epsSh, separator);
    writeNumber(table, 10, row, t.epsSd, separator);
    writeNumber(table, 11, row, t.compression.FP + t.top.force, separator);
    writeNumber(table, 12, row, t.tension.FT + t.bottom.force, separator);
}

}  // namespace

SectionOutcome reinforcedConcreteAnalysis(const SectionFields& fields, char separator, GridTable& table,
                                          const SectionRunOptions& options)
{
    ReinforcedSection s;
    ConcreteProperties& concrete = s.concrete;
    concrete.grouping = LawGrouping::reinforcedConcrete;
    s.diagramKind = fields.RadioGroup3;
    s.concreteInTension = fields.RadioGroup5 == 0;

    concrete.E = readFixed(fields.Edit3, separator);
    const long double ecpm = readExtended(fields.Edit4, separator);
    const long double ectm = readExtended(fields.Edit5, separator);
    concrete.fcp = readFixed(fields.Edit1, separator);
    concrete.fct = readFixed(fields.Edit2, separator);
    concrete.width = readSingle(fields.Edit13, separator);
    s.fy = readFixed(fields.Edit8, separator);
    s.Es = readFixed(fields.Edit9, separator);
    s.dd = readExtended(fields.Edit12, separator);
    s.dh = readExtended(fields.Edit20, separator);
    const long double steelUltimate = readExtended(fields.Edit10, separator);
    const long double peakStrain = readExtended(fields.Edit6, separator);
    const long double bottomArea = readExtended(fields.Edit11, separator);
    const long double topArea = readExtended(fields.Edit19, separator);
    s.height = readSingle(heightText(fields), separator);
    s.N = readFixed(fields.Edit17, separator);
    checkSectionInputs(concrete.width, s.height, concrete.E, concrete.fcp);

    prepareTable(table, 7, 38,
                 {"  Křivost", "  Moment", " Neut. osa", " Beton sigh", " Beton sigd", " Beton epsh", " Beton epsd",
                  "Výztuž sigh", "Výztuž sigd", "Výztuž epsh", "Výztuž epsd", "Tlak. síla", "Tah. síla"});
    const char* zeroRow[] = {"  0", "  0", "", " 0", " 0", " 0", " 0", "0", "0", "0", "0", "0", "0"};
    for (int column = 0; column < 13; ++column)
        table.setCell(column, 1, zeroRow[column]);
    writeFixed(table, 2, 1, Fixed::store(0.5L * s.height), separator);

    concrete.epsT0 = single(ratio(concrete.fct, concrete.E));
    s.epsY = ratio(s.fy, s.Es);
    concrete.epsTu = ectm * 0.01L;
    const long double epsCu = ecpm * 0.01L;
    const long double epsSu = steelUltimate * 0.01L;
    concrete.epsC1 = peakStrain * 0.01L;
    s.Asd = bottomArea * 1e-6L;
    s.Ash = topArea * 1e-6L;
    checkFloatingPointFaults();  // the derived constants fail before the step is read
    const long double kappaStep = readSingle(fields.ComboBox1, separator);
    if (!(kappaStep > 0.0L))
        throw Failure(sectionMessages::stepNotPositive);

    long double kappa = 0.0L;
    std::uint16_t i = 0;
    ReinforcedTrial trial;
    do {
        if (i == lastStepIndex)
            return stopWithRows(table, i + 2, reinforcedSizes, sectionMessages::tooManySteps);
        kappa = kappa + kappaStep;
        i = static_cast<std::uint16_t>(i + 1);
        const ScanPlan plan =
            options.exhaustiveScan
                ? ScanPlan()
                : topEdgeScanPlan(concrete, s.diagramKind, s.concreteInTension,
                                  SteelLayersForPlan{true, s.Ash, s.Asd, s.dh, s.dd, s.fy, s.Es}, s.height, kappa, s.N);
        const bool balanced = searchFromTopEdge(plan, s.height, [&](long double xt) {
            trial = evaluateTrial(s, kappa, xt);
            return ScanVerdict{trial.balanced, -(trial.tension.FT + trial.bottom.force + trial.compression.FP +
                                                 trial.top.force)};
        });
        if (!balanced)
            return stopWithRows(table, i + 1, reinforcedSizes, noEquilibriumMessage(kappa, separator));
        writeRow(table, i + 1, kappa, s, trial, separator);
    } while (trial.epsh <= epsCu && trial.epsSd <= epsSu);

    if (trial.epsSd > epsSu)
        writeEndRow(table, i + 1, kappa, 10, "Prvek roztržen", separator);
    if (trial.epsh > epsCu)
        writeEndRow(table, i + 1, kappa, 5, "Prvek rozdrcen", separator);
    sizeTable(table, i + 2, reinforcedSizes);
    return finishedRun();
}

}  // namespace prurez
