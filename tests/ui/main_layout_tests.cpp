#include "ui/main_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <tuple>
#include <vector>

namespace orvane {
namespace {

LayoutRect placeOf(const ToolbarLayout& layout, int32_t id) {
    const auto found = std::find_if(layout.begin(), layout.end(), [id](const ControlPlace& p) { return p.id == id; });
    if (found != layout.end()) return found->rect;
    ADD_FAILURE() << "no control " << id;
    return {};
}

TEST(ToolbarLayout, BaudWidthPortAnchorAndWidthDependentPlaces) {
    // 80 + (w - 530) / 3 once there are at least 91 spare pixels; p = w - 234 - b.
    for (const auto& [w, b, p] : std::vector<std::array<int32_t, 3>>{
             {500, 80, 186}, {620, 80, 306}, {621, 110, 277}, {920, 210, 476}, {934, 214, 486}, {1600, 436, 930}}) {
        EXPECT_EQ(baudBoxWidth(w), b) << w;
        EXPECT_EQ(portAnchor(w), p) << w;
    }
    struct Case {
        int32_t w, t;
        uint32_t dpi;  // 96: unscaled at top t; above: the whole client scaled, far edges to nearest
        std::vector<ControlPlace> places;
    };
    const Case cases[] = {
        {934, 0, 96, {{1002, {118, 8, 270, 240}}, {1003, {396, 8, 74, 26}}, {1004, {478, 8, 214, 240}},
                      {1005, {700, 8, 60, 240}}, {1037, {116, 10, 470, 22}}, {1038, {594, 13, 34, 20}},
                      {1031, {572, 47, 354, 20}}, {1033, {104, 81, 38, 20}}, {1020, {686, 76, 240, 26}},
                      {1008, {866, 8, 60, 26}}}},
        {500, 0, 96, {{1002, {118, 8, 60, 240}}, {1037, {116, 10, 60, 22}}, {1031, {572, 47, 40, 20}}}},
        {934, 162, 96, {{1025, {276, 206, 40, 22}}, {1012, {356, 242, 55, 22}}, {1035, {8, 170, 64, 240}},
                        {1016, {8, 204, 66, 26}}}},
        {1401, 0, 144, {{1003, {594, 12, 111, 39}}, {1001, {120, 20, 51, 39}}, {1026, {474, 66, 23, 33}}}},
        {1168, 0, 120, {{1016, {10, 53, 83, 32}}, {1038, {743, 16, 42, 25}}}},  // touching neighbours keep touching
    };
    for (const Case& c : cases) {
        const ToolbarLayout layout = c.dpi == kLayoutDpi ? toolbarLayout(c.w, c.t) : scaledToolbarLayout(c.w, c.dpi);
        for (const ControlPlace& p : c.places) EXPECT_EQ(placeOf(layout, p.id), p.rect) << c.w << " " << p.id;
    }
}

TEST(ToolbarLayout, EveryControlPlacedOnceAndShownRowsNeitherOverlapNorLeaveTheWindow) {
    const std::vector<std::vector<int32_t>> rows = {
        {1035, 1001, 1002, 1003, 1004, 1005, 1006, 1008},  // serial mode
        {1035, 1036, 1037, 1038, 1039, 1040, 1006, 1008},  // LAN mode
        {1016, 1017, 1023, 1024, 1025, 1026, 1032, 1027, 1028, 1029, 1030, 1031},
        {1042, 1033, 1010, 1034, 1011, 1012, 1013, 1014, 1015, 1020},
    };
    for (int32_t w = kMinTrackWidth - 16; w <= 2400; ++w) {
        const ToolbarLayout layout = toolbarLayout(w, 0);
        std::set<int32_t> ids;
        for (const ControlPlace& place : layout) {
            ASSERT_TRUE(ids.insert(place.id).second && place.rect.width > 0) << place.id;
            ASSERT_LT(place.rect.y + std::min(place.rect.height, 26), kToolbarHeight) << place.id;
        }
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

TEST(DpiScaling, ExactAt96ProportionalAboveAndTheTerminalBelowTheToolbar) {
    for (int32_t w : {934, 1017, 1600}) {
        const ToolbarLayout plain = toolbarLayout(w, 0), at96 = scaledToolbarLayout(w, 96),
                            at192 = scaledToolbarLayout(2 * w, 192);
        for (size_t i = 0; i < plain.size(); ++i) {
            const LayoutRect& r = plain[i].rect;
            EXPECT_EQ(at96[i].rect, r) << plain[i].id;
            EXPECT_EQ(at192[i].rect, (LayoutRect{2 * r.x, 2 * r.y, 2 * r.width, 2 * r.height})) << plain[i].id;
        }
    }
    for (const auto& [v, dpi, expected] : std::vector<std::array<int32_t, 3>>{
             {8, 96, 8}, {15, 144, 23}, {13, 120, 16}, {-5, 144, -8}, {110, 0, 0}, {950, 288, 2850}}) {
        EXPECT_EQ(scaleToDpi(v, static_cast<uint32_t>(dpi)), expected) << v << " at " << dpi;
    }
    EXPECT_EQ(terminalRect(934, 561, 22, 96), (LayoutRect{8, 110, 918, 421}));
    EXPECT_EQ(terminalRect(1868, 1122, 44, 192), (LayoutRect{16, 220, 1836, 842}));
    EXPECT_EQ(terminalRect(10, 100, 30, 96), (LayoutRect{8, 110, 1, 1}));
    EXPECT_EQ(minTrackSize(96), (LayoutSize{950, 420}));
    EXPECT_EQ(minTrackSize(144), (LayoutSize{1425, 630}));
}

TEST(SnapWindow, HugsTheGridWithinTheMinimumsAndOnlyShrinks) {
    const LayoutSize none{0, 0};  // no snapping, or the renderer never asked
    struct Case {
        SnapInput in;
        LayoutSize snug, candidate, expected;  // snug: what the renderer makes of the candidate
    };
    const Case cases[] = {
        {{{950, 600}, {918, 421}, {8, 16}, 80, 25}, {646, 406}, {646, 406}, {950, 585}},        // minimum width
        {{{1400, 900}, {1368, 721}, {14, 28}, 80, 25}, {1126, 706}, {1126, 706}, {1158, 885}},  // shrinks
        {{{1400, 900}, {1368, 721}, {0, 0}, 132, 24}, {1062, 390}, {1062, 390}, {1094, 569}},   // no font: 8x16
        {{{700, 500}, {600, 300}, {8, 16}, 80, 25}, {700, 350}, {600, 300}, {950, 500}},        // never grows
        {{{1400, 900}, {1368, 721}, {8, 16}, 80, 25, true}, {1, 1}, none, none},                // minimised
        {{{1400, 900}, {1368, 721}, {8, 16}, 80, 25, false, true}, {1, 1}, none, none},         // maximised
        {{{1400, 900}, {15, 721}, {8, 16}, 80, 25}, {1, 1}, none, none},                        // too narrow
        {{{1400, 900}, {1368, 15}, {8, 16}, 80, 25}, {1, 1}, none, none},                       // too low
        {{{1400, 900}, {16, 16}, {8, 16}, 80, 25}, {86, 31}, {16, 16}, {1400, 900}},            // just enough
        {{{1400, 900}, {1384, 880}, {8, 16}, 80, 25, false, false, true, 16}, {646, 406}, {646, 406}, {966, 426}},
        {{{1400, 50}, {1384, 40}, {8, 16}, 80, 25, false, false, true, 16}, {86, 31}, {646, 40}, {966, 64}},  // slim
        {{{1400, 900}, {1368, 721}, {0, 0}, 80, 25, false, false, false, 0, 192}, {646, 406}, {646, 406}, {1900, 840}},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        LayoutSize asked = none;
        const auto snapped = snapWindowSize(c.in, [&](LayoutSize candidate) { return asked = candidate, c.snug; });
        EXPECT_EQ(snapped.value_or(none), c.expected) << "case " << i;
        EXPECT_EQ(asked, c.candidate) << "case " << i;
    }
}

TEST(GridSizes, NamesMenuCommandsAndSavedWindowGeometry) {
    for (const auto& [name, size, command] : std::vector<std::tuple<const wchar_t*, GridSize, int32_t>>{
             {L"80x24", {80, 24}, 2020}, {L"80x25", {80, 25}, 2021}, {L"132x24", {132, 24}, 2022},
             {L"132x25", {132, 25}, 2023}}) {
        EXPECT_EQ(gridSizeFromName(name), size) << name;
        EXPECT_EQ(gridMenuCommand(size), command) << name;
        EXPECT_EQ(gridSizeName(size), name);
    }
    for (const wchar_t* name : {L"80X24", L"80x24 ", L" 80x24", L"81x24", L"100x30", L"", L"80x", L"24x80"}) {
        EXPECT_FALSE(gridSizeFromName(name).has_value()) << name;
    }
    for (const GridSize size : {GridSize{100, 30}, GridSize{24, 80}, GridSize{80, 23}, GridSize{0, 0}}) {
        EXPECT_EQ(gridMenuCommand(size), 2023) << size.cols << "x" << size.rows;
    }
    EXPECT_EQ(formatWindowGeom({1111, 777, -3, 45}), L"1111x777+-3+45");
    EXPECT_EQ(formatWindowGeom({920, 600, 0, 0}), L"920x600+0+0");
}

}  // namespace
}  // namespace orvane
