#pragma once
// The messages for files that cannot be opened or created.

#include <string>

namespace prurez {

// errno of a failed open → "File not found", "Invalid filename", "File access denied",
// "Too many open files" or "I/O error <n>". When creating, a missing directory is an
// invalid name.
std::string fileErrorMessage(int errorNumber, bool creating);

}  // namespace prurez
