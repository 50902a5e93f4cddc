#pragma once
// The N–M interaction diagram of the section in the section input window's texts
// (mechanics/Interaction.h), and its tables: the window's (Czech) and the batch tool's
// TSV.

#include "flows/GridTable.h"
#include "flows/SectionFlow.h"
#include "prurez/Section.h"

#include <ostream>
#include <string>

namespace prurez {

// The message of a stopped interaction diagram (no failure: the window tells it).
extern const char* const interactionCancelledMessage;

// The texts read as VÝPOČET reads them but for the axial force and the curvature step,
// which the diagram does not use, and the section's diagram of `points` forces
// (SectionAnalysis::interactionDiagram: a stop ends it as cancelled). A text that is not
// a number, a refused input or a floating-point fault throws Failure.
InteractionDiagram computeInteraction(const SectionTexts& texts, char decimalSeparator, int points,
                                      const RunOptions& options = RunOptions());

// The window's table: "N [kN]", "M [kNm]", "κ [m-1]", "Konec výpočtu"; the positive
// branch, then (when there is one) a row "Záporný ohyb" and the negative branch. A
// force that no curvature balances has empty M and κ.
GridTable interactionTable(const InteractionDiagram& diagram, char decimalSeparator);

// The batch tool's TSV: the header `N [kN]\tM [kNm]\tkappa [1/m]\tend`, the positive
// branch with forces ascending, then `# negative bending` and that branch when there is
// one; the end as crushed, torn, steel_torn, no_equilibrium or capacity.
void writeInteractionTsv(const InteractionDiagram& diagram, char decimalSeparator, std::ostream& out);

// The batch tool's word for an end: crushed, torn, steel_torn, no_equilibrium or
// capacity.
const char* interactionEndKeyword(InteractionEnd end);

// The Czech text of an end, as the window's table shows it (`compressive`: which end
// a capacity is).
std::string interactionEndText(InteractionEnd end, bool compressive);

}  // namespace prurez
