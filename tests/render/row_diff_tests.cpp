#include <gtest/gtest.h>

#include <functional>

#include "render/row_diff.h"

namespace orvane {
namespace {

// One letter per row: a row of three cells of that letter.
std::vector<Row> rowsOf(const std::string& letters) {
    std::vector<Row> rows;
    for (char c : letters) {
        rows.emplace_back(3);
        for (Cell& cell : rows.back()) cell.ch = char16_t(c);
    }
    return rows;
}

TEST(RowDiff, RowsDifferInAnyOfTheirFields) {
    EXPECT_TRUE(rowsEqual(Row(4), Row(4)));
    EXPECT_FALSE(rowsEqual(Row(4), Row(5)));
    const std::function<void(Cell&)> changes[] = {
        [](Cell& c) { c.ch = u'x'; },     [](Cell& c) { c.fg = 1; },        [](Cell& c) { c.bg = 1; },
        [](Cell& c) { c.bold = 1; },      [](Cell& c) { c.underline = 1; }, [](Cell& c) { c.dim = 1; },
        [](Cell& c) { c.italic = 1; },    [](Cell& c) { c.blink = 1; },     [](Cell& c) { c.strike = 1; },
        [](Cell& c) { c.fgDirect = 1; },  [](Cell& c) { c.bgDirect = 1; },  [](Cell& c) { c.fgRgb = 1; },
        [](Cell& c) { c.bgRgb = 1; },
    };
    for (const auto& change : changes) {
        Row changed(4);
        change(changed[3]);
        EXPECT_FALSE(rowsEqual(Row(4), changed)) << "field " << (&change - changes);
    }
}

// The smallest upward scroll, then the changed rows (at most 64) of what is left.
TEST(RowDiff, ScrollThenDirtyRows) {
    const struct { const char* shadow; const char* grid; int32_t k; std::vector<int32_t> dirty; } cases[] = {
        {"ABCD", "BCDE", 1, {0, 1, 2, 3}}, {"ABCD", "CDEF", 2, {0, 1, 2, 3}}, {"ABCD", "DXYZ", 3, {0, 1, 2, 3}},
        {"AAAA", "AAAB", 1, {3}},     // identical rows, last one changed
        {"AAAA", "AAAA", 1, {}},      // unchanged identical rows read as a scroll
        {"ABAB", "ABAB", 2, {}},      // the first k that matches, not k = 0
        {"ABCD", "ABCD", 0, {}},      {"ABCD", "AXCY", 0, {1, 3}}, {"ABCD", "BCXE", 0, {0, 1, 2, 3}},
        {"ABCD", "XBCD", 0, {0}},     // down by one is never detected
        {"A", "B", 0, {0}},           {"", "", 0, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(detectScrollUp(rowsOf(c.grid), rowsOf(c.shadow)), c.k) << c.shadow << " -> " << c.grid;
        const DirtyRows d = listDirtyRows(rowsOf(c.grid), rowsOf(c.shadow));
        EXPECT_EQ(std::vector<int32_t>(d.index.begin(), d.index.begin() + d.count), c.dirty) << c.shadow << " -> " << c.grid;
    }
    const DirtyRows many = listDirtyRows(rowsOf(std::string(70, 'B')), rowsOf(std::string(70, 'A')));
    EXPECT_EQ(many.count, kMaxDirtyRows);
    EXPECT_EQ(many.index[63], 63);
}

}  // namespace
}  // namespace orvane
