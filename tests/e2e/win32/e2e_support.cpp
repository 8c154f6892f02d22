#include "e2e_support.h"

#include <cstdio>
#include <cwchar>
#include <string>

namespace orvane::e2e {

namespace {

constexpr DWORD kPollMs = 20;
constexpr int kStatusBarId = 1019;
constexpr int kTerminalId = 1009;
// Starting or closing the program under Wine on a busy machine.
constexpr DWORD kStartTimeoutMs = 30000;

std::wstring quoted(const std::wstring& path) { return L"\"" + path + L"\""; }

std::wstring widen(const char* text) {
    std::wstring out;
    while (*text) out += static_cast<wchar_t>(static_cast<unsigned char>(*text++));
    return out;
}

struct WindowSearch {
    DWORD processId;
    const wchar_t* className;
    HWND found;
};

BOOL CALLBACK matchWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    wchar_t className[64]{};
    GetClassNameW(window, className, 64);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (std::wcscmp(className, search->className) != 0 || owner != search->processId) return TRUE;
    search->found = window;
    return FALSE;
}

// Presses or releases the keys in order through the system's input queue.
void sendKeys(std::initializer_list<WORD> keys, bool release) {
    std::vector<INPUT> inputs;
    for (const WORD key : keys) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        input.ki.dwFlags = release ? KEYEVENTF_KEYUP : 0;
        inputs.push_back(input);
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void pressChord(WORD letter) {
    sendKeys({VK_CONTROL, VK_SHIFT, letter}, false);
    sendKeys({letter, VK_SHIFT, VK_CONTROL}, true);
}

std::optional<std::wstring> clipboardText() {
    if (!OpenClipboard(nullptr)) return std::nullopt;
    std::optional<std::wstring> text;
    if (HANDLE block = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* units = static_cast<const wchar_t*>(GlobalLock(block))) {
            text = units;
            GlobalUnlock(block);
        }
    }
    CloseClipboard();
    return text;
}

void emptyClipboard() {
    if (!OpenClipboard(nullptr)) return;
    EmptyClipboard();
    CloseClipboard();
}

}  // namespace

bool waitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start >= timeoutMs) return condition();
        Sleep(kPollMs);
    }
    return true;
}

Process::Process(const std::wstring& exe, const std::wstring& arguments, HANDLE standardOutput,
                 DWORD creationFlags) {
    std::wstring line = quoted(exe) + (arguments.empty() ? L"" : L" " + arguments);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (standardOutput) {
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = standardOutput;
        startup.hStdError = standardOutput;
        startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    }
    const BOOL inheritHandles = standardOutput != nullptr;
    if (!CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, inheritHandles, creationFlags, nullptr, nullptr,
                        &startup, &info)) {
        info = {};
    }
}

Process::~Process() {
    if (!started()) return;
    if (!exitCode(0)) {
        TerminateProcess(info.hProcess, 99);
        WaitForSingleObject(info.hProcess, 5000);
    }
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
}

std::optional<DWORD> Process::exitCode(DWORD timeoutMs) const {
    if (!started() || WaitForSingleObject(info.hProcess, timeoutMs) != WAIT_OBJECT_0) return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(info.hProcess, &code);
    return code;
}

AppFolder::AppFolder() {
    wchar_t temp[MAX_PATH]{};
    GetTempPathW(MAX_PATH, temp);
    static int serial = 0;
    folder = std::wstring(temp) + L"orvane_e2e_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
             std::to_wstring(++serial);
    CreateDirectoryW(folder.c_str(), nullptr);
    exePath = folder + L"\\orvane.exe";
    CopyFileW(orvaneExe().c_str(), exePath.c_str(), FALSE);
    WritePrivateProfileStringW(L"legal", L"accepted_disclaimer_version", L"1", (folder + L"\\Orvane.ini").c_str());
}

AppFolder::~AppFolder() {
    // The program may still be letting go of its file; a few tries.
    waitUntil([&] { return DeleteFileW(exePath.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND; }, 3000);
    DeleteFileW((folder + L"\\Orvane.ini").c_str());
    RemoveDirectoryW(folder.c_str());
}

std::wstring AppFolder::iniValue(const wchar_t* section, const wchar_t* key) const {
    wchar_t value[256]{};
    GetPrivateProfileStringW(section, key, L"", value, 256, (folder + L"\\Orvane.ini").c_str());
    return value;
}

DemoDevice::DemoDevice(bool once) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return;
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    process = std::make_unique<Process>(demoDeviceExe(), once ? L"--port 0 --once" : L"--port 0", writeEnd);
    CloseHandle(writeEnd);
    std::string said;
    waitUntil(
        [&] {
            DWORD available = 0;
            if (!PeekNamedPipe(readEnd, nullptr, 0, nullptr, &available, nullptr)) return true;  // device gone
            if (available > 0) {
                char chunk[256];
                DWORD got = 0;
                ReadFile(readEnd, chunk, sizeof chunk - 1, &got, nullptr);
                said.append(chunk, got);
            }
            const size_t at = said.find("listening on 127.0.0.1 port ");
            return at != std::string::npos &&
                   std::sscanf(said.c_str() + at, "listening on 127.0.0.1 port %d", &listeningPort) == 1;
        },
        20000);
}

DemoDevice::~DemoDevice() {
    process.reset();
    if (readEnd) CloseHandle(readEnd);
}

HWND topWindowOf(DWORD processId, const wchar_t* className) {
    WindowSearch search{processId, className, nullptr};
    EnumWindows(matchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND waitForMainWindow(DWORD processId, DWORD timeoutMs) {
    HWND found = nullptr;
    waitUntil(
        [&] {
            found = topWindowOf(processId, L"OrvaneMainWnd");
            return found != nullptr && IsWindowVisible(found);
        },
        timeoutMs);
    return found;
}

RunningApp::RunningApp(const std::wstring& arguments)
    : running(std::make_unique<Process>(appFolder.exe(), arguments)) {
    mainWindow = waitForMainWindow(running->id(), kStartTimeoutMs);
    // Nothing else may cover the terminal while its pixels are read.
    if (mainWindow) SetWindowPos(mainWindow, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

RunningApp::~RunningApp() {
    if (running->exitCode(0)) return;
    if (mainWindow) PostMessageW(mainWindow, WM_CLOSE, 0, 0);
    running->exitCode(kStartTimeoutMs);
}

std::optional<DWORD> RunningApp::runAgain(const std::wstring& arguments, DWORD timeoutMs) const {
    const Process later(appFolder.exe(), arguments);
    return later.exitCode(timeoutMs);
}

HWND anyMainWindow() { return FindWindowW(L"OrvaneMainWnd", nullptr); }

std::wstring windowText(HWND window) {
    wchar_t text[512]{};
    SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, nullptr);
    return text;
}

std::wstring statusText(HWND mainWindow) { return windowText(GetDlgItem(mainWindow, kStatusBarId)); }

std::wstring waitForStatus(HWND mainWindow, const std::wstring& expected, DWORD timeoutMs) {
    std::wstring seen;
    waitUntil(
        [&] {
            seen = statusText(mainWindow);
            return seen == expected;
        },
        timeoutMs);
    return seen;
}

std::vector<uint32_t> terminalPixels(HWND mainWindow) {
    HWND terminal = GetDlgItem(mainWindow, kTerminalId);
    RECT client{};
    GetClientRect(terminal, &client);
    POINT origin{0, 0};
    ClientToScreen(terminal, &origin);
    const int width = client.right;
    const int height = client.bottom;
    if (width <= 0 || height <= 0) return {};
    BITMAPINFO format{};
    format.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP picture = CreateDIBSection(screen, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, picture);
    BitBlt(memory, 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY);
    GdiFlush();
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
    const auto* source = static_cast<const uint32_t*>(bits);
    for (size_t i = 0; i < pixels.size(); ++i) {
        const uint32_t bgra = source[i];  // 0x00RRGGBB in memory order B, G, R
        pixels[i] = ((bgra >> 16) & 0xFF) | (bgra & 0xFF00) | ((bgra & 0xFF) << 16);
    }
    SelectObject(memory, previous);
    DeleteObject(picture);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

size_t countColour(const std::vector<uint32_t>& pixels, uint32_t colour) {
    size_t count = 0;
    for (const uint32_t pixel : pixels) count += pixel == colour;
    return count;
}

void typeText(HWND mainWindow, const std::wstring& text) {
    HWND terminal = GetDlgItem(mainWindow, kTerminalId);
    for (const wchar_t unit : text) {
        // Enter is a key of its own; its WM_CHAR carries nothing a terminal sends.
        if (unit == L'\r') {
            PostMessageW(terminal, WM_KEYDOWN, VK_RETURN, 1);
            PostMessageW(terminal, WM_KEYUP, VK_RETURN, 0xC0000001);
        } else {
            PostMessageW(terminal, WM_CHAR, unit, 1);
        }
    }
}

std::wstring gridText(HWND mainWindow) {
    emptyClipboard();
    SetForegroundWindow(mainWindow);
    waitUntil([&] { return GetForegroundWindow() == mainWindow; }, 3000);
    pressChord('A');
    pressChord('C');
    std::wstring text;
    waitUntil(
        [&] {
            text = clipboardText().value_or(L"");
            return !text.empty();
        },
        5000);
    // A click ends the selection, which would otherwise invert every colour on the screen.
    HWND terminal = GetDlgItem(mainWindow, kTerminalId);
    PostMessageW(terminal, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    PostMessageW(terminal, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    SendMessageTimeoutW(terminal, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, nullptr);  // both handled
    return text;
}

std::wstring orvaneExe() { return widen(ORVANE_E2E_ORVANE_EXE); }
std::wstring demoDeviceExe() { return widen(ORVANE_E2E_DEMO_DEVICE_EXE); }

}  // namespace orvane::e2e
