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

using test::commandLine;

TEST(CommandArgs, AJoinedLineSplitsBackIntoTheSameArguments) {
    const std::vector<std::wstring> args = {L"C:\\Program Files\\Orvane\\orvane.exe", L"-capture", L"C:\\my dir\\", L"",
                                            L"say \"hi\"", L"a\\\\\"b", L"tab\there", L"\\\\server\\share\\x.bin",
                                            L"-ssname", L"\u00e9l\u00e8ve"};
    EXPECT_EQ(splitCommandLine(joinCommandLine(args).c_str()), args);
}

// A window of the main window's class whose WM_COPYDATA goes through the real
// receiving code into a recording target that also sets the play-done event.
// Other test programs may run a window of that class at the same time, so the
// tests address their own window and never look one up by class.
class RunningInstance : public test::RecordingTarget {
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
    ~RunningInstance() override {
        DestroyWindow(window);
        UnregisterClassW(kMainWindowClassName, GetModuleHandleW(nullptr));
    }
    void signalPlayDone() override {
        RecordingTarget::signalPlayDone();
        const HANDLE done = CreateEventW(nullptr, TRUE, FALSE, kPlayDoneEventName);
        SetEvent(done);
        CloseHandle(done);
    }
    int forward(std::wstring_view options) {
        const auto args = commandLine(options);
        return forwardCommandLine(window, args, scanStartupRequests(args).send);
    }

    HWND window = nullptr;
    ForwardGate gate;

private:
    static LRESULT CALLBACK procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<RunningInstance*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (message == WM_COPYDATA && self != nullptr) return receiveForwardedLine(lParam, self->gate, *self);
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
    EXPECT_EQ(running.forward(L"-lan -capture cap.bin -screenshot bad.png"), 1);
    EXPECT_EQ(running.log, L"switchMode on; startCapture " + absolute(L"cap.bin") + L"; saveScreenshot " + absolute(L"bad.png"));
    EXPECT_EQ(running.record.mode, L"lan");
    const DWORD started = GetTickCount();
    EXPECT_EQ(running.forward(L"/SEND bad.txt"), 1);
    EXPECT_LT(GetTickCount() - started, 5000u);  // the event was set at once
    EXPECT_TRUE(running.log.ends_with(L"; signalPlayDone"));
}

TEST(ForwardingClient, ForeignCopyDataIsIgnoredAndAClosedGateRefuses) {
    RunningInstance running;
    const std::wstring line = L"orvane.exe -connect";
    COPYDATASTRUCT data{0x1234, static_cast<DWORD>((line.size() + 1) * 2), const_cast<wchar_t*>(line.c_str())};
    EXPECT_EQ(SendMessageW(running.window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)), 0);
    EXPECT_EQ(SendMessageW(running.window, WM_COPYDATA, 0, 0), 0);
    ForwardGate closed;
    data.dwData = kForwardedLineTag;
    EXPECT_EQ(receiveForwardedLine(reinterpret_cast<LPARAM>(&data), closed, running), 1);
    EXPECT_EQ(running.log, L"");
    EXPECT_EQ(SendMessageW(running.window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)), 0);
    EXPECT_EQ(running.log, L"connect");
}

TEST(ForwardingClient, AGoneWindowOrAnOverlongLineFailsTheForwarding) {
    HWND gone = RunningInstance().window;
    EXPECT_EQ(forwardCommandLine(gone, commandLine(L"-connect"), false), 1);
    RunningInstance running;
    EXPECT_EQ(running.forward(L"-capture " + std::wstring(40000, L'x')), 1);
    EXPECT_EQ(running.log, L"");
    EXPECT_EQ(running.forward(L"-capture " + std::wstring(30000, L'x')), 0);
    EXPECT_TRUE(running.log.starts_with(L"startCapture "));
}

TEST(WindowPlacement, ASavedRectangleIsAppliedOnlyOnAnAttachedMonitor) {
    const std::vector<MonitorRect> monitors = monitorRects();
    ASSERT_FALSE(monitors.empty());
    const int left = monitors.front().left + 10, top = monitors.front().top + 10;
    const std::wstring onIt = L"640x480+" + std::to_wstring(left) + L"+" + std::to_wstring(top);
    EXPECT_EQ(savedPlacementToApply(onIt), (WindowPlacement{640, 480, left, top}));
    for (const wchar_t* off : {L"640x480+99999+99999", L"640x480", L""}) EXPECT_EQ(savedPlacementToApply(off), std::nullopt) << off;
}

}  // namespace
}  // namespace orvane
