#include "mechanics/ConcreteLaws.h"

#include <cmath>

namespace prurez {

namespace {

constexpr long double twoThirds = 2.0L / 3.0L;
constexpr long double fiveThirds = 5.0L / 3.0L;

bool isPlain(const ConcreteProperties& concrete) { return concrete.grouping == LawGrouping::plainConcrete; }

// base^n as exp(n·ln(base)). The plain-concrete laws take a zero base as zero; in the
// reinforced-concrete laws ln(0) stays a division by zero for the fault guard.
long double power(const ConcreteProperties& concrete, long double base, long double n)
{
    if (isPlain(concrete) && base == 0.0L)
        return 0.0L;
    return std::exp(n * std::log(base));
}

// σ(ε) = fcp·(1 − |1 − ε/εc1|^n)
long double parabolaStress(const ConcreteProperties& concrete, long double n, long double strain)
{
    return concrete.fcp.value() * (1.0L - power(concrete, std::fabs(1.0L - strain / concrete.epsC1), n));
}

// The arm of a curved stress block of depth d from three pieces over its two halves:
// a triangle under σm, a rectangle under σm and a triangle from σm up to σtop.
long double threePieceArm(long double d, long double sigmaMid, long double sigmaTop, long double width)
{
    const long double half = d / 2.0L;
    const long double deltaSigma = single(sigmaTop - sigmaMid);
    const long double P1 = single(0.5L * half * width * sigmaMid);
    const long double P2 = single(half * width * sigmaMid);
    const long double P3 = single(0.5L * half * width * deltaSigma);
    return single((P1 * twoThirds * half + P2 * 1.5L * half + P3 * fiveThirds * half) / (P1 + P2 + P3));
}

}  // namespace

Fixed parabolaExponent(const ConcreteProperties& concrete)
{
    return Fixed::store(concrete.epsC1 * concrete.E.value() / concrete.fcp.value());
}

// ---- bilinear

long double BilinearCompression::stress(long double strain) const
{
    return strain <= single(ratio(c_.fcp, c_.E)) ? c_.E.value() * strain : c_.fcp.value();
}

CompressionZone BilinearCompression::zone(long double x, long double kappa, long double epsh) const
{
    const long double E = c_.E.value();
    const long double fcp = c_.fcp.value();
    const long double b = c_.width;
    const long double epsC0 = single(ratio(c_.fcp, c_.E));
    CompressionZone zone;
    if (epsh <= epsC0) {
        if (isPlain(c_)) {
            const long double sigma = E * epsh;
            zone.FP = -(0.5L * b * x * sigma);
        } else {
            zone.FP = -(0.5L * b * epsh * E * x);
        }
        zone.sigh = Fixed::store(E * epsh);
        zone.zc = single(twoThirds * x);
        return zone;
    }
    // A triangle up to εc0 over the depth xc0, then the plateau at fcp.
    const long double xc0 = epsC0 / kappa;
    const long double F1 = -(0.5L * b * fcp * xc0);
    const long double F2 = -(b * fcp * (x - xc0));
    zone.FP = F1 + F2;
    zone.sigh = c_.fcp;
    const long double z1 = single(twoThirds * xc0);
    const long double z2 = single(xc0 + 0.5L * (x - xc0));
    zone.zc = single((F1 * z1 + F2 * z2) / zone.FP);
    return zone;
}

// ---- parabolic

long double ParabolicCompression::stress(long double strain) const
{
    if (plateau_ && strain > c_.epsC1)
        return c_.fcp.value();
    return parabolaStress(c_, parabolaExponent(c_).value(), strain);
}

CompressionZone ParabolicCompression::zone(long double x, long double kappa, long double epsh) const
{
    const ConcreteProperties& c = c_;
    const long double fcp = c.fcp.value();
    const long double b = c.width;
    const long double n = parabolaExponent(c).value();
    const long double xc1 = c.epsC1 / kappa;
    CompressionZone zone;
    // The top-edge stress of the parabola, stored before the branches part. The
    // plain-concrete analysis stores it with the plateau too, which then shows fcp (far
    // beyond εc1 the store overflows and ends the run); the reinforced analysis does not
    // form it there.
    if (isPlain(c) || !(plateau_ && epsh > c.epsC1))
        zone.sigh = Fixed::store(parabolaStress(c, n, epsh));
    if (epsh <= c.epsC1) {
        // The rising branch only: its exact integral.
        if (isPlain(c))
            zone.FP = -(b * fcp * (x + (power(c, (xc1 - x) / xc1, n) * (xc1 - x) - xc1) / (n + 1.0L)));
        else
            zone.FP = -(b * fcp * (x + power(c, 1.0L - x / xc1, n) * (xc1 - x) / (n + 1.0L) - xc1 / (n + 1.0L)));
        const long double sigmaMid = single(parabolaStress(c, n, 0.5L * epsh));
        zone.zc = threePieceArm(x, sigmaMid, zone.sigh.value(), b);
        return zone;
    }

    // The curved part up to εc1 over the depth xc1, then the rest of the zone.
    const long double F1 = isPlain(c) ? -(b * fcp * (xc1 - xc1 / (n + 1.0L))) : -(b * fcp * xc1 * n / (n + 1.0L));
    const long double sigmaMid = single(fcp * (1.0L - power(c, 0.5L, n)));
    const long double z1 = threePieceArm(xc1, sigmaMid, fcp, b);
    long double F2;
    long double z2;
    if (plateau_) {
        F2 = -(b * fcp * (x - xc1));
        zone.sigh = c.fcp;
        z2 = single(xc1 + 0.5L * (x - xc1));
    } else {
        // The parabola falls again; its arm from the rectangle under the edge stress
        // and the triangle above it.
        const long double sigh = zone.sigh.value();
        F2 = -(b * fcp * ((x - xc1) - power(c, (x - xc1) / xc1, n) * (x - xc1) / (n + 1.0L)));
        const long double G1 = single((x - xc1) * b * sigh);
        const long double G2 = single(0.5L * b * (x - xc1) * (fcp - sigh));
        z2 = single(((xc1 + 0.5L * (x - xc1)) * G1 + (xc1 + (x - xc1) / 3.0L) * G2) / (G1 + G2));
    }
    zone.FP = F1 + F2;
    zone.zc = single((F1 * z1 + F2 * z2) / zone.FP);
    return zone;
}

// ---- the chosen diagram

namespace {

std::variant<BilinearCompression, ParabolicCompression> diagramLaw(const ConcreteProperties& concrete,
                                                                   CompressionDiagram diagram)
{
    if (diagram == CompressionDiagram::bilinear)
        return BilinearCompression(concrete);
    return ParabolicCompression(concrete, diagram == CompressionDiagram::parabolicRectangular);
}

}  // namespace

CompressionLaw::CompressionLaw(const ConcreteProperties& concrete, CompressionDiagram diagram)
    : law_(diagramLaw(concrete, diagram))
{
}

long double CompressionLaw::stress(long double strain) const
{
    return std::visit([&](const auto& law) { return law.stress(strain); }, law_);
}

CompressionZone CompressionLaw::zone(long double x, long double kappa, long double epsh) const
{
    return std::visit([&](const auto& law) { return law.zone(x, kappa, epsh); }, law_);
}

// ---- tension

namespace {

// A piece of the tension resultant: held in single precision, or extended for exact
// equilibrium.
long double forcePiece(const ConcreteProperties& c, long double v) { return c.continuousForces ? v : single(v); }

// The stress where the softening line has reached the strain, held in single precision.
long double softenedStress(const ConcreteProperties& c, long double strain)
{
    const long double fct = c.fct.value();
    return isPlain(c) ? forcePiece(c, fct - fct * (strain - c.epsT0) / (c.epsTu - c.epsT0))
                      : forcePiece(c, fct * (1.0L - (strain - c.epsT0) / (c.epsTu - c.epsT0)));
}

}  // namespace

long double SofteningTension::stress(long double strain) const
{
    if (strain <= c_.epsT0)
        return c_.E.value() * strain;
    return strain <= c_.epsTu ? softenedStress(c_, strain) : 0.0L;
}

TensionZone SofteningTension::zone(long double xt, long double kappa, long double epsd) const
{
    const ConcreteProperties& c = c_;
    const bool plain = isPlain(c);
    const long double E = c.E.value();
    const long double fct = c.fct.value();
    const long double b = c.width;
    TensionZone zone;
    if (epsd <= c.epsT0) {
        zone.FT = plain ? 0.5L * E * epsd * xt * b : 0.5L * epsd * E * xt * b;
        zone.sigd = Fixed::store(E * epsd);
        zone.Mt = zone.FT * twoThirds * xt;
        return zone;
    }

    // The elastic triangle from the neutral axis down to the depth xe, where the
    // strain reaches εt0, and its moment.
    const long double xe = c.epsT0 / kappa;
    const long double elasticForce = 0.5L * fct * b * xe;
    const long double elasticMoment = plain ? 0.5L * b * fct * xe * twoThirds * xe : elasticForce * (twoThirds * xe);

    if (epsd <= c.epsTu) {
        // Softening: the stress falls from fct at xe to sd at the bottom edge.
        const long double sd = softenedStress(c, epsd);
        const long double s = forcePiece(c, (epsd - c.epsT0) / kappa);
        const long double rectangleForce = sd * b * s;
        const long double triangleForce = 0.5L * (fct - sd) * b * s;
        const long double rectangleArm = xe + 0.5L * s;
        const long double triangleArm = xe + s / 3.0L;
        zone.FT = elasticForce + rectangleForce + triangleForce;
        zone.sigd = Fixed::store(sd);
        const long double triangleMoment =
            plain ? 0.5L * b * s * (fct - sd) * triangleArm : triangleForce * triangleArm;
        zone.Mt = elasticMoment + rectangleForce * rectangleArm + triangleMoment;
        return zone;
    }

    // Torn edge: the softened band of depth L is complete, below it nothing acts.
    const long double L = (c.epsTu - c.epsT0) / kappa;
    const long double bandForce = 0.5L * fct * b * L;
    zone.FT = elasticForce + bandForce;
    zone.sigd = Fixed();
    zone.Mt = elasticMoment + bandForce * (xe + L / 3.0L);
    return zone;
}

// ---- steel

BarForce ElasticPlasticSteel::layer(long double area, long double strain) const
{
    if (strain > epsY_)
        return {area * fy_.value(), fy_};
    return {area * strain * Es_.value(), Fixed::store(strain * Es_.value())};
}

}  // namespace prurez
