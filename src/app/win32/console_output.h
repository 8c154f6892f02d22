#pragma once

#include <string_view>

namespace orvane {

// Writes to the console of the process that started this one. The program
// never creates a console; it attaches to its parent's once per process and
// remembers whether that worked. Returns false without a console.
bool writeToParentConsole(std::wstring_view text);

// "-help": to the console with a blank line before and after, otherwise in a
// message box.
void showHelp();

// The start-up report of unknown arguments; printed only when a console can
// be attached (the status bar shows it too).
void printUnknownOptions(std::wstring_view list);

}  // namespace orvane
