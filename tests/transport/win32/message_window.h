#pragma once

#include "transport/session.h"

#include <windows.h>

#include <chrono>
#include <functional>
#include <map>
#include <string>

namespace orvane::test {

// A real message-only window that counts the application messages posted
// to it. Pump it on the thread that created it.
class MessageWindow {
public:
    MessageWindow();
    ~MessageWindow();

    MessageWindow(const MessageWindow&) = delete;
    MessageWindow& operator=(const MessageWindow&) = delete;

    WindowHandle target() const { return hwnd; }

    // Called for each counted message as it is dispatched.
    std::function<void(UINT)> onMessage;

    size_t count(UINT message) const;

    // Dispatches messages until `done` holds or the time is up; returns
    // whether `done` held.
    bool pumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);
    bool waitForCount(UINT message, size_t wanted, std::chrono::milliseconds timeout);
    void pumpFor(std::chrono::milliseconds duration);

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd = nullptr;
    std::map<UINT, size_t> counts;
};

// Everything the session has queued, as text.
std::string drainedText(ITermSession& session);

// After the link was lost: the closed message came once and no second one
// follows; the session stays open, `queued` still to drain, until closed.
void expectLinkLostOnce(MessageWindow& window, ITermSession& session, const std::string& queued);

}  // namespace orvane::test
