// prurez in a program of your own: the moment–curvature diagram of a reinforced concrete
// beam, the moment of a fibre-concrete beam at one curvature, and the best fit of an
// inverse analysis. Units: MPa, m, m², MN, MNm, 1/m; strains as fractions.
//
// Build it with the project (target library_example), or against the static libraries
// prurez_flows, prurez_mechanics and prurez_common with include/ on the include path.

#include "prurez/prurez.h"

#include <cstdio>

int main()
{
    // A beam 0,3 × 0,5 m, concrete fcp 30 MPa, fct 2,9 MPa, E 32 000 MPa, parabolic-
    // rectangular diagram acting in tension; 1000 mm² of bars at the bottom and 400 mm²
    // at the top, 50 mm from the edges; steel fy 500 MPa, Es 200 000 MPa, εsu 1 %.
    prurez::SectionInput beam;
    beam.material = prurez::Material::reinforcedConcrete;
    beam.diagram = prurez::CompressionDiagram::parabolicRectangular;
    beam.concreteInTension = true;
    beam.fcp = 30;
    beam.fct = 2.9L;
    beam.E = 32000;
    beam.epsCu = 0.0035L;
    beam.epsTu = 0.0001L;
    beam.epsC1 = 0.002L;
    beam.fy = 500;
    beam.Es = 200000;
    beam.epsSu = 0.01L;
    beam.bottomBars = {1000e-6L, 0.05L};
    beam.topBars = {400e-6L, 0.05L};
    beam.width = 0.3L;
    beam.height = 0.5L;
    beam.N = 0;

    try {
        const prurez::MomentCurvatureDiagram diagram = prurez::momentCurvature(beam, 0.001L);
        std::printf("curvature [1/m]\tmoment [kNm]\tneutral axis [m]\n");
        for (const prurez::SectionRow& row : diagram.rows)
            std::printf("%.6Lg\t%.6Lg\t%.4Lf\n", row.kappa, row.moment * 1000.0L, row.x);
        const char* end = diagram.outcome.end == prurez::RunEnd::crushed     ? "crushed"
                          : diagram.outcome.end == prurez::RunEnd::steelTorn ? "steel torn"
                                                                             : "stopped";
        std::printf("%s at the curvature %.6Lg after %d rows\n", end, diagram.outcome.kappa, diagram.outcome.rows);

        // A fibre-concrete beam 0,15 × 0,15 m at the curvature 0,05 1/m.
        prurez::FibreLaw fibre;
        fibre.E = 30000;
        fibre.fcp = 40;
        fibre.fct = 3;
        fibre.epsTu = 0.02L;
        fibre.a = 0.4L;
        fibre.b = 0.3L;
        if (const std::optional<long double> moment = prurez::fibreMomentAtCurvature({0.15L, 0.15L}, fibre, 0.05L))
            std::printf("fibre beam at 0.05 1/m: %.6Lg kNm\n", *moment * 1000.0L);

        // The inverse analysis of a bending test typed as three points, on a grid of
        // 3^5 combinations; the texts are those of the program's fields (decimal point).
        prurez::InverseInput test;
        test.points = {{"10", "0.0001"}, {"14", "0.0004"}, {"12", "0.0015"}};
        test.test = {"30000", "0.15", "0.15"};
        test.height = "0.15";
        test.width = "0.15";
        test.combinations.fcp = "40";
        test.combinations.ecpm = "0.35";
        test.combinations.E = {"25000", "35000"};
        test.combinations.fct = {"2.5", "4.5"};
        test.combinations.ectm = {"2", "4"};
        test.combinations.a = {"0.2", "0.6"};
        test.combinations.b = {"0.2", "0.6"};
        test.combinations.intermediateCount = "1";
        prurez::InverseAnalysis session('.');
        session.run(test, prurez::InverseAnalysis::Step::bestFit);
        const prurez::BestFit& best = *session.bestFit();
        const prurez::FibreLaw law = session.lawOf(best.texts);
        std::printf("best of %d combinations: number %d, E %.6Lg MPa, fct %.6Lg MPa, a %.3Lg, b %.3Lg, sum %s\n",
                    session.combinations().rowCount() - 1, best.combination, law.E, law.fct, law.a, law.b,
                    best.sum.c_str());
    } catch (const prurez::Failure& failure) {
        std::fprintf(stderr, "%s\n", failure.message().c_str());
        return 1;
    }
    return 0;
}
