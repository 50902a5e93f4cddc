// The section analysis of the interface (prurez/Section.h): the input converted to the
// precision classes the analyses hold it in, refused where no section can be, and run
// by the one step driver.

#include "flows/SectionAnalysis.h"

#include "common/FloatingPoint.h"
#include "common/WorkControl.h"
#include "flows/Refusals.h"
#include "mechanics/DepthProfile.h"
#include "mechanics/Interaction.h"
#include "mechanics/MomentCurvature.h"
#include "mechanics/Sections.h"

#include <cfenv>
#include <cmath>
#include <variant>
#include <vector>

namespace prurez {

struct SectionAnalysis::Held {
    HeldSectionInput input;
    std::variant<PlainSection, FibreSection, ReinforcedSection> section;
};

namespace {

using Section = std::variant<PlainSection, FibreSection, ReinforcedSection>;

Section sectionOf(const HeldSectionInput& input)
{
    return withSectionType(input.material, [&](auto type) {
        return Section(std::in_place_type<typename decltype(type)::type>, input);
    });
}

// Raises the fault of the values of its material that are no finite number (only a
// caller of the interface can give them): NaN the invalid operation, an infinity the
// overflow, as reading such a value from its text does. Left alone, they ran into a
// fault late or (the interaction diagram) into points that balance nowhere.
void raiseNonFiniteValues(const HeldSectionInput& input)
{
    std::vector<long double> values{input.epsCu, input.epsTu, input.width, input.height};
    if (input.material == Material::fibreConcrete)
        values.insert(values.end(), {input.a, input.b});
    else
        values.push_back(input.epsC1);
    if (input.material == Material::reinforcedConcrete)
        values.insert(values.end(), {input.epsSu, input.bottomBars.area, input.bottomBars.distance,
                                     input.topBars.area, input.topBars.distance});
    for (const long double value : values) {
        if (std::isnan(value))
            std::feraiseexcept(FE_INVALID);
        else if (std::isinf(value))
            std::feraiseexcept(FE_OVERFLOW);
    }
}

// Refuses the input or forms the constants of its laws (their faults fail here).
std::unique_ptr<const SectionAnalysis::Held> heldAnalysis(const HeldSectionInput& input)
{
    if (const std::optional<Reason> reason = sectionRefusal(input))
        throw refusal(*reason);
    clearFloatingPointFaults();
    raiseNonFiniteValues(input);
    auto held = std::make_unique<const SectionAnalysis::Held>(SectionAnalysis::Held{input, sectionOf(input)});
    checkFloatingPointFaults();
    return held;
}

HeldSectionInput heldInput(const SectionInput& in)
{
    HeldSectionInput held;
    held.material = in.material;
    held.diagram = in.diagram;
    held.concreteInTension = in.concreteInTension;
    held.fcp = Fixed::store(in.fcp);
    held.fct = Fixed::store(in.fct);
    held.E = Fixed::store(in.E);
    held.epsCu = in.epsCu;
    held.epsTu = in.epsTu;
    held.epsC1 = in.epsC1;
    held.a = Single(in.a);
    held.b = Single(in.b);
    held.fy = Fixed::store(in.fy);
    held.Es = Fixed::store(in.Es);
    held.epsSu = in.epsSu;
    held.bottomBars = in.bottomBars;
    held.topBars = in.topBars;
    held.width = Single(in.width);
    held.height = Single(in.height);
    held.N = Fixed::store(in.N * 1000.0L);  // kN
    checkFloatingPointFaults();             // a value beyond the single range
    return held;
}

}  // namespace

SectionAnalysis::SectionAnalysis(std::unique_ptr<const Held> held) : held_(std::move(held)) {}

SectionAnalysis::SectionAnalysis(const SectionInput& input)
{
    const CallerFloatingPoint caller;
    held_ = heldAnalysis(heldInput(input));
}

SectionAnalysis heldSectionAnalysis(const HeldSectionInput& input)
{
    const CallerFloatingPoint caller;
    return SectionAnalysis(heldAnalysis(input));
}

SectionAnalysis::~SectionAnalysis() = default;
SectionAnalysis::SectionAnalysis(SectionAnalysis&&) noexcept = default;
SectionAnalysis& SectionAnalysis::operator=(SectionAnalysis&&) noexcept = default;

RunOutcome SectionAnalysis::run(long double curvatureStep, const RunOptions& options, const RowSink& onRow) const
{
    const CallerFloatingPoint caller;
    const Single step(curvatureStep);
    checkFloatingPointFaults();
    if (!(step > 0.0L))
        throw refusal(Reason::curvatureStepNotPositive);
    WorkControl work(options.progress);
    ScanOptions scan;
    scan.exhaustiveScan = options.exhaustiveScan;
    scan.exactEquilibrium = options.exactEquilibrium;
    scan.work = &work;
    return std::visit(
        [&](const auto& section) {
            return runMomentCurvature(section, step, scan, [&](int index, const SectionRow& row) {
                checkFloatingPointFaults();  // no faulty value leaves the analysis
                if (onRow) {
                    const ComputationFloatingPoint kept;  // the sink's own flags fail nothing
                    onRow(index, row);
                }
                work.report(index, 0);
            });
        },
        held_->section);
}

MomentCurvatureDiagram SectionAnalysis::run(long double curvatureStep, const RunOptions& options) const
{
    MomentCurvatureDiagram diagram;
    diagram.outcome = run(curvatureStep, options, [&](int, const SectionRow& row) { diagram.rows.push_back(row); });
    return diagram;
}

InteractionDiagram SectionAnalysis::interactionDiagram(int points, const RunOptions& options) const
{
    const CallerFloatingPoint caller;
    if (points < minimumInteractionPoints || points > maximumInteractionPoints)
        throw refusal(Reason::interactionPointsOutOfRange);
    WorkControl work(options.progress);
    InteractionControl control;
    control.scan.work = &work;
    control.threads = options.threads;
    try {
        return prurez::interactionDiagram(held_->input, points, control);
    } catch (const Cancelled&) {
        InteractionDiagram cancelled;
        cancelled.completion = Completion::cancelled;
        return cancelled;
    }
}

DepthProfile SectionAnalysis::depthProfile(const SectionRow& row, int points, bool breaks) const
{
    const CallerFloatingPoint caller;
    if (points < minimumProfilePoints || points > maximumProfilePoints)
        throw refusal(Reason::profilePointsOutOfRange);
    return prurez::depthProfile(held_->input, row, points, breaks);
}

MomentCurvatureDiagram momentCurvature(const SectionInput& input, long double curvatureStep, const RunOptions& options)
{
    return SectionAnalysis(input).run(curvatureStep, options);
}

}  // namespace prurez
