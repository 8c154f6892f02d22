#include "transport/connection_boxes.h"
#include "transport/connection_control.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <map>
#include <sstream>
#include <utility>

namespace orvane {
namespace {

std::wstring joined(const std::vector<std::wstring>& parts, std::wstring_view separator) {
    std::wstring text;
    for (const std::wstring& part : parts) text.append(text.empty() ? L"" : separator).append(part);
    return text;
}

// What the user would see happen, in order.
using Log = std::vector<std::wstring>;

// A session without a reader thread; each open that succeeds gets a new
// generation, as in the real sessions.
struct FakeSession : SessionBase {
    FakeSession(Log& eventLog, const wchar_t* sessionName) : SessionBase(nullptr), log(eventLog), name(sessionName) {}

    // Opens, or fails with `error` as the reason.
    bool open(const std::wstring& error) {
        if (!error.empty()) setLastError(error);
        earlier = openGeneration();
        return opened = error.empty() && startReader([] {});
    }
    bool isOpen() const override { return opened; }
    void close() override { if (std::exchange(opened, false)) log.push_back(name + L" closed"); }
    void write(const uint8_t*, size_t) override {}
    void discardReceived() override { log.push_back(L"discard"); }
    std::thread spawnReaderThread(std::function<void()>) override { return {}; }

    Log& log;
    const std::wstring name;
    bool opened = false;
    OpenGeneration earlier = 0;  // the generation before the latest open attempt
};

// Connection control on a fake connection bar and fake openers, driven by
// scripts. `boxes` hold what a script chose; what changes on screen or on the
// wire goes into one log (enable states and the caption only when they
// change). A script is lines of commands separated by ";", each followed by
// what it must log, after " => " on the line itself or on "=> " lines below
// it (these join with "; "). A line without one must log nothing.
class Rig : public ConnectionView, public LinkOpeners {
public:
    ~Rig() override { persistSettings = true; }

    void run(std::wstring_view script) {
        std::wstring done, want;
        const auto check = [&] { EXPECT_EQ(joined(std::exchange(log, {}), L"; "), std::exchange(want, {})) << done; };
        std::wistringstream lines{std::wstring(script)};
        for (std::wstring line; std::getline(lines, line);) {
            line.erase(0, line.find_first_not_of(L' '));
            const size_t arrow = line.find(L"=> ");
            if (!line.empty() && arrow != 0) {
                check();
                std::wistringstream commands{done = line.substr(0, arrow == line.npos ? line.npos : arrow - 1)};
                for (std::wstring command; std::getline(commands >> std::ws, command, L';');) perform(command);
            }
            if (arrow != line.npos) want.append(want.empty() ? L"" : L"; ").append(line.substr(arrow + 3));
        }
        check();
    }

    void setPortEntries(const std::vector<std::wstring>& entries, int selected) override {
        boxes[L"select"] = std::to_wstring(selected);
        log.push_back(L"ports " + joined(entries, L",") + L" @" + boxes[L"select"]);
    }
    int portSelection() const override { return std::stoi(boxes.at(L"select")); }
    bool portDropDownOpen() const override { return boxes.at(L"dropdown") == L"open"; }
    void enablePortBox(bool enabled) override { noteChange(portBox, enabled, sign(enabled) + L"ports"); }
    std::wstring baudText() const override { return boxes.at(L"baud"); }
    std::wstring framingText() const override { return boxes.at(L"framing"); }
    std::wstring hostText() const override { return boxes.at(L"host"); }
    std::wstring netPortText() const override { return boxes.at(L"netport"); }
    bool udpSelected() const override { return boxes.at(L"protocol") == L"udp"; }
    bool lanSelected() const override { return boxes.at(L"mode") == L"lan"; }
    void setLineTerminatorEntries(const std::vector<std::wstring>& entries, int selected) override {
        log.push_back(L"terminators " + joined(entries, L",") + L" @" + std::to_wstring(selected));
    }
    void setLineTerminatorBytes(const std::string& bytes) override {
        std::wstring shown;
        for (const char c : bytes) shown += c == '\r' ? L"\\r" : c == '\n' ? L"\\n" : std::wstring(1, c);
        log.push_back(L"ends [" + shown + L"]");
    }
    void setConnectCaption(const std::wstring& text) override { noteChange(caption, text, L"caption " + text); }
    void enableLanFields(bool enabled) override { noteChange(lanFields, enabled, sign(enabled) + L"fields"); }
    void enableGeometryCommands(bool enabled) override { noteChange(geometry, enabled, sign(enabled) + L"grid"); }
    void showModeControls(bool lanMode) override { log.push_back(lanMode ? L"mode lan" : L"mode serial"); }
    void showNotice(const std::wstring& text) override { log.push_back(text); }
    void repaintTerminal() override {}
    void focusTerminal() override {}
    void refreshLeds() override {}
    void resetTerminal() override { log.push_back(L"clear"); }
    void stopPlaybackAndSounds() override { log.push_back(L"stop"); }
    void saveSettings() override { log.push_back(L"save"); }

    // Listed ports open, unless the script refuses every open.
    bool openSerial(const std::wstring& port, uint32_t rate, const std::string& frame) override {
        log.push_back(L"open " + port + L" " + std::to_wstring(rate) + L" " + std::wstring(frame.begin(), frame.end()));
        const bool listed = std::any_of(ports.begin(), ports.end(), [&](auto& p) { return p.portName == port; });
        return serial.open(listed && !refusing() ? L"" : L"no " + port);
    }
    bool connectTcp(const std::wstring& to, uint16_t port) override { return openNet(L"tcp ", to, port); }
    bool openUdp(const std::wstring& to, uint16_t port) override { return openNet(L"udp ", to, port); }
    std::vector<PortInfo> enumeratePorts() override { return log.push_back(L"scan"), ports; }

    Log log;
    FakeSession serial{log, L"serial"}, net{log, L"net"};
    std::map<std::wstring, std::wstring, std::less<>> boxes{
        {L"select", L"-1"}, {L"dropdown", L"closed"}, {L"refuse", L"off"}, {L"protocol", L"tcp"}, {L"mode", L""},
        {L"baud", L"115200"}, {L"framing", L"8N1"}, {L"host", L"10.0.0.5"}, {L"netport", L"5000"}};
    AppSettings settings;
    ConnectionControl control{*this, *this, serial, net, settings};

private:
    bool refusing() const { return boxes.at(L"refuse") == L"on"; }
    static std::wstring sign(bool enabled) { return enabled ? L"+" : L"-"; }
    template <typename Shown>
    void noteChange(Shown& shown, const Shown& now, const std::wstring& event) {
        if (std::exchange(shown, now) != now) log.push_back(event);
    }
    bool openNet(const wchar_t* kind, const std::wstring& to, uint16_t port) {
        log.push_back(kind + to + L":" + std::to_wstring(port));
        return net.open(refusing() ? L"refused" : L"");
    }

    // A command is a verb and its argument. A verb named after a box sets it
    // first, as the user would before the control reacts.
    void perform(const std::wstring& command) {
        const std::wstring verb = command.substr(0, command.find(L' '));
        std::wistringstream arguments{command.substr(std::min(verb.size() + 1, command.size()))};
        const std::wstring arg = arguments.str();
        const auto number = [&] { return static_cast<uint32_t>(std::stoll(arg)); };
        const ConnectionState& link = control.state();
        if (const auto box = boxes.find(verb); box != boxes.end()) box->second = arg;
        if (verb == L"ports") {
            ports.clear();
            for (std::wstring name; arguments >> name;) ports.push_back({name, L"", L""});
        } else if (verb == L"describe") {  // every port
            for (PortInfo& port : ports) port.description = arg;
        } else if (verb == L"start") {
            settings.mode = boxes[L"mode"] = arg;
            control.initialise();
        } else if (verb == L"state") {
            log.push_back(std::wstring(link.connected ? L"connected" : L"idle")
                          + (link.awaitingReconnect ? L" waiting" : L"")
                          + (link.activeSession == &serial ? L" serial" : L" net")
                          + (link.activeSession->isOpen() ? L" open" : L" closed"));
        } else if (verb == L"settings") {
            const AppSettings& s = settings;
            log.push_back(s.mode + L" " + s.lastPort + L" " + s.baud + L" " + s.framing + L" " + s.host + L":"
                          + s.netPort + L" " + s.proto);
        } else if (verb == L"drop") log.clear();
        else if (verb == L"press") control.pressConnectButton();
        else if (verb == L"connect") link.lanMode ? control.connectLan() : control.connectSerial();
        else if (verb == L"disconnect") control.disconnectLink();
        else if (verb == L"reconnect") log.push_back(control.tryReconnect() ? L"reconnected" : L"not reconnected");
        else if (verb == L"pick") control.onPortSelected();
        else if (verb == L"refresh") control.refreshPortList(arg);
        else if (verb == L"refresh-button") control.onRefreshButton();
        else if (verb == L"protocol") control.onProtocolChanged();
        else if (verb == L"apply") control.reapplyLineSettings(number());
        else if (verb == L"mode") control.switchMode();
        // Closed messages, at the tick count given, carrying the current
        // generation of a session or the serial one before its latest open.
        else if (verb == L"lost-serial") control.onSessionClosed(serial.openGeneration(), number());
        else if (verb == L"lost-net") control.onSessionClosed(net.openGeneration(), number());
        else if (verb == L"lost-earlier") control.onSessionClosed(serial.earlier, number());
        else if (verb == L"tick") control.onPumpTick(number());
        else if (verb == L"led") control.onLedTick(number());
        else if (verb == L"device") control.onDeviceChange(number());
        else if (verb == L"persist") persistSettings = arg == L"on";
        else if (verb == L"last") settings.lastPort = arg;
        else if (verb == L"terminator") settings.lineTerminator = arg;
        else if (!boxes.contains(verb)) ADD_FAILURE() << "unknown command: " << command;
    }

    std::vector<PortInfo> ports{{L"COM1", L"", L""}, {L"COM3", L"", L""}};
    std::wstring caption;
    bool portBox = true, lanFields = true, geometry = true;
};

TEST(ConnectionControl, StartUpFillsTheBoxesForTheModeAndSwitchingSwapsThem) { Rig().run(LR"(
    ports; terminator <none>; start serial
    => terminators CR,CRLF,LF @0; ends [\r]; mode serial; scan; ports No serial ports found @0; caption Connect
    select 0; press => Select a serial port first
    mode serial
    mode lan; state => save; terminators CR,CRLF,LF,<none> @3; ends []; mode lan; idle net closed
    protocol udp; settings => save; caption Listen; lan  115200 8N1 127.0.0.1:5000 UDP
    protocol tcp; connect; drop
    mode serial; state; settings => stop; net closed; caption Connect; +fields; +grid; Disconnected
    => save; terminators CR,CRLF,LF @0; ends [\r]; mode serial; idle serial closed
    => serial  115200 8N1 10.0.0.5:5000 TCP
)"); }

TEST(ConnectionControl, SerialConnectChecksThePortOpensItWithTheBoxValuesAndDisconnects) { Rig().run(LR"(
    start serial; drop
    select -1; press => Select a serial port first
    select 2; press => Select a serial port first
    select 1; refuse on; protocol udp; press => save; open COM3 115200 8N1; Serial open failed: no COM3
    refuse off; baud 921600  (May be HW limited); framing 8N2 and more; press; settings
    => open COM3 921600 8N2 and; clear; caption Disconnect; -fields; -grid; save; Connected COM3 @ 921600 8N2 and
    => serial COM3 115200 8N1 127.0.0.1:5000 UDP
    connect
    press; state => stop; serial closed; caption Connect; +fields; +grid; Disconnected; idle serial closed
)"); }

TEST(ConnectionControl, LanConnectChecksThePortAndOpensTheChosenProtocol) {
    Rig rig;
    rig.run(L"start lan; drop");
    for (const wchar_t* port : {L"0", L"65536", L"", L"4294967297", L"-5000", L"000000000000000123"}) {
        rig.run(L"netport " + std::wstring(port) + L"; press => Enter a valid port (1-65535)");
    }
    rig.run(LR"(
        refuse on; netport 65535; press => tcp 10.0.0.5:65535; LAN connect failed: refused
        refuse off; press; settings => tcp 10.0.0.5:65535; clear; caption Disconnect; -fields; -grid; save
        => Connected 10.0.0.5:65535 (TCP); lan COM1 115200 8N1 10.0.0.5:65535 TCP
        press => stop; net closed; caption Connect; +fields; +grid; Disconnected
        protocol udp; netport 5000; press; settings => save; caption Listen; udp 10.0.0.5:5000; clear
        => caption Disconnect; -fields; -grid; save; Listening on UDP 5000 (sending to 10.0.0.5:5000)
        => lan COM1 115200 8N1 10.0.0.5:5000 UDP
        press => stop; net closed; caption Listen; +fields; +grid; Disconnected
        host; netport 1; press => udp :1; clear; caption Disconnect; -fields; -grid
        => save; Listening on UDP 1 (sending to :1)
        disconnect; drop
    )");
    rig.boxes[L"host"] = std::wstring(300, L'h');
    rig.run(L"connect; drop");
    EXPECT_EQ(rig.settings.host, std::wstring(255, L'h'));
}

TEST(ConnectionControl, AnUnpluggedPortIsAwaitedAndReopenedWithTheScreenKeptUntilTheUserGivesUp) { Rig().run(LR"(
    ports COM3; start serial; connect; drop
    ports; lost-serial 1000; state => stop; serial closed; -ports; COM3 disconnected - waiting to reconnect...
    => connected waiting serial closed
    lost-serial 1001; tick 1749; led 5000
    tick 1750 => scan
    ports COM3; tick 2499
    tick 2500; state => scan; open COM3 115200 8N1; +ports; discard; Reconnected COM3; connected serial open
    ports; lost-serial 3000 => stop; serial closed; -ports; COM3 disconnected - waiting to reconnect...
    ports COM3; device 32768
    device 7 => scan; open COM3 115200 8N1; +ports; discard; Reconnected COM3
    ports; lost-serial 4000 => stop; serial closed; -ports; COM3 disconnected - waiting to reconnect...
    press; state => stop; +ports; caption Connect; +fields; +grid; Disconnected; idle serial closed
    ports COM3; tick 9000; device 7; reconnect => scan; not reconnected
)"); }

TEST(ConnectionControl, ALineSettingsChangeReopensThePortAndOnlyItsOwnClosedMessagesCount) { Rig().run(LR"(
    start serial; select 1; connect; drop
    baud 230400  (May be HW limited); apply 0 => save; serial closed; open COM3 230400 8N1
    lost-earlier 10; lost-net 10
    framing 7E1; apply 0; settings => save; serial closed; open COM3 230400 7E1
    => serial COM3 230400 7E1 127.0.0.1:5000 TCP
    refuse on; framing 8E1; apply 3000; state => save; serial closed; open COM3 230400 8E1; -ports
    => Serial open failed: no COM3; connected waiting serial closed
    refuse off; tick 3749
    tick 3750 => scan; open COM3 230400 8E1; +ports; discard; Reconnected COM3
    lost-serial 4000 => stop; serial closed; -ports; COM3 disconnected - waiting to reconnect...
    persist off; disconnect; baud 9600; apply 0; settings => stop; +ports; caption Connect; +fields; +grid
    => Disconnected; serial COM3 9600 8E1 127.0.0.1:5000 TCP
    mode lan; connect; drop
    lost-earlier 10; lost-serial 10
    lost-net 10; state => stop; net closed; caption Connect; +fields; +grid; Connection closed by peer
    => idle net closed
    tick 100000
)"); }

TEST(ConnectionControl, ThePortBoxFollowsThePresentPortsButNotUnderTheUsersHand) { Rig().run(LR"(
    last COM3; start serial
    => terminators CR,CRLF,LF @0; ends [\r]; mode serial; scan; ports COM1,COM3 @1; caption Connect
    ports COM1 COM2 COM3; dropdown open; refresh
    dropdown closed; select 0; refresh; settings => scan; ports COM1,COM2,COM3 @0
    => serial COM1 115200 8N1 127.0.0.1:5000 TCP
    select 1; pick; settings => save; serial COM2 115200 8N1 127.0.0.1:5000 TCP
    refresh COM9 => scan
    refresh COM3; settings => scan; ports COM1,COM2,COM3 @2; serial COM3 115200 8N1 127.0.0.1:5000 TCP
    describe USB; refresh-button => scan; save
    select 0; ports COM2 COM3; refresh => scan; ports COM2,COM3 @1
    ports COM4; refresh => scan; ports COM4 @0
    ports; refresh; settings => scan; ports No serial ports found @0; serial COM4 115200 8N1 127.0.0.1:5000 TCP
    led 999
    led 1000 => scan
    led 1999
    led 2000 => scan
    ports COM1 COM3; device 7 => scan; ports COM1,COM3 @0
    select 1; connect; drop
    led 9000; device 7
    select 0; ports COM1 COM2 COM3; refresh COM1; settings => scan; ports COM1,COM2,COM3 @2
    => serial COM3 115200 8N1 127.0.0.1:5000 TCP
    disconnect; mode lan; drop
    led 20000; device 7
)"); }

TEST(ConnectionBoxes, EntriesAndHowTheirTextsAreRead) {
    const std::vector<std::wstring> bauds = baudBoxEntries();
    ASSERT_EQ(bauds.size(), 14u);
    EXPECT_EQ(bauds[10], L"115200");
    EXPECT_EQ(bauds[11], L"230400  (May be HW limited)");
    for (const std::wstring& entry : bauds) EXPECT_EQ(bauds[static_cast<size_t>(initialBaudIndex(entry))], entry);
    for (const auto* stored : {L"", L"14400", L"abc"}) EXPECT_EQ(initialBaudIndex(stored), 10) << stored;
    const std::tuple<const wchar_t*, int, int> reads[] = {  // text, its leading integer, the baud it gives
        {L"9600", 9600, 9600}, {L"230400  (May be HW limited)", 230400, 230400}, {L"", 0, 115200}, {L"fast", 0, 115200},
        {L"0", 0, 115200}, {L"-300", -300, 115200}, {L" 1200", 1200, 1200}, {L"+42x", 42, 42},
        {L"99999999999", INT_MAX, INT_MAX}, {L"-99999999999", INT_MIN, 115200}};
    for (const auto& [text, integer, baud] : reads) {
        EXPECT_EQ(leadingInteger(text), integer) << text;
        EXPECT_EQ(baudFromText(text), baud) << text;
    }
    EXPECT_EQ(initialFramingIndex(L"8E1"), 2);
    EXPECT_EQ(initialFramingIndex(L"8e1"), 0);
    EXPECT_EQ(framingFromText(L"8N1\u00e9xyzw"), "8N1?xyz");
    const std::tuple<const wchar_t*, bool, int, std::string> terminators[] = {  // stored, LAN mode, entry, bytes
        {L"CR", false, 0, "\r"}, {L"CRLF", false, 1, "\r\n"}, {L"LF", true, 2, "\n"}, {L"<none>", true, 3, ""},
        {L"<none>", false, 0, "\r"}, {L"crlf", true, 0, "\r"}};
    for (const auto& [stored, lan, index, bytes] : terminators) {
        EXPECT_EQ(lineTerminatorIndex(stored, lan), index) << stored << lan;
        EXPECT_EQ(lineTerminatorBytes(lineTerminatorEntries(lan)[static_cast<size_t>(index)]), bytes) << stored << lan;
    }
}

}  // namespace
}  // namespace orvane
