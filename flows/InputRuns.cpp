#include "flows/InputRuns.h"

#include "common/FloatingPoint.h"
#include "flows/CurveFile.h"

#include <cstring>
#include <sstream>
#include <string>

#include <langinfo.h>
#include <locale.h>

namespace prurez {

char systemDecimalSeparator()
{
    // The environment's locale made apart: the process's locale, which every thread
    // shares, is never switched, not even for a moment.
    const locale_t locale = ::newlocale(LC_ALL_MASK, "", static_cast<locale_t>(nullptr));
    if (locale == static_cast<locale_t>(nullptr))
        return '.';
    const char* point = ::nl_langinfo_l(RADIXCHAR, locale);
    const char separator = (point != nullptr && point[0] != '\0') ? point[0] : '.';
    ::freelocale(locale);
    return separator;
}

char inputDecimalSeparator(const InputFile& input, char given)
{
    if (given != 0)
        return given;
    return input.decimalSeparator() != 0 ? input.decimalSeparator() : systemDecimalSeparator();
}

std::string inputReadFailure(const FileProblem& problem, const std::string& name)
{
    const std::string what = name == "-" ? "from standard input" : "'" + name + "'";
    switch (problem.kind()) {
    case FileProblem::Kind::notRegular:
        return "cannot read INPUT " + what + ": not a regular file (use '-' for a pipe)";
    case FileProblem::Kind::tooLarge:
        return "cannot read INPUT " + what + ": larger than " + std::to_string(maximumReadFileSize) + " bytes";
    default:
        return "cannot read INPUT " + what + ": " + std::strerror(problem.errorNumber());
    }
}

InputFile readInput(const std::string& name)
{
    std::istringstream text;
    try {
        text.str(name == "-" ? readDescriptor(0, "-") : readFile(name));
    } catch (const FileProblem& problem) {
        throw InputFileError(inputReadFailure(problem, name), {InputFileError::Kind::cannotRead, 0, {}, {}});
    }
    return InputFile::parse(text);
}

SectionTexts sectionTextsOf(const InputFile& input)
{
    SectionTexts texts;
    readSectionInput(input, texts);
    if (texts.material < 0)
        throw InputFileError("key 'material' missing: without a material nothing is computed",
                             {InputFileError::Kind::noMaterial, 0, "material", {}});
    return texts;
}

void runSectionInput(const InputFile& input, const std::string& inputName, char decimalSeparator,
                     const RunOptions& options, SectionInputRun& run)
{
    const CallerFloatingPoint caller;  // the texts are read in the default environment too
    SectionTexts& texts = run.texts;
    texts = sectionTextsOf(input);
    texts.outputFile = pathBesideInput(inputName, texts.outputFile);
    // The curve file must not replace the input it comes from.
    if (input.has("file") && inputName != "-" && isSameFile(inputName, texts.outputFile))
        throw InputFileError("key 'file' names the INPUT itself, which would be overwritten",
                             {InputFileError::Kind::fileIsInput, input.line("file"), "file", {}});

    SectionRunControl control;
    control.run = options;
    runSectionAnalysis(texts, decimalSeparator, run.table, run.report, control);
    if (run.report.stopMessage.empty() && input.has("file")) {
        CurveFile file;
        file.write(texts.outputFile, run.table);
        file.close();
    }
}

InverseInput inverseInputOf(const InputFile& input, const std::string& inputName)
{
    InverseInput in = readInverseInput(input);
    in.testFile = pathBesideInput(inputName, in.testFile);
    return in;
}

SeriesInput seriesInputOf(const InputFile& input, const std::string& inputName)
{
    SeriesInput series = readSeriesInput(input);
    for (SpecimenFile& file : series.specimens)
        file.path = pathBesideInput(inputName, file.path);
    return series;
}

}  // namespace prurez
