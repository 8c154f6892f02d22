#include "app/forwarding.h"
#include "app/instance_closer.h"
#include "app/startup_scan.h"
#include "recording_target.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <string>
#include <vector>

namespace orvane {
namespace {

using test::RecordingTarget;
using Args = std::vector<std::wstring>;
using Calls = std::vector<std::wstring>;

TEST(StartupScan, FindsProcessOptionsAnywhereInEitherFormAndCase) {
    struct Row {
        Args args;
        StartupRequests expected;
    };
    const Row rows[] = {
        {{L"orvane.exe"}, {}},
        {{L"-help.exe", L"-DIAG", L"/Help"}, {true, true, false, false, false}},
        {{L"x", L"/?"}, {false, true, false, false, false}},
        {{L"x", L"-port", L"-exit"}, {false, false, true, false, false}},
        {{L"x", L"/SEND", L"f.txt", L"-Save"}, {false, false, false, true, true}},
        {{L"x", L"send", L"-sendx", L"--save", L"-diagnose"}, {}},
    };
    for (const Row& row : rows) EXPECT_EQ(scanStartupRequests(row.args), row.expected) << row.args.back();
}

// A sender's buffer of `count` UTF-16 units holding `text`, NULs after it.
std::u16string units(const std::u16string& text, std::size_t count) {
    std::u16string buffer(count, u'\0');
    std::copy_n(text.begin(), std::min(count, text.size()), buffer.begin());
    return buffer;
}

TEST(ForwardedLine, OnlyOurTagWithAnEvenBoundedSizeAndANulInsideIsAccepted) {
    const std::u16string exact = units(u"orvane.exe -connect", 20);
    const std::size_t bytes = exact.size() * 2;
    EXPECT_EQ(acceptForwardedLine(0x4F56, exact.data(), bytes), L"orvane.exe -connect");
    EXPECT_EQ(acceptForwardedLine(0x4F57, exact.data(), bytes), std::nullopt);
    EXPECT_EQ(acceptForwardedLine(0x4F56, nullptr, bytes), std::nullopt);
    EXPECT_EQ(acceptForwardedLine(0x4F56, exact.data(), bytes - 1), std::nullopt);  // odd
    EXPECT_EQ(acceptForwardedLine(0x4F56, exact.data(), bytes - 2), std::nullopt);  // NUL left outside
    EXPECT_EQ(acceptForwardedLine(0x4F56, exact.data(), 0), std::nullopt);
    EXPECT_EQ(acceptForwardedLine(0x4F56, exact.data(), 2), std::nullopt);  // "o", no NUL
    EXPECT_EQ(acceptForwardedLine(0x4F56, units(u"", 1).data(), 2), L"");
    EXPECT_EQ(acceptForwardedLine(0x4F56, units(u"a", 4).data(), 8), L"a");
    EXPECT_EQ(acceptForwardedLine(0x4F56, units(u"a", 4).data(), 7), std::nullopt);  // odd, NUL inside
    EXPECT_EQ(acceptForwardedLine(0x4F56, u"\u00e9\u20ac", 6), L"\u00e9\u20ac");

    EXPECT_EQ(kMaxForwardedBytes, 65536u);
    const std::size_t largest = kMaxForwardedBytes / 2;  // units, NUL included
    std::u16string big = units(std::u16string(largest - 1, u'z'), largest + 1);
    EXPECT_EQ(acceptForwardedLine(0x4F56, big.data(), largest * 2), std::wstring(largest - 1, L'z'));
    big[largest - 1] = u'z';  // the NUL now comes one unit too late
    EXPECT_EQ(acceptForwardedLine(0x4F56, big.data(), (largest + 1) * 2), std::nullopt);
}

TEST(ForwardedLine, TheGateRefusesUntilStartupEndsAndWhileALineIsApplied) {
    const Args connect = {L"orvane.exe", L"-connect"};
    RecordingTarget target;
    ForwardGate gate;
    EXPECT_EQ(applyForwardedLine(connect, gate, target), 1);
    EXPECT_EQ(target.calls, Calls{});

    gate.openAfterStartup();
    int nested = -1;
    target.onConnect = [&] { nested = applyForwardedLine({{L"orvane.exe", L"-lock"}}, gate, target); };
    EXPECT_EQ(applyForwardedLine(connect, gate, target), 0);
    EXPECT_EQ(nested, 1);
    EXPECT_EQ(target.calls, Calls{L"connect"});
    // Once the first line is done the gate lets the next one in.
    EXPECT_EQ(applyForwardedLine(Args{L"orvane.exe", L"-lock", L"-screenshot", L"bad.png"}, gate, target), 1);
    EXPECT_EQ(target.calls.back(), L"saveScreenshot bad.png");
}

TEST(ForwardedLine, PersistenceFollowsSaveWhileTheLineRunsAndGetsItsValueBack) {
    for (const bool before : {true, false}) {
        for (const bool save : {false, true}) {
            RecordingTarget target;
            ForwardGate gate;
            gate.openAfterStartup();
            persistSettings = before;
            Args args = {L"orvane.exe", L"-baud", L"9600"};
            if (save) args.push_back(L"/SAVE");
            EXPECT_EQ(applyForwardedLine(args, gate, target), 0);
            EXPECT_EQ(target.record.baud, L"9600");
            const Calls live = {L"selectBaud 9600", L"reapplyLineSettings"};
            Calls expected = live;
            if (save) expected.push_back(L"save");
            EXPECT_EQ(target.calls, expected);
            EXPECT_EQ(target.persistAtLastCall, save);
            EXPECT_EQ(persistSettings, before);
        }
    }
    persistSettings = true;
}

TEST(Forwarding, FileValuesAreMadeAbsoluteOptionsAndOtherValuesAreNot) {
    const Args args = {L"orvane.exe", L"-capture", L"c.bin", L"-port", L"-capture", L"/PLAY", L"p.txt",
                       L"-bgimage", L"None", L"-bgimage", L"bg.png", L"-ssfolder", L"shots", L"-ssname", L"base",
                       L"-bellwav", L"b.wav", L"-send", L"s.txt", L"-screenshot", L"", L"x.png", L"-screenshot"};
    const Args expected = {L"orvane.exe", L"-capture", L"C:\\w\\c.bin", L"-port", L"-capture", L"/PLAY", L"C:\\w\\p.txt",
                           L"-bgimage", L"None", L"-bgimage", L"C:\\w\\bg.png", L"-ssfolder", L"C:\\w\\shots",
                           L"-ssname", L"base", L"-bellwav", L"C:\\w\\b.wav", L"-send", L"C:\\w\\s.txt",
                           L"-screenshot", L"", L"x.png", L"-screenshot"};
    EXPECT_EQ(withAbsoluteFiles(args, [](const std::wstring& path) { return L"C:\\w\\" + path; }), expected);
}

TEST(Forwarding, JoinedArgumentsQuoteWhatSplittingWouldBreak) {
    const std::pair<Args, std::wstring> rows[] = {
        {{L"orvane.exe"}, L"orvane.exe"},
        {{L"C:\\Program Files\\orvane.exe", L"-connect"}, L"\"C:\\Program Files\\orvane.exe\" -connect"},
        {{L"o", L"a b", L"", L"\t"}, L"o \"a b\" \"\" \"\t\""},
        {{L"o", L"C:\\dir\\", L"C:\\my dir\\"}, L"o C:\\dir\\ \"C:\\my dir\\\\\""},
        {{L"o", L"say \"hi\""}, L"o \"say \\\"hi\\\"\""},
        {{L"o", L"a\\\"b"}, L"o \"a\\\\\\\"b\""},
        {{L"o", L"a\\\\b c"}, L"o \"a\\\\b c\""},
    };
    for (const auto& [args, expected] : rows) EXPECT_EQ(joinCommandLine(args), expected) << expected;
}

// Instances that close when asked unless told otherwise.
class FakeInstances : public RunningInstances {
public:
    struct Instance {
        unsigned long processId;
        Wait onWait;
    };
    std::deque<Instance> running;
    int asked = 0;

    bool findMainWindow() override { return !running.empty(); }
    unsigned long processOfWindow() override { return running.front().processId; }
    void askToClose() override { ++asked; }
    Wait waitForEnd(unsigned long processId, unsigned timeoutMs) override {
        EXPECT_EQ(processId, running.front().processId);
        EXPECT_EQ(timeoutMs, 5000u);
        const Wait wait = running.front().onWait;
        if (wait == Wait::ended) running.pop_front();
        return wait;
    }
};

TEST(ExitRequest, ClosesInstancesInTurnAndGivesUpAfterBoundedRounds) {
    using Wait = RunningInstances::Wait;
    struct Row {
        std::deque<FakeInstances::Instance> running;
        int exitCode;
        int asked;
    };
    const Row rows[] = {
        {{}, 0, 0},
        {{{12, Wait::ended}, {34, Wait::ended}}, 0, 2},
        {{{12, Wait::timedOut}}, 1, kCloseRounds},
        {{{0, Wait::ended}}, 0, 0},
        {{{12, Wait::cannotOpen}}, 0, 1},
    };
    for (const Row& row : rows) {
        FakeInstances instances;
        instances.running = row.running;
        EXPECT_EQ(closeRunningInstances(instances), row.exitCode);
        EXPECT_EQ(instances.asked, row.asked);
    }
}

}  // namespace
}  // namespace orvane
