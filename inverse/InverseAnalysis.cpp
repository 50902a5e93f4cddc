#include "inverse/InverseAnalysis.h"

#include "common/Failure.h"

namespace prurez {

// Placeholders until the inverse analysis is in place.
namespace {
[[noreturn]] void notYet() { throw Failure("not available yet"); }
}  // namespace

void applyTestPointGridSize(GridTable&, int) { notYet(); }
void setTestPointCount(const std::string&, GridTable&) { notYet(); }
bool isFileMask(const std::string&) { notYet(); }
int readTestDataFile(const std::string&, GridTable&, char) { notYet(); }
void copyTestPoints(const GridTable&, GridTable&) { notYet(); }
void computeTestDiagram(const TestDiagramFields&, GridTable&, LineSeries&, char, const std::function<void()>&)
{
    notYet();
}
void generateCombinations(const CombinationFields&, GridTable&, GridTable&, char) { notYet(); }
void computeCombinationMoments(const MomentFields&, const GridTable&, const GridTable&, GridTable&, char,
                               const MomentRunControl&)
{
    notYet();
}
void computeDeviations(const std::string&, const GridTable&, const GridTable&, const GridTable&, GridTable&, char)
{
    notYet();
}
void fillDeviationList(const GridTable&, const GridTable&, GridTable&) { notYet(); }
BestFit findBestFit(const std::string&, const GridTable&, const GridTable&, const GridTable&, const GridTable&,
                    LineSeries&, LineSeries&, char)
{
    notYet();
}

}  // namespace prurez
