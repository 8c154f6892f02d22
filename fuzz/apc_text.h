#pragma once

// An APC "G" command as the generator writes it, item by item, and what the
// terminal will read from it.

#include <string>
#include <vector>

#include "pictel_generator.h"

namespace orvane::fuzzing {

// One key=value item of the control part, as written.
struct ApcItem {
    std::string key;
    std::string value;
    std::string padBefore;  // around the key and the value; trimmed by the terminal
    std::string padAfter;
    bool withoutEquals = false;  // an item the terminal ignores
};

struct ApcText {
    std::vector<ApcItem> items;
    bool hasPayload = false;
    std::string payload;
};

// Fills the APC fields of step (op, id, chunk) with what the terminal reads
// from the items, following the framing rules independently of its parser.
void modelApc(const ApcText& text, Step& step);
// "G", the items joined by ",", then ";" and the payload.
std::string serialise(const ApcText& text);

}  // namespace orvane::fuzzing
