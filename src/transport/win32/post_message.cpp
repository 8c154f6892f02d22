#include "transport/win32/post_message.h"

#include <windows.h>

namespace orvane {

void postToWindow(WindowHandle window, unsigned message, uintptr_t wParam) {
    // A full message queue loses the post; the next chunk posts again and the
    // first drain takes everything anyway.
    PostMessageW(static_cast<HWND>(window), message, static_cast<WPARAM>(wParam), 0);
}

}  // namespace orvane
