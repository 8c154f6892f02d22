#include "app/forwarding.h"
#include "app/instance_closer.h"
#include "app/startup_scan.h"
#include "recording_target.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <optional>
#include <tuple>
#include <string>
#include <vector>

namespace orvane {
namespace {

using test::commandLine;
using test::RecordingTarget;
using Args = std::vector<std::wstring>;

TEST(StartupScan, FindsProcessOptionsAnywhereButInTheProgramNameInEitherFormAndCase) {
    const std::pair<const wchar_t*, StartupRequests> rows[] = {  // diag, help, exit, send, save
        {L"", {}},
        {L"-DIAG /Help", {true, true, false, false, false}},
        {L"/?", {false, true, false, false, false}},
        {L"-port -exit", {false, false, true, false, false}},
        {L"/SEND f.txt -Save", {false, false, false, true, true}},
        {L"send -sendx --save -diagnose", {}},
    };
    for (const auto& [options, expected] : rows) EXPECT_EQ(scanStartupRequests(commandLine(options)), expected) << options;
    EXPECT_EQ(scanStartupRequests(Args{L"-help.exe"}), StartupRequests{});
}

// A sender's buffer of `count` UTF-16 units holding `text`, NULs after it.
std::u16string units(const std::u16string& text, std::size_t count) {
    std::u16string buffer(count, u'\0');
    std::copy_n(text.begin(), std::min(count, text.size()), buffer.begin());
    return buffer;
}

TEST(ForwardedLine, OnlyOurTagWithAnEvenBoundedSizeAndANulInsideIsAccepted) {
    const std::u16string exact = units(u"orvane.exe -connect", 20);
    const std::tuple<unsigned long, const char16_t*, std::size_t, std::optional<std::wstring>> rows[] = {
        {0x4F56, exact.data(), 40, L"orvane.exe -connect"}, {0x4F57, exact.data(), 40, std::nullopt},
        {0x4F56, nullptr, 40, std::nullopt}, {0x4F56, exact.data(), 39, std::nullopt},  // odd
        {0x4F56, exact.data(), 38, std::nullopt},  // NUL left outside
        {0x4F56, exact.data(), 0, std::nullopt}, {0x4F56, exact.data(), 2, std::nullopt},  // "o", no NUL
        {0x4F56, u"\0", 2, L""}, {0x4F56, u"a\0\0\0", 8, L"a"}, {0x4F56, u"a\0\0\0", 7, std::nullopt},  // odd, NUL inside
        {0x4F56, u"\u00e9\u20ac", 6, L"\u00e9\u20ac"},
    };
    for (const auto& [tag, data, bytes, expected] : rows) EXPECT_EQ(acceptForwardedLine(tag, data, bytes), expected) << bytes;
    EXPECT_EQ(kMaxForwardedBytes, 65536u);
    const std::size_t largest = kMaxForwardedBytes / 2;  // units, NUL included
    std::u16string big = units(std::u16string(largest - 1, u'z'), largest + 1);
    EXPECT_EQ(acceptForwardedLine(0x4F56, big.data(), largest * 2), std::wstring(largest - 1, L'z'));
    big[largest - 1] = u'z';  // the NUL now comes one unit too late
    EXPECT_EQ(acceptForwardedLine(0x4F56, big.data(), (largest + 1) * 2), std::nullopt);
}

TEST(ForwardedLine, TheGateRefusesUntilStartupEndsAndWhileALineIsApplied) {
    RecordingTarget target;
    ForwardGate gate;
    EXPECT_EQ(applyForwardedLine(commandLine(L"-connect"), gate, target), 1);
    EXPECT_EQ(target.log, L"");
    gate.openAfterStartup();
    int nested = -1;
    target.onConnect = [&] { nested = applyForwardedLine(commandLine(L"-lock"), gate, target); };
    EXPECT_EQ(applyForwardedLine(commandLine(L"-connect"), gate, target), 0);
    EXPECT_EQ(nested, 1);
    // Once the first line is done the gate lets the next one in.
    EXPECT_EQ(applyForwardedLine(commandLine(L"-lock -screenshot bad.png"), gate, target), 1);
    EXPECT_EQ(target.log, L"connect; lockUi; saveScreenshot bad.png");
}

TEST(ForwardedLine, PersistenceFollowsSaveWhileTheLineRunsAndGetsItsValueBack) {
    for (const bool before : {true, false}) {
        for (const bool save : {false, true}) {
            RecordingTarget target;
            ForwardGate gate;
            gate.openAfterStartup();
            persistSettings = before;
            EXPECT_EQ(applyForwardedLine(commandLine(save ? L"-baud 9600 /SAVE" : L"-baud 9600"), gate, target), 0);
            EXPECT_EQ(target.log, save ? L"selectBaud 9600; reapplyLineSettings; save" : L"selectBaud 9600; reapplyLineSettings");
            EXPECT_EQ(target.persistAtLastCall, save);
            EXPECT_EQ(persistSettings, before);
        }
    }
    persistSettings = true;
}

TEST(Forwarding, FileValuesAreMadeAbsoluteOptionsAndOtherValuesAreNot) {
    const auto args = commandLine(L"-capture c.bin -port -capture /PLAY p.txt -bgimage None -bgimage bg.png -ssfolder shots "
                                  L"-ssname base -bellwav b.wav -send s.txt -screenshot '' x.png -screenshot");
    const auto expected = commandLine(L"-capture C:\\w\\c.bin -port -capture /PLAY C:\\w\\p.txt -bgimage None -bgimage "
                                      L"C:\\w\\bg.png -ssfolder C:\\w\\shots -ssname base -bellwav C:\\w\\b.wav "
                                      L"-send C:\\w\\s.txt -screenshot '' x.png -screenshot");
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

// Instances that close when asked unless their wait says otherwise.
struct FakeInstances : RunningInstances {
    std::deque<std::pair<unsigned long, Wait>> running;  // process id and how waiting for its end goes
    int asked = 0;
    bool findMainWindow() override { return !running.empty(); }
    unsigned long processOfWindow() override { return running.front().first; }
    void askToClose() override { ++asked; }
    Wait waitForEnd(unsigned long processId, unsigned timeoutMs) override {
        EXPECT_EQ(processId, running.front().first);
        EXPECT_EQ(timeoutMs, 5000u);
        const Wait wait = running.front().second;
        if (wait == Wait::ended) running.pop_front();
        return wait;
    }
};

TEST(ExitRequest, ClosesInstancesInTurnAndGivesUpAfterBoundedRounds) {
    using enum RunningInstances::Wait;
    const std::tuple<decltype(FakeInstances::running), int, int> rows[] = {  // running, exit code, times asked
        {{}, 0, 0}, {{{12, ended}, {34, ended}}, 0, 2}, {{{12, timedOut}}, 1, kCloseRounds}, {{{0, ended}}, 0, 0},
        {{{12, cannotOpen}}, 0, 1},
    };
    for (const auto& [running, exitCode, asked] : rows) {
        FakeInstances instances;
        instances.running = running;
        EXPECT_EQ(closeRunningInstances(instances), exitCode);
        EXPECT_EQ(instances.asked, asked);
    }
}

}  // namespace
}  // namespace orvane
