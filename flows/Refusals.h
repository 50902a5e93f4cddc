#pragma once
// The typed reasons of the interface (prurez/Failure.h) and the Czech texts the program
// shows for them: every refusal with a fixed text is made here.

#include "common/Failure.h"

#include <string>

namespace prurez {

// The failure of a reason whose text is fixed (a refusal of the section or of the
// inverse analysis, a number of a test data file that is not a number); Reason::other
// for any other reason.
Failure refusal(Reason reason);

// A combination whose forces balance at no position of the scan.
Failure noBalanceFailure(const std::string& combinationNumber, const std::string& curvature);

}  // namespace prurez
