#include "ui/ReportCommand.h"

#include "common/Failure.h"
#include "common/Files.h"
#include "flows/InputRuns.h"
#include "flows/SectionFlow.h"
#include "ui/Report.h"
#include "prurez/InverseAnalysis.h"

#include <iostream>
#include <stdexcept>
#include <string>

namespace prurez {

namespace {

struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

int run(int argc, char** argv)
{
    std::string inputName;
    std::string outputName;
    char separator = 0;
    for (int i = 0; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--decimal") {
            if (i + 1 >= argc)
                throw UsageError("--decimal needs a separator");
            const std::string given = argv[++i];
            if (given != "," && given != ".")
                throw UsageError("--decimal takes ',' or '.', not '" + given + "'");
            separator = given[0];
        } else if (!arg.empty() && arg[0] == '-' && arg != "-") {
            throw UsageError("unknown option '" + arg + "' for --report");
        } else if (inputName.empty()) {
            inputName = arg;
        } else if (outputName.empty()) {
            outputName = arg;
        } else {
            throw UsageError("more than INPUT and OUTPUT.pdf given");
        }
    }
    if (outputName.empty())
        throw UsageError("usage: prurez --report INPUT OUTPUT.pdf [--decimal SEP]");

    // The INPUT and its separator as prurez-batch takes them.
    const InputFile input = readInput(inputName);
    if (inputName != "-" && isSameFile(inputName, outputName))
        throw UsageError("OUTPUT.pdf is the INPUT itself, which would be overwritten");
    separator = inputDecimalSeparator(input, separator);
    const QString output = QString::fromStdString(outputName);

    const InputKind kind = inputKind(input);
    if (kind == InputKind::neither)
        throw UsageError("INPUT holds neither a section ('material = …') nor an inverse analysis "
                         "('test_file' or 'point' lines)");
    // A malformed input fails before anything is computed.
    SectionTexts texts;
    InverseInput in;
    if (kind == InputKind::section)
        texts = sectionTextsOf(input);
    else
        in = inverseInputOf(input, inputName);
    if (kind == InputKind::inverse && isSameFile(in.testFile, outputName))
        throw UsageError("OUTPUT.pdf is the INPUT's test data file, which would be overwritten");
    std::string message;
    const bool written = runHandler([&](const std::string& failure) { message = failure; }, [&] {
        if (kind == InputKind::section) {
            GridTable table = initialResultsTable();
            SectionRunReport report;
            runSectionAnalysis(texts, separator, table, report);
            writeSectionReport(output, table, report, separator);
        } else {
            InverseAnalysis session(separator);
            session.run(in, InverseAnalysis::Step::bestFit);
            writeInverseReport(output, in, session);
        }
    });
    if (!written)
        std::cerr << message << '\n';
    return written ? 0 : 1;
}

}  // namespace

int runReportCommand(int argc, char** argv)
{
    try {
        return run(argc, argv);
    } catch (const UsageError& error) {
        std::cerr << "prurez: " << error.what() << '\n';
        return 2;
    } catch (const InputFileError& error) {
        std::cerr << "prurez: " << error.what() << '\n';
        return 2;
    }
}

}  // namespace prurez
