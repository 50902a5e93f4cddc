#include "ui/ReportCommand.h"

#include "common/Failure.h"
#include "common/Files.h"
#include "flows/InputFile.h"
#include "flows/SectionFlow.h"
#include "ui/Report.h"
#include "ui/widgets/Handlers.h"
#include "prurez/InverseAnalysis.h"

#include <cstring>
#include <iostream>
#include <sstream>
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

    std::istringstream text;
    try {
        text.str(inputName == "-" ? readDescriptor(0, "-") : readFile(inputName));
    } catch (const FileProblem& problem) {
        throw UsageError("cannot read INPUT '" + inputName + "': " + problem.message());
    }
    const InputFile input = InputFile::parse(text);
    if (separator == 0)
        separator = input.decimalSeparator() != 0 ? input.decimalSeparator() : localeDecimalSeparator();
    const QString output = QString::fromStdString(outputName);

    const InputKind kind = inputKind(input);
    if (kind == InputKind::section) {
        SectionTexts texts;
        readSectionInput(input, texts);
        GridTable table = initialResultsTable();
        SectionRunReport report;
        std::string message;
        if (!runHandler([&](const std::string& failure) { message = failure; },
                        [&] { runSectionAnalysis(texts, separator, table, report); })) {
            std::cerr << message << '\n';
            return 1;
        }
        if (!runHandler([&](const std::string& failure) { message = failure; },
                        [&] { writeSectionReport(output, texts, table, report, separator); })) {
            std::cerr << message << '\n';
            return 1;
        }
        return 0;
    }
    if (kind == InputKind::inverse) {
        InverseInput in = readInverseInput(input);
        in.testFile = pathBesideInput(inputName, in.testFile);
        InverseAnalysis session(separator);
        std::string message;
        if (!runHandler([&](const std::string& failure) { message = failure; }, [&] {
                session.run(in, InverseAnalysis::Step::bestFit);
                writeInverseReport(output, in, session);
            })) {
            std::cerr << message << '\n';
            return 1;
        }
        return 0;
    }
    throw UsageError("INPUT holds neither a section ('material = …') nor an inverse analysis "
                     "('test_file' or 'point' lines)");
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
