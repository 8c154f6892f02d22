#include "pictel/win32/media_files.h"

#include <windows.h>

#include <new>

#include "pictel/repo_rules.h"

namespace orvane {

namespace {

// Closes a file handle on every path out.
class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle() {
        if (valid()) CloseHandle(handle_);
    }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }

private:
    HANDLE handle_;
};

bool startsWithIgnoringCase(const std::wstring& text, const std::wstring& prefix) {
    return text.size() >= prefix.size() &&
           CompareStringOrdinal(text.c_str(), int(prefix.size()), prefix.c_str(), int(prefix.size()), TRUE) ==
               CSTR_EQUAL;
}

bool fullPathOf(const std::wstring& path, std::wstring& out) {
    wchar_t buffer[kRepoPathLimit];
    const DWORD length = GetFullPathNameW(path.c_str(), DWORD(kRepoPathLimit), buffer, nullptr);
    if (length == 0 || length >= kRepoPathLimit) return false;
    out.assign(buffer, length);
    return true;
}

}  // namespace

bool queryMediaFile(const std::wstring& path, FileFacts& facts) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return false;
    facts.directory = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    facts.size = uint64_t(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
    facts.lastWriteTime = uint64_t(data.ftLastWriteTime.dwHighDateTime) << 32 | data.ftLastWriteTime.dwLowDateTime;
    return true;
}

bool readMediaFile(const std::wstring& path, uint64_t maxBytes, std::vector<uint8_t>& out) {
    out.clear();
    const FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid() || GetFileType(file.get()) != FILE_TYPE_DISK) return false;
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 1 || uint64_t(size.QuadPart) > maxBytes ||
        uint64_t(size.QuadPart) > MAXDWORD)
        return false;
    try {
        out.assign(size_t(size.QuadPart), 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    DWORD read = 0;
    if (ReadFile(file.get(), out.data(), DWORD(size.QuadPart), &read, nullptr) && read == out.size()) return true;
    out.clear();
    return false;
}

bool writeMediaFile(const std::wstring& path, const uint8_t* bytes, size_t length) {
    const FileHandle file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return false;
    while (length > 0) {
        const DWORD chunk = length > 0x10000000 ? 0x10000000 : DWORD(length);
        DWORD written = 0;
        if (!WriteFile(file.get(), bytes, chunk, &written, nullptr) || written != chunk) return false;
        bytes += chunk;
        length -= chunk;
    }
    return true;
}

bool replaceMediaFile(const std::wstring& from, const std::wstring& to) {
    return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
}

bool deleteMediaFile(const std::wstring& path) { return DeleteFileW(path.c_str()) != FALSE; }

int deleteMediaFilesWithPrefix(const std::wstring& folder, const std::wstring& prefix) {
    WIN32_FIND_DATAW found;
    const std::wstring pattern = folder + L"\\" + prefix + L"*";
    const HANDLE search =
        FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE) return 0;
    int deleted = 0;
    do {
        // The pattern also matches short 8.3 aliases; only the real name counts.
        const std::wstring name = found.cFileName;
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || !startsWithIgnoringCase(name, prefix)) continue;
        if (DeleteFileW((folder + L"\\" + name).c_str())) ++deleted;
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return deleted;
}

bool fullPathInside(const std::wstring& folder, const std::wstring& candidate, std::wstring& resolvedOut) {
    std::wstring fullCandidate;
    std::wstring fullFolder;
    if (!fullPathOf(candidate, fullCandidate) || !fullPathOf(folder, fullFolder)) return false;
    if (fullFolder.back() != L'\\') fullFolder.push_back(L'\\');
    if (!startsWithIgnoringCase(fullCandidate, fullFolder)) return false;
    resolvedOut = std::move(fullCandidate);
    return true;
}

}  // namespace orvane
