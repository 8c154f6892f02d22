#include "ui/help_document.h"

namespace orvane {

std::vector<std::wstring> helpDocumentCandidates(const std::wstring& folder) {
    static constexpr const wchar_t* kNames[] = {L"\\Orvane_Help.html", L"\\Orvane_Help.md",
                                                L"\\Orvane_Documents\\Orvane_Help.html",
                                                L"\\Orvane_Documents\\Orvane_Help.md"};
    std::vector<std::wstring> paths;
    std::wstring current = folder;
    while (!current.empty() && current.back() == L'\\') current.pop_back();
    while (!current.empty()) {
        for (const wchar_t* name : kNames) paths.push_back(current + name);
        const size_t parentEnd = current.find_last_of(L'\\');
        if (parentEnd == std::wstring::npos) break;
        current.resize(parentEnd);
    }
    return paths;
}

}  // namespace orvane
