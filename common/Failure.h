#pragma once
// The one failure type of the program: a message shown to the user as it stands.

#include <functional>
#include <stdexcept>
#include <string>

namespace prurez {

class Failure : public std::runtime_error {
public:
    explicit Failure(const std::string& message) : std::runtime_error(message) {}
    std::string message() const { return what(); }
};

// Where the message of a failed handler goes: a message box in the program,
// a recorder in tests, standard error in the batch tool.
using FailureSink = std::function<void(const std::string&)>;

// Runs one handler. A Failure (or any other exception) ends it and its message is
// handed to the sink; whatever the handler wrote before stays. Returns true when the
// handler ran to its end.
bool runHandler(const FailureSink& sink, const std::function<void()>& handler);

}  // namespace prurez
