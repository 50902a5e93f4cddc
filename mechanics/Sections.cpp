#include "mechanics/Sections.h"

#include "mechanics/BeyondFaces.h"
#include "mechanics/ExactEquilibrium.h"

#include <algorithm>
#include <cmath>

namespace prurez {

std::optional<Reason> sectionRefusal(const HeldSectionInput& input)
{
    const bool fibre = input.material == Material::fibreConcrete;
    const bool reinforced = input.material == Material::reinforcedConcrete;
    if (!fibre && !reinforced && input.material != Material::plainConcrete)
        return Reason::noMaterial;
    if (!fibre && input.diagram != CompressionDiagram::bilinear &&
        input.diagram != CompressionDiagram::parabolicRectangular && input.diagram != CompressionDiagram::parabolic)
        return Reason::noDiagram;
    if (!(input.width > 0.0L) || !(input.height > 0.0L))
        return Reason::dimensionsNotPositive;
    if (fibre)
        return std::nullopt;
    if (input.E.raw() <= 0)
        return Reason::modulusNotPositive;
    if (input.fcp.raw() <= 0)
        return Reason::strengthNotPositive;
    if (reinforced && input.bottomBars.area < 0.0L)
        return Reason::bottomBarAreaNegative;
    if (reinforced && input.topBars.area < 0.0L)
        return Reason::topBarAreaNegative;
    return std::nullopt;
}

ConcreteProperties concreteProperties(const HeldSectionInput& input, LawGrouping grouping)
{
    ConcreteProperties concrete;
    concrete.fcp = input.fcp;
    concrete.fct = input.fct;
    concrete.E = input.E;
    concrete.epsC1 = input.epsC1;
    concrete.epsTu = input.epsTu;
    concrete.width = input.width;
    concrete.grouping = grouping;
    concrete.epsT0 = single(ratio(input.fct, input.E));
    return concrete;
}

namespace {

// The concrete with the tension pieces kept extended, for exact equilibrium.
ConcreteProperties continuousForces(ConcreteProperties concrete)
{
    concrete.continuousForces = true;
    return concrete;
}

// The balance test of the plain and the reinforced analyses: the residual |N − ΣF| as
// a fixed-point value in MN passes when the integer part of raw·1000/10000 is 0.
bool residualPasses(Fixed residual)
{
    return std::trunc(static_cast<long double>(residual.raw()) * 1000.0L / 10000.0L) == 0.0L;
}

// One position of the neutral axis of a plain or reinforced section.
struct ConcreteTrial {
    long double x = 0;
    long double xt = 0;
    long double epsh = 0;
    long double epsd = 0;
    CompressionZone compression;
    TensionZone tension;
};

// The concrete of a plain or reinforced section at the depth xt of the tension zone. A
// compression zone of no depth carries nothing (exact equilibrium tries the top face
// itself, where the three-piece arm of a curved block would divide zero by zero).
ConcreteTrial concreteTrial(const CompressionLaw& compression, const SofteningTension* tension, long double h,
                            long double kappa, long double xt)
{
    ConcreteTrial trial;
    trial.xt = xt;
    trial.x = h - xt;
    trial.epsd = xt * kappa;
    trial.epsh = trial.x * kappa;
    if (trial.x != 0.0L)
        trial.compression = compression.zone(trial.x, kappa, trial.epsh);
    if (tension != nullptr)
        trial.tension = tension->zone(xt, kappa, trial.epsd);
    return trial;
}

// The values of a balanced plain or reinforced trial that both tables show.
SectionRow concreteRow(long double kappa, long double moment, const ConcreteTrial& trial)
{
    SectionRow row;
    row.kappa = kappa;
    row.moment = moment;
    row.x = trial.x;
    row.topStress = trial.compression.sigh.value();
    row.bottomStress = trial.tension.sigd.value();
    row.topStrain = trial.epsh;
    row.bottomStrain = trial.epsd;
    row.tension = trial.tension.FT;
    row.compression = trial.compression.FP;
    return row;
}

// The moment about mid-height of forces summing to `sum` whose moment about the neutral
// axis at depth x is `moment`.
long double midHeightMoment(long double moment, long double sum, long double x, long double h)
{
    return moment + sum * (x - h / 2.0L);
}

// A layer of bars at a uniform strain (shortening positive), at most at its yield force;
// tension positive.
long double cappedBarsForce(long double area, long double shortening, Fixed fy, Fixed Es)
{
    const long double stress = std::min(Es.value() * std::fabs(shortening), fy.value());
    return -(area * std::copysign(stress, shortening));
}

// The row of a balanced plain trial.
SectionRow plainRow(long double kappa, const ConcreteTrial& trial, long double h)
{
    SectionRow row = concreteRow(kappa, -(trial.compression.FP * trial.compression.zc) + trial.tension.Mt, trial);
    row.midHeightMoment = midHeightMoment(row.moment, trial.tension.FT + trial.compression.FP, trial.x, h);
    return row;
}

// The shortenings where the compression diagram changes branch, and the lengthenings
// (negative) where the tension law does.
std::vector<long double> concreteBreaks(const ConcreteProperties& c, CompressionDiagram diagram)
{
    if (diagram == CompressionDiagram::bilinear)
        return {single(ratio(c.fcp, c.E)), -c.epsT0, -c.epsTu};
    return {c.epsC1, 2.0L * c.epsC1, -c.epsT0, -c.epsTu};
}

beyond::BarsContribution noBars(long double, SectionRow&) { return {}; }

}  // namespace

// ---- plain concrete

PlainSection::PlainSection(const HeldSectionInput& input)
    : concrete_(concreteProperties(input, LawGrouping::plainConcrete)),
      diagram_(input.diagram),
      compression_(concrete_, diagram_),
      tension_(concrete_),
      continuousTension_(continuousForces(concrete_)),
      height_(input.height),
      N_(input.N),
      epsCu_(input.epsCu)
{
}

std::optional<SectionRow> PlainSection::balanceAt(long double kappa, const ScanOptions& options) const
{
    ConcreteTrial trial;
    if (options.exactEquilibrium) {
        auto residual = [&](long double xt) {
            trial = concreteTrial(compression_, &continuousTension_, height_, kappa, xt);
            return N_.value() * 0.001L - (trial.tension.FT + trial.compression.FP);
        };
        if (!findExactRoot({{height_, 0.0L}}, residual))
            return std::nullopt;
        return plainRow(kappa, trial, height_);
    }
    auto evaluate = [&](long double xt) {
        trial = concreteTrial(compression_, &tension_, height_, kappa, xt);
        const long double FT = trial.tension.FT;
        const long double FP = trial.compression.FP;
        // N·10000 in MN is the fixed-point kN value times 0.001.
        const long double residual =
            std::fabs((0.001L * static_cast<long double>(N_.raw()) - (FT + FP) * 10000.0L) / 10000.0L);
        return ScanVerdict{residualPasses(Fixed::store(residual)), -(FT + FP)};
    };
    auto plan = [&](const ScanPositions* positions) {
        return topEdgeScanPlan(concrete_, diagram_, true, nullptr, height_, kappa, N_, positions);
    };
    if (!findFirstBalanced(ScanLine{height_, sectionScanStep}, options, plan, evaluate))
        return std::nullopt;
    return plainRow(kappa, trial, height_);
}

long double PlainSection::concreteStress(long double shortening) const
{
    return shortening >= 0.0L ? -compression_.stress(shortening) : tension_.stress(-shortening);
}

UniformStrainState PlainSection::uniformStrain(long double shortening) const
{
    return {concrete_.width * height_ * concreteStress(shortening), 0.0L};
}

long double PlainSection::ultimateLengthening() const { return concrete_.epsTu; }

std::vector<long double> PlainSection::strainBreaks() const { return concreteBreaks(concrete_, diagram_); }

long double PlainSection::curvaturePastLimits() const { return (epsCu_ + concrete_.epsTu) / height_; }

std::optional<SectionRow> PlainSection::balanceBeyondFaces(long double kappa) const
{
    return beyond::balancedBeyondFaces(*this, kappa, N_.value() * 0.001L, concrete_.width, height_, noBars);
}

std::optional<RunEnd> PlainSection::limitPassed(const SectionRow& row) const
{
    if (row.topStrain > epsCu_)
        return RunEnd::crushed;
    if (row.bottomStrain > concrete_.epsTu)
        return RunEnd::torn;
    return std::nullopt;
}

// ---- reinforced concrete

ReinforcedSection::ReinforcedSection(const HeldSectionInput& input)
    : concrete_(concreteProperties(input, LawGrouping::reinforcedConcrete)),
      diagram_(input.diagram),
      concreteInTension_(input.concreteInTension),
      compression_(concrete_, diagram_),
      tension_(concrete_),
      continuousTension_(continuousForces(concrete_)),
      steel_(input.fy, input.Es),
      height_(input.height),
      N_(input.N),
      epsCu_(input.epsCu),
      epsSu_(input.epsSu)
{
    bars_.topArea = input.topBars.area;
    bars_.bottomArea = input.bottomBars.area;
    bars_.topDistance = input.topBars.distance;
    bars_.bottomDistance = input.bottomBars.distance;
    bars_.fy = input.fy;
    bars_.Es = input.Es;
}

std::optional<SectionRow> ReinforcedSection::balanceAt(long double kappa, const ScanOptions& options) const
{
    ConcreteTrial trial;
    long double topStrain = 0;     // top bars, positive in compression
    long double bottomStrain = 0;  // bottom bars, positive in tension
    BarForce top;
    BarForce bottom;
    // The section force sum at the depth xt of the tension zone.
    auto sumAt = [&](long double xt, const SofteningTension& tension) {
        trial = concreteTrial(compression_, concreteInTension_ ? &tension : nullptr, height_, kappa, xt);
        topStrain = (trial.x - bars_.topDistance) * kappa;
        bottomStrain = (xt - bars_.bottomDistance) * kappa;
        top = steel_.layer(bars_.topArea, topStrain);
        top.force = -top.force;
        bottom = steel_.layer(bars_.bottomArea, bottomStrain);
        return trial.tension.FT + bottom.force + trial.compression.FP + top.force;
    };
    if (options.exactEquilibrium) {
        auto residual = [&](long double xt) { return N_.value() * 0.001L - sumAt(xt, continuousTension_); };
        if (!findExactRoot({{height_, 0.0L}}, residual))
            return std::nullopt;
    } else {
        auto evaluate = [&](long double xt) {
            const long double sum = sumAt(xt, tension_);
            return ScanVerdict{residualPasses(Fixed::store(std::fabs(N_.value() * 0.001L - sum))), -sum};
        };
        auto plan = [&](const ScanPositions* positions) {
            return topEdgeScanPlan(concrete_, diagram_, concreteInTension_, &bars_, height_, kappa, N_, positions);
        };
        if (!findFirstBalanced(ScanLine{height_, sectionScanStep}, options, plan, evaluate))
            return std::nullopt;
    }

    const long double moment = -(top.force * (trial.x - bars_.topDistance)) -
                               trial.compression.FP * trial.compression.zc +
                               bottom.force * (trial.xt - bars_.bottomDistance) + trial.tension.Mt;
    SectionRow row = concreteRow(kappa, moment, trial);
    row.topBarStress = top.stress.value();
    row.bottomBarStress = bottom.stress.value();
    row.topBarStrain = topStrain;
    row.bottomBarStrain = bottomStrain;
    row.topBarForce = top.force;
    row.bottomBarForce = bottom.force;
    row.cracked = trial.epsd >= concrete_.epsTu;
    row.midHeightMoment = midHeightMoment(
        moment, trial.tension.FT + bottom.force + trial.compression.FP + top.force, trial.x, height_);
    return row;
}

long double ReinforcedSection::concreteStress(long double shortening) const
{
    if (shortening >= 0.0L)
        return -compression_.stress(shortening);
    return concreteInTension_ ? tension_.stress(-shortening) : 0.0L;
}

UniformStrainState ReinforcedSection::uniformStrain(long double shortening) const
{
    const long double top = cappedBarsForce(bars_.topArea, shortening, bars_.fy, bars_.Es);
    const long double bottom = cappedBarsForce(bars_.bottomArea, shortening, bars_.fy, bars_.Es);
    return {concrete_.width * height_ * concreteStress(shortening) + (top + bottom),
            top * (bars_.topDistance - height_ / 2.0L) + bottom * (height_ / 2.0L - bars_.bottomDistance)};
}

long double ReinforcedSection::ultimateLengthening() const { return epsSu_; }

std::vector<long double> ReinforcedSection::strainBreaks() const
{
    std::vector<long double> breaks = concreteBreaks(concrete_, diagram_);
    if (!concreteInTension_)
        breaks.erase(std::remove_if(breaks.begin(), breaks.end(), [](long double s) { return s < 0.0L; }),
                     breaks.end());
    return breaks;
}

long double ReinforcedSection::curvaturePastLimits() const
{
    const long double depth = height_ - bars_.bottomDistance;
    return (epsCu_ + epsSu_) / (depth > 0.0L ? depth : height_);
}

std::optional<SectionRow> ReinforcedSection::balanceBeyondFaces(long double kappa) const
{
    auto bars = [&](long double x, SectionRow& row) {
        row.topBarStrain = (x - bars_.topDistance) * kappa;
        row.bottomBarStrain = (height_ - x - bars_.bottomDistance) * kappa;
        const BarForce top = steel_.layer(bars_.topArea, row.topBarStrain);
        const BarForce bottom = steel_.layer(bars_.bottomArea, row.bottomBarStrain);
        row.topBarForce = -top.force;
        row.bottomBarForce = bottom.force;
        row.topBarStress = top.stress.value();
        row.bottomBarStress = bottom.stress.value();
        beyond::BarsContribution added;
        added.force = row.topBarForce + row.bottomBarForce;
        added.moment = row.topBarForce * (bars_.topDistance - height_ / 2.0L) +
                       row.bottomBarForce * (height_ / 2.0L - bars_.bottomDistance);
        return added;
    };
    return beyond::balancedBeyondFaces(*this, kappa, N_.value() * 0.001L, concrete_.width, height_, bars);
}

std::optional<RunEnd> ReinforcedSection::limitPassed(const SectionRow& row) const
{
    if (row.topStrain > epsCu_)
        return RunEnd::crushed;
    if (row.bottomBarStrain > epsSu_)
        return RunEnd::steelTorn;
    return std::nullopt;
}

// ---- fibre concrete

FibreSection::FibreSection(const HeldSectionInput& input)
    : law_(sectionFibreLaw(input.E, input.fcp, input.fct, input.a, input.b, input.epsTu)),
      continuousLaw_(law_),
      width_(input.width),
      height_(input.height),
      N_(input.N),
      epsCu_(input.epsCu)
{
    continuousLaw_.continuousForces = true;
}

std::optional<SectionRow> FibreSection::balanceAt(long double kappa, const ScanOptions& options) const
{
    auto balanced = [&](long double sum) {
        // r = N·0.001 − (FT + FP) as a fixed-point value in MN, then |r| in kN.
        const Fixed r = Fixed::store(N_.value() * 0.001L - sum);
        const Fixed q = Fixed::store(std::fabs(r.value()) * 1000.0L);
        return std::trunc(q.value()) == 0.0L;
    };
    const std::optional<FibreTrial> found =
        options.exactEquilibrium
            ? exactFibreTrial(continuousLaw_, width_, height_, kappa, N_.value() * 0.001L)
            : firstBalancedFibreTrial(law_, width_, height_, kappa, sectionScanStep, N_.value() * 0.001L, options,
                                      balanced);
    if (!found)
        return std::nullopt;
    const FibreTrial& trial = *found;

    SectionRow row;
    row.kappa = kappa;
    row.moment = -trial.compression.force * single(trial.compression.arm + trial.tension.arm);
    row.x = trial.x;
    row.topStress = -trial.compression.faceStress;
    row.bottomStress = trial.tension.faceStress;
    row.topStrain = trial.epsh;
    row.bottomStrain = trial.epsd;
    row.tension = trial.tension.force;
    row.compression = trial.compression.force;
    // About the neutral axis the forces make the couple and ΣF at the arm zt of FT.
    const long double sum = trial.tension.force + trial.compression.force;
    row.midHeightMoment = midHeightMoment(row.moment + sum * trial.tension.arm, sum, trial.x, height_);
    return row;
}

long double FibreSection::concreteStress(long double shortening) const
{
    return shortening >= 0.0L ? -fibreCompressionStress(law_, shortening) : fibreTensionStress(law_, -shortening);
}

UniformStrainState FibreSection::uniformStrain(long double shortening) const
{
    return {width_ * height_ * concreteStress(shortening), 0.0L};
}

long double FibreSection::ultimateLengthening() const { return law_.etu; }

std::vector<long double> FibreSection::strainBreaks() const { return {law_.ec0, -law_.et0, -law_.et1, -law_.etu}; }

long double FibreSection::curvaturePastLimits() const { return (epsCu_ + law_.etu) / height_; }

std::optional<SectionRow> FibreSection::balanceBeyondFaces(long double kappa) const
{
    return beyond::balancedBeyondFaces(*this, kappa, N_.value() * 0.001L, width_, height_, noBars);
}

std::optional<RunEnd> FibreSection::limitPassed(const SectionRow& row) const
{
    if (row.topStrain > epsCu_)
        return RunEnd::crushed;
    if (row.bottomStrain > law_.etu)
        return RunEnd::torn;
    return std::nullopt;
}

}  // namespace prurez
