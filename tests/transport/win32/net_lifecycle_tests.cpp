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

// Runs `cycle` on a warm-up session, then a thousand times on another one,
// and compares the counts before and after the second. Locks may make their
// system objects on first contention; those go with the session object, so
// it is gone before the count.
void expectNoLeakOver(const Ticker& ticker, const std::function<void(NetSession&)>& cycle) {
    {
        NetSession warmUp;
        for (int i = 0; i < kWarmUpCycles; ++i) cycle(warmUp);
    }
    ticker.waitUntilIdle();
    const test::ProcessCounts before = test::lowestCountsOver(300ms);
    ASSERT_GT(before.handles, 0u);
    const auto start = Clock::now();
    {
        NetSession session;
        for (int i = 0; i < kCycles; ++i) cycle(session);
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    ticker.waitUntilIdle();
    const test::ProcessCounts after = test::countsOnceSettled(before);
    EXPECT_TRUE(test::nothingLeaked(before, after));
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
    std::vector<uint8_t> out;
    expectNoLeakOver(ticker, [&](NetSession& session) {
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
    expectNoLeakOver(ticker, [&](NetSession& session) {
        ASSERT_TRUE(session.openUdp(L"127.0.0.1", port));
        session.close();
        EXPECT_FALSE(session.isOpen());
    });
}

}  // namespace
}  // namespace orvane
