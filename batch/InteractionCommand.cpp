// prurez-batch interaction: the N–M interaction diagram of a section input.

#include "batch/Commands.h"

#include "common/Failure.h"
#include "flows/InputRuns.h"
#include "flows/InteractionFlow.h"
#include "flows/SectionFlow.h"

#include <sstream>

namespace prurez::batch {

int runInteractionCommand(const InputFile& input, const BatchOptions& options, std::ostream& out, std::ostream& err)
{
    const SectionTexts texts = sectionTextsOf(input);
    std::ostringstream table;
    std::string message;
    const bool done = runHandler([&](const std::string& text) { message = text; }, [&] {
        RunOptions run;
        run.threads = options.threads;
        writeInteractionTsv(computeInteraction(texts, options.decimalSeparator, options.points, run),
                            options.decimalSeparator, table);
    });
    if (!done) {
        err << message << '\n';
        return 1;
    }
    out << table.str();
    return 0;
}

}  // namespace prurez::batch
