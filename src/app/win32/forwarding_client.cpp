#include "app/win32/forwarding_client.h"

#include "app/forwarding.h"
#include "app/instance_closer.h"
#include "app/win32/console_output.h"

#include <vector>

namespace orvane {

namespace {

// Relative to this process's folder; the running instance has its own.
std::wstring absolutePath(const std::wstring& path) {
    const DWORD needed = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (needed == 0) return path;
    std::wstring full(needed, L'\0');
    const DWORD length = GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
    if (length == 0 || length >= needed) return path;
    full.resize(length);
    return full;
}

// The play-done event, held open from before the line is sent: the running
// instance may set it and close its own handle before the line returns, and
// an event nobody holds would vanish with the signal.
class PlayDoneWait {
public:
    explicit PlayDoneWait(bool wanted)
        : event(wanted ? CreateEventW(nullptr, TRUE, FALSE, kPlayDoneEventName) : nullptr) {}
    ~PlayDoneWait() {
        if (event != nullptr) CloseHandle(event);
    }
    PlayDoneWait(const PlayDoneWait&) = delete;
    PlayDoneWait& operator=(const PlayDoneWait&) = delete;

    void wait() const {
        if (event != nullptr) WaitForSingleObject(event, kPlayDoneWaitMs);
    }

private:
    HANDLE event;
};

class WindowedInstances final : public RunningInstances {
public:
    bool findMainWindow() override {
        window = FindWindowW(kMainWindowClassName, nullptr);
        return window != nullptr;
    }

    unsigned long processOfWindow() override {
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        return processId;
    }

    void askToClose() override { PostMessageW(window, WM_CLOSE, 0, 0); }

    Wait waitForEnd(unsigned long processId, unsigned timeoutMs) override {
        const HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
        if (process == nullptr) return Wait::cannotOpen;
        const DWORD outcome = WaitForSingleObject(process, timeoutMs);
        CloseHandle(process);
        return outcome == WAIT_OBJECT_0 ? Wait::ended : Wait::timedOut;
    }

private:
    HWND window = nullptr;
};

}  // namespace

int forwardCommandLine(HWND running, std::span<const std::wstring> args, bool waitForPlayback) {
    const std::wstring line = joinCommandLine(withAbsoluteFiles(args, absolutePath));
    const std::size_t bytes = (line.size() + 1) * sizeof(wchar_t);
    // The running instance refuses larger lines; sending one would only fail there.
    if (bytes > kMaxForwardedBytes) return 1;
    COPYDATASTRUCT data{};
    data.dwData = kForwardedLineTag;
    data.cbData = static_cast<DWORD>(bytes);
    data.lpData = const_cast<wchar_t*>(line.c_str());
    const PlayDoneWait playDone(waitForPlayback);
    DWORD_PTR result = 1;
    const LRESULT delivered = SendMessageTimeoutW(running, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                                                  SMTO_ABORTIFHUNG, kForwardTimeoutMs, &result);
    if (delivered == 0) return 1;
    playDone.wait();
    return static_cast<int>(result);
}

int exitRunningInstances() {
    WindowedInstances instances;
    return closeRunningInstances(instances);
}

std::optional<int> handOffStartup(std::span<const std::wstring> args, const StartupRequests& requests) {
    if (requests.help) {
        showHelp();
        return 0;
    }
    if (requests.exit) return exitRunningInstances();
    const HWND running = FindWindowW(kMainWindowClassName, nullptr);
    if (running == nullptr) return std::nullopt;
    return forwardCommandLine(running, args, requests.send);
}

}  // namespace orvane
