#pragma once

#include "app/command_target.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace orvane {

// The three situations a command line is applied in.
enum class CommandPass {
    beforeWindow = 0,  // start-up, before the main window exists: store settings, record start-up flags
    afterWindow = 1,   // start-up, window shown: run the lock options and actions
    forwarded = 2,     // a line from a later instance: store, apply live, run actions
};

// Runs the options of `args` (element 0, the program, is skipped) in order.
// Returns 0, or 1 when the last "-screenshot" failed or a "-send" could not
// start its playback, whichever came last.
int applyCommandLine(std::span<const std::wstring> args, CommandPass pass, CommandTarget& target);

// Start-up after the window is shown: applies the line with `persistSettings`
// false unless the first pass recorded "-save", saves when it did, then sets
// `persistSettings` back to true.
int applyStartupActions(std::span<const std::wstring> args, CommandTarget& target);

// The option name of an argument: the text after its leading "-" or "/",
// lower-cased; nothing when the argument does not start with one of them.
std::optional<std::wstring> optionNameOf(std::wstring_view argument);

// What an option expects after it.
enum class OptionValue { none, text, file, fileOrNone };

// The value an argument's option takes; nothing for an argument that is no
// option.
std::optional<OptionValue> optionValueOf(std::wstring_view argument);

// The boolean rule for option values: "on", "1", "true" and "yes" in any
// case are true, everything else false.
bool optionBoolValue(std::wstring_view value);

}  // namespace orvane
