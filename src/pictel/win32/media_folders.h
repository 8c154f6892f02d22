#pragma once

#include <optional>
#include <string>

namespace orvane {

struct MediaFolders {
    std::wstring cacheDir;
    std::wstring repoDir;
};

// Run once at start-up: "media-cache" and "media-repo" beside the executable
// when that folder is writable, else under %LOCALAPPDATA%\Orvane.
MediaFolders locateMediaFolders();

// The same choice for a given executable path and LOCALAPPDATA value (none
// when the variable is not set).
MediaFolders locateMediaFoldersFor(const std::wstring& executablePath, const std::optional<std::wstring>& localAppData);

}  // namespace orvane
