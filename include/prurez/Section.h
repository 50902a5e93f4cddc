#pragma once
// The working diagram of a section: the moment–curvature run of a rectangle of plain,
// steel-fibre-reinforced or reinforced concrete under an axial force. The curvature is
// stepped by Δκ, the neutral axis is found at every step where the section forces
// balance the axial force within 1 kN, and one row of values is produced per step until
// the section crushes or tears.
//
// Units, for the whole interface: stresses and moduli in MPa, lengths in m, bar areas
// in m², forces in MN (the axial force too, tension positive), moments in MNm,
// curvatures in 1/m; strains are fractions (0.0035, not 0,35 %).
//
// The analysis holds some values in a precision class of its own, and the interface
// converts each once where it enters: fcp, fct, E, fy and Es are held with 4 decimals,
// the axial force as kN with 4 decimals, the width, the height, the fibre coefficients
// a and b and the curvature step in single precision (0.1 becomes
// 0.100000001490116…); everything else is 80-bit extended.
//
// Every call keeps the caller's floating-point environment as it was (its rounding, its
// raised flags) and computes in the default one.

#include "prurez/Failure.h"
#include "prurez/Progress.h"

#include <functional>
#include <memory>
#include <vector>

namespace prurez {

struct HeldSectionInput;  // (inside the library) the input as the analysis holds it

enum class Material { plainConcrete, fibreConcrete, reinforcedConcrete };

// The compression diagram of plain and reinforced concrete (fibre concrete is always
// bilinear).
enum class CompressionDiagram { bilinear, parabolicRectangular, parabolic };

// A layer of bars: its area [m²] and the distance of the bars from the nearer edge [m].
struct BarLayer {
    long double area = 0;
    long double distance = 0;
};

struct SectionInput {
    Material material = Material::plainConcrete;
    CompressionDiagram diagram = CompressionDiagram::bilinear;  // plain and reinforced concrete
    bool concreteInTension = true;  // reinforced concrete; plain and fibre concrete always act in tension

    long double fcp = 0;    // compressive strength [MPa]
    long double fct = 0;    // tensile strength [MPa]
    long double E = 0;      // modulus [MPa]
    long double epsCu = 0;  // ultimate compressive strain εcu
    long double epsTu = 0;  // ultimate tensile strain εtu
    long double epsC1 = 0;  // strain at peak stress εc1 (plain and reinforced concrete)
    long double a = 0;      // fibre concrete: the steep loss of tensile strength
    long double b = 0;      // fibre concrete: the residual tensile strength

    long double fy = 0;     // reinforced concrete: steel yield strength [MPa]
    long double Es = 0;     // reinforced concrete: steel modulus [MPa]
    long double epsSu = 0;  // reinforced concrete: steel ultimate strain εsu
    BarLayer bottomBars;    // reinforced concrete: distance from the bottom edge
    BarLayer topBars;       // reinforced concrete: distance from the top edge

    long double width = 0;   // b [m]
    long double height = 0;  // h [m]
    long double N = 0;       // axial force [MN], tension positive
};

// The balanced state of the section at one curvature step.
struct SectionRow {
    long double kappa = 0;         // curvature [1/m]
    long double moment = 0;        // about the neutral axis [MNm]
    long double x = 0;             // depth of the compression zone [m]
    long double topStress = 0;     // concrete at the top edge [MPa] (fibre concrete: negative in compression)
    long double bottomStress = 0;  // concrete at the bottom edge [MPa]
    long double topStrain = 0;     // concrete at the top edge, positive in compression
    long double bottomStrain = 0;  // concrete at the bottom edge, positive in tension
    long double tension = 0;       // concrete resultant FT ≥ 0 [MN]
    long double compression = 0;   // concrete resultant FP ≤ 0 [MN]
    // Reinforced concrete: the bars (top strain positive in compression, bottom strain
    // positive in tension; forces positive in tension), and whether the concrete's bottom
    // edge has reached εtu.
    long double topBarStress = 0;
    long double bottomBarStress = 0;
    long double topBarStrain = 0;
    long double bottomBarStrain = 0;
    long double topBarForce = 0;
    long double bottomBarForce = 0;
    bool cracked = false;
    // The moment of all the section's forces about mid-height [MNm], the moment an axial
    // force acting at mid-height meets (the interaction diagram's); the same as `moment`
    // when the forces sum to zero.
    long double midHeightMoment = 0;

    // The compressive and the tensile force of the whole section [MN].
    long double compressiveForce() const { return compression + topBarForce; }
    long double tensileForce() const { return tension + bottomBarForce; }
};

// Why a run ended.
enum class RunEnd {
    crushed,        // the top edge passed εcu
    torn,           // the concrete's bottom edge passed εtu (plain and fibre concrete)
    steelTorn,      // the bottom bars passed εsu (reinforced concrete)
    noEquilibrium,  // no depth of the neutral axis balances the forces at the curvature
    tooManySteps,   // more than 65 535 curvature steps
    cancelled,      // stopped through the progress callback
};

struct RunOutcome {
    RunEnd end = RunEnd::crushed;
    long double kappa = 0;  // the curvature at which the run ended [1/m]
    // Rows produced; when a limit was passed, the last one is the row past it (the
    // program's table shows only its curvature and the end text there).
    int rows = 0;
};

struct MomentCurvatureDiagram {
    std::vector<SectionRow> rows;
    RunOutcome outcome;
};

// ---- the N–M interaction diagram

// What limits a force's peak moment, or an end of the diagram.
enum class InteractionEnd {
    crushed,        // the top edge passed εcu
    torn,           // the concrete's bottom edge passed εtu
    steelTorn,      // the bottom bars passed εsu
    noEquilibrium,  // no curvature balances the force before a limit (no moment then)
    capacity,       // an end: the largest compression or tension of the section
};

struct InteractionPoint {
    long double N = 0;       // axial force [MN], tension positive
    bool hasMoment = false;  // false: no curvature balances the force
    long double moment = 0;  // the peak moment about mid-height [MNm]; negative bending: below 0
    long double kappa = 0;   // the curvature at the peak [1/m]; negative bending: below 0
    InteractionEnd end = InteractionEnd::capacity;
};

struct InteractionDiagram {
    // The forces ascending from the compressive capacity to the tensile one, positive
    // bending (the top edge in compression); then negative bending, empty when the
    // section bends alike both ways (no bars, or equal layers at equal distances).
    std::vector<InteractionPoint> positive;
    std::vector<InteractionPoint> negative;
    bool symmetric = true;
    long double compressiveCapacity = 0;  // [MN], below 0
    long double tensileCapacity = 0;      // [MN]
    Completion completion = Completion::finished;  // cancelled: the points are not all there
};

// The default number of forces of a diagram, its ends included, and the range allowed.
inline constexpr int defaultInteractionPoints = 41;
inline constexpr int minimumInteractionPoints = 2;
inline constexpr int maximumInteractionPoints = 1001;

// The number of depths of a depth profile allowed.
inline constexpr int minimumProfilePoints = 2;
inline constexpr int maximumProfilePoints = 100001;

// ---- strains and stresses across the depth

struct BarInProfile {
    long double depth = 0;   // from the top edge [m]
    long double strain = 0;  // tension positive
    long double stress = 0;  // [MPa], tension positive
    long double force = 0;   // [MN], tension positive
};

struct DepthProfile {
    std::vector<long double> depth;   // from the top edge [m], ascending from 0 to h
    std::vector<long double> strain;  // tension positive
    std::vector<long double> stress;  // the concrete's [MPa], tension positive
    std::vector<BarInProfile> bars;   // reinforced concrete: the top layer, then the bottom one
    long double neutralAxis = 0;      // the depth x of the compression zone [m]
};

// One section, ready to run. Its constructor refuses what no section can be (Failure
// with dimensionsNotPositive; for plain and reinforced concrete also modulusNotPositive
// and strengthNotPositive; for reinforced concrete bottomBarAreaNegative and
// topBarAreaNegative; noMaterial or noDiagram for a value outside its enumeration),
// fails on a value its material uses that is no finite number (NaN as invalidOperation,
// an infinity as overflow, as the program fails on such a value) and forms the
// constants of the laws (a floating-point fault there fails: fibre concrete with E = 0
// divides by zero).
class SectionAnalysis {
public:
    explicit SectionAnalysis(const SectionInput& input);
    ~SectionAnalysis();
    SectionAnalysis(SectionAnalysis&&) noexcept;
    SectionAnalysis& operator=(SectionAnalysis&&) noexcept;

    // Runs with the curvature step Δκ [1/m] (a step that is not positive fails with
    // curvatureStepNotPositive). The first row is at κ = 0 for fibre concrete, at Δκ
    // otherwise. `onRow(index, row)` receives rows 1, 2, … as they are computed (what it
    // does to the floating-point environment stays out of the run); the progress
    // callback is told the rows so far (total 0). A floating-point fault in a
    // row fails (the rows before it were given); a stop asked through the callback ends
    // the run as RunEnd::cancelled.
    using RowSink = std::function<void(int index, const SectionRow& row)>;
    RunOutcome run(long double curvatureStep, const RunOptions& options, const RowSink& onRow) const;
    // The same, every row kept.
    MomentCurvatureDiagram run(long double curvatureStep, const RunOptions& options = RunOptions()) const;

    // The N–M interaction diagram (the input's N is not read): for `points` axial forces
    // (minimumInteractionPoints … maximumInteractionPoints, else interactionPointsOutOfRange)
    // evenly from the largest compression of the section under a uniform strain to the
    // largest tension (each layer of bars counted at most at As·fy; the ends carry the
    // moment of that uniform state about mid-height), the peak moment about mid-height
    // of the moment–curvature run under that force, in exact equilibrium, with its
    // neutral axis followed beyond the faces where the force needs it (the concrete
    // then integrated over the depth from its laws), found to far within 0,1 %. The
    // options' threads compute the forces (the same diagram for any count); the
    // progress callback is told the forces done; a stop ends it as cancelled.
    InteractionDiagram interactionDiagram(int points = defaultInteractionPoints,
                                          const RunOptions& options = RunOptions()) const;

    // Strains and stresses across the depth at `row`, a row of this section's run, at
    // `points` depths evenly from the top edge to the bottom one (minimumProfilePoints …
    // maximumProfilePoints, else profilePointsOutOfRange); with `breaks`, also at the
    // neutral axis and where the strain passes a break of the laws.
    // The concrete's stress is its laws' σ(ε), so that it integrates back to the row's
    // FT and FP and, with the bars, to its moment (a curved block's arm in the row is the
    // analyses' three-piece approximation, up to about 1 % off the exact centroid).
    DepthProfile depthProfile(const SectionRow& row, int points = 101, bool breaks = false) const;

    struct Held;

private:
    explicit SectionAnalysis(std::unique_ptr<const Held> held);
    friend SectionAnalysis heldSectionAnalysis(const HeldSectionInput& input);
    std::unique_ptr<const Held> held_;
};

// SectionAnalysis(input).run(curvatureStep, options).
MomentCurvatureDiagram momentCurvature(const SectionInput& input, long double curvatureStep,
                                       const RunOptions& options = RunOptions());

}  // namespace prurez
