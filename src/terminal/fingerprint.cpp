#include "terminal/fingerprint.h"

namespace orvane {
namespace {

// Word-at-a-time mixing with a final avalanche; any change of any input
// word moves every bit of the result with probability one half.
class Hasher {
public:
    void add(uint64_t word) {
        state_ ^= word * kMultiplierA;
        state_ = (state_ << 31 | state_ >> 33) * kMultiplierB;
    }
    uint64_t finish() const {
        uint64_t h = state_;
        h ^= h >> 33;
        h *= kMultiplierA;
        h ^= h >> 29;
        h *= kMultiplierB;
        return h ^ (h >> 32);
    }

private:
    static constexpr uint64_t kMultiplierA = 0x9E3779B97F4A7C15ull;
    static constexpr uint64_t kMultiplierB = 0xBF58476D1CE4E5B9ull;
    uint64_t state_ = 0x2545F4914F6CDD1Dull;
};

uint64_t signedWord(int32_t value) { return uint64_t(uint32_t(value)); }

void addCell(Hasher& h, const Cell& c) {
    const uint64_t flags = uint64_t(c.bold != 0) | uint64_t(c.underline != 0) << 1 |
                           uint64_t(c.dim != 0) << 2 | uint64_t(c.italic != 0) << 3 |
                           uint64_t(c.blink != 0) << 4 | uint64_t(c.strike != 0) << 5 |
                           uint64_t(c.fgDirect != 0) << 6 | uint64_t(c.bgDirect != 0) << 7;
    h.add(uint64_t(c.ch) | uint64_t(c.fg) << 16 | uint64_t(c.bg) << 24 | flags << 32);
    if (c.fgDirect) h.add(c.fgRgb);
    if (c.bgDirect) h.add(uint64_t(c.bgRgb) << 32);
}

void addGrid(Hasher& h, const std::vector<Row>& grid) {
    h.add(grid.size());
    for (const Row& row : grid) {
        h.add(row.size());
        for (const Cell& c : row) addCell(h, c);
    }
}

void addPlacement(Hasher& h, const Placement& p) {
    h.add(signedWord(p.canvasId) << 32 | signedWord(p.row));
    h.add(signedWord(p.rowHundredths) << 32 | signedWord(p.col));
    h.add(signedWord(p.colHundredths) << 32 | signedWord(p.widthCells));
    h.add(signedWord(p.widthHundredths) << 32 | uint64_t(p.visible));
}

void addCanvas(Hasher& h, int32_t id, const Canvas& c) {
    h.add(signedWord(id) << 32 | uint64_t(c.valid));
    h.add(signedWord(c.width) << 32 | signedWord(c.height));
    h.add(uint64_t(c.sourceCrc));
    h.add(c.sourceLength);
    h.add(signedWord(c.viewX) << 32 | signedWord(c.viewY));
    h.add(signedWord(c.viewWidth) << 32 | signedWord(c.viewHeight));
    h.add(c.revision);
}

void addGlass(Hasher& h, const GlassLayer& g) {
    h.add(uint64_t(g.canvasBackground) << 1 | uint64_t(g.keyColourSet));
    const GlassOrigin& o = g.glassOrigin;
    h.add(signedWord(o.rowRef) << 32 | signedWord(o.rowRefHundredths));
    h.add(signedWord(o.colRef) << 32 | signedWord(o.colRefHundredths));
    h.add(g.placements.size());
    for (const Placement& p : g.placements) addPlacement(h, p);
    h.add(g.canvases.size());
    for (const auto& [id, canvas] : g.canvases) addCanvas(h, id, canvas);
}

}  // namespace

uint64_t visibleStateFingerprint(const Terminal& t) {
    Hasher h;
    addGrid(h, t.grid);
    h.add(signedWord(t.cursorRow) << 32 | signedWord(t.cursorCol));
    h.add(t.bellFlashUntil);
    addGlass(h, t.glass);
    return h.finish();
}

}  // namespace orvane
