#include "pictel/repo_rules.h"


#include "pictel/utf8_to_wide.h"
#include "terminal/terminal.h"

namespace orvane {

namespace {

bool isForbiddenByte(unsigned char b) {
    constexpr std::string_view kForbidden = "\"*:<>?|";
    return b < 0x20 || kForbidden.find(char(b)) != std::string_view::npos;
}

bool isSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

wchar_t upperAscii(wchar_t c) { return c >= L'a' && c <= L'z' ? wchar_t(c - L'a' + L'A') : c; }

// Windows opens a device, not a file, for these base names whatever the
// extension or folder (CON.txt, sub\NUL), so they never name a repository file.
bool isDeviceName(std::wstring_view segment) {
    std::wstring base(segment.substr(0, segment.find(L'.')));
    while (!base.empty() && base.back() == L' ') base.pop_back();
    for (wchar_t& c : base) c = upperAscii(c);
    for (const wchar_t* device : {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"})
        if (base == device) return true;
    if (base.size() != 4 || (base.compare(0, 3, L"COM") != 0 && base.compare(0, 3, L"LPT") != 0)) return false;
    const wchar_t digit = base[3];
    return (digit >= L'0' && digit <= L'9') || digit == L'\u00B9' || digit == L'\u00B2' || digit == L'\u00B3';
}

bool isValidSegment(std::wstring_view segment) {
    if (segment.empty() || segment == L"." || segment == L"..") return false;
    if (segment.back() == L'.' || segment.back() == L' ') return false;
    return !isDeviceName(segment);
}

}  // namespace

std::wstring repoRelativeName(std::string_view nameBytes) {
    if (nameBytes.empty() || nameBytes.size() >= kRepoNameByteLimit) return {};
    for (const char c : nameBytes)
        if (isForbiddenByte(static_cast<unsigned char>(c))) return {};
    const std::wstring name = utf8ToWide(nameBytes);
    if (name.empty() || isSeparator(name.front())) return {};
    std::wstring joined;
    joined.reserve(name.size());
    size_t start = 0;
    while (true) {
        size_t end = start;
        while (end < name.size() && !isSeparator(name[end])) ++end;
        const std::wstring_view segment = std::wstring_view(name).substr(start, end - start);
        if (!isValidSegment(segment)) return {};
        if (!joined.empty()) joined.push_back(L'\\');
        joined.append(segment);
        if (end == name.size()) return joined;
        start = end + 1;
    }
}

bool resolveRepoPath(Terminal& t, std::string_view nameBytes, std::wstring& resolvedOut) {
    resolvedOut.clear();
    if (t.mediaRepoDir.empty()) return false;
    const std::wstring relative = repoRelativeName(nameBytes);
    if (relative.empty()) return false;
    const std::wstring candidate = t.mediaRepoDir + L"\\" + relative;
    return mediaPlatformOf(t).absolutePathInside(t.mediaRepoDir, candidate, resolvedOut);
}

}  // namespace orvane
