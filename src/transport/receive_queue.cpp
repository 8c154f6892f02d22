#include "transport/receive_queue.h"

#include <climits>
#include <new>

namespace orvane {

ReceiveQueue::ReceiveQueue(size_t maxBytes) : limit(maxBytes) {}

bool ReceiveQueue::append(const uint8_t* bytes, size_t length) {
    try {
        RxChunk chunk(bytes, bytes + length);
        std::lock_guard lock(rxLock);
        rxQueue.push_back(std::move(chunk));
        queuedBytes += length;
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

int ReceiveQueue::drainInto(std::vector<uint8_t>& out) {
    out.clear();
    std::lock_guard lock(rxLock);
    try {
        out.reserve(queuedBytes);
    } catch (const std::bad_alloc&) {
        // Grow chunk by chunk below instead.
    }
    size_t moved = 0;
    try {
        // The int result caps one drain; the queue limit keeps far below it.
        while (!rxQueue.empty() && out.size() + rxQueue.front().size() <= INT_MAX) {
            const RxChunk& chunk = rxQueue.front();
            out.insert(out.end(), chunk.begin(), chunk.end());
            moved += chunk.size();
            rxQueue.pop_front();
        }
    } catch (const std::bad_alloc&) {
        // What did not fit stays queued, in order.
    }
    noteRemoved(moved);
    return static_cast<int>(out.size());
}

void ReceiveQueue::clear() {
    std::deque<RxChunk> dropped;
    {
        std::lock_guard lock(rxLock);
        dropped.swap(rxQueue);
        noteRemoved(queuedBytes);
    }
}

bool ReceiveQueue::waitForRoom(const std::atomic<bool>& stop) {
    std::unique_lock lock(rxLock);
    roomAvailable.wait(lock, [&] { return stop.load() || queuedBytes < limit; });
    return !stop.load();
}

void ReceiveQueue::wakeWaiters() {
    // Taking the lock orders the caller's stop flag before the waiter's check.
    std::lock_guard lock(rxLock);
    roomAvailable.notify_all();
}

size_t ReceiveQueue::bytesQueued() const {
    std::lock_guard lock(rxLock);
    return queuedBytes;
}

size_t ReceiveQueue::chunksQueued() const {
    std::lock_guard lock(rxLock);
    return rxQueue.size();
}

void ReceiveQueue::noteRemoved(size_t bytes) {
    queuedBytes -= bytes;
    if (queuedBytes < limit) roomAvailable.notify_all();
}

}  // namespace orvane
