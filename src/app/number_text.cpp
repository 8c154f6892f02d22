#include "app/number_text.h"

#include <climits>

namespace orvane {

namespace {

bool isBlank(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\n' || c == L'\r' || c == L'\v' || c == L'\f';
}

bool isDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}

}  // namespace

NumberText readNumber(std::wstring_view text) {
    std::size_t at = 0;
    while (at < text.size() && isBlank(text[at])) ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == L'+' || text[at] == L'-')) negative = text[at++] == L'-';
    // The magnitude is kept one beyond INT_MAX at most, so it never overflows.
    constexpr long long kMagnitudeCap = static_cast<long long>(INT_MAX) + 1;
    long long magnitude = 0;
    const std::size_t firstDigit = at;
    for (; at < text.size() && isDigit(text[at]); ++at) {
        magnitude = magnitude * 10 + (text[at] - L'0');
        if (magnitude > kMagnitudeCap) magnitude = kMagnitudeCap;
    }
    if (at == firstDigit) return {};
    const long long signedValue = negative ? -magnitude : magnitude;
    const long long limited = signedValue > INT_MAX ? INT_MAX : signedValue;
    return {static_cast<int>(limited), true, at};
}

int numberOr(std::wstring_view text, int fallback) {
    const NumberText number = readNumber(text);
    return number.hasDigits ? number.value : fallback;
}

std::optional<int> numberWithin(std::wstring_view text, int low, int high) {
    const NumberText number = readNumber(text);
    if (!number.hasDigits || number.value < low || number.value > high) return std::nullopt;
    return number.value;
}

std::optional<std::size_t> entryWithLeadingNumber(std::span<const std::wstring> entries, std::wstring_view value) {
    const NumberText wanted = readNumber(value);
    if (!wanted.hasDigits) return std::nullopt;
    for (std::size_t at = 0; at < entries.size(); ++at) {
        const NumberText entry = readNumber(entries[at]);
        if (entry.hasDigits && entry.value == wanted.value) return at;
    }
    return std::nullopt;
}

}  // namespace orvane
