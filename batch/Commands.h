#pragma once
// The subcommands of prurez-batch. Each returns the exit status: 0 success, 1 a
// failure message of the program (written to err as one line, nothing to out);
// a malformed INPUT throws InputFileError and a usage error UsageError (exit 2).

#include "flows/InputFile.h"

#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

namespace prurez::batch {

// A usage error: exit status 2 with this one-line explanation.
class UsageError : public std::runtime_error {
public:
    explicit UsageError(const std::string& message) : std::runtime_error(message) {}
};

struct BatchOptions {
    char decimalSeparator = ',';
    bool exhaustiveScan = false;
    int threads = 0;                  // 0: all hardware threads
    std::vector<std::string> blocks;  // empty: all
    std::string inputName;            // the INPUT's path, "-" for standard input
    bool refine = false;              // inverse: refine the best fit (the block `refined`)
    bool exactEquilibrium = false;    // the neutral axis in exact equilibrium
    int points = 41;                  // interaction: the forces of the diagram, ends included
};

// The blocks of `inverse`, in the order they are printed.
const std::vector<std::string>& inverseBlockNames();

int runSectionCommand(const InputFile& input, const BatchOptions& options, std::ostream& out, std::ostream& err);
int runInverseCommand(const InputFile& input, const BatchOptions& options, std::ostream& out, std::ostream& err);
int runInteractionCommand(const InputFile& input, const BatchOptions& options, std::ostream& out, std::ostream& err);
int runSeriesCommand(const InputFile& input, const BatchOptions& options, std::ostream& out, std::ostream& err);

}  // namespace prurez::batch
