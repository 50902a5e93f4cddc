#include "mechanics/MomentCurvature.h"

#include "mechanics/Sections.h"

namespace prurez {

namespace {

template <class Section>
MomentCurvatureDiagram collect(const SectionInput& input, Single kappaStep, const ScanOptions& options)
{
    clearFloatingPointFaults();
    const Section section(input);
    checkFloatingPointFaults();
    MomentCurvatureDiagram diagram;
    diagram.outcome = runMomentCurvature(section, kappaStep, options, [&](int, const SectionRow& row) {
        checkFloatingPointFaults();
        diagram.rows.push_back(row);
    });
    return diagram;
}

}  // namespace

MomentCurvatureDiagram momentCurvature(const SectionInput& input, Single kappaStep, const ScanOptions& options)
{
    switch (input.material) {
    case Material::plainConcrete:
        return collect<PlainSection>(input, kappaStep, options);
    case Material::fibreConcrete:
        return collect<FibreSection>(input, kappaStep, options);
    case Material::reinforcedConcrete:
        break;
    }
    return collect<ReinforcedSection>(input, kappaStep, options);
}

}  // namespace prurez
