#pragma once
// The input file of a section or an inverse analysis: one "key = value" per line,
// the value used exactly as if it had been typed into its field. The keys are defined
// here once, for prurez-batch and for the windows alike.

#include "flows/InverseFlow.h"
#include "flows/SectionFlow.h"

#include <istream>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace prurez {

// A malformed input file; the message names the line where there is one.
class InputFileError : public std::runtime_error {
public:
    explicit InputFileError(const std::string& message) : std::runtime_error(message) {}
};

// The text without the blanks (spaces, tabs, line ends) around it.
std::string trimBlanks(const std::string& text);

// The text with its control bytes written as \xHH, for messages that show it.
std::string printable(const std::string& text);

// The longest line an input file may have.
inline constexpr size_t maximumInputLineLength = 65536;

class InputFile {
public:
    // Reads the lines; blank lines and '#' comments are skipped, key and value are
    // trimmed. A line without '=' fails.
    static InputFile parse(std::istream& in);

    // Checks every key against the known ones; only the repeatable keys may repeat.
    void validate(const std::set<std::string>& knownKeys, const std::set<std::string>& repeatableKeys) const;

    bool has(const std::string& key) const;
    // The value of a key given once, or the fallback when it is not given.
    std::string value(const std::string& key, const std::string& fallback = std::string()) const;
    // All values of a repeatable key, in order.
    std::vector<std::string> values(const std::string& key) const;
    // The key's value as an item index of a choice with `count` items, or -1 when not
    // given.
    int choice(const std::string& key, int count) const;

private:
    std::vector<std::pair<std::string, std::string>> entries_;
    std::vector<int> lineNumbers_;
};

// ---- the section analysis

// Fills the texts and choices from a section input: the choices as clicks in the order
// material, diagram, tension, shape (the material fixes what it fixes; a choice that
// the material locks is ignored), then the texts. Keys not given keep what `texts`
// holds. A malformed input throws InputFileError.
void readSectionInput(const InputFile& input, SectionTexts& texts);

// ---- the inverse analysis

// A test point as typed: force [kN] and deflection [m].
struct TestPointTexts {
    std::string force;
    std::string deflection;
};

struct InverseInput {
    std::string testFile;                // the test data file, read as the input window reads it
    std::vector<TestPointTexts> points;  // or the test points typed by hand
    BendingTestTexts test;
    CombinationTexts combinations;
    std::string height;                  // section height h [m]
    std::string width;                   // section width [m]
};

// The inverse analysis's texts from its input; keys not given are empty (the count of
// intermediate values "0"). A malformed input throws InputFileError.
InverseInput readInverseInput(const InputFile& input);

}  // namespace prurez
