// Processes and windows of the real program, driven from outside: a private
// copy of orvane.exe with its own settings, the demo device as the peer, and
// what the running window shows (status text, control state, screen pixels).
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace orvane::e2e {

// Polls `condition` every 20 ms until it holds or `timeoutMs` passed; the
// last answer decides, so a slow machine only costs time.
bool waitUntil(const std::function<bool()>& condition, DWORD timeoutMs);

// A started program; killed on destruction if it still runs.
class Process {
public:
    Process(const std::wstring& exe, const std::wstring& arguments, HANDLE standardOutput = nullptr,
            DWORD creationFlags = 0);
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    bool started() const { return info.hProcess != nullptr; }
    DWORD id() const { return info.dwProcessId; }
    // The exit code, or nothing when the process still runs after `timeoutMs`.
    std::optional<DWORD> exitCode(DWORD timeoutMs) const;

private:
    PROCESS_INFORMATION info{};
};

// A temporary folder holding a copy of orvane.exe and an "Orvane.ini" with
// the disclaimer accepted, so that runs never share settings.
class AppFolder {
public:
    AppFolder();
    ~AppFolder();
    AppFolder(const AppFolder&) = delete;
    AppFolder& operator=(const AppFolder&) = delete;

    const std::wstring& exe() const { return exePath; }
    std::wstring iniValue(const wchar_t* section, const wchar_t* key) const;

private:
    std::wstring folder;
    std::wstring exePath;
};

// The demo device on a free loopback port; with `once` it ends when its
// first client leaves.
class DemoDevice {
public:
    explicit DemoDevice(bool once = true);
    ~DemoDevice();
    DemoDevice(const DemoDevice&) = delete;
    DemoDevice& operator=(const DemoDevice&) = delete;

    // 0 when the device did not report a port in time.
    int port() const { return listeningPort; }
    std::optional<DWORD> exitCode(DWORD timeoutMs) const { return process->exitCode(timeoutMs); }

private:
    HANDLE readEnd = nullptr;
    std::unique_ptr<Process> process;
    int listeningPort = 0;
};

// orvane.exe started from a folder of its own; its window is closed at the end.
class RunningApp {
public:
    explicit RunningApp(const std::wstring& arguments);
    ~RunningApp();
    RunningApp(const RunningApp&) = delete;
    RunningApp& operator=(const RunningApp&) = delete;

    // Null when the window did not show up in time.
    HWND window() const { return mainWindow; }
    const Process& process() const { return *running; }
    const AppFolder& folder() const { return appFolder; }
    // Runs orvane.exe from the same folder again (a later instance) and returns
    // its exit code, or nothing when it did not end in time.
    std::optional<DWORD> runAgain(const std::wstring& arguments, DWORD timeoutMs) const;

private:
    AppFolder appFolder;
    std::unique_ptr<Process> running;
    HWND mainWindow = nullptr;
};

// The main window of the given process, once it exists and is visible.
HWND waitForMainWindow(DWORD processId, DWORD timeoutMs);
// Any main window of the program, whoever owns it.
HWND anyMainWindow();
// A top-level window of the process with the given class, or null.
HWND topWindowOf(DWORD processId, const wchar_t* className);

std::wstring windowText(HWND window);
std::wstring statusText(HWND mainWindow);
// Waits until the status bar shows exactly `expected`; returns the last text seen.
std::wstring waitForStatus(HWND mainWindow, const std::wstring& expected, DWORD timeoutMs);

// The terminal window's client area as it is on the screen, 0x00BBGGRR per pixel.
std::vector<uint32_t> terminalPixels(HWND mainWindow);
size_t countColour(const std::vector<uint32_t>& pixels, uint32_t colour);

// Posts characters to the terminal window as if typed; "\r" is the Enter key.
void typeText(HWND mainWindow, const std::wstring& text);

// The whole grid as text: select all and copy through the terminal's own
// shortcuts (real key input to the foreground window), read the clipboard,
// and click the selection away again.
std::wstring gridText(HWND mainWindow);

// The program's own path and the demo device's, from the build.
std::wstring orvaneExe();
std::wstring demoDeviceExe();

}  // namespace orvane::e2e
