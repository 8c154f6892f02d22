// The receive pump against one recording session and window: pacing, bell,
// replies, capture, statistics, markers and the per-run byte limit.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "terminal/receive_pump.h"

namespace orvane {
namespace {

std::string str(const uint8_t* p, size_t n) { return std::string(reinterpret_cast<const char*>(p), n); }

// Session and window layer in one: queued bytes go out on drain, and every
// request of the pump lands in one space-separated log.
struct Recorder : ITermSession, PumpHost {
    bool isOpen() const override { return open; } void close() override { open = false; }
    void write(const uint8_t* b, size_t n) override { log("write:" + str(b, n)); }
    int drainReceived(std::vector<uint8_t>& out) override {
        out.assign(queued.begin(), queued.end());
        return queued.clear(), int(out.size());
    }
    void discardReceived() override { queued.clear(); }
    void setNotifyTarget(WindowHandle, unsigned, unsigned) override {}
    bool takeTxActivity() override { return false; }
    bool takeRxActivity() override { return false; }
    uint32_t now() override { return tick; } int64_t microsecondsNow() override { return micros += 5; }
    void paintTerminalNow() override { log("paint"); } void invalidateTerminal() override { log("inval"); }
    void messageBeep() override { log("beep"); } void startBellTimer() override { log("timer"); }
    bool playWav(std::wstring_view p) override { return log("wav:" + std::string(p.begin(), p.end())), wavPlays; }
    void captureWrite(const uint8_t* b, size_t n) override { log("cap" + std::to_string(n)), captured += str(b, n); }
    void statsMarker(const StatMark& m) override { log("mark" + std::to_string(m.kind) + m.label); }
    void relayoutForGrid() override { log("relayout"); }
    void log(const std::string& e) { events += (events.empty() ? "" : " ") + e; }

    bool open = true, wavPlays = true;
    uint32_t tick = 0; int64_t micros = 0;
    std::string queued, events, captured;
};

// At tick `at`, queue `rx` and act: p pump, t tick, x close or reopen the
// session, b end the visual bell, n end the notice. `expect` is the log.
struct Step { uint32_t at; std::string rx; char act; std::string expect; };

struct Pump : ::testing::Test {
    Terminal term; Recorder rec; StatsCounters stats; ReceivePump pump; std::wstring bell = L"ding", wav;

    void run(const std::vector<Step>& steps) {
        for (const Step& s : steps) {
            rec.tick = s.at, rec.queued += s.rx, rec.events.clear();
            const PumpContext c{term, &rec, {bell, wav}, stats, rec};
            if (s.act == 'p') pumpRx(pump, c);
            if (s.act == 't') pumpTick(pump, c);
            if (s.act == 'x') rec.open = !rec.open;
            if (s.act == 'b') endVisualBell(term, rec);
            if (s.act == 'n') endNotice(term);
            EXPECT_EQ(rec.events, s.expect) << "step at " << s.at;
        }
    }
};

TEST_F(Pump, RepaintsArePacedToOnePerFrameAcrossTickWrap) {
    run({{100, "A", 'p', "paint cap1"}, {105, "B", 'p', "cap1"}, {110, "C", 'p', "cap1"}, {116, "", 't', "paint"},
         {132, "", 't', ""}, {148, "D", 'p', "paint cap1"}, {163, "E", 'p', "cap1"}, {164, "F", 't', "paint cap1"}});
    EXPECT_EQ(pump.lastRxTick, 164u);
    run({{0xFFFFFFF8u, "A", 'p', "paint cap1"}, {7, "B", 'p', "cap1"}, {8, "C", 'p', "paint cap1"}});
}

TEST_F(Pump, NeitherABatchThatShowsNothingNorAGridChangeIsHandledTwice) {
    term.geometryChanged = 1;
    // the middle of an APC payload shows nothing
    run({{100, "\x1b_Gab", 'p', "paint cap5"}, {200, "cdef", 'p', "cap4"}, {216, "", 't', "relayout"},
         {232, "", 't', ""}});
}

TEST_F(Pump, RepliesOfABatchGoOutInOneWriteAfterIt) {
    run({{100, "a\x1b[6nb\x1b[c", 'p', "write:\x1b[1;2R\x1b[?62;4;9001c paint cap9"}});
}

TEST_F(Pump, BellModes) {
    const struct { const wchar_t *mode, *path; bool plays; const char* expect; } cases[] = {
        {L"off", L"", true, "paint cap1"},          {L"ding", L"", true, "beep paint cap1"},
        {L"wav", L"", true, "beep paint cap1"},     {L"wav", L"b.wav", false, "wav:b.wav beep paint cap1"},
        {L"wav", L"b.wav", true, "wav:b.wav paint cap1"}, {L"ding", L"b.wav", true, "beep paint cap1"},
        {L"Visual", L"", true, "beep paint cap1"},  {L"visual", L"", true, "inval timer paint cap1"},
    };
    uint32_t at = 1000;
    for (const auto& c : cases) {
        bell = c.mode, wav = c.path, rec.wavPlays = c.plays;
        run({{at += 300, "\a", 'p', c.expect}});
    }
}

TEST_F(Pump, BellRepeatsAreGuardedAcrossTickWrap) {
    run({{0xFFFFFF00u, "\a\a", 'p', "beep paint cap2"}, {0xFFFFFFC7u, "\a", 'p', "paint cap1"},
         {0x10, "\a", 'p', "beep paint cap1"}, {0xD7, "\a", 'p', "paint cap1"},
         {0xD8, "\a", 'p', "beep cap1"}, {0x200, "x", 'p', "paint cap1"}});  // a frame had not passed
}

TEST_F(Pump, VisualBellAndNoticeEndForGood) {
    bell = L"visual";
    term.noticeText = u"Connected", term.noticeUntil = 5000;
    run({{0xFFFFFE00u, "\a", 'p', "inval timer paint cap1"}});
    EXPECT_EQ(term.bellFlashUntil, 0xFFFFFE00u + kVisualBellMs);
    run({{0xFFFFFEEu, "", 'b', "inval"}, {0xFFFFFEFu, "", 'n', ""}});
    EXPECT_TRUE(term.bellFlashUntil == 0 && term.noticeUntil == 0 && term.noticeText.empty());
}

TEST_F(Pump, FloodIsFedInLimitedRunsInOrder) {
    // printable text with line breaks, different at every position within a period of 8730
    std::string all((5 << 20) + 1000, '\n');
    for (size_t i = 0; i < all.size(); ++i) all[i] = i % 97 ? char('!' + i * 7 % 90) : '\n';
    run({{100, all.substr(0, 5 << 20), 'p', "paint cap" + std::to_string(kMaxPumpBytes)},
         {116, all.substr(5 << 20), 't', "paint cap" + std::to_string(all.size() - kMaxPumpBytes)},
         {132, "", 't', ""}});
    EXPECT_TRUE(rec.captured == all) << "capture lost or reordered bytes";
    Terminal whole;
    feed(whole, reinterpret_cast<const uint8_t*>(all.data()), all.size());
    EXPECT_TRUE(whole.grid == term.grid && whole.cursorRow == term.cursorRow && whole.cursorCol == term.cursorCol);
}

TEST_F(Pump, AClosedSessionFeedsNothingAndItsLeftoversAreDropped) {
    run({{100, std::string(kMaxPumpBytes + 10, 'x'), 'p', "paint cap" + std::to_string(kMaxPumpBytes)},
         {101, "", 'x', ""}, {102, "", 'p', ""}, {103, "", 'x', ""}, {500, "Z", 'p', "paint cap1"},
         {600, "", 'x', ""}, {700, "A", 'p', ""}, {716, "B", 't', ""}});
}

TEST_F(Pump, CountersFollowThePumpOnlyWhenOn) {
    for (bool on : {false, true}) {  // off first: it leaves every counter at zero
        term = Terminal{}, pump = ReceivePump{}, stats.enabled = on;
        // an attribute reset marks the terminal dirty but shows nothing new
        run({{100, "A", 'p', "paint cap1"}, {104, "B", 'p', "cap1"}, {116, "", 't', "paint"},
             {200, "\x1b[0m", 'p', "paint cap4"}, {300, "x\x1b_Gxx", 'p', "paint cap6"}, {400, "yy", 'p', "cap2"}});
        const StatsCounters& s = stats;
        const std::vector<int64_t> counts = {s.pumpCalls,      s.pumpEmpty,     s.forcedByRx,   s.wastedRepaints,
                                             s.repaintsSkipped, s.burstsFolded, s.missedUpdates, s.feedUsTotal,
                                             s.feedUsMax,      s.wastedUsTotal};
        EXPECT_EQ(counts, on ? std::vector<int64_t>({6, 1, 4, 1, 1, 1, 0, 25, 5, 5}) : std::vector<int64_t>(10, 0));
    }
}

TEST_F(Pump, StatsMarkersAreTakenAroundTheRepaint) {
    term.statMark = {2, "m", 0, 0};
    run({{100, "A", 'p', "paint cap1"}});  // statistics off: left alone
    stats.enabled = true;
    run({{200, "B", 'p', "mark2m paint cap1"}});
    term.statMark = {1, "go", 0, 0};
    run({{300, "C", 'p', "paint mark1go cap1"}});
    term.statMark = {3, "end", 80, 25};
    run({{400, "", 'p', ""}, {500, "D", 'p', "mark3end paint cap1"}});  // no data: the marker waits
    EXPECT_EQ(term.statMark.kind, 0);
}

}  // namespace
}  // namespace orvane
