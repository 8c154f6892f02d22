#include "transport/connection_boxes.h"
#include "transport/connection_control.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

namespace orvane {
namespace {

void noPost(WindowHandle, unsigned, uintptr_t) {}

// A session without a reader thread: open and close as the real ones do,
// so every open gets its generation.
class FakeSession : public SessionBase {
public:
    FakeSession() : SessionBase(noPost) {}
    ~FakeSession() override { close(); }

    bool open() {
        close();
        opened = startReader([] {});
        return opened;
    }
    void fail(std::wstring text) { setLastError(std::move(text)); }
    bool isOpen() const override { return opened; }
    void close() override {
        stopReader();
        opened = false;
    }
    void write(const uint8_t*, size_t) override {}
    void discardReceived() override { ++discards; }

    int discards = 0;

protected:
    std::thread spawnReaderThread(std::function<void()>) override { return {}; }

private:
    bool opened = false;
};

struct SerialOpen {
    std::wstring port;
    uint32_t baud;
    std::string framing;
    bool operator==(const SerialOpen&) const = default;
};

// Ports that are present, and links that open unless told to refuse.
class FakeLinks : public LinkOpeners {
public:
    FakeLinks(FakeSession& serialSession, FakeSession& netSession) : serial(serialSession), net(netSession) {}

    bool openSerial(const std::wstring& port, uint32_t baud, const std::string& framing) override {
        serialOpens.push_back({port, baud, framing});
        const bool present = std::any_of(ports.begin(), ports.end(), [&](auto& p) { return p.portName == port; });
        if (present && !refuseSerial) return serial.open();
        serial.close();
        serial.fail(L"CreateFileW failed for " + port);
        return false;
    }
    bool connectTcp(const std::wstring& host, uint16_t port) override { return openNet(L"tcp", host, port); }
    bool openUdp(const std::wstring& host, uint16_t port) override { return openNet(L"udp", host, port); }
    std::vector<PortInfo> enumeratePorts() override {
        ++enumerations;
        return ports;
    }

    std::vector<PortInfo> ports;
    bool refuseSerial = false;
    bool refuseNet = false;
    std::vector<SerialOpen> serialOpens;
    std::vector<std::wstring> netOpens;  // "tcp host:port"
    int enumerations = 0;

private:
    bool openNet(const std::wstring& kind, const std::wstring& host, uint16_t port) {
        netOpens.push_back(kind + L" " + host + L":" + std::to_wstring(port));
        if (!refuseNet) return net.open();
        net.fail(L"connect to " + host + L" failed");
        return false;
    }

    FakeSession& serial;
    FakeSession& net;
};

// The controls as the user sees them, and counts of the side effects.
class FakeView : public ConnectionView {
public:
    void setPortEntries(const std::vector<std::wstring>& entries, int selected) override {
        portEntries = entries;
        portSelected = selected;
        ++portFills;
    }
    int portSelection() const override { return portSelected; }
    bool portDropDownOpen() const override { return dropDownOpen; }
    void enablePortBox(bool enabled) override { portBoxEnabled = enabled; }
    std::wstring baudText() const override { return baud; }
    std::wstring framingText() const override { return framing; }
    std::wstring hostText() const override { return host; }
    std::wstring netPortText() const override { return netPort; }
    bool udpSelected() const override { return udp; }
    bool lanSelected() const override { return lan; }
    void setLineTerminatorEntries(const std::vector<std::wstring>& entries, int selected) override {
        terminatorEntries = entries;
        terminatorSelected = selected;
    }
    void setLineTerminatorBytes(const std::string& bytes) override { terminatorBytes = bytes; }
    void setConnectCaption(const std::wstring& text) override { caption = text; }
    void enableLanFields(bool enabled) override { lanFieldsEnabled = enabled; }
    void enableGeometryCommands(bool enabled) override { geometryEnabled = enabled; }
    void showModeControls(bool lanMode) override { shownLan = lanMode; }
    void showNotice(const std::wstring& text) override { notices.push_back(text); }
    void repaintTerminal() override { ++repaints; }
    void focusTerminal() override { ++focuses; }
    void refreshLeds() override { ++ledRefreshes; }
    void resetTerminal() override { ++resets; }
    void stopPlaybackAndSounds() override { ++stops; }
    void saveSettings() override { ++saves; }

    std::wstring notice() const { return notices.empty() ? L"" : notices.back(); }

    std::vector<std::wstring> portEntries;
    int portSelected = -1;
    int portFills = 0;
    bool dropDownOpen = false;
    bool portBoxEnabled = true;
    std::wstring baud = L"115200", framing = L"8N1", host = L"10.0.0.5", netPort = L"5000";
    bool udp = false, lan = false;
    std::vector<std::wstring> terminatorEntries;
    int terminatorSelected = -1;
    std::string terminatorBytes;
    std::wstring caption;
    bool lanFieldsEnabled = true, geometryEnabled = true, shownLan = false;
    std::vector<std::wstring> notices;
    int repaints = 0, focuses = 0, ledRefreshes = 0, resets = 0, stops = 0, saves = 0;
};

std::vector<PortInfo> portsNamed(std::initializer_list<const wchar_t*> names) {
    std::vector<PortInfo> ports;
    for (const wchar_t* name : names) ports.push_back({name, L"", L""});
    return ports;
}

class ConnectionControlTest : public ::testing::Test {
protected:
    void TearDown() override { persistSettings = true; }

    // Start-up in the given mode with these ports present.
    void start(bool lan, std::vector<PortInfo> ports = portsNamed({L"COM1", L"COM3"})) {
        settings.mode = lan ? L"lan" : L"serial";
        view.lan = lan;
        links.ports = std::move(ports);
        control.initialise();
    }
    // Serial mode, connected to COM3.
    void connectCom3() {
        start(false);
        view.portSelected = 1;
        ASSERT_TRUE(control.connectSerial());
    }
    bool connected() const { return control.state().connected; }
    bool waiting() const { return control.state().awaitingReconnect; }
    void expectIdle() {
        EXPECT_FALSE(connected());
        EXPECT_FALSE(waiting());
        EXPECT_FALSE(control.activeSession().isOpen());
        EXPECT_EQ(view.caption, L"Connect");
        EXPECT_TRUE(view.geometryEnabled);
        EXPECT_TRUE(view.lanFieldsEnabled);
        EXPECT_TRUE(view.portBoxEnabled);
    }

    FakeSession serial, net;
    FakeLinks links{serial, net};
    FakeView view;
    AppSettings settings;
    ConnectionControl control{view, links, serial, net, settings};
};

struct ConnectCase {
    const char* name;
    bool lan = false;
    std::vector<PortInfo> ports = portsNamed({L"COM1", L"COM3"});
    int portSelected = 1;
    std::wstring baud = L"115200", framing = L"8N1", host = L"10.0.0.5", netPort = L"5000";
    bool udp = false, refuse = false;
    std::wstring notice;
    bool connects = false;
};

TEST_F(ConnectionControlTest, ConnectChecksTheChoicesOpensTheLinkAndReports) {
    const ConnectCase cases[] = {
        {.name = "no ports", .ports = {}, .portSelected = 0, .notice = L"Select a serial port first"},
        {.name = "no selection", .portSelected = -1, .notice = L"Select a serial port first"},
        {.name = "selection past the list", .portSelected = 2, .notice = L"Select a serial port first"},
        {.name = "port refuses", .refuse = true, .notice = L"Serial open failed: CreateFileW failed for COM3"},
        {.name = "serial", .notice = L"Connected COM3 @ 115200 8N1", .connects = true},
        {.name = "limited baud", .baud = L"460800  (May be HW limited)", .framing = L"7E1",
         .notice = L"Connected COM3 @ 460800 7E1", .connects = true},
        {.name = "baud without a number", .baud = L"fast", .notice = L"Connected COM3 @ 115200 8N1", .connects = true},
        {.name = "baud zero", .baud = L"0", .notice = L"Connected COM3 @ 115200 8N1", .connects = true},
        {.name = "net port 0", .lan = true, .netPort = L"0", .notice = L"Enter a valid port (1-65535)"},
        {.name = "net port 65536", .lan = true, .netPort = L"65536", .notice = L"Enter a valid port (1-65535)"},
        {.name = "net port empty", .lan = true, .netPort = L"", .notice = L"Enter a valid port (1-65535)"},
        {.name = "net port wraps to 1", .lan = true, .netPort = L"4294967297", .notice = L"Enter a valid port (1-65535)"},
        {.name = "net port negative", .lan = true, .netPort = L"-5000", .notice = L"Enter a valid port (1-65535)"},
        {.name = "net port past 15 characters", .lan = true, .netPort = L"000000000000000123",
         .notice = L"Enter a valid port (1-65535)"},
        {.name = "serial with UDP chosen", .udp = true, .refuse = true,
         .notice = L"Serial open failed: CreateFileW failed for COM3"},
        {.name = "long host", .lan = true, .host = std::wstring(300, L'h'),
         .notice = L"Connected " + std::wstring(255, L'h') + L":5000 (TCP)", .connects = true},
        {.name = "tcp", .lan = true, .netPort = L"65535", .notice = L"Connected 10.0.0.5:65535 (TCP)", .connects = true},
        {.name = "tcp refused", .lan = true, .refuse = true, .notice = L"LAN connect failed: connect to 10.0.0.5 failed"},
        {.name = "udp", .lan = true, .udp = true, .notice = L"Listening on UDP 5000 (sending to 10.0.0.5:5000)",
         .connects = true},
        {.name = "udp without host", .lan = true, .host = L"", .netPort = L"1", .udp = true,
         .notice = L"Listening on UDP 1 (sending to :1)", .connects = true},
    };
    for (const ConnectCase& c : cases) {
        SCOPED_TRACE(c.name);
        FakeSession serialSession, netSession;
        FakeLinks openers{serialSession, netSession};
        FakeView controls;
        AppSettings record;
        record.mode = c.lan ? L"lan" : L"serial";
        ConnectionControl connection{controls, openers, serialSession, netSession, record};
        openers.ports = c.ports;
        connection.initialise();
        controls.portSelected = c.portSelected;
        controls.baud = c.baud, controls.framing = c.framing, controls.host = c.host, controls.netPort = c.netPort;
        controls.udp = c.udp;
        openers.refuseSerial = openers.refuseNet = c.refuse;
        const int savesBefore = controls.saves;

        connection.pressConnectButton();

        EXPECT_EQ(controls.notice(), c.notice);
        EXPECT_EQ(connection.state().connected, c.connects);
        EXPECT_EQ(connection.activeSession().isOpen(), c.connects);
        EXPECT_EQ(controls.saves - savesBefore, c.connects ? 1 : 0);  // a failed connect saves nothing
        EXPECT_EQ(controls.resets, c.connects ? 1 : 0);
        EXPECT_EQ(controls.caption, c.connects ? L"Disconnect" : (c.lan && c.udp ? L"Listen" : L"Connect"));
        EXPECT_EQ(controls.geometryEnabled, !c.connects);
        EXPECT_EQ(controls.lanFieldsEnabled, !c.connects);
        EXPECT_GE(controls.focuses, 1);
        if (c.ports.empty()) {
            EXPECT_EQ(controls.portEntries, std::vector<std::wstring>{L"No serial ports found"});
        }
        if (c.connects && c.lan) {
            EXPECT_EQ(openers.netOpens, std::vector<std::wstring>{(c.udp ? L"udp " : L"tcp ") + record.host + L":" +
                                                                  std::to_wstring(leadingInteger(c.netPort))});
            EXPECT_EQ(record.host, c.host.substr(0, 255));
            EXPECT_EQ(record.netPort, c.netPort);
            EXPECT_EQ(record.proto, c.udp ? L"UDP" : L"TCP");
        }
        if (c.connects && !c.lan) {
            EXPECT_EQ(record.lastPort, L"COM3");
        }
    }
}

TEST_F(ConnectionControlTest, SerialConnectUsesTheBoxesAndDisconnectRestoresIdle) {
    persistSettings = false;
    start(false);
    view.portSelected = 1;
    view.baud = L"921600  (May be HW limited)";
    view.framing = L"8N2 and more";
    settings.lastPort = L"COM1";
    control.pressConnectButton();
    EXPECT_EQ(links.serialOpens, (std::vector<SerialOpen>{{L"COM3", 921600, "8N2 and"}}));
    EXPECT_EQ(settings.lastPort, L"COM3");
    EXPECT_EQ(view.saves, 0);  // a command line without -save is applied
    const size_t notices = view.notices.size();
    EXPECT_TRUE(control.connectSerial());  // already open: nothing happens
    EXPECT_EQ(links.serialOpens.size(), 1u);
    EXPECT_EQ(view.notices.size(), notices);

    control.pressConnectButton();
    EXPECT_EQ(view.notice(), L"Disconnected");
    EXPECT_EQ(view.stops, 1);
    expectIdle();
}

TEST_F(ConnectionControlTest, AnUnpluggedPortIsWaitedForAndReopenedWithTheScreenKept) {
    enum Trigger { Tick, DeviceChange };
    for (const Trigger trigger : {Tick, DeviceChange}) {
        SCOPED_TRACE(trigger == Tick ? "tick" : "device change");
        FakeSession serialSession, netSession;
        FakeLinks openers{serialSession, netSession};
        FakeView controls;
        AppSettings record;
        ConnectionControl connection{controls, openers, serialSession, netSession, record};
        openers.ports = portsNamed({L"COM3"});
        connection.initialise();
        ASSERT_TRUE(connection.connectSerial());

        openers.ports.clear();
        connection.onSessionClosed(serialSession.openGeneration(), 1000);
        EXPECT_EQ(controls.notice(), L"COM3 disconnected - waiting to reconnect...");
        EXPECT_TRUE(connection.state().connected);
        EXPECT_TRUE(connection.state().awaitingReconnect);
        EXPECT_FALSE(serialSession.isOpen());
        EXPECT_EQ(controls.caption, L"Disconnect");
        EXPECT_FALSE(controls.portBoxEnabled);
        EXPECT_FALSE(controls.geometryEnabled);
        EXPECT_EQ(controls.stops, 1);
        connection.onSessionClosed(serialSession.openGeneration(), 1001);  // a second notice changes nothing
        EXPECT_EQ(controls.notices.size(), 2u);

        connection.onPumpTick(1749);
        connection.onLedTick(5000);  // no port-list refresh while connected
        EXPECT_EQ(openers.enumerations, 1);
        connection.onPumpTick(1750);  // port still absent: tried, not opened
        EXPECT_EQ(openers.enumerations, 2);
        EXPECT_TRUE(openers.serialOpens.size() == 1);

        openers.ports = portsNamed({L"COM3"});
        if (trigger == Tick) {
            connection.onPumpTick(2499);
            EXPECT_FALSE(serialSession.isOpen());
            connection.onPumpTick(2500);
        } else {
            connection.onDeviceChange(0x8000);  // another device event: ignored
            EXPECT_FALSE(serialSession.isOpen());
            connection.onDeviceChange(kDevNodesChanged);
        }
        EXPECT_EQ(controls.notice(), L"Reconnected COM3");
        EXPECT_TRUE(serialSession.isOpen());
        EXPECT_FALSE(connection.state().awaitingReconnect);
        EXPECT_TRUE(controls.portBoxEnabled);
        EXPECT_EQ(controls.resets, 1);  // only the first connect cleared the screen
        EXPECT_EQ(serialSession.discards, 1);
        EXPECT_EQ(controls.caption, L"Disconnect");
    }
}

TEST_F(ConnectionControlTest, DisconnectWhileWaitingEndsTheWait) {
    connectCom3();
    links.ports.clear();
    control.onSessionClosed(serial.openGeneration(), 10);
    control.pressConnectButton();
    EXPECT_EQ(view.notice(), L"Disconnected");
    expectIdle();
    links.ports = portsNamed({L"COM3"});
    control.onPumpTick(5000);
    control.onDeviceChange(kDevNodesChanged);
    EXPECT_FALSE(control.tryReconnect());
    EXPECT_FALSE(serial.isOpen());
}

TEST_F(ConnectionControlTest, ABaudOrFramingChangeReopensTheConnectedPortWithoutClearing) {
    connectCom3();
    const OpenGeneration before = serial.openGeneration();
    view.baud = L"230400  (May be HW limited)";
    control.reapplyLineSettings(0);
    view.framing = L"7E1";
    control.reapplyLineSettings(0);
    EXPECT_EQ(links.serialOpens.back(), (SerialOpen{L"COM3", 230400, "7E1"}));
    EXPECT_EQ(links.serialOpens.size(), 3u);
    EXPECT_NE(serial.openGeneration(), before);
    EXPECT_EQ(settings.baud, L"230400");
    EXPECT_EQ(settings.framing, L"7E1");
    EXPECT_EQ(view.resets, 1);
    EXPECT_TRUE(connected());

    control.disconnectLink();
    view.baud = L"9600";
    control.reapplyLineSettings(0);  // idle: stored only
    EXPECT_EQ(settings.baud, L"9600");
    EXPECT_EQ(links.serialOpens.size(), 3u);
}

TEST_F(ConnectionControlTest, AReopenThatFailsReportsAndWaitsForThePort) {
    connectCom3();
    links.refuseSerial = true;
    view.framing = L"8E1";
    control.reapplyLineSettings(3000);
    EXPECT_EQ(view.notice(), L"Serial open failed: CreateFileW failed for COM3");
    EXPECT_TRUE(connected());
    EXPECT_TRUE(waiting());
    EXPECT_FALSE(view.portBoxEnabled);
    links.refuseSerial = false;
    control.onPumpTick(3749);
    EXPECT_FALSE(serial.isOpen());
    control.onPumpTick(3750);
    EXPECT_EQ(view.notice(), L"Reconnected COM3");
    EXPECT_EQ(links.serialOpens.back(), (SerialOpen{L"COM3", 115200, "8E1"}));
}

TEST_F(ConnectionControlTest, AClosedMessageOfAnEarlierOpenIsIgnored) {
    connectCom3();
    const OpenGeneration stale = serial.openGeneration();
    control.reapplyLineSettings(0);  // reopens the port
    control.onSessionClosed(stale, 10);
    control.onSessionClosed(net.openGeneration(), 10);
    EXPECT_TRUE(serial.isOpen());
    EXPECT_FALSE(waiting());
    control.onSessionClosed(serial.openGeneration(), 10);
    EXPECT_TRUE(waiting());

    control.disconnectLink();  // and in LAN mode
    view.lan = true;
    control.switchMode();
    ASSERT_TRUE(control.connectLan());
    control.onSessionClosed(stale, 10);
    EXPECT_TRUE(net.isOpen());
    control.onSessionClosed(net.openGeneration(), 10);
    EXPECT_EQ(view.notice(), L"Connection closed by peer");
    expectIdle();
    control.onPumpTick(100000);  // no reconnection in LAN mode
    EXPECT_FALSE(net.isOpen());
}

TEST_F(ConnectionControlTest, SwitchingModesDisconnectsAndSwapsTheControls) {
    start(true);
    EXPECT_TRUE(view.shownLan);
    EXPECT_EQ(view.terminatorEntries, (std::vector<std::wstring>{L"CR", L"CRLF", L"LF", L"<none>"}));
    ASSERT_TRUE(control.connectLan());
    view.lan = false;
    control.switchMode();
    EXPECT_EQ(view.notice(), L"Disconnected");
    EXPECT_FALSE(net.isOpen());
    EXPECT_EQ(&control.activeSession(), &serial);
    EXPECT_EQ(settings.mode, L"serial");
    EXPECT_FALSE(view.shownLan);
    EXPECT_EQ(view.terminatorEntries, (std::vector<std::wstring>{L"CR", L"CRLF", L"LF"}));
    expectIdle();
    const size_t notices = view.notices.size();
    control.switchMode();  // the same mode again: nothing to do
    EXPECT_EQ(view.notices.size(), notices);
    view.lan = true;
    control.switchMode();
    EXPECT_EQ(&control.activeSession(), &net);
    EXPECT_EQ(settings.mode, L"lan");
}

TEST_F(ConnectionControlTest, TheCaptionFollowsModeProtocolAndLink) {
    start(true);
    EXPECT_EQ(view.caption, L"Connect");
    view.udp = true;
    control.onProtocolChanged();
    EXPECT_EQ(view.caption, L"Listen");
    EXPECT_EQ(settings.proto, L"UDP");
    view.udp = false;
    control.onProtocolChanged();
    EXPECT_EQ(settings.proto, L"TCP");
    EXPECT_EQ(view.saves, 2);
}

TEST_F(ConnectionControlTest, ThePortListFollowsThePresentPortsButNotUnderTheUsersHand) {
    settings.lastPort = L"COM3";
    start(false, portsNamed({L"COM1", L"COM3"}));
    EXPECT_EQ(view.portEntries, (std::vector<std::wstring>{L"COM1", L"COM3"}));
    EXPECT_EQ(view.portSelected, 1);  // lastPort

    links.ports = portsNamed({L"COM1", L"COM2", L"COM3"});
    view.dropDownOpen = true;
    control.refreshPortList();
    EXPECT_EQ(view.portEntries.size(), 2u);
    view.dropDownOpen = false;
    view.portSelected = 0;  // the user picked COM1 and the list grows: COM1 stays selected
    control.refreshPortList();
    EXPECT_EQ(view.portEntries, (std::vector<std::wstring>{L"COM1", L"COM2", L"COM3"}));
    EXPECT_EQ(view.portSelected, 0);
    EXPECT_EQ(settings.lastPort, L"COM1");

    const int fills = view.portFills;
    links.ports[1].description = L"renamed";
    control.refreshPortList();  // same names: the box is left alone
    EXPECT_EQ(view.portFills, fills);
    control.refreshPortList(L"COM9");  // a named port that is absent changes nothing
    EXPECT_EQ(view.portFills, fills);
    control.refreshPortList(L"COM3");  // -port COM3
    EXPECT_EQ(view.portSelected, 2);
    EXPECT_EQ(settings.lastPort, L"COM3");

    view.portSelected = 0;  // COM1 chosen but gone: back to lastPort
    links.ports = portsNamed({L"COM2", L"COM3"});
    control.refreshPortList();
    EXPECT_EQ(view.portSelected, 1);

    links.ports = portsNamed({L"COM4"});
    control.refreshPortList();  // neither the selection nor lastPort is left: the first
    EXPECT_EQ(view.portSelected, 0);
    EXPECT_EQ(settings.lastPort, L"COM4");
    links.ports.clear();
    control.refreshPortList();
    EXPECT_EQ(view.portEntries, (std::vector<std::wstring>{L"No serial ports found"}));
    EXPECT_EQ(view.portSelected, 0);
    EXPECT_EQ(settings.lastPort, L"COM4");
}

TEST_F(ConnectionControlTest, WhileConnectedTheOpenPortStaysSelected) {
    connectCom3();
    view.portSelected = 0;
    links.ports = portsNamed({L"COM1", L"COM2", L"COM3"});
    control.refreshPortList(L"COM1");
    EXPECT_EQ(view.portSelected, 2);
    EXPECT_EQ(settings.lastPort, L"COM3");
}

TEST_F(ConnectionControlTest, ThePortListIsPolledOnceASecondOnlyWhileIdleInSerialMode) {
    start(false);
    const int atStart = links.enumerations;
    for (const uint32_t now : {999u, 1000u, 1999u, 2000u}) control.onLedTick(now);
    EXPECT_EQ(links.enumerations - atStart, 2);
    control.onDeviceChange(kDevNodesChanged);
    EXPECT_EQ(links.enumerations - atStart, 3);
    view.lan = true;
    control.switchMode();
    control.onLedTick(10000);
    control.onDeviceChange(kDevNodesChanged);
    EXPECT_EQ(links.enumerations - atStart, 3);
}

TEST_F(ConnectionControlTest, PickingAPortOrRefreshingRemembersAndSaves) {
    start(false);
    view.portSelected = 1;
    control.onPortSelected();
    EXPECT_EQ(settings.lastPort, L"COM3");
    control.onRefreshButton();
    EXPECT_EQ(view.saves, 2);
}

TEST(ConnectionBoxes, BaudEntriesAndTheirReading) {
    const std::vector<std::wstring> entries = baudBoxEntries();
    ASSERT_EQ(entries.size(), 14u);
    EXPECT_EQ(entries.front(), L"150");
    EXPECT_EQ(entries[10], L"115200");
    EXPECT_EQ(entries[11], L"230400  (May be HW limited)");
    EXPECT_EQ(entries.back(), L"921600  (May be HW limited)");
    for (const std::wstring& entry : entries) EXPECT_EQ(entries[static_cast<size_t>(initialBaudIndex(entry))], entry);
    for (const auto* stored : {L"", L"14400", L"abc"}) EXPECT_EQ(initialBaudIndex(stored), 10) << stored;
    const std::pair<const wchar_t*, int> reads[] = {
        {L"9600", 9600},  {L"230400  (May be HW limited)", 230400}, {L"", 115200},   {L"0", 115200},
        {L"-300", 115200}, {L" 1200", 1200},                        {L"99999999999", INT_MAX}};
    for (const auto& [text, baud] : reads) EXPECT_EQ(baudFromText(text), baud) << text;
    EXPECT_EQ(leadingInteger(L"-99999999999"), INT_MIN);
    EXPECT_EQ(leadingInteger(L"+42x"), 42);
}

TEST(ConnectionBoxes, FramingAndLineTerminator) {
    EXPECT_EQ(initialFramingIndex(L"8E1"), 2);
    EXPECT_EQ(initialFramingIndex(L"8e1"), 0);
    EXPECT_EQ(framingBoxEntries(), (std::vector<std::wstring>{L"8N1", L"7E1", L"8E1", L"8N2"}));
    EXPECT_EQ(framingFromText(L"7E1"), "7E1");
    EXPECT_EQ(framingFromText(L"8N1\u00e9xyzw"), "8N1?xyz");
    const std::tuple<const wchar_t*, bool, int, std::string> terminators[] = {
        {L"CR", false, 0, "\r"},   {L"CRLF", false, 1, "\r\n"}, {L"LF", true, 2, "\n"},
        {L"<none>", true, 3, ""}, {L"<none>", false, 0, "\r"}, {L"crlf", true, 0, "\r"}};
    for (const auto& [stored, lan, index, bytes] : terminators) {
        SCOPED_TRACE(testing::Message() << stored << (lan ? " lan" : " serial"));
        EXPECT_EQ(lineTerminatorIndex(stored, lan), index);
        EXPECT_EQ(lineTerminatorBytes(lineTerminatorEntries(lan)[static_cast<size_t>(index)]), bytes);
    }
}

TEST_F(ConnectionControlTest, TheTerminatorBoxHandsItsBytesToTheTerminal) {
    settings.lineTerminator = L"<none>";
    start(false);
    EXPECT_EQ(view.terminatorSelected, 0);
    EXPECT_EQ(view.terminatorBytes, "\r");
    view.lan = true;
    control.switchMode();
    EXPECT_EQ(view.terminatorSelected, 3);
    EXPECT_EQ(view.terminatorBytes, "");
}

}  // namespace
}  // namespace orvane
