#include "pictel/base64.h"

#include <array>

namespace orvane {

namespace {

constexpr int8_t kSkip = -2;
constexpr int8_t kPad = -3;
constexpr int8_t kBad = -1;

constexpr std::array<int8_t, 256> makeTable() {
    std::array<int8_t, 256> table{};
    table.fill(kBad);
    const char* alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    for (int i = 0; i < 64; ++i) table[uint8_t(alphabet[i])] = int8_t(i);
    for (char c : {' ', '\t', '\r', '\n'}) table[uint8_t(c)] = kSkip;
    table[uint8_t('=')] = kPad;
    return table;
}

constexpr std::array<int8_t, 256> kTable = makeTable();

int8_t classify(char c) { return kTable[uint8_t(c)]; }

// Counts the alphabet characters and checks the shape of the text.
bool measure(std::string_view text, size_t& symbols) {
    symbols = 0;
    size_t pads = 0;
    for (const char c : text) {
        const int8_t v = classify(c);
        if (v == kSkip) continue;
        if (v == kBad) return false;
        if (v == kPad) {
            ++pads;
        } else if (pads > 0) {
            return false;  // data after the padding
        } else {
            ++symbols;
        }
    }
    if (symbols % 4 == 1 || pads > 2) return false;
    return pads == 0 || (symbols + pads) % 4 == 0;
}

}  // namespace

bool decodeBase64(std::string_view text, std::vector<uint8_t>& out) {
    out.clear();
    size_t symbols = 0;
    if (!measure(text, symbols)) return false;
    const size_t tail = symbols % 4;
    const size_t size = symbols / 4 * 3 + (tail == 0 ? 0 : tail - 1);
    if (size == 0) return false;
    out.reserve(size);
    uint32_t bits = 0;
    int pending = 0;
    for (const char c : text) {
        const int8_t v = classify(c);
        if (v < 0) continue;
        bits = (bits << 6) | uint32_t(v);
        pending += 6;
        if (pending >= 8) {
            pending -= 8;
            out.push_back(uint8_t(bits >> pending));
        }
    }
    return true;
}

}  // namespace orvane
