#pragma once
// The moment–curvature of a four-point bending test: a beam on two supports loaded
// by two equal forces F at the distance a from the supports, section dimension s.

namespace prurez {

class BendingTest {
public:
    // E of the test [MPa], a and s [m]. The modulus is used in kN/m² (E·1000).
    BendingTest(long double E, long double a, long double s) : a_(a), s_(s), modulus_(E * 1000.0L) {}

    // κ = (1.6 / (a·a))·(w − F·a·(1 / (E′·s·s))·((4·a·a) / (s·s) + 2.88)) [1/m] from the
    // force F [kN] and the deflection w [m].
    long double curvature(long double force, long double deflection) const
    {
        return (1.6L / (a_ * a_)) * (deflection - shearPart(force));
    }
    // M = F·a [kNm].
    long double moment(long double force) const { return force * a_; }

    // The relations solved for the test point (for test data made from known moments):
    // F = M / a [kN], and w = κ / (1.6 / (a·a)) + F·a·(1 / (E′·s·s))·((4·a·a) / (s·s) + 2.88) [m].
    long double force(long double moment) const { return moment / a_; }
    long double deflection(long double force, long double curvature) const
    {
        return curvature / (1.6L / (a_ * a_)) + shearPart(force);
    }

private:
    // F·a·(1 / (E′·s·s))·((4·a·a) / (s·s) + 2.88): the part of the deflection that is not
    // the curvature's [m].
    long double shearPart(long double force) const
    {
        return force * a_ * (1.0L / (modulus_ * s_ * s_)) * ((4.0L * a_ * a_) / (s_ * s_) + 2.88L);
    }

    long double a_;
    long double s_;
    long double modulus_;
};

}  // namespace prurez
