#pragma once
// The INPUT file of prurez-batch: one "key = value" per line.

#include <istream>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace prurez::batch {

// A usage error or a malformed INPUT: exit status 2 with this one-line explanation.
class UsageError : public std::runtime_error {
public:
    explicit UsageError(const std::string& message) : std::runtime_error(message) {}
};

// The text without the blanks (spaces, tabs, line ends) around it.
std::string trimBlanks(const std::string& text);

struct BatchOptions {
    char decimalSeparator = ',';
    bool exhaustiveScan = false;
    int threads = 0;                  // 0: all hardware threads
    std::vector<std::string> blocks;  // empty: all
};

class BatchInput {
public:
    // Reads the lines; blank lines and '#' comments are skipped, key and value are
    // trimmed. A line without '=' fails.
    static BatchInput parse(std::istream& in);

    // Checks every key against the known ones; only the repeatable keys may repeat.
    void validate(const std::set<std::string>& knownKeys, const std::set<std::string>& repeatableKeys) const;

    bool has(const std::string& key) const;
    // The value of a key given once, or the fallback when it is not given.
    std::string value(const std::string& key, const std::string& fallback = std::string()) const;
    // All values of a repeatable key, in order.
    std::vector<std::string> values(const std::string& key) const;
    // The key's value as a choice index (a non-negative integer), or -1 when not given.
    int choice(const std::string& key) const;

private:
    std::vector<std::pair<std::string, std::string>> entries_;
    std::vector<int> lineNumbers_;
};

}  // namespace prurez::batch
