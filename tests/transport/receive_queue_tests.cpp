#include "transport/receive_queue.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <numeric>
#include <thread>

namespace orvane {
namespace {

using namespace std::chrono_literals;

std::vector<uint8_t> countingBytes(size_t count, uint8_t first) {
    std::vector<uint8_t> bytes(count);
    std::iota(bytes.begin(), bytes.end(), first);
    return bytes;
}

TEST(ReceiveQueue, DrainDeliversEveryChunkInArrivalOrderAndEmptiesTheQueue) {
    ReceiveQueue queue;
    const std::vector<uint8_t> first = countingBytes(3, 10);
    const std::vector<uint8_t> second = countingBytes(256, 0);
    ASSERT_TRUE(queue.append(first.data(), first.size()));
    ASSERT_TRUE(queue.append(second.data(), second.size()));
    EXPECT_EQ(queue.chunksQueued(), 2u);
    EXPECT_EQ(queue.bytesQueued(), 259u);

    std::vector<uint8_t> out{99, 98};
    EXPECT_EQ(queue.drainInto(out), 259);
    std::vector<uint8_t> expected = first;
    expected.insert(expected.end(), second.begin(), second.end());
    EXPECT_EQ(out, expected);
    EXPECT_EQ(queue.bytesQueued(), 0u);
    EXPECT_EQ(queue.chunksQueued(), 0u);
}

TEST(ReceiveQueue, DrainOfAnEmptyQueueClearsTheOutput) {
    ReceiveQueue queue;
    std::vector<uint8_t> out{1, 2, 3};
    EXPECT_EQ(queue.drainInto(out), 0);
    EXPECT_TRUE(out.empty());
}

TEST(ReceiveQueue, ClearDropsEverything) {
    ReceiveQueue queue;
    const uint8_t byte = 7;
    queue.append(&byte, 1);
    queue.clear();
    std::vector<uint8_t> out;
    EXPECT_EQ(queue.drainInto(out), 0);
    EXPECT_EQ(queue.bytesQueued(), 0u);
}

TEST(ReceiveQueue, WaitForRoomPassesBelowTheLimitAndBlocksAtIt) {
    ReceiveQueue queue(10);
    std::atomic<bool> stop{false};
    const std::vector<uint8_t> nine = countingBytes(9, 0);
    queue.append(nine.data(), nine.size());
    EXPECT_TRUE(queue.waitForRoom(stop));  // 9 of 10: still room

    const uint8_t one = 9;
    queue.append(&one, 1);
    auto waiter = std::async(std::launch::async, [&] { return queue.waitForRoom(stop); });
    EXPECT_EQ(waiter.wait_for(100ms), std::future_status::timeout);

    std::vector<uint8_t> out;
    EXPECT_EQ(queue.drainInto(out), 10);
    ASSERT_EQ(waiter.wait_for(5s), std::future_status::ready);
    EXPECT_TRUE(waiter.get());
}

TEST(ReceiveQueue, ClearAlsoReleasesAWaitingReader) {
    ReceiveQueue queue(4);
    std::atomic<bool> stop{false};
    const std::vector<uint8_t> bytes = countingBytes(6, 0);
    queue.append(bytes.data(), bytes.size());
    auto waiter = std::async(std::launch::async, [&] { return queue.waitForRoom(stop); });
    EXPECT_EQ(waiter.wait_for(50ms), std::future_status::timeout);
    queue.clear();
    ASSERT_EQ(waiter.wait_for(5s), std::future_status::ready);
    EXPECT_TRUE(waiter.get());
}

TEST(ReceiveQueue, AStopRequestEndsTheWaitWithFalse) {
    ReceiveQueue queue(1);
    std::atomic<bool> stop{false};
    const uint8_t byte = 1;
    queue.append(&byte, 1);
    auto waiter = std::async(std::launch::async, [&] { return queue.waitForRoom(stop); });
    EXPECT_EQ(waiter.wait_for(50ms), std::future_status::timeout);
    stop = true;
    queue.wakeWaiters();
    ASSERT_EQ(waiter.wait_for(5s), std::future_status::ready);
    EXPECT_FALSE(waiter.get());
    EXPECT_EQ(queue.bytesQueued(), 1u);  // stopping drops nothing by itself
}

TEST(ReceiveQueue, AQueuedChunkOvershootsTheLimitButNothingIsLost) {
    // A reader checks for room before each read, so the last read may carry
    // the queue past the limit; every byte must still come out in order.
    ReceiveQueue queue(100);
    std::atomic<bool> stop{false};
    std::vector<uint8_t> sent;
    uint8_t next = 0;
    while (queue.bytesQueued() < 100) {
        ASSERT_TRUE(queue.waitForRoom(stop));
        const std::vector<uint8_t> chunk = countingBytes(33, next);
        next = static_cast<uint8_t>(next + 33);
        queue.append(chunk.data(), chunk.size());
        sent.insert(sent.end(), chunk.begin(), chunk.end());
    }
    EXPECT_EQ(queue.bytesQueued(), 132u);
    std::vector<uint8_t> out;
    queue.drainInto(out);
    EXPECT_EQ(out, sent);
}

}  // namespace
}  // namespace orvane
