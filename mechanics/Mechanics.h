#pragma once
// The mechanics of prurez for use in other programs.
//
//   momentCurvature(input, Δκ)      the moment–curvature diagram of a plain, fibre or
//                                   reinforced concrete rectangle under an axial force:
//                                   one SectionRow per curvature step and the reason
//                                   the run ended (crushed, torn, steel torn, no
//                                   equilibrium, too many steps);
//   MomentAtCurvature(beam, p, κ)   the moment of a fibre-concrete rectangle in pure
//                                   bending at one curvature, as the inverse analysis
//                                   computes it;
//   interactionDiagram(input, K)    the N–M interaction diagram: the peak moment about
//                                   mid-height at K axial forces between the section's
//                                   capacities (Interaction.h);
//   depthProfile(input, row, n)     strains and stresses across the depth at a row.
//
// ScanOptions::exactEquilibrium finds the neutral axis where the forces balance exactly
// instead of within the scans' 1 kN (ExactEquilibrium.h).
//
// Inputs are typed: Fixed holds a fixed-point value (4 decimals), Single a value held
// in single precision; everything else is long double (80-bit extended). Units: MPa,
// m, kN for the axial force, MN and MNm in the section rows, kNm from
// MomentAtCurvature; strains are fractions. A floating-point fault (division by
// zero, invalid operation, overflow) throws prurez::Failure with its message.
//
// See examples/library/ for a small program built on this header.

#include "common/Failure.h"
#include "mechanics/DepthProfile.h"
#include "mechanics/Interaction.h"
#include "mechanics/MomentAtCurvature.h"
#include "mechanics/MomentCurvature.h"
#include "mechanics/SectionInput.h"
