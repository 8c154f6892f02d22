// A later orvane.exe hands its command line to the running one: the running
// instance applies it and the later process exits with the result.
#include "e2e_support.h"

#include "terminal/palette.h"

#include <gtest/gtest.h>

#include <atomic>
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

// A stand-in for the running instance, in this process: a window of the
// program's class on a thread of its own that records the forwarded line and
// answers with a chosen result, after stalling (not reading its messages) for
// a while if asked.
class StandInInstance {
public:
    StandInInstance(LRESULT result, DWORD stallMs) : answer(result) {
        thread = CreateThread(nullptr, 0, run, this, 0, nullptr);
        waitUntil([&] { return window.load() != nullptr; }, kForwardTimeoutMs);
        stall = stallMs;
        ready.store(true);
    }
    ~StandInInstance() {
        SetEvent(release);
        PostMessageW(window.load(), WM_CLOSE, 0, 0);
        WaitForSingleObject(thread, kForwardTimeoutMs);
        CloseHandle(thread);
        CloseHandle(release);
    }
    StandInInstance(const StandInInstance&) = delete;
    StandInInstance& operator=(const StandInInstance&) = delete;

    HWND hwnd() const { return window.load(); }
    std::wstring line;

private:
    static LRESULT CALLBACK procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<StandInInstance*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (message == WM_COPYDATA && self) {
            const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
            if (data->dwData != 0x4F56 || data->cbData < 2 || data->cbData % 2 != 0) return 0;
            const auto* units = static_cast<const wchar_t*>(data->lpData);
            const size_t count = data->cbData / 2;
            if (units[count - 1] != L'\0') return 0;  // the NUL must travel with the line
            self->line.assign(units, count - 1);
            return self->answer;
        }
        if (message == WM_CLOSE) {
            DestroyWindow(hwnd);
            PostQuitMessage(0);
            return 0;
        }
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }

    static DWORD WINAPI run(void* param) {
        auto* self = static_cast<StandInInstance*>(param);
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = procedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"OrvaneMainWnd";
        RegisterClassW(&windowClass);
        HWND created = CreateWindowW(L"OrvaneMainWnd", L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                     windowClass.hInstance, nullptr);
        SetWindowLongPtrW(created, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->window.store(created);
        while (!self->ready.load()) Sleep(1);
        WaitForSingleObject(self->release, self->stall);
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
        UnregisterClassW(L"OrvaneMainWnd", windowClass.hInstance);
        return 0;
    }

    LRESULT answer;
    DWORD stall = 0;
    std::atomic<bool> ready{false};
    std::atomic<HWND> window{nullptr};
    HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);  // ends a stall early
    HANDLE thread = nullptr;
};

// The sending side of the protocol: the whole command line with its NUL, file
// arguments made absolute, the receiver's result as the exit code, and exit
// code 1 when the receiver does not take the line.
TEST(Forwarding, LaterInstanceSendsTheWholeLineAndExitsWithTheResult) {
    const AppFolder folder;
    {
        const StandInInstance receiver(7, 0);
        const Process later(folder.exe(), L"-displaymode hex -capture relative.log", nullptr, 0);
        EXPECT_EQ(later.exitCode(kForwardTimeoutMs), std::optional<DWORD>(7));
        wchar_t current[MAX_PATH]{};
        GetCurrentDirectoryW(MAX_PATH, current);
        const std::wstring absolute = std::wstring(current) + L"\\relative.log";
        EXPECT_NE(receiver.line.find(L"-displaymode hex -capture "), std::wstring::npos) << narrow(receiver.line);
        EXPECT_NE(receiver.line.find(absolute), std::wstring::npos) << narrow(receiver.line);
    }
    {
        // A receiver that reads no messages for longer than the system allows is hung.
        const StandInInstance receiver(0, 15000);
        ASSERT_TRUE(waitUntil([&] { return IsHungAppWindow(receiver.hwnd()) != FALSE; }, 10000));
        const Process later(folder.exe(), L"-disconnect", nullptr, 0);
        EXPECT_EQ(later.exitCode(kForwardTimeoutMs), std::optional<DWORD>(1));
    }
}

}  // namespace
}  // namespace orvane::e2e
