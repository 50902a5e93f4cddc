// Makes the synthetic bending tests of examples/ from known fibre-concrete parameters:
// the moment of each chosen curvature by MomentAtCurvature, turned into a force and a
// deflection by solving the relations of the test diagram for them.
//
//   build/synthetic_test_data examples/synthetic
//
// writes synthetic-beam.txt (the test data file: force [kN] and deflection [m] of each
// point, decimal points, no line end after the last number) and true-parameters.txt
// (the parameters it was made from, in the input file form, decimal commas).
// synthetic.input, beside them, holds the inverse analysis's fields.
//
//   build/synthetic_test_data --series examples/series
//
// writes a series of five such specimens of one mix, their parameters spread around
// those of the single test, each strained to slightly other curvatures: beam-1.txt
// … beam-5.txt, and true-parameters.txt with a line of each specimen's parameters
// (file, E, fcp, fct, ecpm, ectm, a, b and the slope S of the gentle branch; TSV,
// decimal commas). series.input, beside them, names them.

#include "common/Files.h"
#include "common/NumberText.h"
#include "mechanics/MomentAtCurvature.h"
#include "mechanics/Refinement.h"
#include "mechanics/TestDiagram.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iostream>
#include <sstream>
#include <optional>
#include <string>

using namespace prurez;

namespace {

// The beam: section 0,15 × 0,15 m, loads 0,15 m from the supports.
const long double height = 0.15L;
const long double width = 0.15L;
const long double loadDistance = 0.15L;
const long double sectionDimension = 0.15L;

struct Concrete {
    long double E;
    long double fcp;
    long double fct;
    long double ecpm;  // [%], not used by the moments
    long double ectm;  // [%]
    long double a;
    long double b;
};

// The single test's concrete; its modulus is also the test's.
const Concrete single{32150.0L, 40.0L, 3.37L, 0.35L, 2.73L, 0.43L, 0.27L};

// The series: five specimens of one mix, scattered about it; the test's modulus (the
// series input's E_test) is the single test's.
const Concrete series[] = {{31200.0L, 40.0L, 3.21L, 0.35L, 2.6L, 0.4L, 0.25L},
                           {33400.0L, 40.0L, 3.52L, 0.35L, 2.85L, 0.46L, 0.29L},
                           {32150.0L, 40.0L, 3.37L, 0.35L, 2.73L, 0.43L, 0.27L},
                           {30600.0L, 40.0L, 3.08L, 0.35L, 2.52L, 0.38L, 0.24L},
                           {34100.0L, 40.0L, 3.66L, 0.35L, 3.02L, 0.47L, 0.3L}};
// Each specimen's curvatures are the single test's times its factor.
const long double curvatureFactors[] = {0.97L, 1.02L, 1.0L, 0.95L, 1.05L};

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

FibreParameters parametersOf(const Concrete& concrete)
{
    return fibreParametersOf(concrete.fcp, FitValues{concrete.E, concrete.fct, concrete.ectm, concrete.a, concrete.b});
}

// The test data file of a concrete tested at the curvatures times `factor`, saved as
// the program saves files (a failure throws FileProblem); false when some curvature has
// no balance (told on standard error).
bool writeTest(const std::string& fileName, const Concrete& concrete, long double factor)
{
    const BeamSection beam{Single(width), Single(height)};
    const FibreParameters parameters = parametersOf(concrete);
    const BendingTest test(single.E, loadDistance, sectionDimension);
    std::string data;
    for (long double typed : curvatures) {
        const Single curvature(typed * factor);
        const std::optional<long double> moment = MomentAtCurvature(beam, parameters, curvature);
        if (!moment) {
            std::cerr << "no balance at the curvature " << formatNumber(curvature, '.') << '\n';
            return false;
        }
        const long double force = test.force(*moment);
        const long double deflection = test.deflection(force, curvature);
        data += (data.empty() ? "" : "\n") + plainText(force) + ' ' + plainText(deflection);
    }
    saveFile(fileName, data);
    return true;
}

int writeSingle(const std::string& folder)
{
    if (!writeTest(folder + "/synthetic-beam.txt", single, 1.0L))
        return 1;
    const Concrete& c = single;
    std::ostringstream values;
    values << "# The parameters synthetic-beam.txt was made from (tools/synthetic_test_data.cpp):\n"
           << "# beam 0,15 x 0,15 m, loads 0,15 m from the supports, E_test = E.\n"
           << "E = " << formatNumber(c.E, ',') << "\nfcp = " << formatNumber(c.fcp, ',')
           << "\nfct = " << formatNumber(c.fct, ',') << "\necpm = " << formatNumber(c.ecpm, ',')
           << "\nectm = " << formatNumber(c.ectm, ',') << "\na = " << formatNumber(c.a, ',')
           << "\nb = " << formatNumber(c.b, ',') << '\n';
    saveFile(folder + "/true-parameters.txt", values.str());
    return 0;
}

int writeSeries(const std::string& folder)
{
    std::ostringstream values;
    values << "# The parameters each specimen of series.input was made from (tools/synthetic_test_data.cpp):\n"
           << "# beam 0,15 x 0,15 m, loads 0,15 m from the supports, E_test = " << formatNumber(single.E, ',')
           << ";\n# S = (1 - a - b) fct / (ectm/100 - et1), the slope of the gentle branch [MPa].\n"
           << "# file\tE\tfcp\tfct\tecpm\tectm\ta\tb\tS\n";
    for (size_t i = 0; i < std::size(series); ++i) {
        const std::string name = "beam-" + std::to_string(i + 1) + ".txt";
        const Concrete& c = series[i];
        if (!writeTest(folder + "/" + name, c, curvatureFactors[i]))
            return 1;
        values << name;
        for (long double value : {c.E, c.fcp, c.fct, c.ecpm, c.ectm, c.a, c.b, gentleSlope(parametersOf(c))})
            values << '\t' << formatNumber(value, ',');
        values << '\n';
    }
    saveFile(folder + "/true-parameters.txt", values.str());
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    try {
        if (argc == 2)
            return writeSingle(argv[1]);
        if (argc == 3 && std::string(argv[1]) == "--series")
            return writeSeries(argv[2]);
    } catch (const FileProblem& problem) {
        std::cerr << problem.message() << '\n';
        return 1;
    }
    std::cerr << "usage: synthetic_test_data FOLDER\n       synthetic_test_data --series FOLDER\n";
    return 2;
}
