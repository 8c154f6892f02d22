// The real program on a serial port that is pulled and plugged back: a socat
// pseudo-terminal pair offered as two COM ports by the wrapper script, which
// ends and restarts socat when asked.
#include "e2e_support.h"

#include "terminal/palette.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace orvane::e2e {
namespace {

constexpr DWORD kSerialTimeoutMs = 15000;

std::wstring fromEnvironment(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::wstring(value, value + std::strlen(value)) : std::wstring();
}

// Asks the wrapper script to unplug or replug the port and waits until it did.
bool askWrapper(const wchar_t* request) {
    const std::wstring file = L"Z:" + fromEnvironment("ORVANE_E2E_SERIAL_CONTROL") + L"/" + request;
    HANDLE made = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    if (made == INVALID_HANDLE_VALUE) return false;
    CloseHandle(made);
    return waitUntil([&] { return GetFileAttributesW(file.c_str()) == INVALID_FILE_ATTRIBUTES; }, kSerialTimeoutMs);
}

// The program finds ports through the device map, as Windows fills it when an
// adapter arrives; the link the wrapper made is entered there for the test.
class ListedPort {
public:
    explicit ListedPort(const std::wstring& port) {
        RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, nullptr, REG_OPTION_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, &map, nullptr);
        listed = RegSetValueExW(map, kValueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(port.c_str()),
                                static_cast<DWORD>((port.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
    }
    ~ListedPort() {
        RegDeleteValueW(map, kValueName);
        RegCloseKey(map);
    }
    ListedPort(const ListedPort&) = delete;
    ListedPort& operator=(const ListedPort&) = delete;

    bool ok() const { return listed; }

private:
    static constexpr wchar_t kValueName[] = L"\\Device\\OrvaneEndToEnd";
    HKEY map = nullptr;
    bool listed = false;
};

// Writes to the device's end of the pair, as the device would.
bool deviceSends(const std::string& bytes) {
    HANDLE port = CreateFileW((L"\\\\.\\" + fromEnvironment("ORVANE_TEST_DEVICE_PORT")).c_str(),
                              GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (port == INVALID_HANDLE_VALUE) return false;
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    GetCommState(port, &dcb);
    dcb.BaudRate = 115200;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    dcb.fBinary = TRUE;
    SetCommState(port, &dcb);
    DWORD written = 0;
    const bool sent = WriteFile(port, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                      written == bytes.size();
    CloseHandle(port);
    return sent;
}

// Under Wine a pseudo-terminal whose other end is gone reads as empty, never
// as a failed read, so the reader cannot notice the unplug by itself. The
// test delivers the reader's report instead; stale ones (of other opens) are
// ignored by the program, so every recent open number is sent.
void reportLinkLost(HWND window) {
    constexpr UINT kSessionClosed = WM_APP + 3;
    for (WPARAM generation = 1; generation <= 16; ++generation) PostMessageW(window, kSessionClosed, generation, 0);
}

bool gridShows(HWND window, const std::wstring& text) {
    return waitUntil([&] { return gridText(window).find(text) != std::wstring::npos; }, kSerialTimeoutMs);
}

size_t redPixels(HWND window) { return countColour(terminalPixels(window), kCampbellPalette[1]); }

TEST(SerialReplug, UnpluggedPortWaitsAndReconnectsKeepingTheScreen) {
    const std::wstring port = fromEnvironment("ORVANE_TEST_SESSION_PORT");
    if (port.empty()) GTEST_SKIP() << "needs the serial pair of with_replugged_serial.sh";
    const ListedPort listed(port);
    ASSERT_TRUE(listed.ok());
    RunningApp app(L"-serial -port " + port + L" -baud 115200 -framing 8N1 -palette Campbell -connect");
    HWND window = app.window();
    ASSERT_NE(window, nullptr) << "no main window";
    const std::wstring connected = L"Connected " + port + L" @ 115200 8N1";
    ASSERT_EQ(waitForStatus(window, connected, kSerialTimeoutMs), connected);

    ASSERT_TRUE(deviceSends("\x1b[41m  red before unplug  \x1b[0m serial hello\r\n"));
    EXPECT_TRUE(gridShows(window, L"serial hello"));
    EXPECT_TRUE(waitUntil([&] { return redPixels(window) >= 200; }, kSerialTimeoutMs));
    const size_t redBefore = redPixels(window);

    const DWORD unplugged = GetTickCount();
    ASSERT_TRUE(askWrapper(L"unplug"));
    reportLinkLost(window);
    const std::wstring waiting = port + L" disconnected - waiting to reconnect...";
    EXPECT_EQ(waitForStatus(window, waiting, kSerialTimeoutMs), waiting);
    std::printf("unplug noticed after %lu ms\n", GetTickCount() - unplugged);

    // Reopen attempts fail while the port is gone: the waiting goes on.
    Sleep(1600);
    EXPECT_EQ(statusText(window), waiting);

    const DWORD replugged = GetTickCount();
    ASSERT_TRUE(askWrapper(L"replug"));
    EXPECT_EQ(waitForStatus(window, L"Reconnected " + port, kSerialTimeoutMs), L"Reconnected " + port);
    std::printf("reconnected after %lu ms\n", GetTickCount() - replugged);

    // The screen is kept: the same text and the same red cells, and the link works again.
    EXPECT_TRUE(gridShows(window, L"serial hello"));
    size_t redAfter = 0;
    EXPECT_TRUE(waitUntil([&] { return (redAfter = redPixels(window)) == redBefore; }, kSerialTimeoutMs))
        << redAfter << " red pixels after the replug, " << redBefore << " before";
    ASSERT_TRUE(deviceSends("after replug\r\n"));
    EXPECT_TRUE(gridShows(window, L"after replug"));
    EXPECT_NE(gridText(window).find(L"serial hello"), std::wstring::npos);
}

}  // namespace
}  // namespace orvane::e2e
