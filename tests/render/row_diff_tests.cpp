#include <gtest/gtest.h>

#include <functional>

#include "render/row_diff.h"

namespace orvane {
namespace {

// One letter per row: a row of three cells of that letter.
std::vector<Row> rowsOf(const std::string& letters) {
    std::vector<Row> rows;
    for (char c : letters) {
        Row row(3);
        for (Cell& cell : row) cell.ch = char16_t(c);
        rows.push_back(row);
    }
    return rows;
}

TEST(RowDiff, RowsDifferInAnyOfTheirFields) {
    const Row base(4);
    EXPECT_TRUE(rowsEqual(base, Row(4)));
    EXPECT_FALSE(rowsEqual(base, Row(5)));
    const std::vector<std::function<void(Cell&)>> changes = {
        [](Cell& c) { c.ch = u'x'; },      [](Cell& c) { c.fg = 1; },
        [](Cell& c) { c.bg = 1; },         [](Cell& c) { c.bold = 1; },
        [](Cell& c) { c.underline = 1; },  [](Cell& c) { c.dim = 1; },
        [](Cell& c) { c.italic = 1; },     [](Cell& c) { c.blink = 1; },
        [](Cell& c) { c.strike = 1; },     [](Cell& c) { c.fgDirect = 1; },
        [](Cell& c) { c.bgDirect = 1; },   [](Cell& c) { c.fgRgb = 1; },
        [](Cell& c) { c.bgRgb = 1; },
    };
    for (size_t i = 0; i < changes.size(); ++i) {
        Row changed = base;
        changes[i](changed[3]);
        EXPECT_FALSE(rowsEqual(base, changed)) << "field " << i;
    }
}

TEST(RowDiff, SmallestUpwardScrollWins) {
    struct Case {
        const char* shadow;
        const char* grid;
        int32_t k;
    };
    const std::vector<Case> cases = {
        {"ABCD", "BCDE", 1}, {"ABCD", "CDEF", 2}, {"ABCD", "DXYZ", 3},
        {"AAAA", "AAAB", 1},  // identical rows, last one changed
        {"AAAA", "AAAA", 1},  // unchanged identical rows read as a scroll
        {"ABAB", "ABAB", 2},  // the first k that matches, not k = 0
        {"ABCD", "ABCD", 0}, {"ABCD", "AXCD", 0}, {"ABCD", "BCXE", 0},
        {"ABCD", "XBCD", 0},  // down by one is never detected
        {"A", "B", 0},        {"", "", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(detectScrollUp(rowsOf(c.grid), rowsOf(c.shadow)), c.k) << c.shadow << " -> " << c.grid;
}

TEST(RowDiff, DirtyRowsInOrderUpTo64) {
    struct Case {
        const char* shadow;
        const char* grid;
        std::vector<int32_t> dirty;
    };
    const std::vector<Case> cases = {
        {"ABCD", "AXCY", {1, 3}}, {"ABCD", "ABCD", {}}, {"ABCD", "WXYZ", {0, 1, 2, 3}},
        {"ABCD", "ABCX", {3}},    {"ABCD", "XBCD", {0}},
    };
    for (const Case& c : cases) {
        const DirtyRows d = listDirtyRows(rowsOf(c.grid), rowsOf(c.shadow));
        EXPECT_EQ(std::vector<int32_t>(d.index.begin(), d.index.begin() + d.count), c.dirty)
            << c.shadow << " -> " << c.grid;
    }
    const DirtyRows many = listDirtyRows(rowsOf(std::string(70, 'B')), rowsOf(std::string(70, 'A')));
    EXPECT_EQ(many.count, kMaxDirtyRows);
    EXPECT_EQ(many.index[63], 63);
}

}  // namespace
}  // namespace orvane
