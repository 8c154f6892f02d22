#include "app/exe_folder.h"

namespace orvane {

std::wstring folderOfPath(std::wstring_view path) {
    const size_t separator = path.find_last_of(L"\\/");
    return separator == std::wstring_view::npos ? std::wstring(L".") : std::wstring(path.substr(0, separator));
}

std::wstring settingsFileIn(std::wstring_view folder) {
    return std::wstring(folder) + L"\\Orvane.ini";
}

}  // namespace orvane
