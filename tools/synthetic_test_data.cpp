// Makes the synthetic bending test of examples/synthetic/ from known fibre-concrete
// parameters: the moment of each chosen curvature by MomentAtCurvature, turned into a
// force and a deflection by solving the relations of the test diagram for them.
//
//   build/synthetic_test_data examples/synthetic
//
// writes synthetic-beam.txt (the test data file: force [kN] and deflection [m] of each
// point, decimal points, no line end after the last number) and true-parameters.txt
// (the parameters it was made from, in the input file form, decimal commas).
// synthetic.input, beside them, holds the inverse analysis's fields.

#include "common/NumberText.h"
#include "mechanics/MomentAtCurvature.h"
#include "mechanics/Refinement.h"
#include "mechanics/TestDiagram.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>

using namespace prurez;

namespace {

// The beam: section 0,15 × 0,15 m, loads 0,15 m from the supports; the test's modulus
// is the concrete's.
const long double height = 0.15L;
const long double width = 0.15L;
const long double loadDistance = 0.15L;
const long double sectionDimension = 0.15L;

// The concrete.
const long double E = 32150.0L;
const long double fcp = 40.0L;
const long double fct = 3.37L;
const long double ecpm = 0.35L;  // [%], not used by the moments
const long double ectm = 2.73L;  // [%]
const long double a = 0.43L;
const long double b = 0.27L;

// The curvatures [1/m], taken in single precision (as the analysis holds them) so that
// the curvature it derives from the file rounds back to the same value: elastic points
// for E, the cracking for fct and a, the gentle branch for its slope; the last two
// strain the tensioned face beyond εtu (2,73 %), where the gentle line goes on, so that
// b and εtm still show only through its slope.
const long double curvatures[] = {0.0004L, 0.0008L, 0.0012L, 0.0016L, 0.002L, 0.003L,
                                  0.005L,  0.01L,   0.03L,   0.08L,   0.22L,  0.28L};

// A number with 15 significant digits in plain decimal notation with a decimal point.
std::string plainText(long double value)
{
    const int magnitude = static_cast<int>(std::floor(std::log10(std::fabs(value))));
    const int decimals = std::max(1, 14 - magnitude);
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, "%.*Lf", decimals, value);
    std::string text = buffer;
    while (text.back() == '0' && text[text.size() - 2] != '.')
        text.pop_back();
    return text;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: synthetic_test_data FOLDER\n";
        return 2;
    }
    const std::string folder = argv[1];
    const BeamSection beam{Single(width), Single(height)};
    const FibreParameters parameters = fibreParametersOf(fcp, FitValues{E, fct, ectm, a, b});
    const BendingTest test(E, loadDistance, sectionDimension);

    std::string data;
    for (long double typed : curvatures) {
        const Single curvature(typed);
        const std::optional<long double> moment = MomentAtCurvature(beam, parameters, curvature);
        if (!moment) {
            std::cerr << "no balance at the curvature " << formatNumber(curvature, '.') << '\n';
            return 1;
        }
        const long double force = test.force(*moment);
        const long double deflection = test.deflection(force, curvature);
        data += (data.empty() ? "" : "\n") + plainText(force) + ' ' + plainText(deflection);
    }
    std::ofstream(folder + "/synthetic-beam.txt", std::ios::binary) << data;

    std::ofstream values(folder + "/true-parameters.txt", std::ios::binary);
    values << "# The parameters synthetic-beam.txt was made from (tools/synthetic_test_data.cpp):\n"
           << "# beam 0,15 x 0,15 m, loads 0,15 m from the supports, E_test = E.\n"
           << "E = " << formatNumber(E, ',') << "\nfcp = " << formatNumber(fcp, ',')
           << "\nfct = " << formatNumber(fct, ',') << "\necpm = " << formatNumber(ecpm, ',')
           << "\nectm = " << formatNumber(ectm, ',') << "\na = " << formatNumber(a, ',')
           << "\nb = " << formatNumber(b, ',') << '\n';
    if (!values) {
        std::cerr << "cannot write into " << folder << '\n';
        return 1;
    }
    return 0;
}
