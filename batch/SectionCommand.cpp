#include "batch/Commands.h"

namespace prurez::batch {

int runSectionCommand(const BatchInput&, const BatchOptions&, std::ostream&, std::ostream&)
{
    throw UsageError("the subcommand 'section' is not available yet");
}

}  // namespace prurez::batch
