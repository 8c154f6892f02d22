// The feed's fast paths (text runs, deferred scrolling, whole CSI
// sequences, the cached pen) against the byte machine alone: random device
// output fed whole and in random pieces must leave the terminal exactly as
// feedByte does one byte at a time.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <string_view>

#include "terminal/terminal.h"
#include "terminal_invariants.h"

namespace orvane {
namespace {

using Random = std::mt19937;

void feedPieces(Terminal& t, const std::string& bytes, Random& rng) {
    for (size_t at = 0; at < bytes.size();) {
        const size_t n = std::min<size_t>(bytes.size() - at, rng() % 300 + 1);
        feed(t, reinterpret_cast<const uint8_t*>(bytes.data() + at), n);
        at += n;
    }
}

size_t below(Random& rng, size_t n) { return rng() % n; }

// Controls, escapes and sequences the fast paths must hand on or get right,
// including malformed and cut-short forms.
using namespace std::string_view_literals;
constexpr std::string_view kFixedPieces[] = {
    "\r\n"sv, "\n"sv, "\r"sv, "\b"sv, "\t"sv, "\a"sv, "\x7f"sv, "\x0b"sv, "\0"sv,
    "\x1b" "7", "\x1b" "8", "\x1b" "D", "\x1b" "E", "\x1b" "M", "\x1b(0", "\x1b(B", "\x1b" "c",
    "\x1b[?7l", "\x1b[?7h", "\x1b[?6h", "\x1b[?6l", "\x1b[?1049h", "\x1b[?1049l", "\x1b[?25l",
    "\x1b]0;title\a", "\x1b_Xpayload\x1b\\", "\x1b[1:2m", "\x1b[ q", "\x1b[??5h", "\x1b[5?h",
    "\x1b[>c", "\x1b[6n", "\x1b[c", "\x1b[m", "\x1b[;m", "\x1b[;5r", "\x1b[r", "\x1b[1\r2J", "\x1b\x1b",
};

constexpr char kFinals[] = "@ABCDHJKLMPSTXZfmrsugIn";

void appendNumber(std::string& out, Random& rng) {
    switch (below(rng, 8)) {
    case 0: break;                             // empty parameter
    case 1: out += "4294967299"; break;        // wraps past 2^32
    case 2: out += std::to_string(below(rng, 300)); break;
    default: out += std::to_string(below(rng, 30)); break;
    }
}

void appendCsi(std::string& out, Random& rng) {
    out += "\x1b[";
    if (below(rng, 6) == 0) out += '?';
    const size_t params = below(rng, 4) == 0 ? below(rng, 22) : below(rng, 4);  // past 16 at times
    for (size_t i = 0; i < params; ++i) {
        if (i != 0) out += ';';
        appendNumber(out, rng);
    }
    out += kFinals[below(rng, sizeof kFinals - 1)];
}

void appendText(std::string& out, Random& rng) {
    const size_t length = below(rng, 4) == 0 ? below(rng, 400) : below(rng, 12) + 1;
    for (size_t i = 0; i < length; ++i) {
        const bool high = below(rng, 8) == 0;
        out += char(high ? 0x80 + below(rng, 128) : 0x20 + below(rng, 0x5F));
    }
}

std::string randomStream(Random& rng, size_t pieces) {
    std::string out;
    for (size_t i = 0; i < pieces; ++i) {
        switch (below(rng, 4)) {
        case 0: out += kFixedPieces[below(rng, std::size(kFixedPieces))]; break;
        case 1: appendCsi(out, rng); break;
        default: appendText(out, rng); break;
        }
    }
    return out;
}

struct Geometry {
    int32_t cols;
    int32_t rows;
};

// 40 x 70 is no grid size a device can choose, but the only way to a region
// taller than the rows a text run blanks lazily.
constexpr Geometry kGeometries[] = {{80, 25}, {132, 24}, {40, 70}};

TEST(FastPaths, FeedMatchesTheByteMachineOnRandomStreams) {
    for (const Geometry g : kGeometries) {
        for (uint32_t seed = 1; seed <= 60; ++seed) {
            Random rng(seed);
            const std::string bytes = randomStream(rng, 400);
            Terminal whole;
            Terminal pieces;
            Terminal bytewise;
            for (Terminal* t : {&whole, &pieces, &bytewise}) setGeometry(*t, g.cols, g.rows);
            feed(whole, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
            feedPieces(pieces, bytes, rng);
            feedByteMachine(bytewise, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
            SCOPED_TRACE(std::to_string(g.cols) + "x" + std::to_string(g.rows) + " seed " + std::to_string(seed));
            EXPECT_EQ(findStateDifference(whole, bytewise), "");
            EXPECT_EQ(findStateDifference(pieces, bytewise), "");
        }
    }
}

}  // namespace
}  // namespace orvane
