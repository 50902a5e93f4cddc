// The moment–curvature diagram of the bending test.

#include "flows/InverseFlow.h"

#include "common/FloatingPoint.h"
#include "flows/CellText.h"
#include "mechanics/TestDiagram.h"

namespace prurez {

void copyTestPoints(const GridTable& points, GridTable& diagram)
{
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
}

void computeTestDiagram(const BendingTestTexts& texts, GridTable& diagram, LineSeries& curve, char decimalSeparator,
                        const std::function<void()>& fixDiagramChoice)
{
    clearFloatingPointFaults();
    curve.clear();
    const int rowCount = diagram.rowCount();
    const long double a = readExtended(texts.loadDistance, decimalSeparator);
    const long double s = readExtended(texts.sectionDimension, decimalSeparator);
    const long double E = readExtended(texts.E, decimalSeparator);
    const BendingTest test(E, a, s);
    if (fixDiagramChoice)
        fixDiagramChoice();
    for (int row = 1; row < rowCount; ++row) {
        const long double F = readNumber(diagram, 0, row, decimalSeparator);
        const long double w = readNumber(diagram, 1, row, decimalSeparator);
        const long double kappa = test.curvature(F, w);
        const long double M = test.moment(F);
        writeNumber(diagram, 2, row, kappa, decimalSeparator);
        writeNumber(diagram, 3, row, M, decimalSeparator);
        curve.add(0.0L, 0.0L, colourRed);
        curve.add(kappa, M, colourRed);
    }
}

}  // namespace prurez
