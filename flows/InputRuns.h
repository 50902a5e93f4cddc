#pragma once
// A whole input file run as prurez-batch runs it: the decimal separator it is read
// with, the section analysis with its curve file, and the inverse analysis's input with
// its test data file beside it. The batch tool and the Python module take inputs here.

#include "common/Files.h"
#include "flows/GridTable.h"
#include "flows/InputFile.h"
#include "flows/SectionFlow.h"
#include "prurez/InverseAnalysis.h"

#include <string>
#include <vector>

namespace prurez {

// The decimal separator of the system locale (the environment's LC_ALL, LC_NUMERIC,
// LANG), '.' where none is set up.
char systemDecimalSeparator();

// The separator an input is read with: the one given (not 0), otherwise the one its
// comment names (a saved input), otherwise the system's.
char inputDecimalSeparator(const InputFile& input, char given);

// Why the INPUT `name` ("-": standard input) could not be read, as the tools say it:
// "cannot read INPUT 'name': …" (in English, as their usage errors).
std::string inputReadFailure(const FileProblem& problem, const std::string& name);

// The INPUT `name` ("-": standard input) read and parsed as prurez-batch reads it: a
// regular file (or standard input) of at most maximumReadFileSize bytes. One that
// cannot be read, or a malformed one, throws InputFileError.
InputFile readInput(const std::string& name);

// The section texts of an input (readSectionInput), which must choose a material. A
// malformed input, or one without a material, throws InputFileError.
SectionTexts sectionTextsOf(const InputFile& input);

// A section input run: its texts, the results table and what the run reported (its
// rows among it).
struct SectionInputRun {
    SectionTexts texts;
    GridTable table = initialResultsTable();
    SectionRunReport report;
};

// Reads the section input (`inputName` its path, "-" for none: a relative curve file is
// taken beside it) and runs VÝPOČET; when the input names a curve file ('file') and the
// run ended at a limit, the file is written as the results window writes it. A
// malformed input, one without a material, or a curve file that is the input itself
// throws InputFileError; the run's failures throw Failure; a stop (no equilibrium, too
// many steps, cancelled) is told by report.stopMessage. The caller's floating-point
// environment is kept as it was (the texts are read in the default one).
void runSectionInput(const InputFile& input, const std::string& inputName, char decimalSeparator,
                     const RunOptions& options, SectionInputRun& run);

// The inverse analysis's input (`inputName` its path, "-" for none: a relative test data
// file is taken beside it). A malformed input throws InputFileError.
InverseInput inverseInputOf(const InputFile& input, const std::string& inputName);

// A test series's input the same way: each specimen's test data file (one 'test_file'
// line each) taken beside the input, its name as written.
SeriesInput seriesInputOf(const InputFile& input, const std::string& inputName);

}  // namespace prurez
