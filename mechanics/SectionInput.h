#pragma once
// A section's input as the analyses hold it: each value in its precision class
// (prurez/Section.h gives the same input by meaning, in one unit system).

#include "common/FixedPoint.h"
#include "common/FloatingPoint.h"
#include "prurez/Section.h"

namespace prurez {

struct HeldSectionInput {
    Material material = Material::plainConcrete;
    // Plain and reinforced concrete: the compression diagram; reinforced concrete:
    // whether the concrete acts in tension (plain and fibre concrete always do).
    CompressionDiagram diagram = CompressionDiagram::bilinear;
    bool concreteInTension = true;

    Fixed fcp;               // compressive strength [MPa]
    Fixed fct;               // tensile strength [MPa]
    Fixed E;                 // modulus [MPa]
    long double epsCu = 0;   // ultimate compressive strain εcu (fraction)
    long double epsTu = 0;   // ultimate tensile strain εtu (fraction)
    long double epsC1 = 0;   // strain at peak stress εc1 (fraction): plain, reinforced
    Single a;                // fibre concrete: the steep loss of strength
    Single b;                // fibre concrete: the residual strength

    Fixed fy;                // reinforced: steel yield strength [MPa]
    Fixed Es;                // reinforced: steel modulus [MPa]
    long double epsSu = 0;   // reinforced: steel ultimate strain εsu (fraction)
    BarLayer bottomBars;     // reinforced: [m²], distance from the bottom edge [m], extended
    BarLayer topBars;        // reinforced: distance from the top edge

    Single width;            // b [m]
    Single height;           // h [m]
    Fixed N;                 // axial force [kN], tension positive
};

}  // namespace prurez
