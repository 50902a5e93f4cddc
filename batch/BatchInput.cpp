#include "batch/BatchInput.h"

#include <map>

namespace prurez::batch {

std::string trimBlanks(const std::string& text)
{
    const char* blanks = " \t\r\n\f\v";
    const size_t begin = text.find_first_not_of(blanks);
    if (begin == std::string::npos)
        return std::string();
    const size_t end = text.find_last_not_of(blanks);
    return text.substr(begin, end - begin + 1);
}

BatchInput BatchInput::parse(std::istream& in)
{
    BatchInput input;
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const std::string trimmed = trimBlanks(line);
        if (trimmed.empty() || trimmed[0] == '#')
            continue;
        const size_t equals = line.find('=');
        if (equals == std::string::npos)
            throw UsageError("line " + std::to_string(number) + ": missing '=' in \"" + trimmed + "\"");
        const std::string key = trimBlanks(line.substr(0, equals));
        if (key.empty())
            throw UsageError("line " + std::to_string(number) + ": missing key before '='");
        input.entries_.emplace_back(key, trimBlanks(line.substr(equals + 1)));
        input.lineNumbers_.push_back(number);
    }
    return input;
}

void BatchInput::validate(const std::set<std::string>& knownKeys,
                          const std::set<std::string>& repeatableKeys) const
{
    std::map<std::string, int> seen;
    for (size_t i = 0; i < entries_.size(); ++i) {
        const std::string& key = entries_[i].first;
        const std::string where = "line " + std::to_string(lineNumbers_[i]) + ": ";
        if (knownKeys.count(key) == 0)
            throw UsageError(where + "unknown key '" + key + "'");
        if (seen.count(key) != 0 && repeatableKeys.count(key) == 0)
            throw UsageError(where + "key '" + key + "' repeated (first given on line " +
                             std::to_string(seen[key]) + ")");
        seen.emplace(key, lineNumbers_[i]);
    }
}

bool BatchInput::has(const std::string& key) const
{
    for (const auto& entry : entries_)
        if (entry.first == key)
            return true;
    return false;
}

std::string BatchInput::value(const std::string& key, const std::string& fallback) const
{
    for (const auto& entry : entries_)
        if (entry.first == key)
            return entry.second;
    return fallback;
}

std::vector<std::string> BatchInput::values(const std::string& key) const
{
    std::vector<std::string> result;
    for (const auto& entry : entries_)
        if (entry.first == key)
            result.push_back(entry.second);
    return result;
}

int BatchInput::choice(const std::string& key) const
{
    if (!has(key))
        return -1;
    const std::string text = value(key);
    if (text.empty() || text.size() > 3 || text.find_first_not_of("0123456789") != std::string::npos)
        throw UsageError("key '" + key + "': the choice must be an item index (0, 1, 2, …), not '" + text + "'");
    return std::stoi(text);
}

}  // namespace prurez::batch
