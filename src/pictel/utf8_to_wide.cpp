#include "pictel/utf8_to_wide.h"

namespace orvane {

namespace {

// Length of the sequence a lead byte starts and the bits it carries; 0 when
// the byte cannot start a sequence.
int sequenceLength(unsigned char lead, char32_t& value) {
    if (lead < 0x80) {
        value = lead;
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        value = lead & 0x1Fu;
        return 2;
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        value = lead & 0x0Fu;
        return 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        value = lead & 0x07u;
        return 4;
    }
    return 0;
}

bool isShortestForm(char32_t value, int length) {
    static constexpr char32_t kMinimum[] = {0, 0, 0x80, 0x800, 0x10000};
    return value >= kMinimum[length];
}

void appendUtf16(std::wstring& out, char32_t value) {
    if (value < 0x10000) {
        out.push_back(wchar_t(value));
        return;
    }
    value -= 0x10000;
    out.push_back(wchar_t(0xD800 + (value >> 10)));
    out.push_back(wchar_t(0xDC00 + (value & 0x3FF)));
}

}  // namespace

std::wstring utf8ToWide(std::string_view bytes) {
    std::wstring out;
    out.reserve(bytes.size());
    size_t i = 0;
    while (i < bytes.size()) {
        char32_t value = 0;
        const int length = sequenceLength(static_cast<unsigned char>(bytes[i]), value);
        if (length == 0 || bytes.size() - i < size_t(length)) return {};
        for (int k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + size_t(k)]);
            if ((next & 0xC0u) != 0x80u) return {};
            value = (value << 6) | (next & 0x3Fu);
        }
        if (!isShortestForm(value, length) || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return {};
        appendUtf16(out, value);
        i += size_t(length);
    }
    return out;
}

}  // namespace orvane
