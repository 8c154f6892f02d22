#pragma once

#include "transport/receive_queue.h"
#include "transport/session.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>

namespace orvane {

// Tells which open of which session a closed message belongs to. Unique
// across the sessions of the process; it travels as the message's wParam.
using OpenGeneration = uintptr_t;

// Delivers a notification to a window; the Windows layer posts it with
// `wParam` (data messages carry 0).
using PostMessageFn = void (*)(WindowHandle window, unsigned message, uintptr_t wParam);

// What the serial and the network session share: the receive queue, the
// notification target, the activity flags and the reader thread's life.
class SessionBase : public ITermSession {
public:
    int drainReceived(std::vector<uint8_t>& out) override;
    void discardReceived() override;
    void setNotifyTarget(WindowHandle window, unsigned dataMessage,
                         unsigned closedMessage) override;
    bool takeTxActivity() override;
    bool takeRxActivity() override;

    // Text of the most recent open failure.
    std::wstring lastError() const;

    size_t queuedBytes() const;

    // The generation of the most recent successful open (0 before the first).
    // A closed message carrying another one is left over from an earlier open.
    OpenGeneration openGeneration() const;

protected:
    // `queueLimit`: bytes queued beyond which the reader pauses.
    explicit SessionBase(PostMessageFn poster, size_t queueLimit = kReceiveQueueLimit);
    ~SessionBase() override;

    // Starts `loop` on the reader thread and gives the open a new generation.
    // On failure leaves the text "cannot start reader thread", keeps the
    // generation and returns false.
    bool startReader(std::function<void()> loop);

    // Asks the reader to end, wakes it if it waits for queue room, joins it.
    void stopReader();

    bool stopRequested() const;

    // Reader side: waits while the queue is full; false once a stop is asked.
    bool waitForQueueRoom();

    // Reader side: one successful read of `length` (> 0) bytes.
    void deliver(const uint8_t* bytes, size_t length);

    // Reader side: the link is lost. Posts the closed message unless the
    // session is being closed.
    void reportLinkLost();

    void noteTransmitted();
    void setLastError(std::wstring text);
    void clearQueue();

    // Creates the reader thread; tests replace it to see a refusal.
    virtual std::thread spawnReaderThread(std::function<void()> loop);

private:
    void postIfSet(unsigned message, uintptr_t wParam = 0) const;

    const PostMessageFn post;
    ReceiveQueue rxQueue;
    std::thread reader;
    std::atomic<bool> stopFlag{false};
    std::wstring lastErrorText;
    std::atomic<WindowHandle> notifyWindow{nullptr};
    std::atomic<unsigned> dataMessage{0};
    std::atomic<unsigned> closedMessage{0};
    std::atomic<bool> txActivity{false};
    std::atomic<bool> rxActivity{false};
    std::atomic<OpenGeneration> generation{0};
};

}  // namespace orvane
