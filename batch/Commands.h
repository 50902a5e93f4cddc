#pragma once
// The subcommands of prurez-batch. Each returns the exit status: 0 success, 1 a
// failure message of the program (written to err as one line, nothing to out),
// and throws UsageError for a malformed INPUT (exit 2).

#include "batch/BatchInput.h"

#include <ostream>

namespace prurez::batch {

int runSectionCommand(const BatchInput& input, const BatchOptions& options, std::ostream& out, std::ostream& err);
int runInverseCommand(const BatchInput& input, const BatchOptions& options, std::ostream& out, std::ostream& err);

}  // namespace prurez::batch
