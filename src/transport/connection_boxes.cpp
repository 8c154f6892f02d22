#include "transport/connection_boxes.h"

#include <algorithm>
#include <climits>
#include <cwctype>
#include <iterator>

namespace orvane {

namespace {

int indexIn(const std::vector<std::wstring>& entries, std::wstring_view wanted, int otherwise) {
    const auto found = std::find(entries.begin(), entries.end(), wanted);
    return found == entries.end() ? otherwise : static_cast<int>(found - entries.begin());
}

}  // namespace

int leadingInteger(std::wstring_view text) {
    size_t at = 0;
    while (at < text.size() && std::iswspace(text[at])) ++at;
    const bool negative = at < text.size() && text[at] == L'-';
    if (at < text.size() && (text[at] == L'-' || text[at] == L'+')) ++at;
    long long value = 0;
    for (; at < text.size() && text[at] >= L'0' && text[at] <= L'9'; ++at) {
        value = std::min<long long>(value * 10 + (text[at] - L'0'), 1LL + INT_MAX);
    }
    if (negative) return static_cast<int>(std::max<long long>(-value, INT_MIN));
    return static_cast<int>(std::min<long long>(value, INT_MAX));
}

std::vector<std::wstring> baudBoxEntries() {
    std::vector<std::wstring> entries;
    for (const int rate : kBaudRates) {
        std::wstring text = std::to_wstring(rate);
        if (rate >= kFirstHardwareLimitedBaud) text += kHardwareLimitedSuffix;
        entries.push_back(std::move(text));
    }
    return entries;
}

int initialBaudIndex(std::wstring_view storedBaud) {
    const auto rates = std::begin(kBaudRates);
    const auto end = std::end(kBaudRates);
    const auto found = std::find(rates, end, leadingInteger(storedBaud));
    return static_cast<int>((found == end ? std::find(rates, end, kFallbackBaud) : found) - rates);
}

int baudFromText(std::wstring_view text) {
    const int baud = leadingInteger(text);
    return baud < 1 ? kFallbackBaud : baud;
}

std::vector<std::wstring> framingBoxEntries() {
    return {std::begin(kFramings), std::end(kFramings)};
}

int initialFramingIndex(std::wstring_view storedFraming) {
    return indexIn(framingBoxEntries(), storedFraming, 0);
}

std::string framingFromText(std::wstring_view text) {
    // The box holds short names; anything longer cannot be a framing anyway.
    constexpr size_t kMaxFramingChars = 7;
    std::string framing;
    for (const wchar_t c : text.substr(0, kMaxFramingChars)) framing += c < 0x80 ? static_cast<char>(c) : '?';
    return framing;
}

std::vector<std::wstring> lineTerminatorEntries(bool lanMode) {
    std::vector<std::wstring> entries{L"CR", L"CRLF", L"LF"};
    if (lanMode) entries.push_back(L"<none>");
    return entries;
}

int lineTerminatorIndex(std::wstring_view stored, bool lanMode) {
    return indexIn(lineTerminatorEntries(lanMode), stored, 0);
}

std::string lineTerminatorBytes(std::wstring_view entry) {
    if (entry == L"CRLF") return "\r\n";
    if (entry == L"LF") return "\n";
    if (entry == L"<none>") return "";
    return "\r";
}

}  // namespace orvane
