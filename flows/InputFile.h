#pragma once
// The input file of a section or an inverse analysis: one "key = value" per line,
// the value used exactly as if it had been typed into its field. The keys are defined
// here once, for prurez-batch and for the windows alike.

#include "flows/InverseFlow.h"
#include "flows/SectionFlow.h"
#include "prurez/Series.h"

#include <istream>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace prurez {

// A malformed input file. what() is the batch tool's English message, which names
// the line where there is one; the rest tells the windows what is wrong, and where.
class InputFileError : public std::runtime_error {
public:
    enum class Kind {
        missingEquals,    // a line without '='; text: the line
        missingKey,       // nothing before '='
        unknownKey,       // key
        repeatedKey,      // key, firstLine
        badChoice,        // key, text: the value
        missingChoiceItem,  // key, text: the value, count: the items of the choice
        bothPeakStrainKeys, // 'ec1' and 'a' (line: the second of them)
        badPoint,         // text: the value
        fileAndPoints,    // 'test_file' and 'point' (line: the first point)
        lineTooLong,      // count: the longest line allowed
        noMaterial,       // a section input without 'material': nothing to compute
        fileIsInput,      // 'file' names the input itself, which would be overwritten
        cannotRead,       // the input itself cannot be read (line 0)
    };
    struct Detail {
        Kind kind = Kind::unknownKey;
        int line = 0;  // 0: the file as a whole
        std::string key;
        std::string text;
        int firstLine = 0;
        int count = 0;
    };
    InputFileError(const std::string& message, Detail detail) : std::runtime_error(message), detail_(std::move(detail))
    {
    }
    const Detail& detail() const { return detail_; }

private:
    Detail detail_;
};

// The message the windows show for a malformed input file, in Czech, naming the line.
std::string inputFileMessage(const InputFileError& error);

// The text without the blanks (spaces, tabs, line ends) around it.
std::string trimBlanks(const std::string& text);

// The text with its control bytes written as \xHH, for messages that show it.
std::string printable(const std::string& text);

// The longest line an input file may have.
inline constexpr size_t maximumInputLineLength = 65536;

class InputFile {
public:
    // Reads the lines (ended by LF, CR LF or CR; a UTF-8 byte-order mark before the
    // first is skipped); blank lines and '#' comments are skipped, key and value are
    // trimmed. A line without '=' fails.
    static InputFile parse(std::istream& in);

    // Checks every key against the known ones; only the repeatable keys may repeat.
    void validate(const std::set<std::string>& knownKeys, const std::set<std::string>& repeatableKeys) const;

    bool has(const std::string& key) const;
    // The keys given, each once, in the order of their first line.
    std::vector<std::string> keys() const;
    // The line of the key's `occurrence`-th entry (from 0), 0 when there is none.
    int line(const std::string& key, int occurrence = 0) const;
    // The lines of all entries of a repeatable key, in order.
    std::vector<int> lines(const std::string& key) const;
    // The value of a key given once, or the fallback when it is not given.
    std::string value(const std::string& key, const std::string& fallback = std::string()) const;
    // All values of a repeatable key, in order.
    std::vector<std::string> values(const std::string& key) const;
    // The key's value as an item index of a choice with `count` items, or -1 when not
    // given.
    int choice(const std::string& key, int count) const;

    // The decimal separator the file says its numbers have: that of the first comment
    // naming "--decimal ," or "--decimal ." (how to run the file), 0 when none does.
    char decimalSeparator() const { return decimalSeparator_; }
    // The file with its numbers in another decimal separator, for a window whose
    // locale writes numbers otherwise: every value, or every part of a value between
    // ';', that is a number written with decimalSeparator() gets `separator` instead.
    // File names stay as they are; so does everything when the file names no
    // separator.
    InputFile withDecimalSeparator(char separator) const;

private:
    const std::vector<size_t>& entriesOf(const std::string& key) const;

    std::vector<std::pair<std::string, std::string>> entries_;
    std::vector<int> lineNumbers_;
    // Each key's entries in order, and the keys in the order of their first line: a
    // look-up does not go through every line (a file may have a million).
    std::map<std::string, std::vector<size_t>> entriesOf_;
    std::vector<std::string> keys_;
    char decimalSeparator_ = 0;
};

// A file named in an input ('test_file', 'file') as a path: a relative name is taken
// from the folder of the input `inputName` (from the current folder for "-"), so that
// an input and its files can be moved together. An empty name stays empty.
std::string pathBesideInput(const std::string& inputName, const std::string& fileName);

// What an input file holds: a section input (its 'material'), an inverse analysis's
// input (its test points: 'test_file' or 'point' lines), or neither.
enum class InputKind { section, inverse, neither };
InputKind inputKind(const InputFile& input);

// ---- the section analysis

// The key of exact equilibrium in both inputs: 1 on, 0 off (the default); written
// only when on.
inline constexpr const char* exactEquilibriumKey = "exact_equilibrium";

// Fills the texts and choices from a section input: the choices as clicks in the order
// material, diagram, tension, shape (the material fixes what it fixes; a choice that
// the material locks is ignored), then the texts. Keys not given keep what `texts`
// holds. A malformed input throws InputFileError.
void readSectionInput(const InputFile& input, SectionTexts& texts);

// The section input as a file that readSectionInput reads back to the same texts and
// choices and prurez-batch runs as it stands: comment lines saying how to run it, the
// choices that are made, every text under its key (also an empty one, so that opening
// the file empties the field; the coefficient a of fibre concrete under 'a', otherwise
// 'ec1'), and 'file' only when it names a file rather than a mask. Line ends inside a
// text become spaces; a text longer than a line may be throws Failure.
std::string writeSectionInput(const SectionTexts& texts, char decimalSeparator);

// ---- the inverse analysis

// The inverse analysis's texts from its input; keys not given are empty (the count of
// intermediate values "0"). A malformed input throws InputFileError; so does a second
// 'test_file' (its message says that several make a series).
InverseInput readInverseInput(const InputFile& input);

// A series from an inverse input that may name several test data files, one
// 'test_file' line per specimen (each name as written, also as its path), in order; the
// rest as readInverseInput reads it (points typed instead: no specimen file, the
// points in `common`).
SeriesInput readSeriesInput(const InputFile& input);

// The inverse input as a file that readInverseInput reads back: comment lines saying
// how to run it, 'test_file' when it names the test data file (a relative path is
// taken from the folder of the saved file), otherwise a 'point' line for each typed
// point, then every text under its key. A point text holding ';', or a text longer
// than a line may be, throws Failure: a saved file always opens.
std::string writeInverseInput(const InverseInput& input, char decimalSeparator);

// A series input the same way: a 'test_file' line for each specimen's path, in order
// (comment lines naming 'prurez-batch series' when there are several); with no
// specimen file, the input of `common` as writeInverseInput writes it.
std::string writeSeriesInput(const SeriesInput& series, char decimalSeparator);

}  // namespace prurez
