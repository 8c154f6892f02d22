#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace orvane {

struct Terminal;

// Full paths of repository files are shorter than this many characters.
inline constexpr size_t kRepoPathLimit = 520;
// A name of this many bytes has at least kRepoPathLimit UTF-16 characters
// (no character takes more than three bytes per UTF-16 unit), so it can
// never resolve; it is refused before any conversion.
inline constexpr size_t kRepoNameByteLimit = 3 * kRepoPathLimit;

// The repository-relative form of a device's name (UTF-8 bytes): segments
// split at "\" and "/" and joined with "\". Empty when the name breaks a
// rule: empty or kRepoNameByteLimit bytes or more, control bytes or any of
// " * : < > ? | (so no drive letters or alternate streams), invalid UTF-8, a
// leading separator, an empty, "." or ".." segment, a segment ending in "."
// or a blank, or a segment the platform would take for a device (CON, NUL,
// COM1 ...).
std::wstring repoRelativeName(std::string_view nameBytes);

// Resolves a device's name to the full path of a file or folder inside
// mediaRepoDir; false when the name breaks a rule, there is no repository
// folder, or the full path lies outside the folder.
bool resolveRepoPath(Terminal& t, std::string_view nameBytes, std::wstring& resolvedOut);

}  // namespace orvane
