#include "message_window.h"
#include "net_peers.h"

#include "transport/receive_queue.h"
#include "transport/win32/net_session.h"

#include <gtest/gtest.h>

#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <thread>

namespace orvane {
namespace {

using namespace std::chrono_literals;
using test::Socket;
using Clock = std::chrono::steady_clock;

constexpr uint64_t kTotal = uint64_t{1} << 30;
constexpr size_t kMiB = size_t{1} << 20;
constexpr size_t kDrainBite = 256 * 1024;
// The queue, the drain buffer of the same size, and room for the rest.
constexpr size_t kMemoryBound = 4 * (kReceiveQueueLimit / kMiB) * kMiB;

size_t workingSet() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
    return counters.WorkingSetSize;
}

// Posted notifications pile up while nobody drains; drop them unread.
void dropPostedMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, WM_APP, 0xBFFF, PM_REMOVE)) {
    }
}

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

TEST(TcpFlood, AGibibyteSentWhileNothingDrainsKeepsMemoryBoundedAndArrivesInOrderLater) {
    uint16_t port = 0;
    Socket listener = test::listenTcp(AF_INET, port);
    ASSERT_TRUE(listener.valid());
    const size_t baseline = workingSet();
    test::PatternSender sender(listener.get(), kTotal);
    test::MessageWindow window;
    NetSession session;
    session.setNotifyTarget(window.target(), WM_SESSION_DATA, WM_SESSION_CLOSED);
    ASSERT_TRUE(session.connectTcp(L"127.0.0.1", port));
    const auto start = Clock::now();

    // Nothing drains: the reader fills the queue to its limit and stops.
    while (session.queuedBytes() < kReceiveQueueLimit && secondsSince(start) < 120) std::this_thread::sleep_for(10ms);
    const double fillSeconds = secondsSince(start);
    ASSERT_GE(session.queuedBytes(), kReceiveQueueLimit);
    std::this_thread::sleep_for(500ms);
    const size_t queuedThen = session.queuedBytes();
    const uint64_t sentThen = sender.sent();
    std::this_thread::sleep_for(1s);
    EXPECT_EQ(session.queuedBytes(), queuedThen);  // the reader waits
    EXPECT_LE(queuedThen, kReceiveQueueLimit + 2048);
    EXPECT_EQ(sender.sent(), sentThen);  // and TCP holds the sender back
    EXPECT_LT(sentThen, kTotal / 4);
    size_t peakGrowth = workingSet() - baseline;
    const size_t pausedGrowth = peakGrowth;
    dropPostedMessages();

    // Draining resumes: every byte arrives, in order.
    uint64_t received = 0;
    bool inOrder = true;
    std::vector<uint8_t> out;
    const auto drainStart = Clock::now();
    uint64_t checkedAt = 0;
    while (received < kTotal && inOrder && secondsSince(drainStart) < 600) {
        const int n = session.drainReceived(out);
        inOrder = test::matchesPattern(out.data(), out.size(), received);
        received += static_cast<uint64_t>(n);
        // Draining in larger bites leaves the reader more of the shared
        // system time under Wine.
        if (static_cast<size_t>(n) < kDrainBite) Sleep(2);
        if (received - checkedAt >= 16 * kMiB) {
            checkedAt = received;
            dropPostedMessages();
            peakGrowth = std::max(peakGrowth, workingSet() - baseline);
        }
    }
    const double drainSeconds = secondsSince(drainStart);
    EXPECT_TRUE(inOrder) << "mismatch near byte " << received;
    EXPECT_EQ(received, kTotal);
    EXPECT_LT(peakGrowth, kMemoryBound);
    std::printf("filled %zu bytes in %.1f s (sender at %llu); drained 1 GiB in %.1f s; working set +%zu MiB while "
                "paused, at most +%zu MiB\n",
                queuedThen, fillSeconds, static_cast<unsigned long long>(sentThen), drainSeconds, pausedGrowth / kMiB,
                peakGrowth / kMiB);
    session.close();
}

}  // namespace
}  // namespace orvane
