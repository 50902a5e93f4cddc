#pragma once
// Helpers shared by the unit tests.

#include "common/Failure.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

// The message of the Failure an action throws, or "(no failure)".
inline std::string failureOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const prurez::Failure& failure) {
        return failure.message();
    }
    return "(no failure)";
}

// The parts of a text between the separators (none after a final one).
inline std::vector<std::string> split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::stringstream stream(text);
    std::string part;
    while (std::getline(stream, part, separator))
        parts.push_back(part);
    return parts;
}

// The whole content of a file ("" when it cannot be read).
inline std::string fileText(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

struct BatchRun {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs prurez-batch with the arguments (a shell word list) in `directory`, with
// `input` on standard input, as a user runs it from a shell (after `shellPrefix`, e.g.
// limits set with ulimit).
inline BatchRun runBatch(const std::string& arguments, const std::string& input = std::string(),
                         const std::string& directory = ".", const std::string& shellPrefix = std::string())
{
    char name[] = "/tmp/prurez-batch-test-XXXXXX";
    const int descriptor = mkstemp(name);
    if (descriptor >= 0)
        close(descriptor);
    const std::string base = name;
    std::ofstream(base, std::ios::binary) << input;
    const std::string command = "cd '" + directory + "' && " + shellPrefix + "'" + PRUREZ_BATCH_EXE + "' " +
                                arguments + " <'" + base +
                                "' >'" + base + ".out' 2>'" + base + ".err'";
    BatchRun run;
    const int raw = std::system(command.c_str());
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = fileText(base + ".out");
    run.err = fileText(base + ".err");
    for (const char* suffix : {"", ".out", ".err"})
        std::remove((base + suffix).c_str());
    return run;
}
