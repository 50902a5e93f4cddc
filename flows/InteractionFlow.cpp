#include "flows/InteractionFlow.h"

#include "common/Failure.h"
#include "common/NumberText.h"
#include "flows/CellText.h"
#include "flows/SectionAnalysis.h"

#include <vector>

namespace prurez {

const char* const interactionCancelledMessage = "Výpočet interakčního diagramu byl přerušen.";

namespace {

// The cells of a point: N [kN], M [kNm] and κ (empty without a moment). The values
// passed the fault checks where they were computed (on other threads, too).
std::vector<std::string> pointCells(const InteractionPoint& point, char separator)
{
    std::vector<std::string> cells{formatNumber(point.N * 1000.0L, separator), "", ""};
    if (point.hasMoment) {
        cells[1] = formatNumber(point.moment * 1000.0L, separator);
        cells[2] = formatNumber(point.kappa, separator);
    }
    return cells;
}

}  // namespace

const char* interactionEndKeyword(InteractionEnd end)
{
    switch (end) {
    case InteractionEnd::crushed:
        return "crushed";
    case InteractionEnd::torn:
        return "torn";
    case InteractionEnd::steelTorn:
        return "steel_torn";
    case InteractionEnd::noEquilibrium:
        return "no_equilibrium";
    case InteractionEnd::capacity:
        break;
    }
    return "capacity";
}

std::string interactionEndText(InteractionEnd end, bool compressive)
{
    switch (end) {
    case InteractionEnd::crushed:
        return "rozdrcení betonu";
    case InteractionEnd::torn:
        return "roztržení betonu";
    case InteractionEnd::steelTorn:
        return "přetržení výztuže";
    case InteractionEnd::noEquilibrium:
        return "bez rovnováhy";
    case InteractionEnd::capacity:
        break;
    }
    return compressive ? "únosnost v tlaku" : "únosnost v tahu";
}

InteractionDiagram computeInteraction(const SectionTexts& texts, char decimalSeparator, int points,
                                      const RunOptions& options)
{
    return heldSectionAnalysis(readSectionTexts(texts, decimalSeparator, AxialForce::notRead))
        .interactionDiagram(points, options);
}

GridTable interactionTable(const InteractionDiagram& diagram, char decimalSeparator)
{
    const bool negative = !diagram.negative.empty();
    const int rows = 1 + static_cast<int>(diagram.positive.size()) +
                     (negative ? 1 + static_cast<int>(diagram.negative.size()) : 0);
    GridTable table(4, rows);
    const char* const headers[] = {"N [kN]", "M [kNm]", "κ [m-1]", "Konec výpočtu"};
    for (int column = 0; column < 4; ++column)
        table.setCell(column, 0, headers[column]);
    int row = 1;
    auto writeBranch = [&](const std::vector<InteractionPoint>& points) {
        for (size_t k = 0; k < points.size(); ++k, ++row) {
            const std::vector<std::string> cells = pointCells(points[k], decimalSeparator);
            for (int column = 0; column < 3; ++column)
                table.setCell(column, row, cells[static_cast<size_t>(column)]);
            table.setCell(3, row, interactionEndText(points[k].end, k == 0));
        }
    };
    writeBranch(diagram.positive);
    if (negative) {
        table.setCell(0, row++, "Záporný ohyb");
        writeBranch(diagram.negative);
    }
    return table;
}

void writeInteractionTsv(const InteractionDiagram& diagram, char decimalSeparator, std::ostream& out)
{
    out << "N [kN]\tM [kNm]\tkappa [1/m]\tend\n";
    auto writeBranch = [&](const std::vector<InteractionPoint>& points) {
        for (const InteractionPoint& point : points) {
            const std::vector<std::string> cells = pointCells(point, decimalSeparator);
            out << cells[0] << '\t' << cells[1] << '\t' << cells[2] << '\t' << interactionEndKeyword(point.end) << '\n';
        }
    };
    writeBranch(diagram.positive);
    if (!diagram.negative.empty()) {
        out << "# negative bending\n";
        writeBranch(diagram.negative);
    }
}

}  // namespace prurez
