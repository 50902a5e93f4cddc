// prurez-batch section: the section input window without windows.

#include "batch/Commands.h"

#include "common/Failure.h"
#include "flows/InputRuns.h"

namespace prurez::batch {

int runSectionCommand(const InputFile& input, const BatchOptions& options, std::ostream& out, std::ostream& err)
{
    RunOptions run;
    run.exhaustiveScan = options.exhaustiveScan;
    run.exactEquilibrium = options.exactEquilibrium;
    SectionInputRun section;
    try {
        runSectionInput(input, options.inputName, options.decimalSeparator, run, section);
    } catch (const Failure& failure) {
        err << failure.message() << '\n';
        return 1;
    }
    if (!section.report.stopMessage.empty()) {
        err << section.report.stopMessage << '\n';
        return 1;
    }
    section.table.writeTsv(out);
    return 0;
}

}  // namespace prurez::batch
