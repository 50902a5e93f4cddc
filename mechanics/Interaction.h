#pragma once
// The N–M interaction diagram of a section: for axial forces from the largest
// compression the section carries to the largest tension, the largest moment of the
// moment–curvature run under that force, in exact equilibrium.
//
// The ends are the largest compression and tension of the section under a uniform
// strain within the strains at which a run ends (εcu; εtu, or εsu of the bars), each
// layer of bars counted at most at its yield force As·fy: the steel law of the runs
// yields on one side only (a bottom layer in compression and a top layer in tension
// stay elastic), which would let a layer carry more than any bar does. An end carries
// the moment of that uniform state about mid-height (none unless the layers differ).
//
// Between the ends, K − 2 forces evenly spaced. At each the curvature is stepped in
// exact equilibrium (ScanOptions::exactEquilibrium), the neutral axis between the
// faces; curvatures before the first one whose axis lies between the faces are passed
// over (under a large axial force the axis lies beyond a face at small curvatures), and
// the run ends where the section crushes or tears or where the axis leaves the faces
// again. The moment is taken about mid-height (the moment an axial force acting at
// mid-height meets). The step: 100 steps up to the curvature at which every axis
// between the faces has passed a limit, again 100 over the stretch that balances when
// it holds few rows; then golden-section search between the neighbours of the largest
// row (bisection to the end of the run when the largest is the last), so that the peak
// is found far within 0,1 %. A force that no curvature balances has no moment; its end
// says why (noEquilibrium, or the limit its first balanced row already passed).
//
// Negative bending is the run of the section turned upside down (its bar layers
// swapped), its moments and curvatures negated; a section whose layers are equal (or
// that has none) bends the same both ways and has the positive branch only.

#include "mechanics/NeutralAxisScan.h"
#include "mechanics/SectionInput.h"
#include "prurez/Section.h"

namespace prurez {

struct InteractionControl {
    // Its work control is told the forces done (from the calling thread) and stops the
    // computation (Cancelled is thrown); exactEquilibrium is set by the diagram itself.
    ScanOptions scan;
    // Threads for the forces (the calling thread one of them); 0: all hardware threads.
    // The diagram is the same for any number.
    int threads = 0;
};

// The diagram of a section (its N is not read) with `points` forces (clamped to
// minimumInteractionPoints … maximumInteractionPoints). A floating-point fault throws
// Failure.
InteractionDiagram interactionDiagram(const HeldSectionInput& input, int points = defaultInteractionPoints,
                                      const InteractionControl& control = InteractionControl());

// The peak of the exact-equilibrium run of the section under its own N, as the diagram
// takes it (positive bending).
InteractionPoint peakMomentUnderForce(const HeldSectionInput& input, const ScanOptions& options = ScanOptions());

}  // namespace prurez
