#pragma once

#include <optional>
#include <string>
#include <vector>

namespace orvane {

// A command line split by the system's rules (CommandLineToArgvW), program
// first; nothing when it cannot be split.
std::optional<std::vector<std::wstring>> splitCommandLine(const wchar_t* line);

}  // namespace orvane
