#pragma once

#include "transport/port_list.h"

#include <cstdint>
#include <string>
#include <vector>

namespace orvane {

// The connection controls of the main window and the parts of the program
// that a change of the link touches, as connection control sees them. The
// main window implements it; tests record what is shown.
class ConnectionView {
public:
    virtual ~ConnectionView() = default;

    // Port box: its entries, the selected index (-1 for none), whether its
    // drop-down list is open (the user is choosing).
    virtual void setPortEntries(const std::vector<std::wstring>& entries, int selected) = 0;
    virtual int portSelection() const = 0;
    virtual bool portDropDownOpen() const = 0;
    // The port label and the port box together.
    virtual void enablePortBox(bool enabled) = 0;

    virtual std::wstring baudText() const = 0;
    virtual std::wstring framingText() const = 0;
    virtual std::wstring hostText() const = 0;
    virtual std::wstring netPortText() const = 0;
    virtual bool udpSelected() const = 0;  // protocol box shows UDP
    virtual bool lanSelected() const = 0;  // mode box shows LAN

    virtual void setLineTerminatorEntries(const std::vector<std::wstring>& entries, int selected) = 0;
    // The bytes a typed line ends with, handed to the terminal.
    virtual void setLineTerminatorBytes(const std::string& bytes) = 0;

    virtual void setConnectCaption(const std::wstring& caption) = 0;
    // Host field, port field and protocol box together.
    virtual void enableLanFields(bool enabled) = 0;
    // The four grid-size commands of the menu.
    virtual void enableGeometryCommands(bool enabled) = 0;
    // Shows the serial controls and the LED bar, or the LAN controls, and
    // lays the window out again.
    virtual void showModeControls(bool lanMode) = 0;

    virtual void showNotice(const std::wstring& text) = 0;
    virtual void repaintTerminal() = 0;
    virtual void focusTerminal() = 0;
    virtual void refreshLeds() = 0;
    // Clears the screen as the Clear button does.
    virtual void resetTerminal() = 0;
    virtual void stopPlaybackAndSounds() = 0;
    // Writes the settings file (only called while persistSettings allows it).
    virtual void saveSettings() = 0;
};

// Opening the links and listing the ports; on Windows the two sessions and
// the device-setup enumeration, in tests a fake. The sessions' lastError()
// tells why an open failed.
class LinkOpeners {
public:
    virtual ~LinkOpeners() = default;

    virtual bool openSerial(const std::wstring& portName, uint32_t baud, const std::string& framing) = 0;
    virtual bool connectTcp(const std::wstring& host, uint16_t port) = 0;
    virtual bool openUdp(const std::wstring& host, uint16_t port) = 0;
    // The present serial ports, sorted.
    virtual std::vector<PortInfo> enumeratePorts() = 0;
};

}  // namespace orvane
