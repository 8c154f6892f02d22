// The real program against the demo device over TCP: the status bar, the
// showcase's colours on the screen, typed text reaching the device, and the
// device hanging up.
#include "e2e_support.h"

#include "terminal/palette.h"

#include <gtest/gtest.h>

namespace orvane::e2e {
namespace {

// A colour the screen shows over at least a few cells' worth of pixels.
bool showsColour(HWND window, uint32_t colour) {
    return waitUntil([&] { return countColour(terminalPixels(window), colour) >= 200; }, 15000);
}

TEST(LanSession, ConnectsShowsColoursSendsTypedTextAndNoticesPeerClose) {
    DemoDevice device;
    ASSERT_NE(device.port(), 0) << "the demo device did not report its port";
    const std::wstring port = std::to_wstring(device.port());
    RunningApp app(L"-lan -host 127.0.0.1 -netport " + port +
                   L" -proto tcp -inputmode char -displaymode ansi -palette Campbell -connect");
    HWND window = app.window();
    ASSERT_NE(window, nullptr) << "no main window";
    const std::wstring connected = L"Connected 127.0.0.1:" + port + L" (TCP)";
    ASSERT_EQ(waitForStatus(window, connected, 20000), connected);

    // The "0-7" and "8-15" swatches are filled with palette backgrounds.
    for (const int index : {1, 2, 4, 9, 12}) {
        EXPECT_TRUE(showsColour(window, kCampbellPalette[index])) << "palette colour " << index << " not on screen";
    }

    typeText(window, L"help\r");
    EXPECT_TRUE(waitUntil(
        [&] {
            return gridText(window).find(L"close the connection") != std::wstring::npos;
        },
        15000))
        << "the device's help list is not on the screen";

    // Only the device's "quit" command hangs up: the status proves the typed line arrived.
    typeText(window, L"quit\r");
    EXPECT_EQ(waitForStatus(window, L"Connection closed by peer", 15000), L"Connection closed by peer");
    EXPECT_EQ(device.exitCode(10000), std::optional<DWORD>(0));
}

}  // namespace
}  // namespace orvane::e2e
