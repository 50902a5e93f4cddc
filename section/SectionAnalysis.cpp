#include "section/SectionAnalysis.h"

#include "common/Failure.h"

namespace prurez {

// Placeholders until the analyses are in place.
SectionOutcome runSectionAnalysis(const SectionFields&, char, GridTable&, const SectionRunOptions&)
{
    throw Failure("not available yet");
}

void applyMaterialChoice(SectionFields&) {}

SectionCharacteristics sectionCharacteristics(const SectionFields&, char) { return SectionCharacteristics(); }

SectionOutcome plainConcreteAnalysis(const SectionFields&, char, GridTable&, const SectionRunOptions&)
{
    throw Failure("not available yet");
}

SectionOutcome reinforcedConcreteAnalysis(const SectionFields&, char, GridTable&, const SectionRunOptions&)
{
    throw Failure("not available yet");
}

}  // namespace prurez
