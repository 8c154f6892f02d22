// Whole CSI sequences of the common form parsed in one tight loop, with the
// parser fields left as the byte machine would leave them.
#include "terminal/feed_paths.h"

namespace orvane {

namespace {

// Longer parameter lists are rare enough to leave to the byte machine.
constexpr size_t kFastParams = 16;

bool isDigit(uint8_t b) { return b >= '0' && b <= '9'; }
bool isFinalByte(uint8_t b) { return b >= 0x40 && b <= 0x7E; }

struct CsiFields {
    uint32_t params[kFastParams];
    size_t count = 0;
    uint32_t value = 0;
    uint8_t empty = 1;
    uint8_t privateMark = 0;
};

// Digits accumulated as the byte machine does, wrapping past 2^32.
const uint8_t* readDigits(const uint8_t* p, const uint8_t* end, uint32_t& value) {
    uint32_t sum = 0;
    for (; p < end && isDigit(*p); ++p) sum = sum * 10u + uint32_t(*p - '0');
    value = sum;
    return p;
}

// Reads parameters from p; returns the final byte's position, or nullptr.
const uint8_t* scanParams(CsiFields& f, const uint8_t* p, const uint8_t* end) {
    for (;;) {
        const uint8_t* digitsEnd = readDigits(p, end, f.value);
        f.empty = digitsEnd == p ? 1 : 0;
        p = digitsEnd;
        if (p == end) return nullptr;
        if (*p != ';') return isFinalByte(*p) ? p : nullptr;
        if (f.count == kFastParams) return nullptr;
        f.params[f.count++] = f.value;
        ++p;
    }
}

// What finishCsi does before dispatching, then the dispatch.
void dispatch(Terminal& t, const CsiFields& f, uint8_t finalByte) {
    // Element by element: for a handful of values this beats assign's
    // call to memmove.
    t.params.clear();
    for (size_t i = 0; i < f.count; ++i) t.params.push_back(f.params[i]);
    if (!(f.empty && f.count != 0)) t.params.push_back(f.value);
    t.paramValue = f.value;
    t.paramEmpty = f.empty;
    t.privateMark = f.privateMark;
    t.prefix = f.privateMark ? uint16_t('?') : uint16_t(0);
    t.intermediate = 0;
    t.pendingWrap = 0;  // as ESC in Ground
    t.parserState = kGround;
    if (finalByte == 'm') {
        applySgr(t, t.params);  // all that dispatchCsi does for SGR
    } else {
        dispatchCsi(t, finalByte);
    }
}

}  // namespace

const uint8_t* feedWholeCsi(Terminal& t, const uint8_t* p, const uint8_t* end, uint8_t& finalByte) {
    if (end - p < 3 || p[0] != kEsc || p[1] != '[') return nullptr;
    CsiFields fields;
    const uint8_t* q = p + 2;
    if (*q == '?') {
        fields.privateMark = 1;
        ++q;
    }
    const uint8_t* last = scanParams(fields, q, end);
    if (last == nullptr) return nullptr;
    finalByte = *last;
    dispatch(t, fields, finalByte);
    return last + 1;
}

}  // namespace orvane
