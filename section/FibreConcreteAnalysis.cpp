#include "section/SectionAnalysis.h"

#include "common/Failure.h"

namespace prurez {

// Placeholder until the fibre-concrete analysis is in place.
SectionOutcome fibreConcreteAnalysis(const SectionFields&, char, GridTable&, const SectionRunOptions&)
{
    throw Failure("not available yet");
}

}  // namespace prurez
