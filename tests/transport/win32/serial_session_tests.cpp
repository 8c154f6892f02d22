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
using test::MessageWindow;
using test::SerialDevice;
using Clock = std::chrono::steady_clock;

std::string narrow(const std::wstring& text) {
    return std::string(text.begin(), text.end());
}

class SerialSessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(port.empty()) << "run through with_serial_pair.sh";
        ASSERT_TRUE(device.valid());
    }

    bool openSession(SerialSession& session, const std::string& framing = "8N1") {
        session.setNotifyTarget(window.target(), WM_SESSION_DATA, WM_SESSION_CLOSED);
        const bool opened = session.open(port, 115200, framing);
        EXPECT_TRUE(opened) << narrow(session.lastError());
        return opened;
    }

    std::string drain(SerialSession& session) {
        std::vector<uint8_t> out;
        session.drainReceived(out);
        return test::textOf(out);
    }

    const std::wstring port = test::sessionPortName();
    SerialDevice device{test::devicePortName()};
    MessageWindow window;
};

TEST_F(SerialSessionTest, BytesTravelBothWays) {
    SerialSession session;
    ASSERT_TRUE(openSession(session));
    EXPECT_TRUE(session.isOpen());

    ASSERT_TRUE(device.writeAll("hello", 5));
    ASSERT_TRUE(window.pumpUntil([&] { return session.queuedBytes() >= 5; }, 5s));
    window.pumpFor(20ms);
    EXPECT_GE(window.count(WM_SESSION_DATA), 1u);
    EXPECT_EQ(drain(session), "hello");
    EXPECT_TRUE(session.takeRxActivity());
    EXPECT_FALSE(session.takeRxActivity());

    std::string text(300, 'w');
    for (size_t i = 0; i < text.size(); ++i) text[i] = static_cast<char>(test::patternByte(i));
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
    const auto start = Clock::now();
    EXPECT_TRUE(window.pumpUntil([&] { return received >= kTotal || !inOrder; }, 120s));
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    EXPECT_TRUE(writer.get());
    EXPECT_TRUE(inOrder);
    EXPECT_EQ(received, kTotal);
    // One post per chunk: as many posts as 256-byte reads at least.
    EXPECT_GE(window.count(WM_SESSION_DATA), kTotal / 256);
    std::printf("%zu bytes in %.2f s, %zu chunks\n", kTotal, seconds, window.count(WM_SESSION_DATA));
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

TEST_F(SerialSessionTest, ReopeningClosesTheOldPortAlsoWhenTheNewFramingIsUnknown) {
    const test::ProcessCounts before = test::processCounts();
    SerialSession session;
    ASSERT_TRUE(openSession(session));
    EXPECT_GT(test::processHandleCount(), before.handles);
    EXPECT_FALSE(session.open(port, 115200, "8n1"));
    EXPECT_EQ(session.lastError(), L"unknown framing: 8n1");
    EXPECT_FALSE(session.isOpen());
    EXPECT_TRUE(test::nothingLeaked(before, test::countsOnceSettled(before)));
}

TEST_F(SerialSessionTest, OnlyComNamesInUpperOrLowerCaseGetTheDevicePrefix) {
    std::wstring lower = port;
    std::transform(lower.begin(), lower.end(), lower.begin(), ::towlower);
    std::wstring mixed = lower;
    mixed[0] = L'C';
    SerialSession session;
    for (const std::wstring& name : {port, lower, L"\\\\.\\" + port}) {
        EXPECT_TRUE(session.open(name, 115200, "8N1")) << narrow(name) << ": " << narrow(session.lastError());
        session.close();
    }
    // Without the prefix these are plain file names, and no such file exists.
    for (const std::wstring& name : {mixed, L" " + port}) {
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
    ASSERT_TRUE(GetCommState(handle, &dcb));
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
    ASSERT_TRUE(session.open(port, 115200, "8N1"));
    session.close();
    withPortOpened(port, [](HANDLE, DCB& dcb) {
        EXPECT_EQ(dcb.BaudRate, 115200u);
        EXPECT_EQ(dcb.StopBits, ONESTOPBIT);
        EXPECT_FALSE(dcb.fOutxCtsFlow);
    });
}

// What the session did to the modem lines, through replaced calls: a
// pseudo-terminal has no modem lines to look at.
struct ModemLineLog {
    std::mutex mutex;
    std::vector<DWORD> functions;
    DWORD status = 0;
    bool statusFails = false;

    static ModemLineLog& instance() {
        static ModemLineLog log;
        return log;
    }
    static BOOL WINAPI escape(HANDLE, DWORD function) {
        std::lock_guard lock(instance().mutex);
        instance().functions.push_back(function);
        return TRUE;
    }
    static BOOL WINAPI modemStatus(HANDLE, LPDWORD status) {
        std::lock_guard lock(instance().mutex);
        if (instance().statusFails) return FALSE;
        *status = instance().status;
        return TRUE;
    }
    std::vector<DWORD> take() {
        std::lock_guard lock(mutex);
        return std::exchange(functions, {});
    }
};

SerialPortCalls recordedModemLines() {
    SerialPortCalls calls;
    calls.escapeCommFunction = ModemLineLog::escape;
    calls.getCommModemStatus = ModemLineLog::modemStatus;
    return calls;
}

TEST_F(SerialSessionTest, StoredLineLevelsAreDrivenOnOpenDtrFirstAndChangesAtOnce) {
    ModemLineLog& log = ModemLineLog::instance();
    log.take();
    SerialSession session(recordedModemLines());
    EXPECT_TRUE(session.rtsOn());
    EXPECT_TRUE(session.dtrOn());
    session.setRts(false);  // remembered while closed
    EXPECT_TRUE(log.take().empty());
    EXPECT_FALSE(session.rtsOn());

    ASSERT_TRUE(openSession(session));
    EXPECT_EQ(log.take(), (std::vector<DWORD>{SETDTR, CLRRTS}));
    session.setDtr(false);
    session.setRts(true);
    EXPECT_EQ(log.take(), (std::vector<DWORD>{CLRDTR, SETRTS}));

    session.close();
    session.setDtr(true);
    EXPECT_TRUE(log.take().empty());
    ASSERT_TRUE(openSession(session));
    EXPECT_EQ(log.take(), (std::vector<DWORD>{SETDTR, SETRTS}));
}

TEST_F(SerialSessionTest, TheModemStatusComesFromThePortAndIsZeroWhenUnknown) {
    ModemLineLog& log = ModemLineLog::instance();
    SerialSession session(recordedModemLines());
    {
        std::lock_guard lock(log.mutex);
        log.status = 0xB0;  // CTS, ring, carrier detect
        log.statusFails = false;
    }
    EXPECT_EQ(session.modemStatus(), 0u);  // closed: the port is not asked
    ASSERT_TRUE(openSession(session));
    EXPECT_EQ(session.modemStatus(), 0xB0u);
    {
        std::lock_guard lock(log.mutex);
        log.statusFails = true;
    }
    EXPECT_EQ(session.modemStatus(), 0u);
}

// A read that fails once the test pulls the plug. A pseudo-terminal whose
// other end goes away reads as end of file, which Wine's serial read takes
// for silence, so the failure is made here.
std::atomic<bool> unplugged{false};

BOOL WINAPI unpluggableRead(HANDLE file, LPVOID buffer, DWORD size, LPDWORD got, LPOVERLAPPED overlapped) {
    if (unplugged.load()) {
        *got = 0;
        SetLastError(ERROR_BAD_COMMAND);
        return FALSE;
    }
    return ReadFile(file, buffer, size, got, overlapped);
}

TEST_F(SerialSessionTest, AFailedReadIsReportedOnceAndTheSessionStaysOpenUntilClosed) {
    unplugged = false;
    SerialPortCalls calls;
    calls.readFile = unpluggableRead;
    SerialSession session(calls);
    ASSERT_TRUE(openSession(session));
    ASSERT_TRUE(device.writeAll("before", 6));
    ASSERT_TRUE(window.pumpUntil([&] { return session.queuedBytes() >= 6; }, 5s));

    unplugged = true;
    ASSERT_TRUE(window.waitForCount(WM_SESSION_CLOSED, 1, 5s));
    window.pumpFor(200ms);
    EXPECT_EQ(window.count(WM_SESSION_CLOSED), 1u);
    EXPECT_TRUE(session.isOpen());
    EXPECT_EQ(drain(session), "before");
    session.close();
    EXPECT_FALSE(session.isOpen());
    window.pumpFor(50ms);
    EXPECT_EQ(window.count(WM_SESSION_CLOSED), 1u);
    unplugged = false;
}

TEST_F(SerialSessionTest, DiscardDropsWhatWasQueued) {
    SerialSession session;
    ASSERT_TRUE(openSession(session));
    ASSERT_TRUE(device.writeAll("stale", 5));
    ASSERT_TRUE(window.pumpUntil([&] { return session.queuedBytes() >= 5; }, 5s));
    session.discardReceived();
    EXPECT_EQ(session.queuedBytes(), 0u);
    ASSERT_TRUE(device.writeAll("fresh", 5));
    ASSERT_TRUE(window.pumpUntil([&] { return session.queuedBytes() >= 5; }, 5s));
    EXPECT_EQ(drain(session), "fresh");
}

class ThreadlessSerialSession : public SerialSession {
protected:
    std::thread spawnReaderThread(std::function<void()>) override {
        throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
    }
};

TEST_F(SerialSessionTest, AReaderThatCannotStartFailsTheOpenAndReleasesThePort) {
    const test::ProcessCounts before = test::processCounts();
    ThreadlessSerialSession session;
    EXPECT_FALSE(session.open(port, 115200, "8N1"));
    EXPECT_EQ(session.lastError(), L"cannot start reader thread");
    EXPECT_FALSE(session.isOpen());
    // No thread ran, so the count returns exactly: the port handle is gone.
    EXPECT_EQ(test::processHandleCount(), before.handles);
}

TEST_F(SerialSessionTest, OpeningAndClosingAThousandTimesLeaksNoHandleOrThread) {
    const auto cycle = [&](SerialSession& session) {
        ASSERT_TRUE(session.open(port, 115200, "8N1")) << narrow(session.lastError());
        session.close();
    };
    {
        // What the process sets up once, on first use, is not a leak.
        SerialSession warmUp;
        for (int i = 0; i < 10; ++i) cycle(warmUp);
    }
    const test::ProcessCounts before = test::lowestCountsOver(300ms);
    const auto start = Clock::now();
    {
        // Locks may make their system objects on first contention; those go
        // with the session, so it is gone before the count.
        SerialSession session;
        for (int i = 0; i < 1000; ++i) cycle(session);
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    const test::ProcessCounts after = test::countsOnceSettled(before);
    EXPECT_TRUE(test::nothingLeaked(before, after));
    std::printf("1000 cycles in %.1f s; handles %zu -> %zu, threads %zu -> %zu\n", seconds, before.handles,
                after.handles, before.threads, after.threads);
}

}  // namespace
}  // namespace orvane
