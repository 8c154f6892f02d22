#pragma once

#include <string>

#include "terminal/terminal.h"

namespace orvane {

// The first broken invariant of the screen model and parser as readable
// text, or an empty string when the terminal is consistent. Cheap enough to
// run after every batch of bytes in fuzzing and in unit tests.
std::string findInvariantViolation(const Terminal& t);

// The first observable field in which two terminals differ, or an empty
// string when they agree. How a byte stream is split into feed calls must
// never show here.
std::string findStateDifference(const Terminal& a, const Terminal& b);

// The feed without its fast paths: in ANSI mode each byte goes straight to
// the byte machine, marking the screen dirty unless it is collected into an
// APC payload. The reference the fast paths must match.
void feedByteMachine(Terminal& t, const uint8_t* bytes, size_t length);

}  // namespace orvane
