#include "transport/port_list.h"

#include <algorithm>
#include <cwctype>
#include <limits>

namespace orvane {

namespace {

constexpr std::wstring_view kDescriptionSeparator = L"  -  ";
constexpr std::wstring_view kPortSuffixStart = L" (COM";
constexpr size_t kShortestSuffixedDescription = 5;

bool isDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}

bool equalsIgnoringCase(wchar_t a, wchar_t b) {
    return std::towupper(static_cast<wint_t>(a)) == std::towupper(static_cast<wint_t>(b));
}

std::wstring_view withoutTrailingSpace(std::wstring_view text) {
    while (!text.empty() && std::iswspace(static_cast<wint_t>(text.back()))) text.remove_suffix(1);
    return text;
}

std::wstring_view withoutPortSuffix(std::wstring_view text) {
    if (text.size() < kShortestSuffixedDescription || !text.ends_with(L')')) return text;
    const size_t suffix = text.rfind(kPortSuffixStart);
    return suffix == std::wstring_view::npos ? text : text.substr(0, suffix);
}

// UTF-16 code unit order, also where wchar_t is wider.
bool nameLess(const std::wstring& a, const std::wstring& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](wchar_t x, wchar_t y) { return (x & 0xFFFF) < (y & 0xFFFF); });
}

}  // namespace

bool isComPortName(std::wstring_view name) {
    constexpr std::wstring_view kCom = L"COM";
    return name.size() >= kCom.size() &&
           std::equal(kCom.begin(), kCom.end(), name.begin(), equalsIgnoringCase);
}

uint64_t portNumber(std::wstring_view name) {
    const auto first = std::find_if(name.begin(), name.end(), isDigit);
    uint64_t value = 0;
    for (auto it = first; it != name.end() && isDigit(*it); ++it) {
        const uint64_t digit = static_cast<uint64_t>(*it - L'0');
        // A run too long for 64 bits saturates instead of wrapping round.
        if (value > (std::numeric_limits<uint64_t>::max() - digit) / 10) return std::numeric_limits<uint64_t>::max();
        value = value * 10 + digit;
    }
    return value;
}

void sortPorts(std::vector<PortInfo>& ports) {
    std::sort(ports.begin(), ports.end(), [](const PortInfo& a, const PortInfo& b) {
        const uint64_t numberA = portNumber(a.portName);
        const uint64_t numberB = portNumber(b.portName);
        if (numberA != numberB) return numberA < numberB;
        return nameLess(a.portName, b.portName);
    });
}

std::wstring portDisplayText(const PortInfo& port) {
    const std::wstring_view description = withoutPortSuffix(withoutTrailingSpace(port.description));
    std::wstring text = port.portName;
    if (!description.empty() && description != L"n/a") text.append(kDescriptionSeparator).append(description);
    return text;
}

int findPortIndex(const std::vector<PortInfo>& ports, std::wstring_view portName) {
    if (!portName.empty()) {
        const auto found = std::find_if(ports.begin(), ports.end(),
                                        [&](const PortInfo& port) { return port.portName == portName; });
        if (found != ports.end()) return static_cast<int>(found - ports.begin());
    }
    return ports.empty() ? -1 : 0;
}

}  // namespace orvane
