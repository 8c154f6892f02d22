#pragma once

#include "transport/session.h"

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <vector>

namespace orvane {

// A fast peer can send far quicker than the terminal interprets (a Pictel
// drawing command costs much more to carry out than to send). Beyond this
// many queued bytes the reader stops reading until the queue is drained, so
// memory stays bounded and TCP pushes back on the sender.
inline constexpr size_t kReceiveQueueLimit = size_t{64} << 20;

// First-in-first-out store of received chunks between a reader thread
// (append) and the user-interface thread (drain, clear).
class ReceiveQueue {
public:
    explicit ReceiveQueue(size_t maxBytes = kReceiveQueueLimit);

    ReceiveQueue(const ReceiveQueue&) = delete;
    ReceiveQueue& operator=(const ReceiveQueue&) = delete;

    // Queues a copy of `length` (> 0) bytes as one chunk. Returns false, and
    // keeps nothing, when the chunk cannot be allocated.
    bool append(const uint8_t* bytes, size_t length);

    // Moves every queued byte into `out` (cleared first), oldest first.
    // Chunks that do not fit into memory stay queued for the next call.
    // Returns the size of `out`.
    int drainInto(std::vector<uint8_t>& out);

    void clear();

    // Blocks while the queue holds `limit` bytes or more. Returns false as
    // soon as `stop` is set (wakeWaiters() makes a waiter look at it).
    bool waitForRoom(const std::atomic<bool>& stop);
    void wakeWaiters();

    size_t bytesQueued() const;
    size_t chunksQueued() const;

private:
    void noteRemoved(size_t bytes);

    mutable std::mutex rxLock;
    std::condition_variable roomAvailable;
    std::deque<RxChunk> rxQueue;
    size_t queuedBytes = 0;
    const size_t limit;
};

}  // namespace orvane
