// A later orvane.exe hands its command line to the running one: the running
// instance applies it and the later process exits with the result.
#include "e2e_support.h"

#include "terminal/palette.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace orvane::e2e {
namespace {

constexpr int kConnectButton = 1006;
constexpr int kDisplayModeBox = 1014;
constexpr int kPaletteBox = 1015;
constexpr DWORD kForwardTimeoutMs = 20000;

// One forwarded line and what the running window shows afterwards. "{port}"
// stands for the demo device's port; a null text is not checked. With a
// palette, the showcase's red swatches must be painted in its red.
struct ForwardedLine {
    const wchar_t* arguments;
    const wchar_t* status;
    int control;
    const wchar_t* controlText;
    bool controlsEnabled;
    const Palette* palette = nullptr;
};

const ForwardedLine kForwardedLines[] = {
    {L"-lan -host 127.0.0.1 -netport {port} -proto tcp -connect", L"Connected 127.0.0.1:{port} (TCP)", kConnectButton,
     L"Disconnect", true, &kCampbellPalette},
    {L"-palette PuTTY", nullptr, kPaletteBox, L"PuTTY", true, &kPuttyPalette},
    {L"-palette Campbell", nullptr, kPaletteBox, L"Campbell", true, &kCampbellPalette},
    {L"-displaymode hex", nullptr, kDisplayModeBox, L"HEX", true},
    {L"/DisplayMode ascii", nullptr, kDisplayModeBox, L"ASCII", true},
    {L"-lock", L"GUI locked - CLI control only (the [X] still closes it)", 0, nullptr, false},
    {L"-displaymode ansi", nullptr, kDisplayModeBox, L"ANSI", false},
    {L"-unlock", L"GUI unlocked", 0, nullptr, true},
    {L"-connect", L"GUI unlocked", kConnectButton, L"Disconnect", true},  // already connected: nothing happens
    {L"-disconnect", L"Disconnected", kConnectButton, L"Connect", true},
    {L"", L"Disconnected", kConnectButton, L"Connect", true},  // a bare line applies nothing
    {L"-connect", L"Connected 127.0.0.1:{port} (TCP)", kConnectButton, L"Disconnect", true},
    {L"-noconnect", L"Disconnected", kConnectButton, L"Connect", true},
};

std::wstring withPort(const wchar_t* text, int port) {
    std::wstring out = text;
    const std::wstring marker = L"{port}";
    for (size_t at; (at = out.find(marker)) != std::wstring::npos;) {
        out.replace(at, marker.size(), std::to_wstring(port));
    }
    return out;
}

// A "-help" run: its exit code and the title of the box it showed, if any
// (the box is dismissed so that the process can end).
struct HelpRun {
    std::optional<DWORD> exitCode;
    std::wstring boxTitle;
};

HelpRun runHelp(const AppFolder& folder, const wchar_t* arguments, DWORD creationFlags) {
    const Process help(folder.exe(), arguments, nullptr, creationFlags);
    HelpRun run;
    HWND box = nullptr;
    waitUntil([&] { return help.exitCode(0) || (box = topWindowOf(help.id(), L"#32770")) != nullptr; },
              kForwardTimeoutMs);
    if (box) {
        run.boxTitle = windowText(box);
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    }
    run.exitCode = help.exitCode(kForwardTimeoutMs);
    return run;
}

std::string narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

TEST(Forwarding, LaterInstancesDriveTheRunningOneAndExitClosesIt) {
    DemoDevice device(false);
    ASSERT_NE(device.port(), 0) << "the demo device did not report its port";
    RunningApp app(L"-lan -inputmode char");
    HWND window = app.window();
    ASSERT_NE(window, nullptr) << "no main window";

    for (const ForwardedLine& line : kForwardedLines) {
        const std::wstring arguments = withPort(line.arguments, device.port());
        SCOPED_TRACE("forwarded: " + narrow(arguments));
        const DWORD start = GetTickCount();
        EXPECT_EQ(app.runAgain(arguments, kForwardTimeoutMs), std::optional<DWORD>(0));
        // The line is applied before the sender returns, so the window shows it now.
        if (line.status) {
            EXPECT_EQ(statusText(window), withPort(line.status, device.port()));
        }
        if (line.control) {
            EXPECT_EQ(windowText(GetDlgItem(window, line.control)), line.controlText);
        }
        if (line.palette) {
            const uint32_t red = (*line.palette)[1];
            EXPECT_TRUE(waitUntil([&] { return countColour(terminalPixels(window), red) >= 200; }, kForwardTimeoutMs))
                << "the screen does not show the palette's red";
        }
        EXPECT_EQ(IsWindowEnabled(GetDlgItem(window, kConnectButton)) != FALSE, line.controlsEnabled);
        std::printf("forwarded %-60s %5lu ms\n", narrow(arguments).c_str(), GetTickCount() - start);
    }
    EXPECT_EQ(anyMainWindow(), window) << "a later instance opened a window of its own";

    // Help wins over everything else on the line, also with an instance running.
    const HelpRun help = runHelp(app.folder(), L"-help -connect", DETACHED_PROCESS);
    EXPECT_EQ(help.exitCode, std::optional<DWORD>(0));
    EXPECT_EQ(help.boxTitle, L"Orvane - command-line options");
    EXPECT_EQ(statusText(window), L"Disconnected") << "-help must not forward its -connect";

    EXPECT_EQ(app.runAgain(L"-exit", kForwardTimeoutMs), std::optional<DWORD>(0));
    EXPECT_EQ(app.process().exitCode(0), std::optional<DWORD>(0)) << "-exit returned before the instance ended";
    // Nothing runs now: "-exit" has nothing to close and says so with success.
    EXPECT_EQ(app.runAgain(L"-exit", kForwardTimeoutMs), std::optional<DWORD>(0));
    EXPECT_EQ(anyMainWindow(), nullptr);
    // And help with nothing running starts nothing either.
    const HelpRun alone = runHelp(app.folder(), L"/?", DETACHED_PROCESS);
    EXPECT_EQ(alone.exitCode, std::optional<DWORD>(0));
    EXPECT_EQ(alone.boxTitle, L"Orvane - command-line options");
    EXPECT_EQ(anyMainWindow(), nullptr);
}

}  // namespace
}  // namespace orvane::e2e
