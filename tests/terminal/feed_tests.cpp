// The feed's repaint bookkeeping and the display-mode switch.
#include <gtest/gtest.h>

#include "terminal/terminal.h"

namespace orvane {
namespace {

void feedText(Terminal& t, const std::string& s) {
    feed(t, reinterpret_cast<const uint8_t*>(s.data()), s.size());
}

TEST(Feed, MiddleOfAnApcPayloadDoesNotMarkTheScreenDirty) {
    Terminal t;
    feedText(t, "\x1b_Gstart");
    t.dirty = 0;
    feedText(t, std::string(100000, 'x'));
    EXPECT_EQ(t.dirty, 0);
    EXPECT_EQ(t.apcText.size(), 100006u);  // "Gstart" and the run
    feedText(t, "\x1b\\");
    EXPECT_EQ(t.dirty, 1);
    EXPECT_EQ(t.parserState, kGround);
}

TEST(Feed, EveryOtherByteMarksTheScreenDirty) {
    for (const std::string bytes : {"A", "\x1b", "\x07", "\x7f"}) {
        Terminal t;
        t.dirty = 0;
        feedText(t, bytes);
        EXPECT_EQ(t.dirty, 1) << int(bytes[0]);
    }
    for (const char* mode : {"ASCII", "HEX"}) {
        Terminal t;
        setDisplayMode(t, mode);
        feedText(t, "\x1b_G");
        t.dirty = 0;
        feedText(t, "x");
        EXPECT_EQ(t.dirty, 1) << mode;
    }
}

TEST(Feed, EmptyBatchChangesNothing) {
    Terminal t;
    t.dirty = 0;
    feed(t, nullptr, 0);
    EXPECT_EQ(t.dirty, 0);
}

TEST(Feed, LiteralModesNeverTouchParserPenOrReplies) {
    Terminal t;
    setDisplayMode(t, "ASCII");
    std::string all;
    for (int b = 0; b < 256; ++b) all += char(b);
    feedText(t, all);
    EXPECT_EQ(t.parserState, kGround);
    EXPECT_EQ(t.penFg, 7);
    EXPECT_EQ(t.bellPending, 0);
    EXPECT_TRUE(t.replies.empty());
    EXPECT_EQ(t.grid[0][0].ch, u'[');  // NUL as [00]
}

TEST(Feed, ApcPayloadCollectedInBulkMatchesByteByByte) {
    const std::string payload = "\x1b_Gid=1;" + std::string(5000, 'q') + "\x1b\x1b\\after";
    Terminal whole;
    feedText(whole, payload);
    Terminal bytewise;
    for (char c : payload) feedText(bytewise, std::string(1, c));
    EXPECT_EQ(whole.grid, bytewise.grid);
    EXPECT_EQ(whole.cursorCol, 5);
    EXPECT_EQ(bytewise.cursorCol, 5);
}

}  // namespace
}  // namespace orvane
