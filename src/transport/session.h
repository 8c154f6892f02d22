#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace orvane {

// A window that receives a session's notifications. The portable layer only
// carries it around; the Windows layer casts it to HWND.
using WindowHandle = void*;

// Posted by a reader thread after each chunk it queued (wParam and lParam 0).
inline constexpr unsigned WM_SESSION_DATA = 0x8001;  // WM_APP + 1
// Posted once by a reader thread whose read failed; wParam is the open
// generation of the session (SessionBase::openGeneration), so a message left
// over from an earlier open can be told apart.
inline constexpr unsigned WM_SESSION_CLOSED = 0x8003;  // WM_APP + 3

// The bytes of one successful read, never empty.
using RxChunk = std::vector<uint8_t>;

// The link to the device as the rest of the program sees it. The slot order
// of the operations is fixed; both sessions implement them in this order.
class ITermSession {
public:
    // Closes the session as close() does.
    virtual ~ITermSession() = default;

    virtual bool isOpen() const = 0;

    // Stops the reader, releases the device and drops queued chunks. Harmless
    // when already closed. Never call it from the reader thread.
    virtual void close() = 0;

    // Sends bytes; does nothing when closed. Failures are not reported.
    virtual void write(const uint8_t* bytes, size_t length) = 0;

    // Replaces the content of `out` with every queued chunk in arrival order
    // and empties the queue. Returns the size of `out`.
    virtual int drainReceived(std::vector<uint8_t>& out) = 0;

    virtual void discardReceived() = 0;

    // Message id 0 means that message is not posted.
    virtual void setNotifyTarget(WindowHandle window, unsigned dataMessage,
                                 unsigned closedMessage) = 0;

    // Whether bytes went out (came in) since the previous call; clears the flag.
    virtual bool takeTxActivity() = 0;
    virtual bool takeRxActivity() = 0;
};

}  // namespace orvane
