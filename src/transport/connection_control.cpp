#include "transport/connection_control.h"

#include "transport/connection_boxes.h"
#include "transport/connection_texts.h"

#include <algorithm>

namespace orvane {

namespace {

// The longest texts read from the host and port fields.
constexpr size_t kMaxHostChars = 255;
constexpr size_t kMaxNetPortChars = 15;
constexpr int kHighestNetPort = 65535;

bool lists(const std::vector<PortInfo>& ports, std::wstring_view name) {
    return std::any_of(ports.begin(), ports.end(), [&](const PortInfo& p) { return p.portName == name; });
}

bool samePortNames(const std::vector<PortInfo>& a, const std::vector<PortInfo>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const PortInfo& x, const PortInfo& y) { return x.portName == y.portName; });
}

}  // namespace

ConnectionControl::ConnectionControl(ConnectionView& connectionView, LinkOpeners& openers, SessionBase& serial,
                                     SessionBase& net, AppSettings& appSettings)
    : view(connectionView), links(openers), serialSession(serial), netSession(net), settings(appSettings) {
    link.activeSession = &serialSession;
}

void ConnectionControl::initialise() {
    link.lanMode = lanModeSelected(settings);
    link.activeSession = link.lanMode ? &netSession : &serialSession;
    fillLineTerminatorBox();
    view.showModeControls(link.lanMode);
    refreshPortList();
    updateConnectControls();
}

void ConnectionControl::pressConnectButton() {
    if (link.connected) {
        disconnectLink();
    } else if (link.lanMode) {
        connectLan();
    } else {
        connectSerial();
    }
    view.focusTerminal();
}

bool ConnectionControl::connectSerial() {
    if (serialSession.isOpen()) return true;
    const int selected = selectedPortIndex();
    if (selected < 0) {
        view.showNotice(std::wstring(kSelectPortFirstText));
        return false;
    }
    link.currentPort = portList[static_cast<size_t>(selected)].portName;
    readLineSettings();
    link.connected = true;
    if (!openSerialPort(true)) {
        // Also ends a wait for a vanished port: a failed connect leaves Idle.
        link.connected = false;
        link.awaitingReconnect = false;
        view.enablePortBox(true);
        updateConnectControls();
        view.showNotice(serialOpenFailedText(serialSession.lastError()));
        return false;
    }
    settings.lastPort = link.currentPort;
    saveIfPersisting();
    view.showNotice(serialConnectedText(link.currentPort, link.currentBaud, link.currentFraming));
    view.focusTerminal();
    return true;
}

bool ConnectionControl::openSerialPort(bool resetTerminal) {
    if (serialSession.isOpen()) return true;
    if (!links.openSerial(link.currentPort, static_cast<uint32_t>(link.currentBaud), link.currentFraming)) return false;
    link.awaitingReconnect = false;
    view.enablePortBox(true);
    if (resetTerminal) view.resetTerminal();
    view.repaintTerminal();
    updateConnectControls();
    view.refreshLeds();
    return true;
}

bool ConnectionControl::connectLan() {
    if (netSession.isOpen()) return true;
    const std::wstring host = view.hostText().substr(0, kMaxHostChars);
    const std::wstring portText = view.netPortText().substr(0, kMaxNetPortChars);
    const int netPort = leadingInteger(portText);
    if (netPort < 1 || netPort > kHighestNetPort) {
        view.showNotice(std::wstring(kInvalidNetPortText));
        return false;
    }
    const bool udp = view.udpSelected();
    link.connected = true;
    const auto port16 = static_cast<uint16_t>(netPort);
    if (!(udp ? links.openUdp(host, port16) : links.connectTcp(host, port16))) {
        link.connected = false;
        view.showNotice(lanConnectFailedText(netSession.lastError()));
        return false;
    }
    view.resetTerminal();
    view.repaintTerminal();
    updateConnectControls();
    view.refreshLeds();
    settings.host = host;
    settings.netPort = portText;
    settings.proto = udp ? L"UDP" : L"TCP";
    saveIfPersisting();
    view.showNotice(udp ? udpListeningText(host, portText) : tcpConnectedText(host, portText));
    view.focusTerminal();
    return true;
}

void ConnectionControl::disconnectLink() {
    link.connected = false;
    link.awaitingReconnect = false;
    view.stopPlaybackAndSounds();
    link.activeSession->close();
    view.enablePortBox(true);
    updateConnectControls();
    view.refreshLeds();
    view.repaintTerminal();
    view.showNotice(std::wstring(kDisconnectedText));
}

void ConnectionControl::onSessionClosed(OpenGeneration generation, uint32_t now) {
    if (generation != link.activeSession->openGeneration()) return;
    if (link.lanMode) {
        onNetLinkLost();
    } else {
        onSerialLinkLost(now);
    }
}

void ConnectionControl::onSerialLinkLost(uint32_t now) {
    if (!link.connected || link.awaitingReconnect) return;
    view.stopPlaybackAndSounds();
    serialSession.close();
    enterWaitingState(now);
    view.showNotice(serialLostText(link.currentPort));
}

void ConnectionControl::enterWaitingState(uint32_t now) {
    // `connected` stays set: the button keeps its Disconnect caption, so the
    // user can give up waiting.
    link.awaitingReconnect = true;
    view.enablePortBox(false);
    updateConnectControls();
    view.refreshLeds();
    view.repaintTerminal();
    link.reconnectLastTry = now;
}

void ConnectionControl::onNetLinkLost() {
    if (!link.connected) return;
    view.stopPlaybackAndSounds();
    netSession.close();
    link.connected = false;
    updateConnectControls();
    view.refreshLeds();
    view.repaintTerminal();
    view.showNotice(std::wstring(kClosedByPeerText));
}

bool ConnectionControl::tryReconnect() {
    if (!link.connected || !link.awaitingReconnect || serialSession.isOpen()) return false;
    if (!lists(links.enumeratePorts(), link.currentPort)) return false;
    // The screen stays: the device carries on where it was cut off.
    if (!openSerialPort(false)) return false;
    serialSession.discardReceived();
    view.showNotice(reconnectedText(link.currentPort));
    return true;
}

void ConnectionControl::onPumpTick(uint32_t now) {
    if (link.activeSession->isOpen() || link.lanMode || !link.awaitingReconnect) return;
    if (now - link.reconnectLastTry < kReconnectIntervalMs) return;
    link.reconnectLastTry = now;
    tryReconnect();
}

void ConnectionControl::onLedTick(uint32_t now) {
    if (link.lanMode || link.connected || now - link.portListLastRefresh < kPortListRefreshMs) return;
    link.portListLastRefresh = now;
    refreshPortList();
}

void ConnectionControl::onDeviceChange(uintptr_t event) {
    if (event != kDevNodesChanged || link.lanMode) return;
    if (!link.connected) refreshPortList();
    if (link.awaitingReconnect) tryReconnect();
}

void ConnectionControl::switchMode() {
    const bool lan = view.lanSelected();
    // Choosing the mode already in force keeps the link.
    if (lan == link.lanMode) return;
    if (link.connected) disconnectLink();
    link.lanMode = lan;
    link.activeSession = lan ? &netSession : &serialSession;
    settings.mode = lan ? L"lan" : L"serial";
    saveIfPersisting();
    fillLineTerminatorBox();
    view.showModeControls(lan);
    updateConnectControls();
    view.repaintTerminal();
}

void ConnectionControl::refreshPortList(std::wstring_view preferred) {
    if (view.portDropDownOpen()) return;
    std::vector<PortInfo> ports = links.enumeratePorts();
    const bool preferNamed = !link.connected && !preferred.empty() && lists(ports, preferred);
    if (portBoxFilled && !preferNamed && samePortNames(portList, ports)) {
        portList = std::move(ports);
        return;
    }
    std::wstring chosen = settings.lastPort;
    if (const int selected = selectedPortIndex(); selected >= 0) chosen = portList[static_cast<size_t>(selected)].portName;
    if (preferNamed) chosen = preferred;
    if (link.connected) chosen = link.currentPort;
    fillPortBox(std::move(ports), chosen);
}

void ConnectionControl::fillPortBox(std::vector<PortInfo> ports, std::wstring_view chosen) {
    portList = std::move(ports);
    portBoxFilled = true;
    if (portList.empty()) {
        view.setPortEntries({std::wstring(kNoPortsEntry)}, 0);
        return;
    }
    std::vector<std::wstring> entries;
    for (const PortInfo& p : portList) entries.push_back(portDisplayText(p));
    const int index = lists(portList, chosen) ? findPortIndex(portList, chosen) : findPortIndex(portList, settings.lastPort);
    settings.lastPort = portList[static_cast<size_t>(index)].portName;
    view.setPortEntries(entries, index);
}

void ConnectionControl::onRefreshButton() {
    refreshPortList();
    saveIfPersisting();
}

void ConnectionControl::onPortSelected() {
    const int selected = selectedPortIndex();
    if (selected < 0) return;
    settings.lastPort = portList[static_cast<size_t>(selected)].portName;
    saveIfPersisting();
}

void ConnectionControl::reapplyLineSettings(uint32_t now) {
    settings.baud = std::to_wstring(leadingInteger(view.baudText()));
    settings.framing = view.framingText();
    saveIfPersisting();
    if (!link.connected) return;
    readLineSettings();
    if (!serialSession.isOpen()) return;  // a waiting link reopens with the new values
    serialSession.close();
    if (openSerialPort(false)) return;
    // The port refused the new parameters or went away meanwhile: wait for
    // it as for a vanished port, so the user sees why and can disconnect.
    enterWaitingState(now);
    view.showNotice(serialOpenFailedText(serialSession.lastError()));
}

void ConnectionControl::onProtocolChanged() {
    settings.proto = view.udpSelected() ? L"UDP" : L"TCP";
    saveIfPersisting();
    updateConnectControls();
}

void ConnectionControl::updateConnectControls() {
    const wchar_t* caption = L"Connect";
    if (link.connected) {
        caption = L"Disconnect";
    } else if (link.lanMode && view.udpSelected()) {
        caption = L"Listen";
    }
    view.setConnectCaption(caption);
    view.enableLanFields(!link.connected);
    // The grid size must not change under a running link.
    view.enableGeometryCommands(!link.connected);
}

void ConnectionControl::fillLineTerminatorBox() {
    const std::vector<std::wstring> entries = lineTerminatorEntries(link.lanMode);
    const int index = lineTerminatorIndex(settings.lineTerminator, link.lanMode);
    view.setLineTerminatorEntries(entries, index);
    view.setLineTerminatorBytes(lineTerminatorBytes(entries[static_cast<size_t>(index)]));
}

void ConnectionControl::saveIfPersisting() {
    if (persistSettings) view.saveSettings();
}

void ConnectionControl::readLineSettings() {
    link.currentBaud = baudFromText(view.baudText());
    link.currentFraming = framingFromText(view.framingText());
}

int ConnectionControl::selectedPortIndex() const {
    const int selected = view.portSelection();
    return selected >= 0 && static_cast<size_t>(selected) < portList.size() ? selected : -1;
}

}  // namespace orvane
