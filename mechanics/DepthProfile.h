#pragma once
// Strains and stresses across the depth of a section at one row of its
// moment–curvature run: the strain is linear, κ·(y − x) below the neutral axis at depth
// x, and the concrete's stress is its law's σ(ε) (the compression diagram above the
// axis, the tension law below it, nothing in tension where the concrete does not act
// there). The bars are marked with their strain, stress and force as the row has them.
// Tension is positive throughout, as the section forces are.
//
// The row's forces FT and FP are the integrals of this stress over the two zones; its
// moment is their moment about the neutral axis with the bars' (the couple −FP·(zc + zt)
// of fibre concrete is that moment when N = 0), except that the arm of a curved
// (parabolic) stress block is the three-piece approximation of the analyses, which
// differs from the exact centroid by up to about 1 %.

#include "mechanics/SectionInput.h"
#include "prurez/Section.h"

namespace prurez {

// The profile of `row` (a row of the section's own run) at `points` (2 or more) depths
// evenly from the top edge to the bottom one; with `breaks`, also at the neutral axis
// and where the strain passes a break of the laws, so that a line through the points
// draws (and a trapezoid rule integrates) the straight branches exactly.
DepthProfile depthProfile(const HeldSectionInput& input, const SectionRow& row, int points = 101, bool breaks = false);

}  // namespace prurez
