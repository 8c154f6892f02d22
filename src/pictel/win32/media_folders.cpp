#include "pictel/win32/media_folders.h"

#include <windows.h>

namespace orvane {

namespace {

constexpr DWORD kExecutablePathLimit = 260;
constexpr DWORD kLocalAppDataLimit = 260;  // characters with the terminator

std::wstring folderOf(const std::wstring& path) {
    const size_t cut = path.find_last_of(L"\\/");
    return cut == std::wstring::npos ? L"." : path.substr(0, cut);
}

// Creating a folder that is already there counts as success.
bool ensureFolder(const std::wstring& path) {
    if (CreateDirectoryW(path.c_str(), nullptr)) return true;
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Creates a temporary file that disappears when closed.
bool canWriteIn(const std::wstring& folder) {
    const HANDLE probe = CreateFileW((folder + L"\\.ovwrite.tmp").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (probe == INVALID_HANDLE_VALUE) return false;
    CloseHandle(probe);
    return true;
}

MediaFolders foldersUnder(const std::wstring& base) {
    return {base + L"\\media-cache", base + L"\\media-repo"};
}

std::optional<std::wstring> readLocalAppData() {
    wchar_t value[kLocalAppDataLimit];
    const DWORD length = GetEnvironmentVariableW(L"LOCALAPPDATA", value, kLocalAppDataLimit);
    if (length == 0 || length >= kLocalAppDataLimit) return std::nullopt;
    return std::wstring(value, length);
}

}  // namespace

MediaFolders locateMediaFoldersFor(const std::wstring& executablePath,
                                   const std::optional<std::wstring>& localAppData) {
    const MediaFolders portable = foldersUnder(folderOf(executablePath));
    const bool cacheMade = ensureFolder(portable.cacheDir);
    const bool repoMade = ensureFolder(portable.repoDir);
    if (cacheMade && repoMade && canWriteIn(portable.cacheDir)) return portable;
    if (!localAppData || localAppData->empty() || localAppData->size() >= kLocalAppDataLimit) return portable;
    const std::wstring base = *localAppData + L"\\Orvane";
    const MediaFolders perUser = foldersUnder(base);
    ensureFolder(base);
    ensureFolder(perUser.cacheDir);
    ensureFolder(perUser.repoDir);
    return perUser;
}

MediaFolders locateMediaFolders() {
    wchar_t path[kExecutablePathLimit];
    const DWORD length = GetModuleFileNameW(nullptr, path, kExecutablePathLimit);
    const std::wstring executable = length > 0 && length < kExecutablePathLimit ? std::wstring(path, length) : L"";
    return locateMediaFoldersFor(executable, readLocalAppData());
}

}  // namespace orvane
