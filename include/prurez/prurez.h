#pragma once
// prurez as a library: the nonlinear modelling of concrete cross-sections for programs
// of your own.
//
//   prurez/Section.h          the moment–curvature run of a plain, fibre or reinforced
//                             concrete rectangle under an axial force (SectionAnalysis,
//                             momentCurvature), and the unit system of the interface
//   prurez/InverseAnalysis.h  the inverse analysis of fibre concrete from a bending test
//                             as one session (InverseAnalysis), and the moment of a
//                             fibre-concrete beam at one curvature
//   prurez/Series.h           a series of bending tests: each specimen fitted, one joint
//                             fit for all, the statistics and characteristic values
//   prurez/Failure.h          prurez::Failure: a typed reason and the program's message
//   prurez/Progress.h         RunOptions: one progress callback that can stop the work,
//                             threads, the plain scans
//
// Link the static libraries prurez_flows, prurez_mechanics and prurez_common (in this
// order) and the threads library; examples/library/ holds a small program.

#include "prurez/Failure.h"
#include "prurez/InverseAnalysis.h"
#include "prurez/Progress.h"
#include "prurez/Section.h"
#include "prurez/Series.h"

namespace prurez {

// The version of the program and the library, e.g. "1.0".
const char* version();

}  // namespace prurez
