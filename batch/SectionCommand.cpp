// prurez-batch section: the section input window without windows.

#include "batch/Commands.h"

#include "common/Failure.h"
#include "flows/CurveFile.h"
#include "flows/GridTable.h"
#include "flows/SectionFlow.h"

#include <sys/stat.h>

namespace prurez::batch {

int runSectionCommand(const InputFile& input, const BatchOptions& options, std::ostream& out, std::ostream& err)
{
    SectionTexts texts;
    readSectionInput(input, texts);
    if (texts.material < 0)
        throw UsageError("key 'material' missing: without a material nothing is computed");
    texts.outputFile = pathBesideInput(options.inputName, texts.outputFile);
    // The curve file must not replace the INPUT it comes from.
    struct stat inputFile {};
    struct stat outputFile {};
    if (input.has("file") && options.inputName != "-" && ::stat(options.inputName.c_str(), &inputFile) == 0 &&
        ::stat(texts.outputFile.c_str(), &outputFile) == 0 && inputFile.st_dev == outputFile.st_dev &&
        inputFile.st_ino == outputFile.st_ino)
        throw UsageError("key 'file' names the INPUT itself, which would be overwritten");

    SectionRunControl control;
    control.run.exhaustiveScan = options.exhaustiveScan;
    control.run.exactEquilibrium = options.exactEquilibrium;
    GridTable table = initialResultsTable();
    try {
        SectionRunReport report;
        runSectionAnalysis(texts, options.decimalSeparator, table, report, control);
        if (!report.stopMessage.empty()) {
            err << report.stopMessage << '\n';
            return 1;
        }
        if (input.has("file")) {
            CurveFile file;
            file.write(texts.outputFile, table);
            file.close();
        }
    } catch (const Failure& failure) {
        err << failure.message() << '\n';
        return 1;
    }
    table.writeTsv(out);
    return 0;
}

}  // namespace prurez::batch
