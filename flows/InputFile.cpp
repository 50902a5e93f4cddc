#include "flows/InputFile.h"

#include <map>

namespace prurez {

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

// The next line without its line end; false at the end of the input. A line longer
// than maximumInputLineLength fails.
bool readLine(std::istream& in, std::string& line, int number)
{
    line.clear();
    char c = 0;
    for (;;) {
        if (!in.get(c))
            return !line.empty();
        if (c == '\n')
            return true;
        if (line.size() == maximumInputLineLength)
            throw InputFileError("line " + std::to_string(number) + " is longer than " +
                                 std::to_string(maximumInputLineLength) + " characters");
        line += c;
    }
}

}  // namespace

InputFile InputFile::parse(std::istream& in)
{
    InputFile input;
    std::string line;
    int number = 0;
    while (readLine(in, line, number + 1)) {
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const std::string trimmed = trimBlanks(line);
        if (trimmed.empty() || trimmed[0] == '#')
            continue;
        const size_t equals = line.find('=');
        if (equals == std::string::npos)
            throw InputFileError("line " + std::to_string(number) + ": missing '=' in \"" + printable(trimmed) +
                                 "\"");
        const std::string key = trimBlanks(line.substr(0, equals));
        if (key.empty())
            throw InputFileError("line " + std::to_string(number) + ": missing key before '='");
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
            throw InputFileError(where + "unknown key '" + printable(key) + "'");
        if (seen.count(key) != 0 && repeatableKeys.count(key) == 0)
            throw InputFileError(where + "key '" + key + "' repeated (first given on line " +
                             std::to_string(seen[key]) + ")");
        seen.emplace(key, lineNumbers_[i]);
    }
}

bool InputFile::has(const std::string& key) const
{
    for (const auto& entry : entries_)
        if (entry.first == key)
            return true;
    return false;
}

std::string InputFile::value(const std::string& key, const std::string& fallback) const
{
    for (const auto& entry : entries_)
        if (entry.first == key)
            return entry.second;
    return fallback;
}

std::vector<std::string> InputFile::values(const std::string& key) const
{
    std::vector<std::string> result;
    for (const auto& entry : entries_)
        if (entry.first == key)
            result.push_back(entry.second);
    return result;
}

int InputFile::choice(const std::string& key, int count) const
{
    if (!has(key))
        return -1;
    const std::string text = value(key);
    if (text.empty() || text.size() > 3 || text.find_first_not_of("0123456789") != std::string::npos)
        throw InputFileError("key '" + key + "': the choice must be an item index (0, 1, 2, …), not '" +
                             printable(text) + "'");
    const int index = std::stoi(text);
    if (index >= count)
        throw InputFileError("key '" + key + "': item index " + std::to_string(index) + " does not exist (0 to " +
                             std::to_string(count - 1) + ")");
    return index;
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
        {"file", &SectionTexts::outputFile},
    };
    return keys;
}

}  // namespace

void readSectionInput(const InputFile& input, SectionTexts& texts)
{
    std::set<std::string> known{"material", "diagram", "tension", "shape"};
    for (const auto& entry : sectionTextKeys())
        known.insert(entry.first);
    input.validate(known, {});
    if (input.has("ec1") && input.has("a"))
        throw InputFileError("keys 'ec1' and 'a' both fill the same field; give one of them");

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
    for (const auto& entry : sectionTextKeys())
        if (input.has(entry.first))
            texts.*(entry.second) = input.value(entry.first);
}

// ---- the inverse analysis

namespace {

TestPointTexts splitPoint(const std::string& value)
{
    const size_t separator = value.find(';');
    if (separator == std::string::npos || value.find(';', separator + 1) != std::string::npos)
        throw InputFileError("key 'point': expected 'force ; deflection', not '" + printable(value) + "'");
    return {trimBlanks(value.substr(0, separator)), trimBlanks(value.substr(separator + 1))};
}

// The text keys of an inverse input and the texts they fill.
const std::vector<std::pair<const char*, std::string InverseInput::*>>& inverseTextKeys()
{
    static const std::vector<std::pair<const char*, std::string InverseInput::*>> keys{
        {"test_file", &InverseInput::testFile},
        {"h", &InverseInput::height},
        {"w", &InverseInput::width},
    };
    return keys;
}

// The keys of the bending test's and the combinations' texts.
std::vector<std::pair<const char*, std::string*>> inverseFieldKeys(InverseInput& in)
{
    CombinationTexts& c = in.combinations;
    return {
        {"E_test", &in.test.E},  {"load_a", &in.test.loadDistance}, {"s", &in.test.sectionDimension},
        {"fcp", &c.fcp},         {"ecpm", &c.ecpm},                 {"E_min", &c.E.min},
        {"E_max", &c.E.max},     {"fct_min", &c.fct.min},           {"fct_max", &c.fct.max},
        {"ectm_min", &c.ectm.min}, {"ectm_max", &c.ectm.max},       {"a_min", &c.a.min},
        {"a_max", &c.a.max},     {"b_min", &c.b.min},               {"b_max", &c.b.max},
        {"n", &c.intermediateCount},
    };
}

}  // namespace

InverseInput readInverseInput(const InputFile& input)
{
    InverseInput in;
    std::set<std::string> known{"point"};
    for (const auto& entry : inverseTextKeys())
        known.insert(entry.first);
    for (const auto& entry : inverseFieldKeys(in))
        known.insert(entry.first);
    input.validate(known, {"point"});
    if (input.has("test_file") && input.has("point"))
        throw InputFileError("give the test points either by 'test_file' or by 'point' keys, not both");
    for (const auto& value : input.values("point"))
        in.points.push_back(splitPoint(value));
    for (const auto& entry : inverseTextKeys())
        in.*(entry.second) = input.value(entry.first);
    for (const auto& entry : inverseFieldKeys(in))
        if (input.has(entry.first))
            *entry.second = input.value(entry.first);
    return in;
}

}  // namespace prurez
