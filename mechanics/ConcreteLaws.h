#pragma once
// The material laws of the plain and the reinforced sections: three compression
// diagrams of concrete, its linear-softening tension law and elastic–perfectly plastic
// steel. Each law gives its stress at a strain and its resultant over a zone of a
// rectangle of width b whose strain grows linearly from the neutral axis.
//
// Sign convention of every law of the program (the fibre-concrete law too): a law
// takes the strain of its zone as a magnitude in the sense the zone works (shortening
// in a compression zone, lengthening in a tension zone) and gives its stress in the
// same sense, positive where it carries load. A zone's resultant is given in the
// section's convention: tension positive, compression negative (FP ≤ 0). Lever arms
// and moments are measured from the neutral axis; depths x (compression zone) and xt
// (tension zone) from the neutral axis to the edge.
//
// The plain and the reinforced analyses write some of the products in a different
// order; every chain is evaluated as its analysis writes it, so the grouping is a
// property of the concrete.

#include "common/FixedPoint.h"
#include "common/FloatingPoint.h"
#include "prurez/Section.h"

#include <variant>

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
    long double epsC1 = 0;   // strain at peak stress (fraction), parabolic diagrams
    long double epsT0 = 0;   // elastic strain limit in tension fct / E (single)
    long double epsTu = 0;   // ultimate tensile strain (fraction)
    Single width;            // section width b [m]
    LawGrouping grouping = LawGrouping::plainConcrete;
    // Exact equilibrium: the softened depth and the edge stress of the tension law,
    // which the analyses hold in single precision, kept extended so that the resultant
    // is continuous in the depth (the arms are unchanged).
    bool continuousForces = false;
};

// The compression zone: resultant FP ≤ 0 [MN], the stress at the top edge (a
// fixed-point value) and the distance zc of FP from the neutral axis (single).
struct CompressionZone {
    long double FP = 0;
    Fixed sigh;
    long double zc = 0;
};

// The tension zone: resultant FT ≥ 0 [MN], the stress at the bottom edge (a
// fixed-point value) and the moment Mt of the tension stresses about the neutral axis
// [MNm].
struct TensionZone {
    long double FT = 0;
    Fixed sigd;
    long double Mt = 0;
};

// "Bilineární": σ = E·ε up to εc0 = fcp/E (single, formed at each use), then fcp.
class BilinearCompression {
public:
    explicit BilinearCompression(const ConcreteProperties& concrete) : c_(concrete) {}
    long double stress(long double strain) const;
    // The zone of depth x at curvature κ, top strain epsh = x·κ.
    CompressionZone zone(long double x, long double kappa, long double epsh) const;

private:
    ConcreteProperties c_;
};

// The parabola σ(ε) = fcp·(1 − |1 − ε/εc1|ⁿ) up to εc1, n = εc1·E/fcp a fixed-point
// value formed at each use; beyond εc1 either a plateau at fcp
// ("Parabolicko - rektangulární") or the parabola falling again ("Parabolický", below
// zero beyond 2·εc1). The arm of a curved block comes from a three-piece
// approximation held in single precision.
class ParabolicCompression {
public:
    ParabolicCompression(const ConcreteProperties& concrete, bool plateau) : c_(concrete), plateau_(plateau) {}
    long double stress(long double strain) const;
    CompressionZone zone(long double x, long double kappa, long double epsh) const;

private:
    ConcreteProperties c_;
    bool plateau_;
};

// One of the three diagrams, chosen by the user.
class CompressionLaw {
public:
    CompressionLaw(const ConcreteProperties& concrete, CompressionDiagram diagram);
    long double stress(long double strain) const;
    CompressionZone zone(long double x, long double kappa, long double epsh) const;

private:
    std::variant<BilinearCompression, ParabolicCompression> law_;
};

// Linear elastic up to εt0, then falling linearly from fct to zero at εtu; nothing
// beyond εtu.
class SofteningTension {
public:
    explicit SofteningTension(const ConcreteProperties& concrete) : c_(concrete) {}
    long double stress(long double strain) const;
    // The zone of depth xt at curvature κ, bottom strain epsd = xt·κ.
    TensionZone zone(long double xt, long double kappa, long double epsd) const;

private:
    ConcreteProperties c_;
};

// The parabola exponent n = εc1·E / fcp, a fixed-point value.
Fixed parabolaExponent(const ConcreteProperties& concrete);

// A layer of bars: its force magnitude [MN] and its stress (a fixed-point value).
struct BarForce {
    long double force = 0;
    Fixed stress;
};

// Elastic–perfectly plastic steel that yields on one side only: the strain is positive
// on the side where the layer yields (shortening for the top bars, lengthening for the
// bottom bars); on the other side the steel stays elastic however large the strain.
class ElasticPlasticSteel {
public:
    ElasticPlasticSteel() = default;
    ElasticPlasticSteel(Fixed fy, Fixed Es) : fy_(fy), Es_(Es), epsY_(ratio(fy, Es)) {}
    long double yieldStrain() const { return epsY_; }
    long double stress(long double strain) const { return strain > epsY_ ? fy_.value() : strain * Es_.value(); }
    // Area·fy when yielding, (area·ε)·Es otherwise.
    BarForce layer(long double area, long double strain) const;

private:
    Fixed fy_;
    Fixed Es_;
    long double epsY_ = 0;  // fy / Es
};

}  // namespace prurez
