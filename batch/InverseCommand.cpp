#include "batch/Commands.h"

namespace prurez::batch {

int runInverseCommand(const BatchInput&, const BatchOptions&, std::ostream&, std::ostream&)
{
    throw UsageError("the subcommand 'inverse' is not available yet");
}

}  // namespace prurez::batch
