#pragma once
// The concrete laws of the plain and the reinforced section analyses: the three
// compression diagrams and the linear-softening tension law, integrated over the
// compression and the tension zone of a rectangular section.
//
// The two analyses use the same laws but write some of the products in a different
// order; every chain is evaluated as its analysis writes it, so the grouping is a
// parameter of the laws.

#include "common/FixedPoint.h"

namespace prurez {

enum class LawGrouping {
    plainConcrete,       // the products as the plain-concrete analysis writes them
    reinforcedConcrete,  // the products as the reinforced-concrete analysis writes them
};

// The concrete of one run, as the analyses hold it.
struct ConcreteProperties {
    Fixed fcp;               // compressive strength [MPa]
    Fixed fct;               // tensile strength [MPa]
    Fixed E;                 // modulus [MPa]
    long double epsC1 = 0;   // strain at peak stress (fraction)
    long double epsT0 = 0;   // elastic strain limit in tension fct / E (single)
    long double epsTu = 0;   // ultimate tensile strain (fraction)
    long double width = 0;   // section width [m] (single)
    LawGrouping grouping = LawGrouping::plainConcrete;
};

// The compression zone: resultant FP ≤ 0 [MN], top-edge stress (positive in
// compression) and the distance of FP from the neutral axis (single).
struct CompressionZone {
    long double FP = 0;
    Fixed sigh;
    long double zc = 0;
};

// The tension zone: resultant FT ≥ 0 [MN], bottom-edge stress and the moment of the
// tension stresses about the neutral axis [MNm].
struct TensionZone {
    long double FT = 0;
    Fixed sigd;
    long double Mt = 0;
};

// Diagram kinds: 0 bilinear, 1 parabolic-rectangular, 2 parabolic. x is the depth of
// the compression zone, epsh = x·κ the top-edge strain. Another kind computes nothing.
CompressionZone concreteCompression(const ConcreteProperties& concrete, int diagramKind, long double x,
                                    long double kappa, long double epsh);

// Linear elastic up to εt0, then falling linearly to zero at εtu; xt is the depth of
// the tension zone, epsd = xt·κ the bottom-edge strain.
TensionZone concreteTension(const ConcreteProperties& concrete, long double xt, long double kappa, long double epsd);

// The parabola exponent n = εc1·E / fcp, a fixed-point value.
Fixed parabolaExponent(const ConcreteProperties& concrete);

}  // namespace prurez
