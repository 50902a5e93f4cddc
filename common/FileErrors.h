#pragma once
// The messages for files that cannot be opened or created.

#include "common/Failure.h"

#include <string>

namespace prurez {

// errno of a failed open → "File not found", "Invalid filename", "File access denied",
// "Too many open files" or "I/O error <n>". When creating, a missing directory is an
// invalid name.
std::string fileErrorMessage(int errorNumber, bool creating);
// The failure with that message.
inline Failure fileFailure(int errorNumber, bool creating)
{
    return Failure(Reason::fileError, fileErrorMessage(errorNumber, creating));
}

}  // namespace prurez
