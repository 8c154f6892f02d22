#include "../recording_target.h"
#include "app/forwarding.h"
#include "app/startup_scan.h"
#include "app/win32/command_args.h"
#include "app/win32/forwarded_line.h"
#include "app/win32/forwarding_client.h"
#include "app/win32/window_placement.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace orvane {
namespace {

using Args = std::vector<std::wstring>;
using Calls = std::vector<std::wstring>;

TEST(CommandArgs, AJoinedLineSplitsBackIntoTheSameArguments) {
    const Args args = {L"C:\\Program Files\\Orvane\\orvane.exe", L"-capture", L"C:\\my dir\\", L"", L"say \"hi\"",
                       L"a\\\\\"b", L"tab\there", L"\\\\server\\share\\x.bin", L"-ssname", L"\u00e9l\u00e8ve"};
    EXPECT_EQ(splitCommandLine(joinCommandLine(args).c_str()), args);
}

// A target that also plays the running instance's part of the play-done event.
class EventTarget : public test::RecordingTarget {
public:
    void signalPlayDone() override {
        RecordingTarget::signalPlayDone();
        const HANDLE done = CreateEventW(nullptr, TRUE, FALSE, kPlayDoneEventName);
        SetEvent(done);
        CloseHandle(done);
    }
};

// A window of the main window's class whose WM_COPYDATA goes through the
// real receiving code into a recording target.
class RunningInstance {
public:
    RunningInstance() {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = procedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = kMainWindowClassName;
        RegisterClassW(&windowClass);
        window = CreateWindowW(kMainWindowClassName, L"", 0, 0, 0, 10, 10, nullptr, nullptr, windowClass.hInstance, nullptr);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        gate.openAfterStartup();
    }
    ~RunningInstance() {
        DestroyWindow(window);
        UnregisterClassW(kMainWindowClassName, GetModuleHandleW(nullptr));
    }

    HWND window = nullptr;
    ForwardGate gate;
    EventTarget target;

private:
    static LRESULT CALLBACK procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<RunningInstance*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (message == WM_COPYDATA && self != nullptr) return receiveForwardedLine(lParam, self->gate, self->target);
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
};

std::wstring absolute(const wchar_t* path) {
    wchar_t full[MAX_PATH] = {};
    GetFullPathNameW(path, MAX_PATH, full, nullptr);
    return full;
}

TEST(ForwardingClient, TheRunningInstanceAppliesTheLineWithAbsoluteFilesAndItsResultIsTheExitCode) {
    RunningInstance running;
    const Args args = {L"orvane.exe", L"-lan", L"-capture", L"cap.bin", L"-screenshot", L"bad.png"};
    EXPECT_EQ(forwardCommandLine(running.window, args, false), 1);
    const Calls expected = {L"switchMode on", L"startCapture " + absolute(L"cap.bin"),
                            L"saveScreenshot " + absolute(L"bad.png")};
    EXPECT_EQ(running.target.calls, expected);
    EXPECT_EQ(running.target.record.mode, L"lan");

    running.target.calls.clear();
    const Args send = {L"orvane.exe", L"/SEND", L"bad.txt"};
    const DWORD started = GetTickCount();
    EXPECT_EQ(forwardCommandLine(running.window, send, scanStartupRequests(send).send), 1);
    EXPECT_LT(GetTickCount() - started, 5000u);  // the event was set at once
    EXPECT_EQ(running.target.calls.back(), L"signalPlayDone");
}

TEST(ForwardingClient, ForeignCopyDataIsIgnoredAndAClosedGateRefuses) {
    RunningInstance running;
    const std::wstring line = L"orvane.exe -connect";
    COPYDATASTRUCT data{0x1234, static_cast<DWORD>((line.size() + 1) * 2), const_cast<wchar_t*>(line.c_str())};
    EXPECT_EQ(SendMessageW(running.window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)), 0);
    EXPECT_EQ(SendMessageW(running.window, WM_COPYDATA, 0, 0), 0);
    ForwardGate closed;
    data.dwData = kForwardedLineTag;
    EXPECT_EQ(receiveForwardedLine(reinterpret_cast<LPARAM>(&data), closed, running.target), 1);
    EXPECT_EQ(running.target.calls, Calls{});
    EXPECT_EQ(SendMessageW(running.window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)), 0);
    EXPECT_EQ(running.target.calls, Calls{L"connect"});
}

// Other test programs may run a window of the main class at the same time, so
// these tests address their own window and never look one up by class.
TEST(ForwardingClient, AGoneWindowOrAnOverlongLineFailsTheForwarding) {
    HWND gone = nullptr;
    {
        RunningInstance running;
        gone = running.window;
    }
    EXPECT_EQ(forwardCommandLine(gone, Args{L"orvane.exe", L"-connect"}, false), 1);
    RunningInstance running;
    EXPECT_EQ(forwardCommandLine(running.window, Args{L"orvane.exe", L"-capture", std::wstring(40000, L'x')}, false), 1);
    EXPECT_EQ(running.target.calls, Calls{});
    EXPECT_EQ(forwardCommandLine(running.window, Args{L"orvane.exe", L"-capture", std::wstring(30000, L'x')}, false), 0);
    EXPECT_EQ(running.target.calls.size(), 1u);
}

TEST(WindowPlacement, ASavedRectangleIsAppliedOnlyOnAnAttachedMonitor) {
    const std::vector<MonitorRect> monitors = monitorRects();
    ASSERT_FALSE(monitors.empty());
    const MonitorRect& first = monitors.front();
    const std::wstring onIt = L"640x480+" + std::to_wstring(first.left + 10) + L"+" + std::to_wstring(first.top + 10);
    EXPECT_EQ(savedPlacementToApply(onIt), (WindowPlacement{640, 480, first.left + 10, first.top + 10}));
    EXPECT_EQ(savedPlacementToApply(L"640x480+99999+99999"), std::nullopt);
    EXPECT_EQ(savedPlacementToApply(L"640x480"), std::nullopt);
    EXPECT_EQ(savedPlacementToApply(L""), std::nullopt);
}

}  // namespace
}  // namespace orvane
