#pragma once

#include <string_view>

namespace orvane {

// A whole number read from the start of a text.
struct NumberText {
    int value = 0;             // 0 when no digit was read
    bool hasDigits = false;    // at least one digit followed the optional sign
    std::size_t consumed = 0;  // characters used, blanks and sign included (0 without digits)
};

// The one reader for every number typed by a user or a script (command line,
// edit fields, INI): leading blanks, an optional sign, then decimal digits up
// to the first other character. Values beyond the range of int saturate at
// its limits instead of wrapping, so "4294967297" is never read as 1.
NumberText readNumber(std::wstring_view text);

// The value of `text`, or `fallback` when it starts without a number.
int numberOr(std::wstring_view text, int fallback);

}  // namespace orvane
