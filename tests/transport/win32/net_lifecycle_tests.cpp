#include "net_peers.h"
#include "process_counts.h"

#include "transport/win32/net_session.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

namespace orvane {
namespace {

using namespace std::chrono_literals;
using test::Socket;
using Clock = std::chrono::steady_clock;

constexpr int kCycles = 1000;
constexpr int kWarmUpCycles = 10;

// Keeps a session's reader busy, so that it notices a close at once instead
// of after its 200 ms wait: a TCP peer that sends a byte every millisecond
// on each connection it accepts, or a UDP peer that sends a datagram every
// millisecond.
class Ticker {
public:
    using Loop = std::function<void(const std::atomic<bool>& stop, std::atomic<bool>& connected)>;
    explicit Ticker(Loop loop) : worker([this, loop = std::move(loop)] { loop(stop, connected); }) {}
    ~Ticker() {
        stop = true;
        worker.join();
    }
    // Waits until the peer holds no connection, so that its socket does not
    // show in a handle count.
    void waitUntilIdle() const {
        const auto deadline = Clock::now() + 2s;
        while (connected.load() && Clock::now() < deadline) std::this_thread::sleep_for(1ms);
    }

private:
    std::atomic<bool> stop{false};
    std::atomic<bool> connected{false};
    std::thread worker;
};

void tickTcp(SOCKET listener, const std::atomic<bool>& stop, std::atomic<bool>& connected) {
    while (!stop.load()) {
        Socket peer = test::acceptWithin(listener, 20ms);
        connected = peer.valid();
        while (peer.valid() && !stop.load() && send(peer.get(), "t", 1, 0) == 1) std::this_thread::sleep_for(1ms);
        peer.reset();
        connected = false;
    }
}

void tickUdp(uint16_t port, const std::atomic<bool>& stop, std::atomic<bool>&) {
    uint16_t own = 0;
    Socket s = test::bindUdp(own);
    while (!stop.load()) {
        test::sendDatagram(s.get(), "t", port);  // refused while the session is closed
        std::this_thread::sleep_for(1ms);
    }
}

struct Counts {
    size_t handles;
    size_t threads;
};

Counts countsNow(const Ticker& ticker) {
    ticker.waitUntilIdle();
    return {test::processHandleCount(), test::processThreadCount()};
}

// Runs `cycle` after a warm-up and reports the counts before and after.
void expectNoLeakOver(const Ticker& ticker, const std::function<void()>& cycle) {
    for (int i = 0; i < kWarmUpCycles; ++i) cycle();
    const Counts before = countsNow(ticker);
    ASSERT_GT(before.handles, 0u);
    const auto start = Clock::now();
    for (int i = 0; i < kCycles; ++i) cycle();
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    const Counts after = countsNow(ticker);
    EXPECT_EQ(after.handles, before.handles);
    EXPECT_EQ(after.threads, before.threads);
    ::testing::Test::RecordProperty("seconds", std::to_string(seconds));
    std::printf("%d cycles in %.1f s; handles %zu -> %zu, threads %zu -> %zu\n", kCycles, seconds, before.handles,
                after.handles, before.threads, after.threads);
}

TEST(NetSessionLifecycle, ATcpSessionOpenedAndClosedAThousandTimesLeaksNothing) {
    uint16_t port = 0;
    Socket listener = test::listenTcp(AF_INET, port, 64);
    ASSERT_TRUE(listener.valid());
    Ticker ticker([&](const std::atomic<bool>& stop, std::atomic<bool>& connected) {
        tickTcp(listener.get(), stop, connected);
    });
    NetSession session;
    std::vector<uint8_t> out;
    expectNoLeakOver(ticker, [&] {
        ASSERT_TRUE(session.connectTcp(L"127.0.0.1", port));
        session.close();
        EXPECT_FALSE(session.isOpen());
        EXPECT_EQ(session.drainReceived(out), 0);
    });
}

TEST(NetSessionLifecycle, AUdpSessionOpenedAndClosedAThousandTimesLeaksNothing) {
    const uint16_t port = test::unusedPort(SOCK_DGRAM);
    Ticker ticker([&](const std::atomic<bool>& stop, std::atomic<bool>& connected) {
        tickUdp(port, stop, connected);
    });
    NetSession session;
    expectNoLeakOver(ticker, [&] {
        ASSERT_TRUE(session.openUdp(L"127.0.0.1", port));
        session.close();
        EXPECT_FALSE(session.isOpen());
    });
}

}  // namespace
}  // namespace orvane
