#include "ui/main_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <set>
#include <vector>

namespace orvane {
namespace {

LayoutRect placeOf(const ToolbarLayout& layout, int32_t id) {
    for (const ControlPlace& place : layout) {
        if (place.id == id) return place.rect;
    }
    ADD_FAILURE() << "no control " << id;
    return {};
}

TEST(ToolbarLayout, BaudWidthAndPortAnchorFollowTheClientWidth) {
    struct Case {
        int32_t w, b, p;
    };
    // 80 + (w - 530) / 3 once there are at least 91 spare pixels; p = w - 234 - b.
    for (const Case& c : {Case{500, 80, 186}, Case{620, 80, 306}, Case{621, 110, 277}, Case{920, 210, 476},
                          Case{934, 214, 486}, Case{1600, 436, 930}}) {
        EXPECT_EQ(baudBoxWidth(c.w), c.b) << c.w;
        EXPECT_EQ(portAnchor(c.w), c.p) << c.w;
    }
}

TEST(ToolbarLayout, WidthDependentControlsAtMinimumAndNarrowWidths) {
    struct Case {
        int32_t w, t, id;
        LayoutRect rect;
    };
    const Case cases[] = {
        {934, 0, 1002, {118, 8, 270, 240}},  {934, 0, 1003, {396, 8, 74, 26}},   {934, 0, 1004, {478, 8, 214, 240}},
        {934, 0, 1005, {700, 8, 60, 240}},   {934, 0, 1037, {116, 10, 470, 22}},  {934, 0, 1038, {594, 13, 34, 20}},
        {934, 0, 1031, {572, 47, 354, 20}},  {934, 0, 1033, {104, 81, 38, 20}},   {934, 0, 1020, {686, 76, 240, 26}},
        {934, 0, 1008, {866, 8, 60, 26}},    {500, 0, 1002, {118, 8, 60, 240}},   {500, 0, 1037, {116, 10, 60, 22}},
        {500, 0, 1031, {572, 47, 40, 20}},   {934, 162, 1025, {276, 206, 40, 22}}, {934, 162, 1012, {356, 242, 55, 22}},
        {934, 162, 1035, {8, 170, 64, 240}}, {934, 162, 1016, {8, 204, 66, 26}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(placeOf(toolbarLayout(c.w, c.t), c.id), c.rect) << "w " << c.w << " t " << c.t << " id " << c.id;
    }
}

// Controls shown together never overlap and stay inside the client area, at
// every width a normal window can have.
TEST(ToolbarLayout, VisibleControlsOfEachRowNeitherOverlapNorLeaveTheWindow) {
    const std::vector<std::vector<int32_t>> rows = {
        {1035, 1001, 1002, 1003, 1004, 1005, 1006, 1008},  // serial mode
        {1035, 1036, 1037, 1038, 1039, 1040, 1006, 1008},  // LAN mode
        {1016, 1017, 1023, 1024, 1025, 1026, 1032, 1027, 1028, 1029, 1030, 1031},
        {1042, 1033, 1010, 1034, 1011, 1012, 1013, 1014, 1015, 1020},
    };
    for (int32_t w = kMinTrackWidth - 16; w <= 2400; ++w) {
        const ToolbarLayout layout = toolbarLayout(w, 0);
        for (const std::vector<int32_t>& row : rows) {
            std::vector<LayoutRect> rects;
            for (int32_t id : row) rects.push_back(placeOf(layout, id));
            std::sort(rects.begin(), rects.end(), [](const LayoutRect& a, const LayoutRect& b) { return a.x < b.x; });
            ASSERT_GE(rects.front().x, 0) << w;
            ASSERT_LE(rects.back().x + rects.back().width, w) << w;
            for (size_t i = 1; i < rects.size(); ++i) {
                ASSERT_LE(rects[i - 1].x + rects[i - 1].width, rects[i].x) << "w " << w << " row of " << row.front();
            }
        }
    }
}

TEST(ToolbarLayout, EveryControlHasOneDistinctPlaceInsideTheToolbar) {
    const ToolbarLayout layout = toolbarLayout(1200, 0);
    std::set<int32_t> ids;
    for (const ControlPlace& place : layout) {
        EXPECT_TRUE(ids.insert(place.id).second) << place.id;
        EXPECT_LT(place.rect.y + std::min(place.rect.height, 26), kToolbarHeight) << place.id;
        EXPECT_GT(place.rect.width, 0) << place.id;
    }
    EXPECT_EQ(ids.size(), kToolbarControlCount);
}

TEST(DpiScaling, ExactAt96AndProportionalAbove) {
    for (int32_t w : {934, 1017, 1600}) {
        const ToolbarLayout plain = toolbarLayout(w, 0), scaled = scaledToolbarLayout(w, 96);
        for (size_t i = 0; i < plain.size(); ++i) EXPECT_EQ(plain[i].rect, scaled[i].rect) << plain[i].id;
        const ToolbarLayout doubled = scaledToolbarLayout(2 * w, 192);
        for (size_t i = 0; i < plain.size(); ++i) {
            const LayoutRect& r = plain[i].rect;
            EXPECT_EQ(doubled[i].rect, (LayoutRect{2 * r.x, 2 * r.y, 2 * r.width, 2 * r.height})) << plain[i].id;
        }
    }
    // 150 %: a client of 1401 pixels lays out as 934 and scales edges to nearest.
    const ToolbarLayout at144 = scaledToolbarLayout(1401, 144);
    EXPECT_EQ(placeOf(at144, 1003), (LayoutRect{594, 12, 111, 39}));
    EXPECT_EQ(placeOf(at144, 1001), (LayoutRect{120, 20, 51, 39}));
    EXPECT_EQ(placeOf(at144, 1026), (LayoutRect{474, 66, 23, 33}));
    // 125 %: far edges are scaled, so neighbours that touch keep touching.
    const ToolbarLayout at120 = scaledToolbarLayout(1168, 120);
    EXPECT_EQ(placeOf(at120, 1016), (LayoutRect{10, 53, 83, 32}));
    EXPECT_EQ(placeOf(at120, 1038), (LayoutRect{743, 16, 42, 25}));
    struct Case {
        int32_t v;
        uint32_t dpi;
        int32_t expected;
    };
    for (const Case& c : {Case{8, 96, 8}, Case{15, 144, 23}, Case{13, 120, 16}, Case{-5, 144, -8}, Case{110, 0, 0},
                          Case{950, 288, 2850}}) {
        EXPECT_EQ(scaleToDpi(c.v, c.dpi), c.expected) << c.v << " at " << c.dpi;
    }
}

TEST(DpiScaling, TerminalRectangleAndMinimumSize) {
    EXPECT_EQ(terminalRect(934, 561, 22, 96), (LayoutRect{8, 110, 918, 421}));
    EXPECT_EQ(terminalRect(1868, 1122, 44, 192), (LayoutRect{16, 220, 1836, 842}));
    EXPECT_EQ(terminalRect(10, 100, 30, 96), (LayoutRect{8, 110, 1, 1}));
    EXPECT_EQ(minTrackSize(96), (LayoutSize{950, 420}));
    EXPECT_EQ(minTrackSize(144), (LayoutSize{1425, 630}));
}

TEST(SnapWindow, HugsTheGridWithinTheMinimumsAndOnlyShrinks) {
    struct Case {
        const char* name;
        SnapInput in;
        LayoutSize snug;  // what the renderer makes of the candidate
        std::optional<LayoutSize> candidate;
        std::optional<LayoutSize> expected;
    };
    const Case cases[] = {
        {"minimum width holds", {{950, 600}, {918, 421}, {8, 16}, 80, 25}, {646, 406}, LayoutSize{646, 406},
         LayoutSize{950, 585}},
        {"large window shrinks", {{1400, 900}, {1368, 721}, {14, 28}, 80, 25}, {1126, 706}, LayoutSize{1126, 706},
         LayoutSize{1158, 885}},
        {"no font yet uses 8x16", {{1400, 900}, {1368, 721}, {0, 0}, 132, 24}, {1062, 390}, LayoutSize{1062, 390},
         LayoutSize{1094, 569}},
        {"small terminal never grows", {{700, 500}, {600, 300}, {8, 16}, 80, 25}, {700, 350}, LayoutSize{600, 300},
         LayoutSize{950, 500}},
        {"minimised", {{1400, 900}, {1368, 721}, {8, 16}, 80, 25, true}, {1, 1}, std::nullopt, std::nullopt},
        {"maximised", {{1400, 900}, {1368, 721}, {8, 16}, 80, 25, false, true}, {1, 1}, std::nullopt, std::nullopt},
        {"terminal too narrow", {{1400, 900}, {15, 721}, {8, 16}, 80, 25}, {1, 1}, std::nullopt, std::nullopt},
        {"terminal too low", {{1400, 900}, {1368, 15}, {8, 16}, 80, 25}, {1, 1}, std::nullopt, std::nullopt},
        {"terminal just big enough", {{1400, 900}, {16, 16}, {8, 16}, 80, 25}, {86, 31}, LayoutSize{16, 16},
         LayoutSize{1400, 900}},
        {"slim adds its frame", {{1400, 900}, {1384, 880}, {8, 16}, 80, 25, false, false, true, 16}, {646, 406},
         LayoutSize{646, 406}, LayoutSize{966, 426}},
        {"slim height floor", {{1400, 50}, {1384, 40}, {8, 16}, 80, 25, false, false, true, 16}, {86, 31},
         LayoutSize{646, 40}, LayoutSize{966, 64}},
        {"minimums scale with DPI", {{1400, 900}, {1368, 721}, {0, 0}, 80, 25, false, false, false, 0, 192},
         {646, 406}, LayoutSize{646, 406}, LayoutSize{1900, 840}},
    };
    for (const Case& c : cases) {
        std::optional<LayoutSize> asked;
        const SnugGrid snug = [&](LayoutSize candidate) {
            asked = candidate;
            return c.snug;
        };
        EXPECT_EQ(snapWindowSize(c.in, snug), c.expected) << c.name;
        EXPECT_EQ(asked, c.candidate) << c.name;
    }
}

TEST(GridSizes, NamesAndMenuCommands) {
    struct Case {
        const wchar_t* name;
        GridSize size;
        int32_t command;
    };
    for (const Case& c : {Case{L"80x24", {80, 24}, 2020}, Case{L"80x25", {80, 25}, 2021},
                          Case{L"132x24", {132, 24}, 2022}, Case{L"132x25", {132, 25}, 2023}}) {
        EXPECT_EQ(gridSizeFromName(c.name), c.size) << c.name;
        EXPECT_EQ(gridMenuCommand(c.size), c.command) << c.name;
        EXPECT_EQ(gridSizeName(c.size), c.name);
    }
    for (const wchar_t* name : {L"80X24", L"80x24 ", L" 80x24", L"81x24", L"100x30", L"", L"80x", L"24x80"}) {
        EXPECT_FALSE(gridSizeFromName(name).has_value()) << name;
    }
    for (const GridSize size : {GridSize{100, 30}, GridSize{24, 80}, GridSize{80, 23}, GridSize{0, 0}}) {
        EXPECT_EQ(gridMenuCommand(size), 2023) << size.cols << "x" << size.rows;
    }
}

TEST(WindowGeometry, SavedTextReadsBackAsTheSameRectangle) {
    EXPECT_EQ(formatWindowGeom({1111, 777, -3, 45}), L"1111x777+-3+45");
    EXPECT_EQ(formatWindowGeom({920, 600, 0, 0}), L"920x600+0+0");
}

}  // namespace
}  // namespace orvane
