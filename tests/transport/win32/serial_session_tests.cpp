#include "../threadless_session.h"
#include "message_window.h"
#include "net_peers.h"
#include "process_counts.h"
#include "serial_device.h"

#include "transport/win32/serial_session.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <future>
#include <mutex>

namespace orvane {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

std::string narrow(const std::wstring& text) {
    return std::string(text.begin(), text.end());
}

// What the session did to the modem lines, through replaced calls: a
// pseudo-terminal has no modem lines to look at. A read fails once the test
// pulls the plug: a pseudo-terminal whose other end goes away reads as end
// of file, which Wine's serial read takes for silence.
struct FakePortCalls {
    static inline std::mutex mutex;
    static inline std::vector<DWORD> functions;
    static inline DWORD status = 0;  // 0: the status cannot be read
    static inline std::atomic<bool> unplugged{false};

    static BOOL WINAPI escape(HANDLE, DWORD function) {
        std::lock_guard lock(mutex);
        functions.push_back(function);
        return TRUE;
    }
    static BOOL WINAPI modemStatus(HANDLE, LPDWORD result) {
        std::lock_guard lock(mutex);
        *result = status;
        return status != 0;
    }
    static BOOL WINAPI read(HANDLE file, LPVOID buffer, DWORD size, LPDWORD got, LPOVERLAPPED overlapped) {
        if (!unplugged.load()) return ReadFile(file, buffer, size, got, overlapped);
        *got = 0;
        SetLastError(ERROR_BAD_COMMAND);
        return FALSE;
    }
    static std::vector<DWORD> takeFunctions() {
        std::lock_guard lock(mutex);
        return std::exchange(functions, {});
    }
    static SerialPortCalls calls() {
        functions.clear();
        unplugged = false;
        SerialPortCalls calls;
        calls.escapeCommFunction = escape;
        calls.getCommModemStatus = modemStatus;
        calls.readFile = read;
        return calls;
    }
};

class SerialSessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(port.empty()) << "run through with_serial_pair.sh";
        ASSERT_TRUE(device.valid());
    }

    bool openSession(SerialSession& session, const std::wstring& name, uint32_t baud = 115200) {
        session.setNotifyTarget(window.target(), WM_SESSION_DATA, WM_SESSION_CLOSED);
        const bool opened = session.open(name, baud, "8N1");
        EXPECT_TRUE(opened) << narrow(name) << ": " << narrow(session.lastError());
        return opened;
    }
    bool openSession(SerialSession& session) { return openSession(session, port); }
    bool deviceSends(SerialSession& session, const std::string& text) {
        return device.writeAll(text.data(), text.size()) &&
               window.pumpUntil([&] { return session.queuedBytes() >= text.size(); }, 5s);
    }

    const std::wstring port = test::sessionPortName();
    test::SerialDevice device{test::devicePortName()};
    test::MessageWindow window;
};

TEST_F(SerialSessionTest, BytesTravelBothWays) {
    SerialSession session;
    ASSERT_TRUE(openSession(session));
    EXPECT_TRUE(session.isOpen());
    ASSERT_TRUE(deviceSends(session, "hello"));
    window.pumpFor(20ms);
    EXPECT_GE(window.count(WM_SESSION_DATA), 1u);
    EXPECT_EQ(test::drainedText(session), "hello");
    EXPECT_TRUE(session.takeRxActivity());
    EXPECT_FALSE(session.takeRxActivity());

    std::string text(300, 'w');
    test::fillPattern(reinterpret_cast<uint8_t*>(text.data()), text.size(), 0);
    session.write(reinterpret_cast<const uint8_t*>(text.data()), text.size());
    EXPECT_TRUE(session.takeTxActivity());
    EXPECT_EQ(test::textOf(device.read(text.size(), 5s)), text);
    EXPECT_EQ(window.count(WM_SESSION_CLOSED), 0u);
}

TEST_F(SerialSessionTest, AFloodArrivesCompleteInOrderInChunksOfAtMost256Bytes) {
    constexpr size_t kTotal = 256 * 1024;
    SerialSession session;
    size_t received = 0;
    bool inOrder = true;
    std::vector<uint8_t> out;
    window.onMessage = [&](UINT message) {
        if (message != WM_SESSION_DATA) return;
        session.drainReceived(out);
        inOrder = inOrder && test::matchesPattern(out.data(), out.size(), received);
        received += out.size();
    };
    ASSERT_TRUE(openSession(session));
    auto writer = std::async(std::launch::async, [&] {
        std::vector<uint8_t> block(4096);
        for (size_t sent = 0; sent < kTotal; sent += block.size()) {
            test::fillPattern(block.data(), block.size(), sent);
            if (!device.writeAll(block.data(), block.size())) return false;
        }
        return true;
    });
    EXPECT_TRUE(window.pumpUntil([&] { return received >= kTotal || !inOrder; }, 120s));
    EXPECT_TRUE(writer.get());
    EXPECT_TRUE(inOrder);
    EXPECT_EQ(received, kTotal);
    // One post per chunk: as many posts as 256-byte reads at least.
    EXPECT_GE(window.count(WM_SESSION_DATA), kTotal / 256);
}

TEST_F(SerialSessionTest, CloseReturnsWithinAboutTheReadTimeout) {
    SerialSession session;
    std::vector<double> took;
    for (int i = 0; i < 20; ++i) {
        ASSERT_TRUE(openSession(session));
        window.pumpFor(15ms);
        const auto start = Clock::now();
        session.close();
        took.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        EXPECT_FALSE(session.isOpen());
    }
    std::sort(took.begin(), took.end());
    std::printf("close: median %.1f ms, max %.1f ms\n", took[took.size() / 2], took.back());
    // A read ends after at most 10 ms; the rest is thread and handle work.
    EXPECT_LT(took[took.size() / 2], 25.0);
    EXPECT_LT(took.back(), 250.0);
    window.pumpFor(20ms);
    EXPECT_EQ(window.count(WM_SESSION_CLOSED), 0u);
}

TEST_F(SerialSessionTest, OnlyComNamesInUpperOrLowerCaseGetTheDevicePrefix) {
    std::wstring lower = port;
    std::transform(lower.begin(), lower.end(), lower.begin(), ::towlower);
    SerialSession session;
    for (const std::wstring& name : {port, lower, L"\\\\.\\" + port}) {
        EXPECT_TRUE(openSession(session, name));
        session.close();
    }
    // Without the prefix these are plain file names, and no such file exists.
    for (const std::wstring& name : {L"C" + lower.substr(1), L" " + port}) {
        EXPECT_FALSE(session.open(name, 115200, "8N1")) << narrow(name);
        EXPECT_EQ(session.lastError(), L"CreateFileW failed for " + name);
    }
}

// Runs `use` on the session's port opened directly, without the session.
template <typename Use>
void withPortOpened(const std::wstring& port, Use use) {
    const HANDLE handle = CreateFileW((L"\\\\.\\" + port).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                      OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    DCB dcb{};
    dcb.DCBlength = sizeof(dcb);
    EXPECT_TRUE(GetCommState(handle, &dcb));
    use(handle, dcb);
    CloseHandle(handle);
}

// The pseudo-terminals of the test machine keep speed, stop bits and
// hardware flow control but not byte size or parity, so those two are
// checked on the DCB alone.
TEST_F(SerialSessionTest, LineSettingsReachThePortAndFlowControlIsKept) {
    withPortOpened(port, [](HANDLE handle, DCB& dcb) {
        dcb.fOutxCtsFlow = TRUE;
        EXPECT_TRUE(SetCommState(handle, &dcb));
    });
    SerialSession session;
    ASSERT_TRUE(session.open(port, 9600, "8N2"));
    session.close();
    withPortOpened(port, [](HANDLE handle, DCB& dcb) {
        EXPECT_EQ(dcb.BaudRate, 9600u);
        EXPECT_EQ(dcb.StopBits, TWOSTOPBITS);
        EXPECT_TRUE(dcb.fOutxCtsFlow);  // the driver's flow control stays as it was
        dcb.fOutxCtsFlow = FALSE;
        dcb.fRtsControl = RTS_CONTROL_DISABLE;
        EXPECT_TRUE(SetCommState(handle, &dcb));
    });
    ASSERT_TRUE(openSession(session));
    session.close();
    withPortOpened(port, [](HANDLE, DCB& dcb) {
        EXPECT_EQ(dcb.BaudRate, 115200u);
        EXPECT_EQ(dcb.StopBits, ONESTOPBIT);
        EXPECT_FALSE(dcb.fOutxCtsFlow);
    });
}

TEST_F(SerialSessionTest, StoredLineLevelsAreDrivenOnOpenDtrFirstAndChangesAtOnce) {
    SerialSession session(FakePortCalls::calls());
    EXPECT_TRUE(session.rtsOn());
    EXPECT_TRUE(session.dtrOn());
    session.setRts(false);  // remembered while closed
    EXPECT_TRUE(FakePortCalls::takeFunctions().empty());
    EXPECT_FALSE(session.rtsOn());

    ASSERT_TRUE(openSession(session));
    EXPECT_EQ(FakePortCalls::takeFunctions(), (std::vector<DWORD>{SETDTR, CLRRTS}));
    session.setDtr(false);
    session.setRts(true);
    EXPECT_EQ(FakePortCalls::takeFunctions(), (std::vector<DWORD>{CLRDTR, SETRTS}));
    session.close();
    session.setDtr(true);
    EXPECT_TRUE(FakePortCalls::takeFunctions().empty());
    ASSERT_TRUE(openSession(session));
    EXPECT_EQ(FakePortCalls::takeFunctions(), (std::vector<DWORD>{SETDTR, SETRTS}));
}

TEST_F(SerialSessionTest, TheModemStatusComesFromThePortAndIsZeroWhenUnknown) {
    SerialSession session(FakePortCalls::calls());
    FakePortCalls::status = 0xB0;  // CTS, ring, carrier detect
    EXPECT_EQ(session.modemStatus(), 0u);  // closed: the port is not asked
    ASSERT_TRUE(openSession(session));
    EXPECT_EQ(session.modemStatus(), 0xB0u);
    FakePortCalls::status = 0;  // the call fails
    EXPECT_EQ(session.modemStatus(), 0u);
}

TEST_F(SerialSessionTest, AFailedReadIsReportedOnceAndTheSessionStaysOpenUntilClosed) {
    SerialSession session(FakePortCalls::calls());
    ASSERT_TRUE(openSession(session));
    ASSERT_TRUE(deviceSends(session, "before"));
    FakePortCalls::unplugged = true;
    test::expectLinkLostOnce(window, session, "before");
}

TEST_F(SerialSessionTest, DiscardDropsWhatWasQueued) {
    SerialSession session;
    ASSERT_TRUE(openSession(session));
    ASSERT_TRUE(deviceSends(session, "stale"));
    session.discardReceived();
    ASSERT_TRUE(deviceSends(session, "fresh"));
    EXPECT_EQ(test::drainedText(session), "fresh");
}

TEST_F(SerialSessionTest, FailedOpensReleaseThePort) {
    const test::ProcessCounts before = test::processCounts();
    {
        // Reopening with an unknown framing closes the old port first.
        SerialSession session;
        ASSERT_TRUE(openSession(session));
        EXPECT_GT(test::processHandleCount(), before.handles);
        EXPECT_FALSE(session.open(port, 115200, "8n1"));
        EXPECT_EQ(session.lastError(), L"unknown framing: 8n1");
        EXPECT_FALSE(session.isOpen());
    }
    EXPECT_TRUE(test::nothingLeaked(before, test::countsOnceSettled(before)));

    const size_t handles = test::processHandleCount();
    test::ThreadlessSession<SerialSession> threadless;
    EXPECT_FALSE(threadless.open(port, 115200, "8N1"));
    EXPECT_EQ(threadless.lastError(), L"cannot start reader thread");
    EXPECT_FALSE(threadless.isOpen());
    // No thread ran, so the count returns exactly: the port handle is gone.
    EXPECT_EQ(test::processHandleCount(), handles);
}

TEST_F(SerialSessionTest, OpeningAndClosingAThousandTimesLeaksNoHandleOrThread) {
    test::expectNoLeakOver<SerialSession>([&](SerialSession& session) {
        ASSERT_TRUE(session.open(port, 115200, "8N1")) << narrow(session.lastError());
        session.close();
    });
}

}  // namespace
}  // namespace orvane
