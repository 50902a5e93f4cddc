#include "flows/InputFile.h"

#include "common/Failure.h"
#include "common/NumberText.h"

#include <algorithm>
#include <map>
#include <sstream>

namespace prurez {

namespace {

// The keys whose values are file names.
const char* const outputFileKey = "file";
const char* const testFileKey = "test_file";

}  // namespace

std::string trimBlanks(const std::string& text)
{
    const char* blanks = " \t\r\n\f\v";
    const size_t begin = text.find_first_not_of(blanks);
    if (begin == std::string::npos)
        return std::string();
    const size_t end = text.find_last_not_of(blanks);
    return text.substr(begin, end - begin + 1);
}

std::string printable(const std::string& text)
{
    static const char digits[] = "0123456789abcdef";
    std::string shown;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 32 || byte == 127) {
            shown += "\\x";
            shown += digits[byte >> 4];
            shown += digits[byte & 15];
        } else {
            shown += c;
        }
    }
    return shown;
}

namespace {

// The next line without its line end (LF, CR LF or CR alone); false at the end of the
// input. A line longer than maximumInputLineLength fails.
bool readLine(std::istream& in, std::string& line, int number)
{
    line.clear();
    char c = 0;
    for (;;) {
        if (!in.get(c))
            return !line.empty();
        if (c == '\n')
            return true;
        if (c == '\r') {
            if (in.peek() == '\n')
                in.get(c);
            return true;
        }
        if (line.size() == maximumInputLineLength)
            throw InputFileError("line " + std::to_string(number) + " is longer than " +
                                     std::to_string(maximumInputLineLength) + " characters",
                                 {InputFileError::Kind::lineTooLong, number, {}, {}, 0,
                                  static_cast<int>(maximumInputLineLength)});
        line += c;
    }
}

}  // namespace

InputFile InputFile::parse(std::istream& in)
{
    InputFile input;
    // A byte-order mark that an editor put before the first line is no part of it.
    static const std::string byteOrderMark = "\xEF\xBB\xBF";
    for (const char mark : byteOrderMark) {
        if (in.peek() != static_cast<unsigned char>(mark))
            break;
        in.get();
    }
    std::string line;
    int number = 0;
    while (readLine(in, line, number + 1)) {
        ++number;
        const std::string trimmed = trimBlanks(line);
        if (!trimmed.empty() && trimmed[0] == '#' && input.decimalSeparator_ == 0) {
            const size_t option = trimmed.find("--decimal");
            const size_t separator = option == std::string::npos ? option : trimmed.find_first_not_of(" \t", option + 9);
            if (separator != std::string::npos && (trimmed[separator] == ',' || trimmed[separator] == '.'))
                input.decimalSeparator_ = trimmed[separator];
        }
        if (trimmed.empty() || trimmed[0] == '#')
            continue;
        const size_t equals = line.find('=');
        if (equals == std::string::npos)
            throw InputFileError("line " + std::to_string(number) + ": missing '=' in \"" + printable(trimmed) +
                                     "\"",
                                 {InputFileError::Kind::missingEquals, number, {}, trimmed});
        const std::string key = trimBlanks(line.substr(0, equals));
        if (key.empty())
            throw InputFileError("line " + std::to_string(number) + ": missing key before '='",
                                 {InputFileError::Kind::missingKey, number, {}, {}});
        std::vector<size_t>& entries = input.entriesOf_[key];
        if (entries.empty())
            input.keys_.push_back(key);
        entries.push_back(input.entries_.size());
        input.entries_.emplace_back(key, trimBlanks(line.substr(equals + 1)));
        input.lineNumbers_.push_back(number);
    }
    return input;
}

void InputFile::validate(const std::set<std::string>& knownKeys,
                          const std::set<std::string>& repeatableKeys) const
{
    std::map<std::string, int> seen;
    for (size_t i = 0; i < entries_.size(); ++i) {
        const std::string& key = entries_[i].first;
        const std::string where = "line " + std::to_string(lineNumbers_[i]) + ": ";
        if (knownKeys.count(key) == 0)
            throw InputFileError(where + "unknown key '" + printable(key) + "'",
                                 {InputFileError::Kind::unknownKey, lineNumbers_[i], key, {}});
        if (seen.count(key) != 0 && repeatableKeys.count(key) == 0)
            throw InputFileError(where + "key '" + key + "' repeated (first given on line " +
                                     std::to_string(seen[key]) + ")",
                                 {InputFileError::Kind::repeatedKey, lineNumbers_[i], key, {}, seen[key]});
        seen.emplace(key, lineNumbers_[i]);
    }
}

std::vector<std::string> InputFile::keys() const { return keys_; }

bool InputFile::has(const std::string& key) const { return entriesOf_.count(key) != 0; }

InputFile InputFile::withDecimalSeparator(char separator) const
{
    const std::set<std::string> verbatim{outputFileKey, testFileKey};
    InputFile converted = *this;
    const char from = decimalSeparator_;
    if (from == 0 || from == separator)
        return converted;
    for (auto& [key, value] : converted.entries_) {
        if (verbatim.count(key) != 0)
            continue;
        std::string result;
        size_t begin = 0;
        while (true) {
            const size_t end = value.find(';', begin);
            std::string part = value.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
            if (isNumberText(part, from))
                for (char& c : part)
                    if (c == from)
                        c = separator;
            result += part;
            if (end == std::string::npos)
                break;
            result += ';';
            begin = end + 1;
        }
        value = result;
    }
    converted.decimalSeparator_ = separator;
    return converted;
}

namespace {

const std::vector<size_t> noEntries;

}  // namespace

const std::vector<size_t>& InputFile::entriesOf(const std::string& key) const
{
    const auto found = entriesOf_.find(key);
    return found == entriesOf_.end() ? noEntries : found->second;
}

std::vector<int> InputFile::lines(const std::string& key) const
{
    std::vector<int> result;
    for (const size_t i : entriesOf(key))
        result.push_back(lineNumbers_[i]);
    return result;
}

int InputFile::line(const std::string& key, int occurrence) const
{
    const std::vector<size_t>& entries = entriesOf(key);
    if (occurrence < 0 || static_cast<size_t>(occurrence) >= entries.size())
        return 0;
    return lineNumbers_[entries[static_cast<size_t>(occurrence)]];
}

std::string InputFile::value(const std::string& key, const std::string& fallback) const
{
    const std::vector<size_t>& entries = entriesOf(key);
    return entries.empty() ? fallback : entries_[entries.front()].second;
}

std::vector<std::string> InputFile::values(const std::string& key) const
{
    std::vector<std::string> result;
    for (const size_t i : entriesOf(key))
        result.push_back(entries_[i].second);
    return result;
}

int InputFile::choice(const std::string& key, int count) const
{
    if (!has(key))
        return -1;
    const std::string text = value(key);
    if (text.empty() || text.size() > 3 || text.find_first_not_of("0123456789") != std::string::npos)
        throw InputFileError("key '" + key + "': the choice must be an item index (0, 1, 2, …), not '" +
                                 printable(text) + "'",
                             {InputFileError::Kind::badChoice, line(key), key, text});
    const int index = std::stoi(text);
    if (index >= count)
        throw InputFileError("key '" + key + "': item index " + std::to_string(index) + " does not exist (0 to " +
                                 std::to_string(count - 1) + ")",
                             {InputFileError::Kind::missingChoiceItem, line(key), key, text, 0, count});
    return index;
}

std::string pathBesideInput(const std::string& inputName, const std::string& fileName)
{
    if (fileName.empty() || fileName[0] == '/' || inputName == "-")
        return fileName;
    const size_t slash = inputName.find_last_of('/');
    return slash == std::string::npos ? fileName : inputName.substr(0, slash + 1) + fileName;
}

InputKind inputKind(const InputFile& input)
{
    if (input.has("material"))
        return InputKind::section;
    if (input.has(testFileKey) || input.has("point"))
        return InputKind::inverse;
    return InputKind::neither;
}

// ---- the section analysis

namespace {

// The text keys of a section input and the texts they fill.
const std::vector<std::pair<const char*, std::string SectionTexts::*>>& sectionTextKeys()
{
    static const std::vector<std::pair<const char*, std::string SectionTexts::*>> keys{
        {"fcp", &SectionTexts::fcp},
        {"fct", &SectionTexts::fct},
        {"E", &SectionTexts::E},
        {"ecu", &SectionTexts::ecu},
        {"etu", &SectionTexts::etu},
        {"ec1", &SectionTexts::ec1OrA},
        {"a", &SectionTexts::ec1OrA},
        {"b", &SectionTexts::b},
        {"fy", &SectionTexts::fy},
        {"Es", &SectionTexts::Es},
        {"esu", &SectionTexts::esu},
        {"As_bottom", &SectionTexts::bottomArea},
        {"d_bottom", &SectionTexts::bottomDistance},
        {"As_top", &SectionTexts::topArea},
        {"d_top", &SectionTexts::topDistance},
        {"width", &SectionTexts::width},
        {"height", &SectionTexts::height},
        {"N", &SectionTexts::N},
        {"dkappa", &SectionTexts::kappaStep},
        {outputFileKey, &SectionTexts::outputFile},
    };
    return keys;
}

}  // namespace

void readSectionInput(const InputFile& input, SectionTexts& texts)
{
    std::set<std::string> known{"material", "diagram", "tension", "shape", exactEquilibriumKey};
    for (const auto& entry : sectionTextKeys())
        known.insert(entry.first);
    input.validate(known, {});
    if (input.has("ec1") && input.has("a"))
        throw InputFileError("keys 'ec1' and 'a' both fill the same field; give one of them",
                             {InputFileError::Kind::bothPeakStrainKeys, std::max(input.line("ec1"), input.line("a")), {}, {}});

    const int material = input.choice("material", 3);
    const int diagram = input.choice("diagram", 3);
    const int tension = input.choice("tension", 2);
    const int shape = input.choice("shape", 2);
    // The choices as clicks: the material fixes what it fixes, and a click on a group
    // that the material locks does nothing.
    if (material >= 0) {
        texts.material = material;
        applyMaterialChoice(texts);
    }
    const MaterialRules rules = materialRules(texts.material);
    if (diagram >= 0 && rules.diagramFree)
        texts.diagram = diagram;
    if (tension >= 0 && rules.tensionFree)
        texts.tension = tension;
    if (shape >= 0)
        texts.shape = shape;
    const int exact = input.choice(exactEquilibriumKey, 2);
    if (exact >= 0)
        texts.exactEquilibrium = exact == 1;
    for (const auto& entry : sectionTextKeys())
        if (input.has(entry.first))
            texts.*(entry.second) = input.value(entry.first);
}

// ---- the inverse analysis

namespace {

TestPointTexts splitPoint(const std::string& value, int line)
{
    const size_t separator = value.find(';');
    if (separator == std::string::npos || value.find(';', separator + 1) != std::string::npos)
        throw InputFileError("key 'point': expected 'force ; deflection', not '" + printable(value) + "'",
                             {InputFileError::Kind::badPoint, line, "point", value});
    return {trimBlanks(value.substr(0, separator)), trimBlanks(value.substr(separator + 1))};
}

// The keys of the inverse input's texts besides the test data: the bending test's,
// the combinations' and the section's.
std::vector<std::pair<const char*, std::string*>> inverseTextKeys(InverseInput& in)
{
    CombinationTexts& c = in.combinations;
    return {
        {"E_test", &in.test.E},  {"load_a", &in.test.loadDistance}, {"s", &in.test.sectionDimension},
        {"fcp", &c.fcp},         {"ecpm", &c.ecpm},                 {"E_min", &c.E.min},
        {"E_max", &c.E.max},     {"fct_min", &c.fct.min},           {"fct_max", &c.fct.max},
        {"ectm_min", &c.ectm.min}, {"ectm_max", &c.ectm.max},       {"a_min", &c.a.min},
        {"a_max", &c.a.max},     {"b_min", &c.b.min},               {"b_max", &c.b.max},
        {"n", &c.intermediateCount}, {"h", &in.height},             {"w", &in.width},
    };
}

}  // namespace

namespace {

// The inverse input's texts; `repeatable`: the keys that may repeat.
InverseInput readInverseTexts(const InputFile& input, const std::set<std::string>& repeatable)
{
    InverseInput in;
    std::set<std::string> known{"point", testFileKey, exactEquilibriumKey};
    for (const auto& entry : inverseTextKeys(in))
        known.insert(entry.first);
    try {
        input.validate(known, repeatable);
    } catch (const InputFileError& error) {
        if (error.detail().kind != InputFileError::Kind::repeatedKey || error.detail().key != testFileKey)
            throw;
        throw InputFileError(std::string(error.what()) +
                                 "; several test files are a test series, run by 'prurez-batch series'",
                             error.detail());
    }
    if (input.has(testFileKey) && input.has("point"))
        throw InputFileError("give the test points either by 'test_file' or by 'point' keys, not both",
                             {InputFileError::Kind::fileAndPoints, input.line("point"), {}, {}});
    const std::vector<std::string> points = input.values("point");
    const std::vector<int> pointLines = input.lines("point");
    for (size_t i = 0; i < points.size(); ++i)
        in.points.push_back(splitPoint(points[i], pointLines[i]));
    in.testFile = input.value(testFileKey);
    in.testFileGiven = input.has(testFileKey);
    in.exactEquilibrium = input.choice(exactEquilibriumKey, 2) == 1;
    for (const auto& entry : inverseTextKeys(in))
        if (input.has(entry.first))
            *entry.second = input.value(entry.first);
    return in;
}

}  // namespace

InverseInput readInverseInput(const InputFile& input) { return readInverseTexts(input, {"point"}); }

SeriesInput readSeriesInput(const InputFile& input)
{
    SeriesInput series;
    series.common = readInverseTexts(input, {"point", testFileKey});
    for (const std::string& file : input.values(testFileKey))
        series.specimens.push_back({file, file});
    series.common.testFile.clear();
    series.common.testFileGiven = false;
    return series;
}

// ---- writing

namespace {

// One "key = value" line; a line end inside the value would end the line early. A
// line longer than a file may have is refused: a saved file always opens.
void writeEntry(std::ostream& out, const std::string& key, std::string value)
{
    for (char& c : value)
        if (c == '\n' || c == '\r')
            c = ' ';
    const std::string line = key + " = " + value;
    if (line.size() > maximumInputLineLength)
        throw Failure("Hodnotu „" + key + "“ nelze uložit: je delší, než soubor zadání dovoluje (" +
                      std::to_string(maximumInputLineLength) + " znaků na řádek).");
    out << line << '\n';
}

void writeHeading(std::ostream& out, const char* what, const char* command, char decimalSeparator)
{
    out << "# " << what << ", uloženo programem prurez.\n"
        << "# Čísla s desetinným oddělovačem '" << decimalSeparator << "'; výpočet bez oken:\n"
        << "#   prurez-batch " << command << " SOUBOR --decimal " << decimalSeparator << "\n";
}

}  // namespace

std::string writeSectionInput(const SectionTexts& texts, char decimalSeparator)
{
    std::ostringstream out;
    writeHeading(out, "Zadání pracovního diagramu průřezu", "section", decimalSeparator);
    const std::pair<const char*, int> choices[] = {
        {"material", texts.material}, {"diagram", texts.diagram}, {"tension", texts.tension}, {"shape", texts.shape}};
    for (const auto& [key, item] : choices)
        if (item >= 0)
            writeEntry(out, key, std::to_string(item));
    if (texts.exactEquilibrium)
        writeEntry(out, exactEquilibriumKey, "1");
    const char* const skipped = texts.material == 1 ? "ec1" : "a";  // the field's other key
    for (const auto& [key, member] : sectionTextKeys()) {
        const std::string& text = texts.*member;
        if (std::string(key) == skipped)
            continue;
        if (member == &SectionTexts::outputFile && (trimBlanks(text).empty() || isFileMask(text)))
            continue;
        writeEntry(out, key, text);
    }
    return out.str();
}

namespace {

// An inverse analysis's input with its test data files (several: a series).
std::string writeInverseInput(const InverseInput& input, const std::vector<std::string>& testFiles,
                              char decimalSeparator)
{
    std::ostringstream out;
    writeHeading(out, "Zadání inversní analýzy drátkobetonu", testFiles.size() > 1 ? "series" : "inverse",
                 decimalSeparator);
    for (const std::string& file : testFiles)
        writeEntry(out, testFileKey, file);
    if (testFiles.empty())
        for (size_t i = 0; i < input.points.size(); ++i) {
            // The ';' separates force and deflection: a third part would not open.
            const TestPointTexts& point = input.points[i];
            if ((point.force + point.deflection).find(';') != std::string::npos)
                throw Failure("Bod zkoušky " + std::to_string(i + 1) +
                              " nelze uložit: síla ani průhyb nesmí obsahovat znak „;“.");
            writeEntry(out, "point", point.force + " ; " + point.deflection);
        }
    InverseInput texts = input;
    for (const auto& [key, text] : inverseTextKeys(texts))
        writeEntry(out, key, *text);
    if (input.exactEquilibrium)
        writeEntry(out, exactEquilibriumKey, "1");
    return out.str();
}

}  // namespace

std::string writeInverseInput(const InverseInput& input, char decimalSeparator)
{
    std::vector<std::string> testFiles;
    if (input.testFileGiven || !input.testFile.empty())
        testFiles.push_back(input.testFile);
    return writeInverseInput(input, testFiles, decimalSeparator);
}

std::string writeSeriesInput(const SeriesInput& series, char decimalSeparator)
{
    if (series.specimens.empty())
        return writeInverseInput(series.common, decimalSeparator);
    std::vector<std::string> testFiles;
    for (const SpecimenFile& file : series.specimens)
        testFiles.push_back(file.path);
    return writeInverseInput(series.common, testFiles, decimalSeparator);
}

// ---- the windows' messages

std::string inputFileMessage(const InputFileError& error)
{
    using Kind = InputFileError::Kind;
    const InputFileError::Detail& d = error.detail();
    const std::string key = "„" + printable(d.key) + "“";
    const std::string text = printable(d.text);
    std::string what;
    switch (d.kind) {
    case Kind::missingEquals:
        what = "chybí znak '=' mezi názvem a hodnotou („" + text + "“).";
        break;
    case Kind::missingKey:
        what = "před znakem '=' chybí název hodnoty.";
        break;
    case Kind::unknownKey:
        what = "neznámý název hodnoty " + key + ".";
        break;
    case Kind::repeatedKey:
        what = "hodnota " + key + " je zadána podruhé (poprvé na řádku " + std::to_string(d.firstLine) + ").";
        break;
    case Kind::badChoice:
        what = "volba " + key + " musí být číslo položky (0, 1, 2 …), ne „" + text + "“.";
        break;
    case Kind::missingChoiceItem:
        what = "volba " + key + " nemá položku " + text + " (jen 0 až " + std::to_string(d.count - 1) + ").";
        break;
    case Kind::bothPeakStrainKeys:
        what = "hodnoty „ec1“ a „a“ plní totéž pole; zadejte jen jednu z nich.";
        break;
    case Kind::badPoint:
        what = "bod zkoušky se zadává jako „síla ; průhyb“, ne „" + text + "“.";
        break;
    case Kind::fileAndPoints:
        what = "body zkoušky zadejte buď souborem (test_file), nebo řádky point, ne obojím.";
        break;
    case Kind::lineTooLong:
        what = "řádek je delší než " + std::to_string(d.count) + " znaků.";
        break;
    case Kind::noMaterial:
        what = "chybí volba materiálu („material“), bez ní se nic nepočítá.";
        break;
    case Kind::fileIsInput:
        what = "výstupní soubor („file“) je samo zadání, které by se přepsalo.";
        break;
    case Kind::cannotRead:
        what = "soubor zadání nelze přečíst.";
        break;
    }
    if (d.line <= 0)
        return "Chyba v zadání: " + what;
    return "Chyba v zadání na řádku " + std::to_string(d.line) + ": " + what;
}

}  // namespace prurez
