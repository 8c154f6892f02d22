#include "corpus.h"

#include <initializer_list>
#include <string_view>
#include <utility>

#include "program_mix.h"

namespace orvane::bench {
namespace {

// splitmix64: tiny, fast and the same everywhere, which is all a corpus
// generator needs.
class Prng {
public:
    explicit Prng(uint64_t seed) : state_(seed) {}

    uint64_t next() {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }

    // Uniform enough in [0, n) for n far below 2^32.
    uint32_t below(uint32_t n) { return static_cast<uint32_t>(next() % n); }

    // Uniform in [lo, hi].
    uint32_t between(uint32_t lo, uint32_t hi) { return lo + below(hi - lo + 1); }

private:
    uint64_t state_;
};

constexpr std::string_view kTextChars =
    "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"
    "abcdefghijklmnopqrstuvwxyz.,:;-_/()[]=+*#!?";

// The byte stream under construction plus the generator that drives it.
struct Writer {
    Prng rng;
    std::vector<uint8_t> out;
    size_t target;

    bool full() const { return out.size() >= target; }

    void raw(std::string_view s) { out.insert(out.end(), s.begin(), s.end()); }

    void number(uint32_t n) {
        char digits[10];
        int len = 0;
        do {
            digits[len++] = static_cast<char>('0' + n % 10);
            n /= 10;
        } while (n != 0);
        while (len > 0) out.push_back(static_cast<uint8_t>(digits[--len]));
    }

    // ESC [ p1 ; p2 ; ... final
    void csi(std::initializer_list<uint32_t> params, char final) {
        raw("\x1b[");
        bool first = true;
        for (uint32_t p : params) {
            if (!first) out.push_back(';');
            number(p);
            first = false;
        }
        out.push_back(static_cast<uint8_t>(final));
    }

    // Log-like text: words of printable ASCII separated by spaces.
    void words(uint32_t length) {
        for (uint32_t i = 0; i < length; ++i) {
            if (rng.below(6) == 0) {
                out.push_back(' ');
            } else {
                const uint32_t pick = rng.below(static_cast<uint32_t>(kTextChars.size()));
                out.push_back(static_cast<uint8_t>(kTextChars[pick]));
            }
        }
    }

    void newline() { raw("\r\n"); }
};

// Mostly lines shorter than the grid; one in sixteen runs past the right
// edge so the pending wrap is exercised too.
void plainLine(Writer& w, const Scenario& s) {
    const auto cols = static_cast<uint32_t>(s.cols);
    w.words(w.rng.below(16) == 0 ? w.rng.between(cols, 2 * cols) : w.rng.below(cols));
    w.newline();
}

void randomSgr(Writer& w) {
    switch (w.rng.below(9)) {
        case 0: w.csi({w.rng.between(30, 37)}, 'm'); break;
        case 1: w.csi({w.rng.between(90, 97)}, 'm'); break;
        case 2: w.csi({w.rng.between(40, 47)}, 'm'); break;
        case 3: w.csi({1, w.rng.between(30, 37), w.rng.between(100, 107)}, 'm'); break;
        case 4: w.csi({38, 5, w.rng.below(256)}, 'm'); break;
        case 5: w.csi({48, 5, w.rng.below(256)}, 'm'); break;
        case 6: w.csi({38, 2, w.rng.below(256), w.rng.below(256), w.rng.below(256)}, 'm'); break;
        case 7: w.csi({48, 2, w.rng.below(256), w.rng.below(256), w.rng.below(256)}, 'm'); break;
        default: w.csi({w.rng.below(2) == 0 ? 0U : 4U}, 'm'); break;
    }
}

// Short coloured spans filling most of a line, as a colourised log does.
void sgrLine(Writer& w, const Scenario& s) {
    const auto cols = static_cast<uint32_t>(s.cols);
    uint32_t used = 0;
    while (used + 8 < cols) {
        randomSgr(w);
        const uint32_t span = w.rng.between(1, 8);
        w.words(span);
        used += span;
    }
    w.csi({0}, 'm');
    w.newline();
}

// A dashboard redrawing fields: jump to a cell, write a few characters.
void cursorJump(Writer& w, const Scenario& s) {
    w.csi({w.rng.between(1, static_cast<uint32_t>(s.rows)),
           w.rng.between(1, static_cast<uint32_t>(s.cols))},
          'H');
    w.words(w.rng.between(1, 10));
}

// A status-line layout: a region is set, the cursor parked at its bottom,
// then a burst of lines scrolls inside it.
void regionBurst(Writer& w, const Scenario& s) {
    const auto rows = static_cast<uint32_t>(s.rows);
    const uint32_t top = w.rng.between(1, rows / 2);
    const uint32_t bottom = w.rng.between(top + 2, rows);
    w.csi({top, bottom}, 'r');
    w.csi({bottom, 1}, 'H');
    const uint32_t lines = w.rng.between(50, 150);
    for (uint32_t i = 0; i < lines; ++i) plainLine(w, s);
}

// Full-screen editor traffic: position, write, then edit the line or screen.
void editStep(Writer& w, const Scenario& s) {
    cursorJump(w, s);
    const uint32_t n = w.rng.between(1, 8);
    switch (w.rng.below(20)) {
        case 0: w.csi({w.rng.below(2)}, 'J'); break;  // ED below or above
        case 1:
        case 2:
        case 3: w.csi({w.rng.below(3)}, 'K'); break;  // EL
        case 4:
        case 5:
        case 6: w.csi({n}, '@'); break;  // ICH
        case 7:
        case 8:
        case 9: w.csi({n}, 'P'); break;  // DCH
        case 10:
        case 11:
        case 12: w.csi({w.rng.between(1, 4)}, 'L'); break;  // IL
        case 13:
        case 14:
        case 15: w.csi({w.rng.between(1, 4)}, 'M'); break;  // DL
        default: w.csi({n}, 'X'); break;  // ECH
    }
}

// Half of the bytes from the upper half of the byte range: box drawing and
// accented letters on a PC-style device. The reference engine gets the same
// bytes and reads them as (mostly invalid) UTF-8, one glyph each: different
// characters, the same work of putting one glyph per byte on the grid.
void highLine(Writer& w, const Scenario& s) {
    const uint32_t length = w.rng.below(static_cast<uint32_t>(s.cols));
    for (uint32_t i = 0; i < length; ++i) {
        if (w.rng.below(2) == 0) {
            w.out.push_back(static_cast<uint8_t>(w.rng.between(0x80, 0xFF)));
        } else {
            w.words(1);
        }
    }
    w.newline();
}

// A line-oriented device: short readings, each ended by CR LF.
void lightLine(Writer& w, const Scenario&) {
    w.words(w.rng.between(4, 24));
    w.newline();
}

// Progress output and hand-edited input as a serial console shows it: short
// words between backspaces, tabs, carriage returns, line feeds and bells.
void controlHeavyText(Writer& w, const Scenario&) {
    static constexpr char kControls[] = {'\b', '\t', '\r', '\n', '\a'};
    w.words(w.rng.between(1, 6));
    const uint32_t controls = w.rng.between(1, 3);
    for (uint32_t i = 0; i < controls; ++i) {
        w.out.push_back(static_cast<uint8_t>(kControls[w.rng.below(sizeof kControls)]));
    }
}

void programMix(Writer& w, const Scenario&) { w.raw(programMixRecording()); }

using Step = void (*)(Writer&, const Scenario&);

struct Recipe {
    const char* name;
    int32_t cols;
    Step step;
};

constexpr Recipe kRecipes[] = {
    {"plain text, 80 cols", 80, plainLine},
    {"plain text, 132 cols", 132, plainLine},
    {"SGR 16/256/24-bit", 80, sgrLine},
    {"cursor addressing", 80, cursorJump},
    {"scroll in region", 80, regionBurst},
    {"erase/insert/delete", 80, editStep},
    {"code page 437", 80, highLine},
    // Added later; after the others so that their bytes stay as they were.
    {"light CRLF lines", 80, lightLine},
    {"C0-heavy text", 80, controlHeavyText},
    {"program mix", 80, programMix},
};

}  // namespace

std::vector<Scenario> makeScenarios(size_t bytesPerScenario, std::string_view nameContains) {
    std::vector<Scenario> scenarios;
    uint64_t seed = 0x0E5A11ED;
    for (const Recipe& recipe : kRecipes) {
        const uint64_t recipeSeed = seed++;
        if (std::string_view(recipe.name).find(nameContains) == std::string_view::npos) continue;
        Scenario s;
        s.name = recipe.name;
        s.cols = recipe.cols;
        s.rows = 25;
        Writer w{Prng(recipeSeed), {}, bytesPerScenario};
        w.out.reserve(bytesPerScenario + 4096);
        while (!w.full()) recipe.step(w, s);
        s.bytes = std::move(w.out);
        scenarios.push_back(std::move(s));
    }
    return scenarios;
}

}  // namespace orvane::bench
