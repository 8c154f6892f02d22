#include "app/number_text.h"
#include "app/window_geometry.h"

#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace orvane {
namespace {

TEST(NumberText, ReadsSignAndDigitsAndSaturatesInsteadOfWrapping) {
    const std::tuple<const wchar_t*, int, bool, std::size_t> rows[] = {  // text, value, has digits, units read
        {L"0", 0, true, 1},
        {L"5000", 5000, true, 4},
        {L"  -17x", -17, true, 5},
        {L"\t+8", 8, true, 3},
        {L"007", 7, true, 3},
        {L"12 34", 12, true, 2},
        {L"2147483647", INT_MAX, true, 10},
        {L"2147483648", INT_MAX, true, 10},
        {L"4294967297", INT_MAX, true, 10},  // wrapping would give 1
        {L"99999999999999999999999", INT_MAX, true, 23},
        {L"-2147483648", INT_MIN, true, 11},
        {L"-2147483649", INT_MIN, true, 11},
        {L"-4294967297", INT_MIN, true, 11},
        {L"", 0, false, 0},
        {L"-", 0, false, 0},
        {L"+-3", 0, false, 0},
        {L"x12", 0, false, 0},
        {L"- 3", 0, false, 0},
    };
    for (const auto& [text, value, hasDigits, consumed] : rows) {
        const NumberText read = readNumber(text);
        EXPECT_EQ(std::tuple(read.value, read.hasDigits, read.consumed), std::tuple(value, hasDigits, consumed)) << text;
    }
    EXPECT_EQ(numberOr(L"port", 5000), 5000);
    EXPECT_EQ(numberOr(L"0", 5000), 0);
}

TEST(NumberText, FieldsTakeOnlyNumbersInRangeAndBaudEntriesMatchByLeadingNumber) {
    for (const int port : {5000, 1, 65535}) EXPECT_EQ(numberWithin(std::to_wstring(port), 1, 65535), port);
    for (const wchar_t* refused : {L"0", L"65536", L"4294967297", L"-1", L"", L"port"}) {
        EXPECT_EQ(numberWithin(refused, 1, 65535), std::nullopt) << refused;
    }
    const std::vector<std::wstring> entries = {L"300", L"9600 baud", L"  19200", L"115200", L"9600"};
    const std::pair<const wchar_t*, std::optional<std::size_t>> baudRows[] = {
        {L"9600", 1}, {L"19200", 2}, {L"115200 ", 3}, {L"300", 0}, {L"4294967596", std::nullopt} /* 300 if wrapped */,
        {L"fast", std::nullopt}};
    for (const auto& [baud, entry] : baudRows) EXPECT_EQ(entryWithLeadingNumber(entries, baud), entry) << baud;
    EXPECT_EQ(entryWithLeadingNumber(std::vector<std::wstring>{L"baud", L"0"}, L"0"), 1u);
}

TEST(WindowGeometry, SizesAndSavedRectanglesReadLikeScanf) {
    EXPECT_EQ(parseWindowSize(L"800x600"), (WindowSize{800, 600}));
    EXPECT_EQ(parseWindowSize(L" 800x 600px"), (WindowSize{800, 600}));
    EXPECT_EQ(parseWindowSize(L"99999999999x1"), (WindowSize{INT_MAX, 1}));
    for (const wchar_t* bad : {L"800", L"800x", L"800X600", L"800 x600", L"x600", L""}) {
        EXPECT_EQ(parseWindowSize(bad), std::nullopt) << bad;
    }
    EXPECT_EQ(parseWindowGeom(L"1024x768+-8+30"), (WindowPlacement{1024, 768, -8, 30}));
    EXPECT_EQ(parseWindowGeom(L"920x600+4294967297+0"), (WindowPlacement{920, 600, INT_MAX, 0}));
    for (const wchar_t* bad : {L"1024x768+10", L"1024x768-8+30", L"1024x768+8+", L"1024x768", L"a"}) {
        EXPECT_EQ(parseWindowGeom(bad), std::nullopt) << bad;
    }
}

TEST(WindowGeometry, ASavedRectangleMustOverlapAMonitor) {
    const std::vector<MonitorRect> monitors = {{0, 0, 1920, 1080}, {-1280, 100, 0, 1124}};
    const std::pair<WindowPlacement, bool> rows[] = {  // the window, whether it lies on a monitor
        {{920, 600, 100, 100}, true},
        {{1024, 768, -8, -8}, true},          // a maximised window's edges stick out
        {{920, 600, -1000, 500}, true},       // on the second monitor
        {{920, 600, 1919, 1079}, true},       // one pixel still on it
        {{920, 600, 1920, 0}, false},         // touches the right edge only
        {{920, 600, -1280, -600}, false},     // above the second monitor, left of the first
        {{920, 600, -920, -500}, false},      // ends where the first begins and where the second starts
        {{0, 600, 100, 100}, false},
        {{920, -1, 100, 100}, false},
        {{INT_MAX, INT_MAX, INT_MAX, INT_MAX}, false},
        {{INT_MAX, 600, INT_MIN, 0}, true},   // computed without overflow
    };
    for (const auto& [window, onMonitor] : rows) {
        EXPECT_EQ(liesOnAMonitor(window, monitors), onMonitor) << window.width << "x" << window.height << "+" << window.left;
    }
    EXPECT_FALSE(liesOnAMonitor({920, 600, 0, 0}, {}));
}

}  // namespace
}  // namespace orvane
