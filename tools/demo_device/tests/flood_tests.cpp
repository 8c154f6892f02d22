// The flood benchmark mode: its options, its payload as a terminal shows it,
// and the round trip that ends on the cursor report.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <vector>

#include "flood.h"
#include "options.h"
#include "terminal_probe.h"

namespace orvane::demo::testing {
namespace {

TEST(FloodOptions, StreamAndByteCount) {
    struct Case {
        std::vector<const char*> args;
        bool ok;
        FloodStream stream;
        uint64_t bytes;
        uint64_t rate = 0;
        bool wholeLines = true;
    };
    const Case cases[] = {
        {{"d"}, true, FloodStream::None, 20'000'000},
        {{"d", "--flood", "plain"}, true, FloodStream::Plain, 20'000'000},
        {{"d", "--flood", "sgr", "--bytes", "4096"}, true, FloodStream::Sgr, 4096},
        {{"d", "--flood", "plain", "--rate", "60000"}, true, FloodStream::Plain, 20'000'000, 60'000},
        {{"d", "--rate", "0"}, false, FloodStream::None, 0},
        {{"d", "--flood", "sgr", "--rate", "9", "--split-lines"}, true, FloodStream::Sgr, 20'000'000, 9, false},
        {{"d", "--bytes", "1000000000000"}, true, FloodStream::None, 1'000'000'000'000},
        {{"d", "--bytes", "1000000000001"}, false, FloodStream::None, 0},
        {{"d", "--bytes", "0"}, false, FloodStream::None, 0},
        {{"d", "--bytes", "12k"}, false, FloodStream::None, 0},
        {{"d", "--bytes"}, false, FloodStream::None, 0},
        {{"d", "--flood", "rainbow"}, false, FloodStream::None, 0},
        {{"d", "--flood"}, false, FloodStream::None, 0},
    };
    for (const Case& c : cases) {
        Options options;
        std::string error;
        const bool ok = parseOptions(int(c.args.size()), c.args.data(), options, error);
        EXPECT_EQ(ok, c.ok) << c.args.back();
        if (!ok || !c.ok) continue;
        EXPECT_EQ(options.flood, c.stream) << c.args.back();
        EXPECT_EQ(options.floodBytes, c.bytes) << c.args.back();
        EXPECT_EQ(options.floodPacing.bytesPerSecond, c.rate) << c.args.back();
        EXPECT_EQ(options.floodPacing.wholeLines, c.wholeLines) << c.args.back();
        EXPECT_EQ(servesOneClient(options), c.stream != FloodStream::None) << c.args.back();
    }
}

// Whole lines up to the limit; on a terminal each is one row of the grid,
// the coloured one with more than one colour and nothing left to answer.
TEST(FloodPayload, WholeLinesThatFitTheGrid) {
    for (const FloodStream stream : {FloodStream::Plain, FloodStream::Sgr}) {
        for (const uint64_t limit : {uint64_t(0), uint64_t(50), uint64_t(10'000)}) {
            const std::string payload = floodPayload(stream, limit);
            EXPECT_LE(payload.size(), limit);
            if (limit < 200) continue;
            EXPECT_GT(payload.size(), limit - 200) << floodStreamName(stream);
            ASSERT_EQ(payload.substr(payload.size() - 2), "\r\n");
            Screen screen;
            screen.feed(payload);
            EXPECT_EQ(screen.takeReplies(), "");
            const int lastRow = screen.terminal.rows - 1;
            EXPECT_EQ(screen.terminal.cursorRow, lastRow);
            EXPECT_EQ(screen.terminal.cursorCol, 0);
            const std::string row = screen.rowText(lastRow - 1);
            EXPECT_NE(row.find(stream == FloodStream::Sgr ? "accepted" : "lazy dog"), std::string::npos) << row;
            EXPECT_EQ(row.back(), ' ') << "a line filled the row and wrapped: " << row;
            const auto& cells = screen.terminal.grid[size_t(lastRow - 1)];
            const bool coloured = std::any_of(cells.begin(), cells.end(), [&](const Cell& c) { return c.fg != cells[0].fg; });
            EXPECT_EQ(coloured, stream == FloodStream::Sgr);
            // Whatever colours a line sets, it ends with the plain pen again.
            EXPECT_FALSE(cells[0].bold || cells[row.find_last_not_of(' ')].bold) << row;
        }
    }
}

TEST(FloodReport, CursorReportFoundOnlyWhenWhole) {
    const std::pair<std::string, bool> cases[] = {
        {"\x1b[25;1R", true},        {"xx\x1b[3;80Ryy", true},  {"\x1b[0n\x1b[1;1R", true},
        {"\x1b[25;1", false},        {"\x1b[;1R", false},       {"\x1b[25;R", false},
        {"\x1b[?62;4;9001c", false}, {"\x1b[25R", false},       {"", false},
    };
    for (const auto& [text, found] : cases) EXPECT_EQ(holdsCursorReport(text), found) << text.substr(1);
}

// A peer that answers the query with a report split over two reads, or
// never answers.
class ScriptedLink : public Link {
public:
    explicit ScriptedLink(bool answers) : answers_(answers) {}
    ReadStatus read(std::string& out, int) override {
        if (replies_.empty()) return ReadStatus::Closed;
        out += replies_.front();
        replies_.pop_front();
        return ReadStatus::Data;
    }
    bool write(std::string_view bytes) override {
        written += bytes;
        writes.emplace_back(bytes);
        if (answers_ && written.ends_with("\x1b[6n")) replies_ = {"\x1b[25", ";1R"};
        return true;
    }
    std::string written;
    std::vector<std::string> writes;

private:
    bool answers_;
    std::deque<std::string> replies_;
};

TEST(FloodRun, QueryFollowsThePayloadAndTheReportEndsTheClock) {
    const std::string payload = floodPayload(FloodStream::Sgr, 200'000);
    for (const bool answers : {true, false}) {
        ScriptedLink link(answers);
        const FloodResult result = runFlood(link, payload, 1000);
        EXPECT_EQ(link.written, payload + "\x1b[6n");
        EXPECT_EQ(result.reported, answers);
        EXPECT_EQ(result.bytes, payload.size());
        EXPECT_NE(floodReport(FloodStream::Sgr, result).find(answers ? "MB/s" : "no cursor report"), std::string::npos);
        EXPECT_GE(result.reportSeconds, answers ? result.sendSeconds : 0.0);
    }
}

// 20 kB at 100 kB/s takes about 0.2 s, sent 1000 bytes at a time, stretched
// to whole lines unless lines may split.
TEST(FloodRun, PacedFloodTakesItsTime) {
    const std::string payload = floodPayload(FloodStream::Plain, 20'000);
    for (const bool wholeLines : {true, false}) {
        ScriptedLink link(true);
        const FloodResult result = runFlood(link, payload, 1000, {100'000, wholeLines});
        EXPECT_EQ(link.written, payload + "\x1b[6n");
        EXPECT_TRUE(result.reported);
        EXPECT_GE(result.sendSeconds, 0.18);
        EXPECT_LT(result.sendSeconds, 1.0);
        // The last write is the query; the one before it may be the shorter rest.
        ASSERT_GE(link.writes.size(), 15u);
        for (size_t i = 0; i + 2 < link.writes.size(); ++i) {
            const size_t size = link.writes[i].size();
            EXPECT_EQ(link.writes[i].ends_with("\r\n"), wholeLines) << i;
            EXPECT_TRUE(wholeLines ? size >= 1000 && size < 1079 : size == 1000) << i << ": " << size;
        }
    }
}

}  // namespace
}  // namespace orvane::demo::testing
