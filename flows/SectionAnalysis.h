#pragma once
// The section analysis of the interface (prurez/Section.h), and its way in for an input
// that is already held as the analyses hold it (the texts of the section input window,
// read in the order of their material, are converted there).

#include "mechanics/SectionInput.h"
#include "prurez/Section.h"

namespace prurez {

// SectionAnalysis(input) for an input already held: refused or ready to run.
SectionAnalysis heldSectionAnalysis(const HeldSectionInput& input);

}  // namespace prurez
