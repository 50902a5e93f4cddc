#pragma once
// The three sections at a curvature: the neutral axis found by the scan and the
// balanced state as a row of values. Each is the `Section` of runMomentCurvature.
//
// Plain and reinforced concrete scan the depth xt of the tension zone from the top
// edge down in steps of 5 µm; fibre concrete scans the depth x of the compression
// zone from mid-height up in steps of 5 µm. Each analysis has its own balance test
// against the axial force N, all of them accepting less than 1 kN of residual. With
// ScanOptions::exactEquilibrium the neutral axis is the root of N − ΣF between the
// faces instead (ExactEquilibrium.h).
//
// Besides what the step driver takes (startsAtZeroCurvature, balanceAt, limitPassed),
// each section offers the same members to the interaction diagram and the depth profile:
//   concreteStress(ε)       the concrete's stress [MPa] at a strain (shortening
//                           positive) in the section's convention, tension positive:
//                           the laws' σ(ε) as the depth profile draws them;
//   strainBreaks()          the shortenings (negative: lengthenings) at which the
//                           concrete's laws change branch;
//   uniformStrain(ε)        the section at a uniform strain (shortening positive), every
//                           layer of bars counted at most at its yield force;
//   ultimateShortening(),   the strains at which a run ends: εcu at the top edge, and
//   ultimateLengthening()   the lengthening at the bottom edge (εtu) or of the bottom
//                           bars (εsu);
//   curvaturePastLimits()   a curvature at which every neutral axis between the faces
//                           has passed a limit;
//   balanceBeyondFaces(κ)   the state whose neutral axis lies beyond a face (the whole
//                           section compressed or lengthened) that balances N at κ, the
//                           concrete integrated numerically (BeyondFaces.h): the strains
//                           the limits are judged by and the moment about mid-height.
//                           None where no such axis balances before the run's strain
//                           limits.

#include "mechanics/ConcreteLaws.h"
#include "mechanics/FibreConcreteLaw.h"
#include "mechanics/MomentCurvature.h"
#include "mechanics/SectionInput.h"

#include "prurez/Failure.h"

#include <optional>
#include <vector>

namespace prurez {

// The step of the section analyses' scans [m].
inline constexpr long double sectionScanStep = 5e-6L;

// A section under a uniform strain: its axial force [MN, tension positive] and the
// moment of its forces about mid-height [MNm].
struct UniformStrainState {
    long double force = 0;
    long double moment = 0;
};

// What no section of the input's material can be, in the order it is looked for: a
// material or a diagram outside its choices; a width or height not above zero; for
// plain and reinforced concrete a modulus or a compressive strength not above zero; for
// reinforced concrete a negative bar area (no reinforcement, and it would make every
// scan a plain one). None for an input the analysis takes.
std::optional<Reason> sectionRefusal(const HeldSectionInput& input);

// The concrete as the plain (or reinforced) analysis holds it: εt0 = fct / E formed in
// single precision.
ConcreteProperties concreteProperties(const HeldSectionInput& input, LawGrouping grouping);

// Plain concrete: the chosen compression diagram and the softening tension law, which
// always acts. Ends when the top edge passes εcu (crushed) or the bottom edge εtu
// (torn).
class PlainSection {
public:
    static constexpr bool startsAtZeroCurvature = false;
    // Forms εt0 = fct / E in single precision.
    explicit PlainSection(const HeldSectionInput& input);
    std::optional<SectionRow> balanceAt(long double kappa, const ScanOptions& options) const;
    std::optional<RunEnd> limitPassed(const SectionRow& row) const;

    // For the interaction diagram and the depth profile (above).
    long double concreteStress(long double shortening) const;
    std::vector<long double> strainBreaks() const;
    UniformStrainState uniformStrain(long double shortening) const;
    long double ultimateShortening() const { return epsCu_; }
    long double ultimateLengthening() const;
    long double curvaturePastLimits() const;
    std::optional<SectionRow> balanceBeyondFaces(long double kappa) const;

private:
    ConcreteProperties concrete_;
    CompressionDiagram diagram_;
    CompressionLaw compression_;
    SofteningTension tension_;
    SofteningTension continuousTension_;  // exact equilibrium
    long double height_;
    Fixed N_;
    long double epsCu_;
};

// Reinforced concrete: the plain section's laws (the tension law when the concrete
// acts in tension) and a layer of bars near each edge. Ends when the top edge passes
// εcu (crushed) or the bottom bars pass εsu (steel torn); cracking alone goes on.
class ReinforcedSection {
public:
    static constexpr bool startsAtZeroCurvature = false;
    // Forms εt0 = fct / E in single precision and εy = fy / Es.
    explicit ReinforcedSection(const HeldSectionInput& input);
    std::optional<SectionRow> balanceAt(long double kappa, const ScanOptions& options) const;
    std::optional<RunEnd> limitPassed(const SectionRow& row) const;

    // For the interaction diagram and the depth profile (above).
    long double concreteStress(long double shortening) const;
    std::vector<long double> strainBreaks() const;
    UniformStrainState uniformStrain(long double shortening) const;
    long double ultimateShortening() const { return epsCu_; }
    long double ultimateLengthening() const;
    long double curvaturePastLimits() const;
    std::optional<SectionRow> balanceBeyondFaces(long double kappa) const;

private:
    ConcreteProperties concrete_;
    CompressionDiagram diagram_;
    bool concreteInTension_;
    CompressionLaw compression_;
    SofteningTension tension_;
    SofteningTension continuousTension_;  // exact equilibrium
    ElasticPlasticSteel steel_;
    BarsForPlan bars_;
    long double height_;
    Fixed N_;
    long double epsCu_;
    long double epsSu_;
};

// Steel-fibre-reinforced concrete: the fibre-concrete law as the section analysis
// holds it. The first row is at κ = 0. Ends when the bottom edge passes εtu (torn) or
// the top edge εcu (crushed).
class FibreSection {
public:
    static constexpr bool startsAtZeroCurvature = true;
    // Forms the law's strain limits in single precision.
    explicit FibreSection(const HeldSectionInput& input);
    std::optional<SectionRow> balanceAt(long double kappa, const ScanOptions& options) const;
    std::optional<RunEnd> limitPassed(const SectionRow& row) const;

    // For the interaction diagram and the depth profile (above).
    long double concreteStress(long double shortening) const;
    std::vector<long double> strainBreaks() const;
    UniformStrainState uniformStrain(long double shortening) const;
    long double ultimateShortening() const { return epsCu_; }
    long double ultimateLengthening() const;
    long double curvaturePastLimits() const;
    std::optional<SectionRow> balanceBeyondFaces(long double kappa) const;

private:
    FibreConcreteLaw law_;
    FibreConcreteLaw continuousLaw_;  // exact equilibrium
    long double width_;
    long double height_;
    Fixed N_;
    long double epsCu_;
};

// The section class of a material, for code written once for the three of them:
// `f(SectionType<S>())` with S the class of `material`, returning what f returns.
template <class S>
struct SectionType {
    using type = S;
};

template <class F>
decltype(auto) withSectionType(Material material, F&& f)
{
    switch (material) {
    case Material::plainConcrete:
        return f(SectionType<PlainSection>());
    case Material::fibreConcrete:
        return f(SectionType<FibreSection>());
    case Material::reinforcedConcrete:
        break;
    }
    return f(SectionType<ReinforcedSection>());
}

}  // namespace prurez
