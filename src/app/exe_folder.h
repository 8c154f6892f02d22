#pragma once

#include <string>
#include <string_view>

namespace orvane {

// The folder part of a full executable path, without the trailing
// separator; "." when the path has no separator. Files that live beside the
// executable are found through it.
std::wstring folderOfPath(std::wstring_view path);

// The settings file inside `folder`.
std::wstring settingsFileIn(std::wstring_view folder);

}  // namespace orvane
