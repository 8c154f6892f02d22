#include "transport/receive_queue.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <future>
#include <numeric>

namespace orvane {
namespace {

using namespace std::chrono_literals;

std::vector<uint8_t> countingBytes(size_t count, uint8_t first) {
    std::vector<uint8_t> bytes(count);
    std::iota(bytes.begin(), bytes.end(), first);
    return bytes;
}

void append(ReceiveQueue& queue, const std::vector<uint8_t>& bytes) {
    ASSERT_TRUE(queue.append(bytes.data(), bytes.size()));
}

TEST(ReceiveQueue, DrainDeliversEveryChunkInArrivalOrderAndEmptiesTheQueue) {
    ReceiveQueue queue;
    std::vector<uint8_t> out{99, 98};
    EXPECT_EQ(queue.drainInto(out), 0);
    EXPECT_TRUE(out.empty());

    append(queue, countingBytes(3, 10));
    append(queue, countingBytes(256, 0));
    EXPECT_EQ(queue.chunksQueued(), 2u);
    EXPECT_EQ(queue.bytesQueued(), 259u);
    out = {99, 98};
    EXPECT_EQ(queue.drainInto(out), 259);
    std::vector<uint8_t> expected = countingBytes(3, 10);
    const std::vector<uint8_t> second = countingBytes(256, 0);
    expected.insert(expected.end(), second.begin(), second.end());
    EXPECT_EQ(out, expected);
    EXPECT_EQ(queue.bytesQueued(), 0u);
    EXPECT_EQ(queue.chunksQueued(), 0u);
}

TEST(ReceiveQueue, AReaderWaitsAtTheLimitUntilADrainAClearOrAStop) {
    struct Release {
        const char* how;
        std::function<void(ReceiveQueue&, std::atomic<bool>&)> act;
        bool room;
        size_t left;
    };
    const Release releases[] = {
        {"drain", [](ReceiveQueue& q, std::atomic<bool>&) { std::vector<uint8_t> out; q.drainInto(out); }, true, 0},
        {"clear", [](ReceiveQueue& q, std::atomic<bool>&) { q.clear(); }, true, 0},
        // Stopping drops nothing by itself.
        {"stop", [](ReceiveQueue& q, std::atomic<bool>& stop) { stop = true; q.wakeWaiters(); }, false, 10},
    };
    for (const Release& release : releases) {
        SCOPED_TRACE(release.how);
        ReceiveQueue queue(10);
        std::atomic<bool> stop{false};
        append(queue, countingBytes(9, 0));
        EXPECT_TRUE(queue.waitForRoom(stop));  // 9 of 10: still room
        append(queue, countingBytes(1, 9));
        auto waiter = std::async(std::launch::async, [&] { return queue.waitForRoom(stop); });
        EXPECT_EQ(waiter.wait_for(50ms), std::future_status::timeout);
        release.act(queue, stop);
        const bool released = waiter.wait_for(5s) == std::future_status::ready;
        const size_t left = queue.bytesQueued();
        stop = true;  // never leave a waiter behind
        queue.wakeWaiters();
        EXPECT_TRUE(released);
        EXPECT_EQ(waiter.get(), release.room);
        EXPECT_EQ(left, release.left);
    }
}

TEST(ReceiveQueue, AQueuedChunkOvershootsTheLimitButNothingIsLost) {
    // A reader checks for room before each read, so the last read may carry
    // the queue past the limit; every byte must still come out in order.
    ReceiveQueue queue(100);
    std::atomic<bool> stop{false};
    std::vector<uint8_t> sent;
    while (queue.bytesQueued() < 100) {
        ASSERT_TRUE(queue.waitForRoom(stop));
        const std::vector<uint8_t> chunk = countingBytes(33, static_cast<uint8_t>(sent.size()));
        append(queue, chunk);
        sent.insert(sent.end(), chunk.begin(), chunk.end());
    }
    EXPECT_EQ(queue.bytesQueued(), 132u);
    std::vector<uint8_t> out;
    queue.drainInto(out);
    EXPECT_EQ(out, sent);
}

}  // namespace
}  // namespace orvane
