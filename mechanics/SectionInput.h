#pragma once
// What a section analysis takes: the material, its laws' parameters, the rectangle
// and the axial force, each held in the precision class the analyses hold it in.

#include "common/FixedPoint.h"
#include "common/FloatingPoint.h"
#include "mechanics/ConcreteLaws.h"

namespace prurez {

enum class Material { plainConcrete, fibreConcrete, reinforcedConcrete };

// A layer of bars: its area [m²] and the distance of the bars from the nearer edge
// [m], both extended.
struct BarLayer {
    long double area = 0;
    long double distance = 0;
};

struct SectionInput {
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
    BarLayer bottomBars;     // reinforced: distance from the bottom edge
    BarLayer topBars;        // reinforced: distance from the top edge

    Single width;            // b [m]
    Single height;           // h [m]
    Fixed N;                 // axial force [kN], tension positive
};

}  // namespace prurez
