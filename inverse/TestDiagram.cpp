// The moment–curvature diagram of the bending test.

#include "inverse/InverseAnalysis.h"

#include "common/CellText.h"
#include "common/FloatingPoint.h"
#include "common/NumberText.h"

namespace prurez {

void copyTestPoints(const GridTable& points, GridTable& diagram)
{
    diagram.setWidth(270);
    diagram.setColumnCount(4);
    diagram.setCell(0, 0, "   Síla [kN]");
    diagram.setCell(1, 0, "   Průhyb [m]");
    diagram.setCell(2, 0, " Křivost [m-1]");
    diagram.setCell(3, 0, "   Moment ");
    const int rowCount = points.rowCount();
    diagram.setRowCount(rowCount);
    for (int row = 1; row < rowCount; ++row) {
        diagram.setCell(0, row, points.cell(0, row));
        diagram.setCell(1, row, points.cell(1, row));
    }
    if (rowCount <= 7) {
        diagram.setWidth(270);
        diagram.setHeight(27 * rowCount + 2);
    } else {
        diagram.setWidth(286);
        diagram.setHeight(218);
    }
}

void computeTestDiagram(const TestDiagramFields& fields, GridTable& diagram, LineSeries& curve,
                        char decimalSeparator, const std::function<void()>& fixDiagramChoice)
{
    clearFloatingPointFaults();
    curve.clear();
    const int rowCount = diagram.rowCount();
    const long double a = parseNumber(fields.Edit3, decimalSeparator);
    const long double s = parseNumber(fields.Edit4, decimalSeparator);
    const long double E = parseNumber(fields.Edit2, decimalSeparator);
    const long double modulus = E * 1000.0L;  // kN/m²
    if (fixDiagramChoice)
        fixDiagramChoice();
    for (int row = 1; row < rowCount; ++row) {
        const long double F = readNumber(diagram, 0, row, decimalSeparator);
        const long double w = readNumber(diagram, 1, row, decimalSeparator);
        const long double kappa = (1.6L / (a * a)) *
                                  (w - F * a * (1.0L / (modulus * s * s)) * ((4.0L * a * a) / (s * s) + 2.88L));
        const long double M = F * a;
        writeNumber(diagram, 2, row, kappa, decimalSeparator);
        writeNumber(diagram, 3, row, M, decimalSeparator);
        curve.add(0.0L, 0.0L, colourRed);
        curve.add(kappa, M, colourRed);
    }
}

}  // namespace prurez
