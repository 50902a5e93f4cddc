// prurez-batch section: the section input window without windows.

#include "batch/Commands.h"

#include "common/Failure.h"
#include "flows/CurveFile.h"
#include "flows/GridTable.h"
#include "flows/SectionFlow.h"

namespace prurez::batch {

int runSectionCommand(const InputFile& input, const BatchOptions& options, std::ostream& out, std::ostream& err)
{
    SectionTexts texts;
    readSectionInput(input, texts);
    if (texts.material < 0)
        throw UsageError("key 'material' missing: without a material nothing is computed");

    ScanOptions scan;
    scan.exhaustiveScan = options.exhaustiveScan;
    GridTable table = initialResultsTable();
    try {
        SectionRunReport report;
        runSectionAnalysis(texts, options.decimalSeparator, table, report, scan);
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
