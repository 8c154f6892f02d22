#pragma once

#include <string>
#include <string_view>

namespace orvane {

struct Terminal;

// The repository-relative form of a device's name (UTF-8 bytes): segments
// split at "\" and "/" and joined with "\". Empty when the name breaks a
// rule: empty, control bytes or any of " * : < > ? | (so no drive letters
// or alternate streams), invalid UTF-8, a leading separator, an empty, "."
// or ".." segment, a segment ending in "." or a blank, or a segment the
// platform would take for a device (CON, NUL, COM1 ...).
std::wstring repoRelativeName(std::string_view nameBytes);

// Resolves a device's name to the full path of a file or folder inside
// mediaRepoDir; false when the name breaks a rule, there is no repository
// folder, or the full path lies outside the folder.
bool resolveRepoPath(Terminal& t, std::string_view nameBytes, std::wstring& resolvedOut);

}  // namespace orvane
