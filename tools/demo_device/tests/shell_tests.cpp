// The device's shell: keys, echo, commands and the running ones, with time
// passed in. Output goes through the real terminal core as well.
#include <gtest/gtest.h>

#include "key_decoder.h"
#include "options.h"
#include "session.h"
#include "shell.h"
#include "terminal_probe.h"

namespace orvane::demo::testing {
namespace {

size_t count(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + what.size())) ++n;
    return n;
}

// A connection from the greeting on, its output shown on a terminal.
struct Session {
    Session() { screen.feed(shell.greet()); }

    // Sends bytes, then polls as the socket loop does until the shell waits
    // for input or, while it waits for time, maxMs of fake time have passed.
    // Returns what it wrote.
    std::string type(const std::string& bytes, uint32_t maxMs = 0, size_t budget = 1 << 20) {
        std::string out;
        shell.receive(bytes, now(), out);
        for (uint32_t waited = 0;;) {
            shell.poll(now(), out, budget);
            const int32_t wait = shell.waitMs(tick);
            if (wait < 0 || shell.finished() || (wait > 0 && waited >= maxMs)) break;
            tick += uint32_t(wait);
            waited += uint32_t(wait);
        }
        screen.feed(out);
        return out;
    }
    Now now() const { return {tick, 1700000000000 + tick}; }

    DemoShell shell;
    Screen screen;
    uint32_t tick = 0xFFFFFC00;  // wraps during the clock tests
};

TEST(Shell, CommandsAndTheirAnswers) {
    const std::pair<const char*, std::vector<std::string>> cases[] = {
        {"help\r", {"help\r\n", "flood [N]", "quit", "demo\x1b[0m> "}},
        {"colours\r", {"\x1b[48;5;231m", "\x1b[48;2;"}},
        {"COLORS\n", {"\x1b[48;5;16m"}},
        {"FOO bar\r", {"unknown command: foo (type help)\r\n"}},
        {"flood x\r", {"flood: N must be 1 to 100000000"}},
        {"flood 100000001\r", {"flood: N must be 1 to 100000000"}},
        {"clock 3601\r", {"clock: seconds must be 1 to 3600"}},
        {"clock 3600\r", {"clock for 3600 s"}},
        {"bell\r", {"\a(bell)"}},
        {"  help  \r", {"this list"}},
        {"ab\x7f" "c\x08\x08\x08" "d\r", {"ab\b \bc\b \b\b \bd\r\n", "unknown command: d"}},
        {"he\x03", {"he^C\r\n"}},
        {"he\x1b[=4;2;0w\x1b[Alp\r", {"help\r\n", "this list"}},
        {"quit\r", {"bye\r\n"}},
    };
    for (const auto& [input, expected] : cases) {
        Session s;
        const std::string out = s.type(input);
        for (const std::string& part : expected) EXPECT_NE(out.find(part), std::string::npos) << input << " -> " << part;
        EXPECT_EQ(s.screen.terminal.parserState, kGround) << input;
        EXPECT_EQ(s.shell.finished(), std::string(input) == "quit\r") << input;
    }
}

TEST(Shell, EachLineEndEndsOneLine) {
    for (const char* input : {"help\rhelp\r", "help\nhelp\n", "help\r\nhelp\r\n", "help\rhelp\n"}) {
        Session s;
        const std::string out = s.type(input);
        EXPECT_EQ(count(out, "this list"), 2u) << input;
        EXPECT_EQ(count(out, "> "), 2u) << input;  // no empty line in between
    }
    Session split;  // the LF of a CRLF in the next read
    EXPECT_EQ(count(split.type("help\r"), "> "), 1u);
    EXPECT_EQ(count(split.type("\nhelp\r"), "> "), 1u);
    EXPECT_EQ(count(split.type(std::string(kMaxLineLength + 3, 'x')), "\a"), 3u);
}

TEST(Shell, FloodSendsTheLinesAskedFor) {
    for (const uint64_t lines : {uint64_t(1), uint64_t(3), uint64_t(2500)}) {
        Session s;
        const std::string out = s.type("flood " + std::to_string(lines) + "\r", 0, 4096);
        EXPECT_EQ(count(out, "The quick brown fox"), lines);
        EXPECT_NE(out.find(floodLine(lines, lines)), std::string::npos);
        EXPECT_NE(out.find("flood: " + std::to_string(lines) + " lines, " +
                           std::to_string(lines * floodLine(1, lines).size()) + " bytes"),
                  std::string::npos);
        EXPECT_EQ(s.shell.waitMs(s.tick), -1);
    }
    Session s;  // without N
    EXPECT_EQ(count(s.type("flood\r"), "The quick brown fox"), kDefaultFloodLines);
}

TEST(Shell, FloodGoesInSlicesAndAKeyStopsIt) {
    Session s;
    std::string first;
    s.shell.receive("flood 100000\r", s.now(), first);
    s.shell.poll(s.now(), first, 1000);
    EXPECT_LT(first.size(), 1000 + floodLine(1, 100000).size() + 100);
    EXPECT_EQ(s.shell.waitMs(s.tick), 0);
    const size_t sent = count(first, "The quick brown fox");
    const std::string stop = s.type("x", 0, 1000);
    EXPECT_NE(stop.find("flood stopped after " + std::to_string(sent) + " of 100000 lines"), std::string::npos);
    EXPECT_EQ(stop.find('x'), std::string::npos);  // the key only stopped it
    EXPECT_EQ(s.shell.waitMs(s.tick), -1);
}

TEST(Shell, KeysTypedWithTheCommandWaitForIt) {
    Session s;
    const std::string out = s.type("flood 2\rbell\rclock 1\rhelp\r", 5000);
    const size_t flood = out.find("flood: 2 lines");
    const size_t bell = out.find("(bell)");
    const size_t clockEnd = out.find("1.0 s");
    const size_t help = out.find("this list");
    EXPECT_TRUE(flood < bell && bell < clockEnd && clockEnd < help) << flood << " " << bell << " " << clockEnd << " " << help;
}

TEST(Shell, ClockUpdatesUntilItsTimeOrAKey) {
    Session s;
    const std::string out = s.type("clock 2\r", 60000);
    EXPECT_EQ(count(out, " UTC "), 21u);  // at 0.0, 0.1, ... 2.0 s
    EXPECT_NE(out.find("2.0 s"), std::string::npos);
    EXPECT_EQ(s.shell.waitMs(s.tick), -1);

    s.tick = 0xFFFFFFC0;  // the next update falls after the wrap: nothing is due before it
    s.type("clock\r");
    std::string early;
    s.shell.poll({0xFFFFFFF0, 0}, early, 1000);
    EXPECT_EQ(early, "");
    s.type("", 300);
    EXPECT_EQ(s.shell.waitMs(s.tick), 100);
    const std::string stop = s.type("\r");
    EXPECT_NE(stop.find("clock stopped"), std::string::npos);
    EXPECT_EQ(s.shell.waitMs(s.tick), -1);
}

TEST(Shell, UtcTimeOfDay) {
    const std::pair<int64_t, const char*> cases[] = {
        {0, "00:00:00.0 UTC"}, {86399999, "23:59:59.9 UTC"}, {86400000 + 3723456, "01:02:03.4 UTC"}, {-100, "23:59:59.9 UTC"},
    };
    for (const auto& [ms, text] : cases) EXPECT_EQ(utcTimeText(ms), text) << ms;
}

TEST(Shell, PicturesHideWhenTextScrollsAndGraphicsShowsThemAgain) {
    Session s;
    const auto visible = [&] {
        size_t n = 0;
        for (const Placement& p : s.screen.terminal.glass.placements) n += p.visible;
        return n;
    };
    EXPECT_EQ(visible(), 2u);
    s.type("help\r");
    EXPECT_EQ(visible(), 0u);
    s.type("graphics\r");
    EXPECT_EQ(visible(), 2u);
    EXPECT_EQ(s.screen.terminal.glass.placements[0].row, 2);
    s.type("bell\r");
    EXPECT_EQ(visible(), 0u);
}

// The socket loop over a scripted link: greeting first, then answers, until quit or close.
struct ScriptedLink : Link {
    ReadStatus read(std::string& out, int) override {
        if (reads.empty()) return ReadStatus::Closed;
        out += reads.front();
        reads.erase(reads.begin());
        return out.empty() ? ReadStatus::Timeout : ReadStatus::Data;
    }
    bool write(std::string_view bytes) override {
        written.emplace_back(bytes);
        return writable;
    }
    std::vector<std::string> reads;
    std::vector<std::string> written;
    bool writable = true;
};

TEST(SessionLoop, RunsUntilQuitOrClose) {
    ScriptedLink quits;
    quits.reads = {"fl", "", "ood 2\r", "quit\r", "help\r"};
    runSession(quits);
    ASSERT_GE(quits.written.size(), 3u);
    EXPECT_EQ(quits.written[0], DemoShell().greet());
    EXPECT_EQ(quits.written.back(), "quit\r\nbye\r\n");
    EXPECT_EQ(quits.reads, std::vector<std::string>{"help\r"});  // nothing read after quit

    ScriptedLink closes;  // the client goes away: the loop ends without an answer
    closes.reads = {"help"};
    runSession(closes);
    EXPECT_EQ(closes.written.size(), 2u);

    ScriptedLink broken;  // a failed write ends it at once
    broken.writable = false;
    broken.reads = {"help\r"};
    runSession(broken);
    EXPECT_EQ(broken.written.size(), 1u);
    EXPECT_EQ(broken.reads.size(), 1u);
}

TEST(KeyDecoder, KeysAndSequences) {
    using K = Key;
    const std::pair<const char*, std::vector<Key>> cases[] = {
        {"a\r\nb", {{K::Char, 'a'}, {K::Enter, 0}, {K::Char, 'b'}}},
        {"\n\n\r\r", {{K::Enter, 0}, {K::Enter, 0}, {K::Enter, 0}, {K::Enter, 0}}},
        {"\x08\x7f\x03\t\x01", {{K::Erase, 0}, {K::Erase, 0}, {K::Interrupt, 0}}},
        {"\x1b[=4;2;0w\x1b[?62;4;9001c\x1b[12;40Rz", {{K::Char, 'z'}}},
        {"\x1bOA\x1b]0;title\x07q\x1b_Gx\x1b\\r", {{K::Char, 'q'}, {K::Char, 'r'}}},
        {"\xc7\x1bx", {{K::Char, char(0xC7)}}},
    };
    for (const auto& [bytes, keys] : cases) EXPECT_EQ(KeyDecoder().decode(bytes), keys) << bytes;
    KeyDecoder split;  // a sequence split across reads
    EXPECT_TRUE(split.decode("\x1b[=2;").empty());
    EXPECT_EQ(split.decode("2;1wk"), (std::vector<Key>{{K::Char, 'k'}}));
}

TEST(Options, PortOnceAndErrors) {
    struct Case {
        std::vector<const char*> args;
        bool ok;
        uint16_t port;
        bool once;
    };
    const Case cases[] = {
        {{}, true, kDefaultPort, false},        {{"--port", "0"}, true, 0, false},
        {{"-p", "65535", "--once"}, true, 65535, true}, {{"--port", "65536"}, false, 0, false},
        {{"--port"}, false, 0, false},          {{"--port", "12a"}, false, 0, false},
        {{"--bogus"}, false, 0, false},
    };
    for (const Case& c : cases) {
        std::vector<const char*> argv{"orvane_demo_device"};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        Options o;
        std::string error;
        EXPECT_EQ(parseOptions(int(argv.size()), argv.data(), o, error), c.ok) << error;
        EXPECT_EQ(error.empty(), c.ok);
        if (c.ok) {
            EXPECT_EQ(std::tuple(o.port, o.once), std::tuple(c.port, c.once));
        }
    }
}

}  // namespace
}  // namespace orvane::demo::testing
