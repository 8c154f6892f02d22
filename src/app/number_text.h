#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
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

// The number `text` starts with when it lies in low..high (a port field
// takes 1..65535); nothing otherwise, so an overlong number is refused rather
// than wrapped into range.
std::optional<int> numberWithin(std::wstring_view text, int low, int high);

// The first of `entries` whose leading number equals the number `value`
// starts with ("9600" picks "9600 baud"); nothing when none does or `value`
// has no number.
std::optional<std::size_t> entryWithLeadingNumber(std::span<const std::wstring> entries, std::wstring_view value);

}  // namespace orvane
