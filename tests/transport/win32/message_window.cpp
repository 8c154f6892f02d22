#include "message_window.h"

#include <gtest/gtest.h>

namespace orvane::test {

namespace {

constexpr wchar_t kClassName[] = L"OrvaneTestMessageWindow";

void registerClassOnce(WNDPROC procedure) {
    static const ATOM atom = [&] {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = procedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = kClassName;
        return RegisterClassW(&windowClass);
    }();
    (void)atom;
}

}  // namespace

MessageWindow::MessageWindow() {
    registerClassOnce(windowProc);
    hwnd = CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr), this);
}

MessageWindow::~MessageWindow() {
    if (hwnd != nullptr) DestroyWindow(hwnd);
    // Drop what is still queued for the window so that a later test starts clean.
    MSG message;
    while (PeekMessageW(&message, nullptr, WM_APP, 0xBFFF, PM_REMOVE)) {
    }
}

LRESULT CALLBACK MessageWindow::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<MessageWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self != nullptr && message >= WM_APP && message <= 0xBFFF) {
        ++self->counts[message];
        if (self->onMessage) self->onMessage(message);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

size_t MessageWindow::count(UINT message) const {
    const auto found = counts.find(message);
    return found == counts.end() ? 0 : found->second;
}

bool MessageWindow::pumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
        if (done()) return true;
        const auto left = deadline - std::chrono::steady_clock::now();
        if (left <= std::chrono::steady_clock::duration::zero()) return false;
        const auto waitMs = std::chrono::ceil<std::chrono::milliseconds>(left).count();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(std::min<long long>(waitMs, 50)), QS_ALLINPUT);
    }
}

bool MessageWindow::waitForCount(UINT message, size_t wanted, std::chrono::milliseconds timeout) {
    return pumpUntil([&] { return count(message) >= wanted; }, timeout);
}

void MessageWindow::pumpFor(std::chrono::milliseconds duration) {
    pumpUntil([] { return false; }, duration);
}

std::string drainedText(ITermSession& session) {
    std::vector<uint8_t> out;
    session.drainReceived(out);
    return std::string(out.begin(), out.end());
}

void expectLinkLostOnce(MessageWindow& window, ITermSession& session, const std::string& queued) {
    using namespace std::chrono_literals;
    ASSERT_TRUE(window.waitForCount(WM_SESSION_CLOSED, 1, 5s));
    window.pumpFor(200ms);
    EXPECT_EQ(window.count(WM_SESSION_CLOSED), 1u);
    EXPECT_TRUE(session.isOpen());
    EXPECT_EQ(drainedText(session), queued);
    session.close();
    EXPECT_FALSE(session.isOpen());
    window.pumpFor(50ms);
    EXPECT_EQ(window.count(WM_SESSION_CLOSED), 1u);
}

}  // namespace orvane::test
