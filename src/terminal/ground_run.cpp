// Text and C0 controls in Ground, handled a run at a time: printable runs
// are found sixteen bytes at a time and written a row segment at a time,
// and line feeds at the bottom of the region do not move rows one by one.
#include <algorithm>
#include <array>
#include <cstddef>

#include "terminal/byte_scan.h"
#include "terminal/charsets.h"
#include "terminal/feed_paths.h"

namespace orvane {

namespace {

// Rows brought in by one run whose blanking can wait for the end of the run.
constexpr int32_t kLazyRowLimit = 64;

// The cursor row while a run lasts. A line feed at the bottom of the region
// only counts a pending scroll and takes the region's top row as the new
// bottom row; the rows are put in order once, when the run ends. Rows
// brought in are blanked lazily, when the run ends and only where text did
// not cover them, so a row that scrolls out again within the run is never
// blanked at all.
class RunRows {
public:
    explicit RunRows(Terminal& t)
        : t_(t), cells_(rowCells(t.cursorRow)), wholeRow_(t.cols), validEnd_(&wholeRow_) {}

    Cell* cells() const { return cells_; }

    // Called before cells [col, col + count) of the cursor row are written.
    void prepare(int32_t col, int32_t count) {
        int32_t& valid = *validEnd_;
        if (col > valid) fillCells(cells_ + valid, size_t(col - valid), kDefaultBlank);
        valid = std::max(valid, col + count);
    }

    // The row step of a line feed (index).
    void lineFeed() {
        if (t_.cursorRow == t_.scrollBottom) {
            scrollOne();
        } else if (t_.cursorRow < t_.rows - 1) {
            ++t_.cursorRow;
            cells_ = rowCells(t_.cursorRow);
        }
    }

    // Blanks what is left of the rows brought in and rotates the region by
    // the scrolls counted, as scrollUp would have one at a time.
    void finish() {
        for (int32_t age = 0; age < freshCount_; ++age) blankTail(slotBroughtIn(age));
        if (pending_ == 0) return;
        const auto top = t_.grid.begin() + t_.scrollTop;
        std::rotate(top, top + pending_, top + regionHeight());
    }

private:
    Cell* rowCells(int32_t row) const { return t_.grid[size_t(row)].data(); }

    int32_t regionHeight() const { return t_.scrollBottom - t_.scrollTop + 1; }

    bool lazy() const { return regionHeight() <= kLazyRowLimit; }

    // Region row i is stored at scrollTop + (i + pending) mod height; the
    // row brought in `age` scrolls ago is region row height - 1 - age.
    int32_t slotBroughtIn(int32_t age) const {
        const int32_t height = regionHeight();
        const int32_t slot = height - 1 - age + pending_;  // below 2 x height
        return slot < height ? slot : slot - height;
    }

    int32_t& freshEnd(int32_t slot) { return freshEnds_[size_t(lazy() ? slot : 0)]; }

    void blankTail(int32_t slot) {
        Cell* cells = rowCells(t_.scrollTop + slot);
        const int32_t valid = freshEnd(slot);
        if (valid < t_.cols) fillCells(cells + valid, size_t(t_.cols - valid), kDefaultBlank);
    }

    // While scrolls are pending the cursor stays on the bottom row: nothing
    // in a run moves it up, and a line feed there scrolls again. A tall
    // region keeps one record and blanks each row as it leaves it.
    void scrollOne() {
        const int32_t height = regionHeight();
        if (!lazy() && freshCount_ != 0) blankTail(slotBroughtIn(0));
        pending_ = pending_ + 1 == height ? 0 : pending_ + 1;
        const int32_t slot = slotBroughtIn(0);
        cells_ = rowCells(t_.scrollTop + slot);
        validEnd_ = &freshEnd(slot);
        *validEnd_ = 0;
        freshCount_ = lazy() ? std::min(freshCount_ + 1, height) : 1;
    }

    Terminal& t_;
    Cell* cells_;
    int32_t wholeRow_;    // a cursor row that was not brought in is all current
    int32_t* validEnd_;   // cells of the cursor row before this one are current
    int32_t pending_ = 0;
    int32_t freshCount_ = 0;  // rows brought in that are still in the region
    std::array<int32_t, kLazyRowLimit> freshEnds_;  // by slot, for those rows
};

#ifdef ORVANE_SSE2
// Four pen cells held in five registers; each glyph is put into its cell's
// register before the store, so four cells take five stores.
class QuadWriter {
public:
    // Cell k of the four starts at byte 20k. Each register is a 16-byte
    // window on that pattern, cut from the pen's first and last 16 bytes.
    explicit QuadWriter(const Cell& pen) {
        const __m128i head = _mm_loadu_si128(reinterpret_cast<const __m128i*>(&pen));
        const __m128i tail = _mm_loadu_si128(
            reinterpret_cast<const __m128i*>(reinterpret_cast<const char*>(&pen) + kTailOffset));
        part_[0] = head;
        part_[1] = _mm_or_si128(_mm_srli_si128(tail, 12), _mm_slli_si128(head, 4));
        part_[2] = _mm_or_si128(_mm_srli_si128(tail, 8), _mm_slli_si128(head, 8));
        part_[3] = _mm_or_si128(_mm_srli_si128(tail, 4), _mm_slli_si128(head, 12));
        part_[4] = tail;
    }

    void write(Cell* dst, const GlyphTable& glyphs, const uint8_t* bytes) const {
        // Register k (k < 4) holds cell k's code unit in 16-bit lane 2k.
        store(dst, 0, _mm_insert_epi16(part_[0], glyphs[bytes[0]], 0));
        store(dst, 1, _mm_insert_epi16(part_[1], glyphs[bytes[1]], 2));
        store(dst, 2, _mm_insert_epi16(part_[2], glyphs[bytes[2]], 4));
        store(dst, 3, _mm_insert_epi16(part_[3], glyphs[bytes[3]], 6));
        store(dst, 4, part_[4]);
    }

private:
    static constexpr size_t kPartBytes = sizeof(__m128i);
    static constexpr size_t kParts = sizeof(CellQuad) / kPartBytes;
    static constexpr size_t kTailOffset = sizeof(Cell) - kPartBytes;
    static_assert(kParts * kPartBytes == sizeof(CellQuad) && kTailOffset == 4);
    static_assert(offsetof(Cell, ch) == 0, "the glyph is the first code unit of a cell");

    static void store(Cell* dst, size_t part, __m128i value) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(reinterpret_cast<char*>(dst) + kPartBytes * part), value);
    }

    __m128i part_[kParts];
};
#else
// Four pen cells copied whole, then their code units patched.
class QuadWriter {
public:
    explicit QuadWriter(const Cell& pen) : quad_(pen) {}

    void write(Cell* dst, const GlyphTable& glyphs, const uint8_t* bytes) const {
        std::memcpy(dst, quad_.cells, sizeof quad_.cells);
        for (size_t k = 0; k < 4; ++k) dst[k].ch = glyphs[bytes[k]];
    }

private:
    CellQuad quad_;
};
#endif

void writeGlyphs(Cell* dst, const uint8_t* bytes, size_t count, const Cell& pen, const GlyphTable& glyphs) {
    if (count < 4) {
        for (size_t i = 0; i < count; ++i) {
            dst[i] = pen;
            dst[i].ch = glyphs[bytes[i]];
        }
        return;
    }
    const QuadWriter quad(pen);
    for (size_t i = 0; i + 4 <= count; i += 4) quad.write(dst + i, glyphs, bytes + i);
    // The last four again, overlapping cells already written with the same
    // values, instead of a loop over the remainder.
    if (count % 4 != 0) quad.write(dst + count - 4, glyphs, bytes + count - 4);
}

struct TextStyle {
    const Cell& pen;
    const GlyphTable& glyphs;
};

// Printable bytes [p, stop) written at the cursor exactly as putGlyph would
// write them one by one, a row segment at a time.
void writeText(Terminal& t, RunRows& rows, TextStyle style, const uint8_t* p, const uint8_t* stop) {
    const int32_t cols = t.cols;
    while (p < stop) {
        if (t.pendingWrap) {
            t.pendingWrap = 0;
            t.cursorCol = 0;
            rows.lineFeed();
        }
        const int32_t col = t.cursorCol;
        const int32_t room = cols - col;
        const auto count = int32_t(std::min<ptrdiff_t>(stop - p, room));
        rows.prepare(col, count);
        writeGlyphs(rows.cells() + col, p, size_t(count), style.pen, style.glyphs);
        p += count;
        if (count < room) {
            t.cursorCol = col + count;
            return;
        }
        t.cursorCol = cols - 1;
        t.pendingWrap = t.autoWrap;
        if (!t.autoWrap && p < stop) {
            // Without wrapping every further glyph overwrites the last column.
            writeGlyphs(rows.cells() + (cols - 1), stop - 1, 1, style.pen, style.glyphs);
            return;
        }
    }
}

}  // namespace

const uint8_t* feedGroundRun(Terminal& t, PenCache& pen, const uint8_t* p, const uint8_t* end) {
    RunRows rows(t);
    const TextStyle style{pen.cell(t), glyphTable(t.charset)};
    while (p < end && *p != kEsc) {
        const uint8_t* textEnd = printableRunEnd(p, end);
        if (textEnd != p) {
            writeText(t, rows, style, p, textEnd);
            p = textEnd;
        } else if (*p++ != kDel) {
            groundControl(t, p[-1], [&] { rows.lineFeed(); });
        }
    }
    rows.finish();
    return p;
}

}  // namespace orvane
