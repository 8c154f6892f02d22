// Parser state handling that scripts cannot reach: aborting from each
// state, the buffer limits and the reply queue.
#include <gtest/gtest.h>

#include "terminal/terminal.h"

namespace orvane {
namespace {

void feedText(Terminal& t, const std::string& s) {
    feed(t, reinterpret_cast<const uint8_t*>(s.data()), s.size());
}

std::string rowText(const Terminal& t, int32_t row) {
    std::string s;
    for (const Cell& c : t.grid[size_t(row)]) s += char(c.ch);
    return s.substr(0, s.find_last_not_of(' ') + 1);
}

struct StatePrefix {
    const char* bytes;
    int32_t state;
};

// Bytes that leave the parser in each state with something collected.
const StatePrefix kPrefixes[] = {
    {"", kGround},
    {"\x1b", kEscape},
    {"\x1b[?12;34", kCsiParam},
    {"\x1b[=5 ", kCsiIntermediate},
    {"\x1b(", kDesignate},
    {"\x1b_Gpayload", kApcString},
    {"\x1b_Gpayload\x1b", kApcEscape},
    {"\x1b]0;title", kOscString},
    {"\x1b]0;title\x1b", kOscEscape},
};

TEST(Parser, EveryStateIsReachedAndAbortLeavesAFreshGround) {
    for (const auto& p : kPrefixes) {
        Terminal t;
        feedText(t, p.bytes);
        ASSERT_EQ(t.parserState, p.state) << p.bytes;
        abortSequence(t);
        EXPECT_EQ(t.parserState, kGround);
        EXPECT_TRUE(t.params.empty());
        EXPECT_EQ(t.paramValue, 0u);
        EXPECT_EQ(t.paramEmpty, 1);
        EXPECT_EQ(t.privateMark, 0);
        EXPECT_EQ(t.prefix, 0);
        EXPECT_EQ(t.intermediate, 0);
        EXPECT_TRUE(t.apcText.empty());
        feedText(t, "ok");
        EXPECT_EQ(rowText(t, 0), "ok") << p.state;
    }
}

TEST(Parser, SwitchingToAsciiOrHexAbortsInEveryState) {
    for (const char* mode : {"ASCII", "HEX"}) {
        for (const auto& p : kPrefixes) {
            Terminal t;
            feedText(t, p.bytes);
            setDisplayMode(t, mode);
            setDisplayMode(t, "ANSI");
            feedText(t, "[5mZ");
            EXPECT_EQ(rowText(t, 0), "[5mZ") << mode << " from state " << p.state;
            EXPECT_EQ(t.penBlink, 0);
        }
    }
}

TEST(Parser, ParameterListIsCappedButTheSequenceStillRuns) {
    Terminal t;
    std::string seq = "\x1b[1";
    for (int i = 0; i < 100000; ++i) seq += ";4";
    seq += "mA";
    feedText(t, seq);
    EXPECT_EQ(t.parserState, kGround);
    EXPECT_EQ(t.grid[0][0].bold, 1);
    EXPECT_EQ(t.grid[0][0].underline, 1);

    std::string modes = "\x1b[?";
    for (size_t i = 0; i < kMaxCsiParams - 1; ++i) modes += "0;";
    modes += "25;25l";  // the 1,025th parameter is dropped
    feedText(t, modes);
    EXPECT_EQ(t.cursorVisible, 0);
    EXPECT_LE(t.params.size(), kMaxCsiParams);

    Terminal u;
    std::string endless = "\x1b[";
    endless.append(1 << 20, ';');
    feedText(u, endless);
    EXPECT_EQ(u.params.size(), kMaxCsiParams);
}

TEST(Parser, OscLimitDiscardsTheStringAndShowsTheRest) {
    Terminal t;
    feedText(t, "\x1b]" + std::string(kOscLimit, 'x'));
    EXPECT_EQ(t.parserState, kOscString);
    EXPECT_EQ(t.oscText.size(), kOscLimit);
    feedText(t, "!tail\x07");
    EXPECT_EQ(t.parserState, kGround);
    EXPECT_TRUE(t.oscText.empty());
    EXPECT_EQ(rowText(t, 0), "tail");
    EXPECT_EQ(t.bellPending, 1);  // the terminator is now an ordinary BEL
}

TEST(Parser, ApcLimitDiscardsTheStringAndShowsTheRest) {
    Terminal t;
    feedText(t, "\x1b_G");
    const std::string chunk(1 << 20, 'A');
    for (size_t sent = 1; sent + chunk.size() <= kApcLimit; sent += chunk.size()) feedText(t, chunk);
    feedText(t, std::string(kApcLimit - t.apcText.size(), 'B'));
    ASSERT_EQ(t.apcText.size(), kApcLimit);
    EXPECT_EQ(t.parserState, kApcString);
    feedText(t, "!tail");
    EXPECT_EQ(t.parserState, kGround);
    EXPECT_TRUE(t.apcText.empty());
    EXPECT_EQ(rowText(t, 0), "tail");
}

TEST(Parser, TakeRepliesMovesEverythingOnce) {
    Terminal t;
    std::vector<uint8_t> out{'o', 'l', 'd'};
    EXPECT_FALSE(takeReplies(t, out));
    feedText(t, "\x1b[5n\x1b[c");
    ASSERT_TRUE(takeReplies(t, out));
    EXPECT_EQ(std::string(out.begin(), out.end()), "\x1b[0n\x1b[?62;4;9001c");
    EXPECT_TRUE(t.replies.empty());
    EXPECT_FALSE(takeReplies(t, out));
}

}  // namespace
}  // namespace orvane
