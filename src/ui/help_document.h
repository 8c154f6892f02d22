#pragma once

#include <string>
#include <vector>

namespace orvane {

// Where the help document may lie, in the order to look: in the folder, then
// in each parent up to the root, each of the four names. The folder is a
// Windows path without a trailing backslash.
std::vector<std::wstring> helpDocumentCandidates(const std::wstring& folder);

}  // namespace orvane
