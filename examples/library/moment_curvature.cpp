// The mechanics of prurez in a program of your own: the moment–curvature diagram of a
// reinforced concrete beam, and the moment of a fibre-concrete beam at one curvature.
//
// Build it with the project (target mechanics_example), or against the static
// libraries prurez_mechanics and prurez_common with the source folder on the include
// path.

#include "mechanics/Mechanics.h"

#include <cstdio>

using namespace prurez;

int main()
{
    // A beam 0,3 × 0,5 m, concrete fcp 30 MPa, fct 2,9 MPa, E 32 000 MPa, parabolic-
    // rectangular diagram acting in tension; 1000 mm² of bars at the bottom and 400 mm²
    // at the top, 50 mm from the edges; steel fy 500 MPa, Es 200 000 MPa, εsu 1 %.
    SectionInput beam;
    beam.material = Material::reinforcedConcrete;
    beam.diagram = CompressionDiagram::parabolicRectangular;
    beam.concreteInTension = true;
    beam.fcp = Fixed::store(30.0L);
    beam.fct = Fixed::store(2.9L);
    beam.E = Fixed::store(32000.0L);
    beam.epsCu = 0.0035L;
    beam.epsTu = 0.0001L;
    beam.epsC1 = 0.002L;
    beam.fy = Fixed::store(500.0L);
    beam.Es = Fixed::store(200000.0L);
    beam.epsSu = 0.01L;
    beam.bottomBars = {1000e-6L, 0.05L};
    beam.topBars = {400e-6L, 0.05L};
    beam.width = Single(0.3L);
    beam.height = Single(0.5L);
    beam.N = Fixed::store(0.0L);

    try {
        const MomentCurvatureDiagram diagram = momentCurvature(beam, Single(0.001L));
        std::printf("curvature [1/m]\tmoment [kNm]\tneutral axis [m]\n");
        for (const SectionRow& row : diagram.rows)
            std::printf("%.6Lg\t%.6Lg\t%.4Lf\n", row.kappa, row.moment * 1000.0L, row.x);
        const char* end = diagram.outcome.end == RunEnd::crushed     ? "crushed"
                          : diagram.outcome.end == RunEnd::steelTorn ? "steel torn"
                                                                     : "stopped";
        std::printf("%s at the curvature %.6Lg after %d rows\n", end, diagram.outcome.kappa, diagram.outcome.rows);

        // A fibre-concrete beam 0,15 × 0,15 m at the curvature 0,05 1/m.
        FibreParameters fibre;
        fibre.E = 30000.0L;
        fibre.fcp = 40.0L;
        fibre.fct = 3.0L;
        fibre.a = Single(0.4L);
        fibre.b = Single(0.3L);
        fibre.epsTu = 0.02L;
        const std::optional<long double> moment =
            MomentAtCurvature(BeamSection{Single(0.15L), Single(0.15L)}, fibre, Single(0.05L));
        if (moment)
            std::printf("fibre beam at 0.05 1/m: %.6Lg kNm\n", *moment);
    } catch (const Failure& failure) {
        std::fprintf(stderr, "%s\n", failure.message().c_str());
        return 1;
    }
    return 0;
}
