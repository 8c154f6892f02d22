#pragma once

// What the replies of one command must be when the fuzzer knows exactly how
// the terminal reads it: the size query answers the grid size, drawing and
// store commands stay silent, every named APC operation with a valid id
// answers exactly once with its own code, a chunk is acknowledged with its
// number or finished with code 4, and a reported success shows a canvas.

#include <string>
#include <vector>

#include "pictel_generator.h"
#include "pictel_invariants.h"
#include "terminal/terminal.h"

namespace orvane::fuzzing {

// The first mismatch as readable text, or an empty string.
std::string findReplyProblem(const Terminal& t, const Step& step, const std::vector<Reply>& replies);

}  // namespace orvane::fuzzing
