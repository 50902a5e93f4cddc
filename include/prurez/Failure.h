#pragma once
// Why a computation of prurez failed: a typed reason and the message the program shows
// for it (its own texts are Czech; the runtime's messages are English, as the program
// has always shown them).
//
// Every entry point of the interface throws prurez::Failure for what its inputs or its
// computation cannot give (and std::bad_alloc when memory runs out). A computation
// that is asked to stop is no failure: it ends as cancelled (see Progress.h).

#include <stdexcept>
#include <string>

namespace prurez {

enum class Reason {
    other,                // a message of its own (a file of the windows, …)

    // texts and values
    notANumber,           // "'…' is not a valid floating point value"
    notAnInteger,         // "'…' is not a valid integer value"
    invalidNumericInput,  // a number of a test data file that is not a number
    invalidOperation,     // the floating-point faults of the computation
    divisionByZero,
    overflow,
    fileError,            // a file that cannot be opened or created ("File not found", …)

    // the section analysis refuses its input
    noMaterial,
    noDiagram,
    noShape,
    noTensionChoice,
    curvatureStepNotPositive,
    dimensionsNotPositive,
    modulusNotPositive,
    strengthNotPositive,
    bottomBarAreaNegative,
    topBarAreaNegative,
    interactionPointsOutOfRange,  // a number of forces of the interaction diagram below 2 or above 1001
    profilePointsOutOfRange,      // a number of depths of a depth profile below 2 or above 100001
    curvatureNegative,            // a curvature below 0 (or not a number)

    // the inverse analysis refuses its input or cannot go on
    tooManyTestPoints,      // typed: more than 100
    tooManyTestFilePoints,  // in a test data file: more than 10 000
    intermediateCountOutOfRange,
    noTestPoints,
    noCombinations,
    pointCountNotWhole,
    pointCountMismatch,
    momentTableMismatch,
    noBalance,            // a combination whose forces balance at no position
    noBestFit,            // no summed deviation below 10 000 000
    noBestCombination,    // refining, or carrying over, before a best fit was found
};

class Failure : public std::runtime_error {
public:
    Failure(Reason reason, const std::string& message) : std::runtime_error(message), reason_(reason) {}
    // A message of its own (Reason::other).
    explicit Failure(const std::string& message) : Failure(Reason::other, message) {}

    Reason reason() const { return reason_; }
    // The message as the program shows it.
    std::string message() const { return what(); }

private:
    Reason reason_;
};

}  // namespace prurez
