#include "transport/session_base.h"

#include <atomic>
#include <new>
#include <system_error>

namespace orvane {

namespace {
// Shared by every session, so a closed message of one session can never
// match the current open of the other.
std::atomic<OpenGeneration> lastGeneration{0};
}  // namespace

SessionBase::SessionBase(PostMessageFn poster, size_t queueLimit) : post(poster), rxQueue(queueLimit) {}

SessionBase::~SessionBase() {
    // The concrete session closes itself first; this only guards a thread
    // that would otherwise terminate the program.
    stopReader();
}

int SessionBase::drainReceived(std::vector<uint8_t>& out) {
    return rxQueue.drainInto(out);
}

void SessionBase::discardReceived() {
    rxQueue.clear();
}

void SessionBase::setNotifyTarget(WindowHandle window, unsigned data, unsigned closed) {
    notifyWindow = window;
    dataMessage = data;
    closedMessage = closed;
}

bool SessionBase::takeTxActivity() {
    return txActivity.exchange(false);
}

bool SessionBase::takeRxActivity() {
    return rxActivity.exchange(false);
}

std::wstring SessionBase::lastError() const {
    return lastErrorText;
}

size_t SessionBase::queuedBytes() const {
    return rxQueue.bytesQueued();
}

OpenGeneration SessionBase::openGeneration() const {
    return generation.load();
}

bool SessionBase::startReader(std::function<void()> loop) {
    stopFlag = false;
    // Set before the reader runs: it reports this value when the link fails.
    const OpenGeneration previous = generation.exchange(++lastGeneration);
    try {
        reader = spawnReaderThread(std::move(loop));
        return true;
    } catch (const std::system_error&) {
    } catch (const std::bad_alloc&) {
    }
    generation = previous;
    lastErrorText = L"cannot start reader thread";
    return false;
}

std::thread SessionBase::spawnReaderThread(std::function<void()> loop) {
    return std::thread(std::move(loop));
}

void SessionBase::stopReader() {
    stopFlag = true;
    rxQueue.wakeWaiters();
    if (reader.joinable() && reader.get_id() != std::this_thread::get_id()) reader.join();
}

bool SessionBase::stopRequested() const {
    return stopFlag.load();
}

bool SessionBase::waitForQueueRoom() {
    return rxQueue.waitForRoom(stopFlag);
}

void SessionBase::deliver(const uint8_t* bytes, size_t length) {
    rxActivity = true;
    // A chunk that cannot be allocated is lost like bytes on a noisy line.
    if (rxQueue.append(bytes, length)) postIfSet(dataMessage);
}

void SessionBase::reportLinkLost() {
    if (!stopFlag.load()) postIfSet(closedMessage, generation.load());
}

void SessionBase::noteTransmitted() {
    txActivity = true;
}

void SessionBase::setLastError(std::wstring text) {
    lastErrorText = std::move(text);
}

void SessionBase::clearQueue() {
    rxQueue.clear();
}

void SessionBase::postIfSet(unsigned message, uintptr_t wParam) const {
    const WindowHandle window = notifyWindow.load();
    if (window != nullptr && message != 0) post(window, message, wParam);
}

}  // namespace orvane
