#include "flows/SectionFlow.h"

#include "common/Failure.h"
#include "common/FloatingPoint.h"
#include "common/NumberText.h"
#include "flows/CellText.h"
#include "flows/Refusals.h"
#include "flows/SectionAnalysis.h"
#include "flows/SectionMessages.h"
#include "mechanics/Sections.h"

#include <vector>

namespace prurez {

MaterialRules materialRules(int material)
{
    MaterialRules rules;
    if (material == 0 || material == 1) {
        rules.tension = 0;
        rules.tensionFree = false;
    }
    if (material == 1) {
        rules.diagram = 0;
        rules.diagramFree = false;
    }
    return rules;
}

void applyMaterialChoice(SectionTexts& texts)
{
    const MaterialRules rules = materialRules(texts.material);
    if (rules.diagram >= 0)
        texts.diagram = rules.diagram;
    if (rules.tension >= 0)
        texts.tension = rules.tension;
}

namespace {

using namespace sectionMessages;

// The results table of one material: its headers, whether a zero-state row precedes
// the computed rows, how its rows are written and the end rows of its limits.
struct EndRow {
    RunEnd end;
    int column;
    const char* text;
};

struct ResultsTable {
    std::vector<const char*> headers;
    bool zeroRow;
    void (*writeRow)(GridTable& table, int row, const SectionRow& values, char separator);
    std::vector<EndRow> endRows;
};

// Columns 0–6: κ, M, x (a fixed-point value), the concrete's edge stresses (as
// fixed-point values: stored here when the analysis keeps them unrounded) and its
// edge strains. A reinforced row whose bottom edge has reached εtu shows "trhlina"
// instead of its strain and no bottom stress.
void writeConcreteColumns(GridTable& table, int row, const SectionRow& v, char separator, bool storeStresses)
{
    auto writeStress = [&](int column, long double stress) {
        if (storeStresses)
            writeFixed(table, column, row, Fixed::store(stress), separator);
        else
            writeNumber(table, column, row, stress, separator);
    };
    writeNumber(table, 0, row, v.kappa, separator);
    writeNumber(table, 1, row, v.moment, separator);
    writeFixed(table, 2, row, Fixed::store(v.x), separator);
    writeStress(3, v.topStress);
    if (v.cracked)
        table.setCell(4, row, "");
    else
        writeStress(4, v.bottomStress);
    writeNumber(table, 5, row, v.topStrain, separator);
    if (v.cracked)
        table.setCell(6, row, "trhlina");
    else
        writeNumber(table, 6, row, v.bottomStrain, separator);
}

void writePlainRow(GridTable& table, int row, const SectionRow& v, char separator)
{
    writeConcreteColumns(table, row, v, separator, false);
    writeNumber(table, 7, row, v.tension, separator);
    writeNumber(table, 8, row, v.compression, separator);
}

void writeFibreRow(GridTable& table, int row, const SectionRow& v, char separator)
{
    writeConcreteColumns(table, row, v, separator, true);
    writeNumber(table, 7, row, v.tension, separator);
    writeNumber(table, 8, row, v.compression, separator);
}

void writeReinforcedRow(GridTable& table, int row, const SectionRow& v, char separator)
{
    writeConcreteColumns(table, row, v, separator, false);
    writeNumber(table, 7, row, v.topBarStress, separator);
    writeNumber(table, 8, row, v.bottomBarStress, separator);
    writeNumber(table, 9, row, v.topBarStrain, separator);
    writeNumber(table, 10, row, v.bottomBarStrain, separator);
    writeNumber(table, 11, row, v.compressiveForce(), separator);
    writeNumber(table, 12, row, v.tensileForce(), separator);
}

const std::vector<const char*> concreteHeaders{"  Křivost",   "  Moment",    " Neut. osa", " Beton sigh",
                                               " Beton sigd", " Beton epsh", " Beton epsd", "       FT",
                                               "       FP"};

const ResultsTable plainTable{concreteHeaders,
                              true,
                              writePlainRow,
                              {{RunEnd::torn, 6, "Beton roztržen"}, {RunEnd::crushed, 5, "Beton rozdrcen"}}};

const ResultsTable fibreTable{concreteHeaders,
                              false,
                              writeFibreRow,
                              {{RunEnd::torn, 6, "bet.roztržen"}, {RunEnd::crushed, 5, "bet.rozdrcen"}}};

const ResultsTable reinforcedTable{
    {"  Křivost", "  Moment", " Neut. osa", " Beton sigh", " Beton sigd", " Beton epsh", " Beton epsd", "Výztuž sigh",
     "Výztuž sigd", "Výztuž epsh", "Výztuž epsd", "Tlak. síla", "Tah. síla"},
    true,
    writeReinforcedRow,
    {{RunEnd::steelTorn, 10, "Prvek roztržen"}, {RunEnd::crushed, 5, "Prvek rozdrcen"}}};

// Column count and header row.
void prepareTable(GridTable& table, const ResultsTable& kind, SectionRunReport& report)
{
    table.setColumnCount(static_cast<int>(kind.headers.size()));
    for (size_t column = 0; column < kind.headers.size(); ++column)
        table.setCell(static_cast<int>(column), 0, kind.headers[column]);
    report.tablePrepared = true;
}

// Row 1, the state before any curvature: "  0" twice, the half height (a fixed-point
// value), " 0" for the four concrete edge values and "0" for the rest.
void writeZeroRow(GridTable& table, Single height, char separator)
{
    for (int column = 0; column < table.columnCount(); ++column)
        table.setCell(column, 1, column < 2 ? "  0" : column < 7 ? " 0" : "0");
    writeFixed(table, 2, 1, Fixed::store(0.5L * height), separator);
}

// Overwrites a row with the curvature in column 0, the text in its column and empty
// cells elsewhere.
void writeEndRow(GridTable& table, int row, long double kappa, const EndRow& end, char separator)
{
    writeNumber(table, 0, row, kappa, separator);
    for (int column = 1; column < table.columnCount(); ++column)
        table.setCell(column, row, column == end.column ? end.text : "");
}

std::string noEquilibriumMessage(long double kappa, char separator)
{
    return std::string(noEquilibriumStart) + formatNumber(kappa, separator) + noEquilibriumEnd;
}

std::string cancelledMessage(int rows)
{
    return std::string(cancelledStart) + std::to_string(rows) + cancelledEnd;
}

// Inputs that no section can have, refused after the texts were read and before the
// table is touched.
void refuseImpossibleSection(const HeldSectionInput& input)
{
    if (const std::optional<Reason> reason = sectionRefusal(input))
        throw refusal(*reason);
}

// The section whose table is prepared: the constants of its laws are formed, and a
// fault of them, or of a text read before, fails before the step is read.
SectionAnalysis preparedSection(const HeldSectionInput& input)
{
    SectionAnalysis analysis = heldSectionAnalysis(input);
    checkFloatingPointFaults();
    return analysis;
}

// The curvature steps of a section into its table, then its end row and row count. The
// step text is read (a positive number held in single precision) before the run.
void runSteps(const SectionAnalysis& analysis, const std::string& stepText, const ResultsTable& kind, GridTable& table,
              char separator, SectionRunReport& report, const SectionRunControl& control)
{
    const long double step = readSingle(stepText, separator);
    const int offset = kind.zeroRow ? 1 : 0;
    auto writeRow = [&](int index, const SectionRow& row) {
        kind.writeRow(table, index + offset, row, separator);
        report.rows.push_back(row);
    };
    const RunOutcome outcome = analysis.run(step, control.run, writeRow);
    report.outcome = outcome;
    const int lastRow = outcome.rows + offset;
    if (outcome.end == RunEnd::noEquilibrium)
        report.stopMessage = noEquilibriumMessage(outcome.kappa, separator);
    else if (outcome.end == RunEnd::tooManySteps)
        report.stopMessage = tooManySteps;
    report.cancelled = outcome.end == RunEnd::cancelled;
    if (report.cancelled)
        report.stopMessage = cancelledMessage(outcome.rows);
    report.endText = report.stopMessage;
    for (const EndRow& end : kind.endRows)
        if (end.end == outcome.end) {
            writeEndRow(table, lastRow, outcome.kappa, end, separator);
            report.endText = end.text;
            report.endRowWritten = true;
        }
    table.setRowCount(lastRow + 1);
    report.showResults = true;
}

const std::string& heightText(const SectionTexts& texts) { return texts.shape == 0 ? texts.width : texts.height; }

// The inputs of each material, read in its order and refused once read; the axial
// force 0 when it is not read.
HeldSectionInput plainInput(const SectionTexts& t, char separator, AxialForce axialForce)
{
    HeldSectionInput input;
    input.material = Material::plainConcrete;
    input.diagram = static_cast<CompressionDiagram>(t.diagram);
    input.E = readFixed(t.E, separator);
    input.epsCu = readPercent(t.ecu, separator);
    input.epsTu = readPercent(t.etu, separator);
    input.fcp = readFixed(t.fcp, separator);
    input.fct = readFixed(t.fct, separator);
    input.width = readSingle(t.width, separator);
    input.epsC1 = readPercent(t.ec1OrA, separator);
    input.height = readSingle(heightText(t), separator);
    if (axialForce == AxialForce::read)
        input.N = readFixed(t.N, separator);
    refuseImpossibleSection(input);
    return input;
}

HeldSectionInput reinforcedInput(const SectionTexts& t, char separator, AxialForce axialForce)
{
    HeldSectionInput input;
    input.material = Material::reinforcedConcrete;
    input.diagram = static_cast<CompressionDiagram>(t.diagram);
    input.concreteInTension = t.tension == 0;
    input.E = readFixed(t.E, separator);
    const long double ecpm = readExtended(t.ecu, separator);
    const long double ectm = readExtended(t.etu, separator);
    input.fcp = readFixed(t.fcp, separator);
    input.fct = readFixed(t.fct, separator);
    input.width = readSingle(t.width, separator);
    input.fy = readFixed(t.fy, separator);
    input.Es = readFixed(t.Es, separator);
    input.bottomBars.distance = readExtended(t.bottomDistance, separator);
    input.topBars.distance = readExtended(t.topDistance, separator);
    const long double steelUltimate = readExtended(t.esu, separator);
    const long double peakStrain = readExtended(t.ec1OrA, separator);
    const long double bottomArea = readExtended(t.bottomArea, separator);  // mm2
    const long double topArea = readExtended(t.topArea, separator);
    input.height = readSingle(heightText(t), separator);
    if (axialForce == AxialForce::read)
        input.N = readFixed(t.N, separator);
    input.epsTu = ectm * 0.01L;
    input.epsCu = ecpm * 0.01L;
    input.epsSu = steelUltimate * 0.01L;
    input.epsC1 = peakStrain * 0.01L;
    input.bottomBars.area = bottomArea * 1e-6L;  // m2
    input.topBars.area = topArea * 1e-6L;
    refuseImpossibleSection(input);
    return input;
}

HeldSectionInput fibreInput(const SectionTexts& t, char separator, AxialForce axialForce)
{
    HeldSectionInput input;
    input.material = Material::fibreConcrete;
    input.a = readSingle(t.ec1OrA, separator);
    input.b = readSingle(t.b, separator);
    input.E = readFixed(t.E, separator);
    const long double ecpm = readExtended(t.ecu, separator);
    const long double ectm = readExtended(t.etu, separator);
    input.fcp = readFixed(t.fcp, separator);
    input.fct = readFixed(t.fct, separator);
    input.width = readSingle(t.width, separator);
    input.height = readSingle(heightText(t), separator);
    if (axialForce == AxialForce::read)
        input.N = readFixed(t.N, separator);
    input.epsTu = ectm * 0.01L;
    input.epsCu = ecpm * 0.01L;
    refuseImpossibleSection(input);
    return input;
}

// A material's run: its table prepared once its inputs were read, then its steps.
void runMaterial(const HeldSectionInput& input, const SectionTexts& t, const ResultsTable& kind, char separator,
                 GridTable& table, SectionRunReport& report, const SectionRunControl& control)
{
    prepareTable(table, kind, report);
    if (kind.zeroRow)
        writeZeroRow(table, input.height, separator);
    const SectionAnalysis analysis = preparedSection(input);
    report.input = input;
    report.firstRow = kind.zeroRow ? 2 : 1;
    runSteps(analysis, t.kappaStep, kind, table, separator, report, control);
}

// The inputs of the chosen material (0 plain, 1 fibre, 2 reinforced).
HeldSectionInput materialInput(const SectionTexts& t, char separator, AxialForce axialForce)
{
    if (t.material == 0)
        return plainInput(t, separator, axialForce);
    if (t.material == 1)
        return fibreInput(t, separator, axialForce);
    return reinforcedInput(t, separator, axialForce);
}

// The rows of a run's report that were computed (its end row, when written, is none).
int computedRowCount(const SectionRunReport& report)
{
    return static_cast<int>(report.rows.size()) - (report.endRowWritten ? 1 : 0);
}

// The choices the laws need, before anything is read or written.
void refuseMissingChoices(const SectionTexts& texts)
{
    if (texts.material != 1 && (texts.diagram < 0 || texts.diagram > 2))
        throw refusal(Reason::noDiagram);
    if (texts.shape != 0 && texts.shape != 1)
        throw refusal(Reason::noShape);
    if (texts.material == 2 && texts.tension != 0 && texts.tension != 1)
        throw refusal(Reason::noTensionChoice);
}

}  // namespace

void runSectionAnalysis(const SectionTexts& texts, char decimalSeparator, GridTable& table, SectionRunReport& report,
                        const SectionRunControl& control)
{
    report = SectionRunReport();
    const int material = texts.material;
    if (material < 0 || material > 2)
        return;
    report.ran = true;
    report.texts = texts;
    refuseMissingChoices(texts);

    SectionRunControl run = control;
    run.run.exactEquilibrium = control.run.exactEquilibrium || texts.exactEquilibrium;
    clearFloatingPointFaults();
    const ResultsTable& kind = material == 0 ? plainTable : material == 1 ? fibreTable : reinforcedTable;
    runMaterial(materialInput(texts, decimalSeparator, AxialForce::read), texts, kind, decimalSeparator, table, report,
                run);
}

HeldSectionInput readSectionTexts(const SectionTexts& texts, char decimalSeparator, AxialForce axialForce)
{
    if (texts.material < 0 || texts.material > 2)
        throw refusal(Reason::noMaterial);
    refuseMissingChoices(texts);
    clearFloatingPointFaults();
    return materialInput(texts, decimalSeparator, axialForce);
}

std::optional<SectionRow> runRow(const SectionRunReport& report, int tableRow)
{
    if (report.firstRow == 0 || tableRow < 1)
        return std::nullopt;
    if (tableRow < report.firstRow) {
        SectionRow zero;
        zero.x = Fixed::store(0.5L * report.input.height).value();
        return zero;
    }
    const int index = tableRow - report.firstRow;
    if (index >= computedRowCount(report))
        return std::nullopt;
    return report.rows[static_cast<size_t>(index)];
}

int lastComputedRow(const SectionRunReport& report)
{
    if (report.firstRow == 0)
        return 0;
    const int last = report.firstRow + computedRowCount(report) - 1;
    return last >= 1 ? last : 0;
}

std::optional<DepthProfile> rowProfile(const SectionRunReport& report, int tableRow, int points)
{
    const std::optional<SectionRow> row = runRow(report, tableRow);
    if (!row)
        return std::nullopt;
    return depthProfile(report.input, *row, points, true);
}

void fillWorkingDiagram(const GridTable& table, char decimalSeparator, LineSeries& curve)
{
    curve.clear();
    // The end row (its moment cell empty) is never drawn; a run stopped before a limit
    // wrote none, and its last row is a computed one.
    const int last = table.rowCount() - 1;
    const int lastDrawn = table.cellView(1, last).empty() ? last - 1 : last;
    for (int row = 1; row <= lastDrawn; ++row) {
        const long double x = readNumber(table, 0, row, decimalSeparator);
        const long double y = readNumber(table, 1, row, decimalSeparator);
        curve.add(x, y, colourRed);
    }
}

SectionCharacteristics sectionCharacteristics(const SectionTexts& texts, char decimalSeparator)
{
    SectionCharacteristics result;
    clearFloatingPointFaults();
    long double area = 0.0L;
    long double inertia = 0.0L;
    if (texts.shape == 0) {
        const long double a = readExtended(texts.width, decimalSeparator);
        area = a * a;
        inertia = 1.0L / 12.0L * a * a * a * a;
    } else if (texts.shape == 1) {
        const long double b = readExtended(texts.width, decimalSeparator);
        const long double h = readExtended(texts.height, decimalSeparator);
        area = b * h;
        inertia = 1.0L / 12.0L * b * h * h * h;
    } else {
        return result;
    }
    checkFloatingPointFaults();
    result.computed = true;
    result.area = formatNumber(area, decimalSeparator);
    result.inertia = formatNumber(inertia, decimalSeparator);
    return result;
}

}  // namespace prurez
