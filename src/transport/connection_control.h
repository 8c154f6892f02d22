#pragma once

#include "app/settings.h"
#include "transport/connection_view.h"
#include "transport/port_list.h"
#include "transport/session_base.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

// A lost serial link is tried again this often (timer 4001 ticks).
inline constexpr uint32_t kReconnectIntervalMs = 750;
// The port list is refreshed this often while nothing is connected.
inline constexpr uint32_t kPortListRefreshMs = 1000;
// WM_DEVICECHANGE: a device was added or removed somewhere.
inline constexpr uintptr_t kDevNodesChanged = 7;

// The link as connection control keeps it.
struct ConnectionState {
    // A link is open or meant to be open; stays set while a lost serial link
    // waits to be reopened.
    bool connected = false;
    bool awaitingReconnect = false;
    bool lanMode = false;
    SessionBase* activeSession = nullptr;
    // The serial link last opened or being reopened.
    std::wstring currentPort;
    int currentBaud = 0;
    std::string currentFraming = "8N1";
    uint32_t reconnectLastTry = 0;  // last reopen attempt, or the loss
    uint32_t portListLastRefresh = 0;
};

// Connecting, disconnecting and reconnecting the one link, on the
// user-interface thread. Idle (nothing open), Connected, or - serial only -
// waiting for a vanished port to come back (`connected` and
// `awaitingReconnect` both set, the session closed).
class ConnectionControl {
public:
    ConnectionControl(ConnectionView& view, LinkOpeners& links, SessionBase& serial, SessionBase& net,
                      AppSettings& settings);

    // Start-up: mode from the settings, the terminator box, the port list.
    void initialise();

    // The connect button: disconnects when connected, else connects; then
    // the terminal gets the keyboard.
    void pressConnectButton();
    bool connectSerial();
    bool connectLan();
    void disconnectLink();
    bool openSerialPort(bool resetTerminal);

    // WM_SESSION_CLOSED with its wParam. Messages of an earlier open (or of
    // the other session) are ignored, so they cannot end a reopened link.
    void onSessionClosed(OpenGeneration generation, uint32_t now);
    void onSerialLinkLost(uint32_t now);
    void onNetLinkLost();
    bool tryReconnect();

    // Timer 4001 (after pumping) and timer 4002.
    void onPumpTick(uint32_t now);
    void onLedTick(uint32_t now);
    void onDeviceChange(uintptr_t event);

    void switchMode();
    // `preferred`: a port named on the command line, selected when listed
    // even if the list has not changed (unless a link holds another port).
    void refreshPortList(std::wstring_view preferred = {});
    void onRefreshButton();
    void onPortSelected();
    void reapplyLineSettings(uint32_t now);
    void onProtocolChanged();
    void updateConnectControls();
    void fillLineTerminatorBox();

    const ConnectionState& state() const { return link; }
    // The session the pump, the keyboard and playback use.
    ITermSession& activeSession() const { return *link.activeSession; }

private:
    void saveIfPersisting();
    void enterWaitingState(uint32_t now);
    void readLineSettings();
    int selectedPortIndex() const;
    void fillPortBox(std::vector<PortInfo> ports, std::wstring_view chosen);

    ConnectionView& view;
    LinkOpeners& links;
    SessionBase& serialSession;
    SessionBase& netSession;
    AppSettings& settings;

    ConnectionState link;
    // The ports behind the port box's entries (none behind "No serial ports found").
    std::vector<PortInfo> portList;
    bool portBoxFilled = false;
};

}  // namespace orvane
