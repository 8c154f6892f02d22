// The receive pump against a scripted session and window: pacing, bell,
// replies, capture, statistics and the per-run byte limit.
#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "terminal/receive_pump.h"

namespace orvane {
namespace {

std::string bytesText(const uint8_t* p, size_t n) { return std::string(reinterpret_cast<const char*>(p), n); }

// Chunks queued by the test, writes recorded into the shared event log.
class ScriptedSession : public ITermSession {
public:
    explicit ScriptedSession(std::vector<std::string>& events) : events_(events) {}
    bool isOpen() const override { return open; }
    void close() override { open = false; }
    void write(const uint8_t* bytes, size_t length) override {
        events_.push_back("write:" + bytesText(bytes, length));
    }
    int drainReceived(std::vector<uint8_t>& out) override {
        out.clear();
        for (const std::string& chunk : queued) out.insert(out.end(), chunk.begin(), chunk.end());
        queued.clear();
        return int(out.size());
    }
    void discardReceived() override { queued.clear(); }
    void setNotifyTarget(WindowHandle, unsigned, unsigned) override {}
    bool takeTxActivity() override { return false; }
    bool takeRxActivity() override { return false; }

    bool open = true;
    std::deque<std::string> queued;

private:
    std::vector<std::string>& events_;
};

// The window layer as a log of what the pump asked of it.
class RecordingHost : public PumpHost {
public:
    uint32_t now() override { return tick; }
    int64_t microsecondsNow() override { return micros += microsStep; }
    void paintTerminalNow() override { events.push_back("paint"); }
    void invalidateTerminal() override { events.push_back("inval"); }
    void messageBeep() override { events.push_back("beep"); }
    bool playWav(std::wstring_view path) override {
        events.push_back("wav:" + std::string(path.begin(), path.end()));
        return wavPlays;
    }
    void startBellTimer() override { events.push_back("bell-timer"); }
    void captureWrite(const uint8_t* bytes, size_t count) override {
        events.push_back("capture:" + std::to_string(count));
        captured += bytesText(bytes, count);
    }
    void statsMarker(const StatMark& mark) override {
        events.push_back("marker:" + std::to_string(mark.kind) + ":" + mark.label);
    }
    void relayoutForGrid() override { events.push_back("relayout"); }

    std::vector<std::string> events;
    uint32_t tick = 0;
    int64_t micros = 0;
    int64_t microsStep = 1;
    bool wavPlays = true;
    std::string captured;
};

enum class Act { Pump, Tick, Close, BellEnd };

// At tick `at`, queue `rx` (if any) and act; `expect` lists the events of
// this step in order, separated by spaces.
struct Step {
    uint32_t at;
    const char* rx;
    Act act;
    std::string expect;
};

struct PumpFixture : ::testing::Test {
    Terminal term;
    RecordingHost host;
    ScriptedSession session{host.events};
    StatsCounters stats;
    ReceivePump pump;
    std::wstring bellMode = L"ding";
    std::wstring bellWav;

    PumpContext context() { return {term, &session, {bellMode, bellWav}, stats, host}; }

    std::string act(Act a) {
        host.events.clear();
        switch (a) {
        case Act::Pump: pumpRx(pump, context()); break;
        case Act::Tick: pumpTick(pump, context()); break;
        case Act::Close: session.close(); break;
        case Act::BellEnd: endVisualBell(term, host); break;
        }
        std::string joined;
        for (const std::string& e : host.events) joined += (joined.empty() ? "" : " ") + e;
        return joined;
    }

    void run(std::initializer_list<Step> steps) {
        int index = 0;
        for (const Step& s : steps) {
            host.tick = s.at;
            if (s.rx != nullptr) session.queued.push_back(s.rx);
            EXPECT_EQ(act(s.act), s.expect) << "step " << index << " at " << s.at;
            ++index;
        }
    }
};

TEST_F(PumpFixture, RepaintsArePacedToOnePerFrame) {
    run({
        {100, "A", Act::Pump, "paint capture:1"},
        // 5 ms later: folded into a repaint the next tick delivers
        {105, "B", Act::Pump, "capture:1"},
        {110, "C", Act::Pump, "capture:1"},
        {116, nullptr, Act::Tick, "paint"},
        {132, nullptr, Act::Tick, ""},
        // exactly one frame after the last paint: painted at once
        {148, "D", Act::Pump, "paint capture:1"},
        {163, "E", Act::Pump, "capture:1"},
        {164, "F", Act::Tick, "paint capture:1"},
    });
    EXPECT_EQ(host.captured, "ABCDEF");
    EXPECT_EQ(pump.lastRxTick, 164u);
}

TEST_F(PumpFixture, PacingSurvivesTickWrap) {
    run({
        {0xFFFFFFF8u, "A", Act::Pump, "paint capture:1"},
        {0x00000007u, "B", Act::Pump, "capture:1"},
        {0x00000008u, "C", Act::Pump, "paint capture:1"},
    });
}

TEST_F(PumpFixture, BatchThatDirtiesNothingIsNotRepainted) {
    run({
        {100, "\x1b_Gab", Act::Pump, "paint capture:5"},
        // the middle of an APC payload shows nothing
        {200, "cdef", Act::Pump, "capture:4"},
        {216, nullptr, Act::Tick, ""},
    });
}

TEST_F(PumpFixture, ClosedSessionFeedsNothing) {
    run({
        {100, nullptr, Act::Close, ""},
        {200, "A", Act::Pump, ""},
        {216, "B", Act::Tick, ""},
    });
    EXPECT_EQ(term.grid[0][0].ch, u' ');
}

TEST_F(PumpFixture, RepliesOfABatchGoOutInOneWriteAfterIt) {
    // The cursor report is for the position after "a", the write comes after "b" too.
    run({{100, "a\x1b[6nb\x1b[c", Act::Pump, "write:\x1b[1;2R\x1b[?62;4;9001c paint capture:9"}});
    EXPECT_EQ(term.grid[0][1].ch, u'b');
}

TEST_F(PumpFixture, GridChangeIsHandedToTheWindowOnce) {
    term.geometryChanged = 1;
    run({{100, nullptr, Act::Tick, "relayout"}, {116, nullptr, Act::Tick, ""}});
}

struct BellCase {
    const wchar_t* mode;
    const wchar_t* wav;
    bool wavPlays;
    const char* expect;
};

TEST_F(PumpFixture, BellModes) {
    const BellCase cases[] = {
        {L"off", L"", true, "paint capture:1"},
        {L"ding", L"", true, "beep paint capture:1"},
        {L"wav", L"", true, "beep paint capture:1"},
        {L"wav", L"b.wav", false, "wav:b.wav beep paint capture:1"},
        {L"wav", L"b.wav", true, "wav:b.wav paint capture:1"},
        {L"ding", L"b.wav", true, "beep paint capture:1"},
        {L"Visual", L"", true, "beep paint capture:1"},
        {L"visual", L"", true, "inval bell-timer paint capture:1"},
    };
    for (const BellCase& c : cases) {
        SCOPED_TRACE(std::wstring(c.mode) + L" " + c.wav);
        pump = ReceivePump{};
        bellMode = c.mode;
        bellWav = c.wav;
        host.wavPlays = c.wavPlays;
        host.tick = 1000;
        session.queued.push_back("\a");
        EXPECT_EQ(act(Act::Pump), c.expect);
        EXPECT_EQ(term.bellPending, 0);
    }
}

TEST_F(PumpFixture, BellRepeatsAreGuardedAcrossTickWrap) {
    run({
        {0xFFFFFF00u, "\a\a", Act::Pump, "beep paint capture:2"},
        {0xFFFFFFC7u, "\a", Act::Pump, "paint capture:1"},
        {0x00000010u, "\a", Act::Pump, "beep paint capture:1"},
        {0x000000D7u, "\a", Act::Pump, "paint capture:1"},
        {0x000000D8u, "\a", Act::Pump, "beep capture:1"},  // a frame has not passed
    });
}

TEST_F(PumpFixture, VisualBellShowsUntilItsTimerEnds) {
    bellMode = L"visual";
    run({{0xFFFFFE00u, "\a", Act::Pump, "inval bell-timer paint capture:1"}});
    EXPECT_EQ(term.bellFlashUntil, 0xFFFFFE00u + kVisualBellMs);
    run({{0xFFFFFEEu, nullptr, Act::BellEnd, "inval"}});
    EXPECT_EQ(term.bellFlashUntil, 0u);
}

TEST_F(PumpFixture, NoticeEndsForGood) {
    term.noticeText = u"Connected";
    term.noticeUntil = 5000;
    endNotice(term);
    EXPECT_EQ(term.noticeUntil, 0u);
    EXPECT_TRUE(term.noticeText.empty());
}

// Printable text with line breaks, different at every position.
std::string patternBytes(size_t n, size_t seed) {
    std::string s(n, ' ');
    for (size_t i = 0; i < n; ++i) s[i] = (i + seed) % 97 == 0 ? '\n' : char('!' + (i * 7 + seed) % 90);
    return s;
}

TEST_F(PumpFixture, FloodIsFedInLimitedRunsInOrder) {
    const std::string first = patternBytes(3 << 20, 1);
    const std::string second = patternBytes(2 << 20, 2);
    const std::string third = patternBytes(1000, 3);
    const size_t rest = first.size() + second.size() - kMaxPumpBytes;
    session.queued = {first, second};
    run({{100, nullptr, Act::Pump, "paint capture:" + std::to_string(kMaxPumpBytes)}});
    session.queued = {third};
    run({{116, nullptr, Act::Tick, "paint capture:" + std::to_string(rest + third.size())}});
    run({{132, nullptr, Act::Tick, ""}});
    const std::string all = first + second + third;
    EXPECT_TRUE(host.captured == all) << "capture lost or reordered bytes";
    Terminal whole;
    feed(whole, reinterpret_cast<const uint8_t*>(all.data()), all.size());
    EXPECT_TRUE(whole.grid == term.grid);
    EXPECT_EQ(whole.cursorRow, term.cursorRow);
    EXPECT_EQ(whole.cursorCol, term.cursorCol);
}

TEST_F(PumpFixture, BytesLeftFromAClosedSessionAreDropped) {
    session.queued = {patternBytes(kMaxPumpBytes + 10, 4)};
    act(Act::Pump);
    session.close();
    EXPECT_EQ(act(Act::Pump), "");
    session.open = true;
    session.queued = {"Z"};
    host.tick = 500;
    EXPECT_EQ(act(Act::Pump), "paint capture:1");
    EXPECT_EQ(host.captured.size(), kMaxPumpBytes + 1);
    EXPECT_EQ(host.captured.back(), 'Z');
}

// pumpCalls, pumpEmpty, forcedByRx, wastedRepaints, repaintsSkipped,
// burstsFolded, missedUpdates, feedUsTotal, feedUsMax, wastedUsTotal
std::vector<int64_t> pumpCounts(const StatsCounters& s) {
    return {s.pumpCalls,    s.pumpEmpty,   s.forcedByRx, s.wastedRepaints, s.repaintsSkipped,
            s.burstsFolded, s.missedUpdates, s.feedUsTotal, s.feedUsMax,   s.wastedUsTotal};
}

TEST_F(PumpFixture, CountersFollowThePump) {
    stats.enabled = true;
    host.microsStep = 5;
    run({
        {100, "A", Act::Pump, "paint capture:1"},
        {104, "B", Act::Pump, "capture:1"},
        {116, nullptr, Act::Tick, "paint"},
        // an attribute reset marks the terminal dirty but shows nothing new
        {200, "\x1b[0m", Act::Pump, "paint capture:4"},
        {300, "x\x1b_Gxx", Act::Pump, "paint capture:6"},
        {400, "yy", Act::Pump, "capture:2"},
    });
    EXPECT_EQ(pumpCounts(stats), (std::vector<int64_t>{6, 1, 4, 1, 1, 1, 0, 25, 5, 5}));
}

TEST_F(PumpFixture, CountersStayStillWhenOff) {
    run({{100, "A", Act::Pump, "paint capture:1"}, {104, "B", Act::Pump, "capture:1"},
         {116, nullptr, Act::Tick, "paint"}, {200, "\x1b[0m", Act::Pump, "paint capture:4"}});
    EXPECT_EQ(pumpCounts(stats), std::vector<int64_t>(10, 0));
}

TEST_F(PumpFixture, StatsMarkersAreTakenAroundTheRepaint) {
    term.statMark = {2, "m", 0, 0};
    run({{100, "A", Act::Pump, "paint capture:1"}});  // statistics off: left alone
    stats.enabled = true;
    run({{200, "B", Act::Pump, "marker:2:m paint capture:1"}});
    term.statMark = {1, "go", 0, 0};
    run({{300, "C", Act::Pump, "paint marker:1:go capture:1"}});
    term.statMark = {3, "end", 80, 25};
    run({{400, nullptr, Act::Pump, ""}});  // no data: the marker waits
    run({{500, "D", Act::Pump, "marker:3:end paint capture:1"}});
    EXPECT_EQ(term.statMark.kind, 0);
}

}  // namespace
}  // namespace orvane
