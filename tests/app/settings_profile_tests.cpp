#include "app/settings_profile.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace orvane {
namespace {

// An INI file in memory, with the private-profile rules for reading.
class MemoryProfile : public ProfileStore {
public:
    std::wstring readText(const wchar_t* section, const wchar_t* key, const wchar_t* fallback) override {
        const auto found = values.find(path(section, key));
        if (found == values.end()) return fallback;
        return found->second.substr(0, 1023);
    }
    int readInt(const wchar_t* section, const wchar_t* key, int fallback) override {
        const auto found = values.find(path(section, key));
        return found == values.end() ? fallback : std::stoi(found->second);
    }
    void writeText(const wchar_t* section, const wchar_t* key, const std::optional<std::wstring>& value) override {
        writes.push_back(path(section, key));
        if (value) {
            values[path(section, key)] = *value;
        } else {
            values.erase(path(section, key));
        }
    }

    static std::wstring path(const wchar_t* section, const wchar_t* key) {
        return std::wstring(section) + L"/" + key;
    }

    std::map<std::wstring, std::wstring> values;
    std::vector<std::wstring> writes;
};

TEST(SettingsProfile, TheDefaultRecordIsWrittenAsTheDocumentedDefaults) {
    MemoryProfile file;
    writeSettings(AppSettings{}, file);
    const std::map<std::wstring, std::wstring> expected{
        {L"network/mode", L"serial"},        {L"network/host", L"127.0.0.1"},
        {L"network/port", L"5000"},          {L"network/proto", L"TCP"},
        {L"legal/accepted_disclaimer_version", L"0"},
        {L"terminal/baud", L"115200"},       {L"terminal/framing", L"8N1"},
        {L"terminal/palette", L"Campbell"},  {L"terminal/local_echo", L"false"},
        {L"terminal/input_mode", L"char"},   {L"terminal/line_terminator", L"CR"},
        {L"terminal/auto_scroll", L"true"},  {L"terminal/display_mode", L"ANSI"},
        {L"terminal/geometry", L"80x25"},    {L"terminal/cursor_style", L"block"},
        {L"terminal/cursor_blink", L"true"}, {L"terminal/rts", L"true"},
        {L"terminal/dtr", L"true"},          {L"terminal/play_char_delay_ms", L"5"},
        {L"terminal/play_eol_delay_ms", L"10"}, {L"terminal/play_eol", L"CR"},
        {L"terminal/play_strip_lf", L"true"}, {L"terminal/capture_hex", L"false"},
        {L"terminal/bell_mode", L"ding"},    {L"pictel/media_cache", L"true"},
        {L"pictel/media_repo", L"true"},     {L"pictel/sounds", L"true"},
        {L"background/fit", L"aspect"},      {L"background/opacity", L"100"},
        {L"screenshot/autonumber", L"false"}, {L"screenshot/format", L"png"},
        {L"screenshot/withbg", L"false"},    {L"screenshot/withglass", L"false"},
    };
    EXPECT_EQ(file.values, expected);
    // Every key is written once, the empty ones too (as removals).
    EXPECT_EQ(file.writes.size(), 39u);
    EXPECT_EQ(file.writes.front(), L"last/port");
    EXPECT_EQ(file.writes.back(), L"screenshot/withglass");
}

TEST(SettingsProfile, AnEmptyFileLoadsTheDefaults) {
    MemoryProfile empty;
    MemoryProfile fromLoaded;
    MemoryProfile fromDefaults;
    writeSettings(readSettings(empty), fromLoaded);
    writeSettings(AppSettings{}, fromDefaults);
    EXPECT_EQ(fromLoaded.values, fromDefaults.values);
}

AppSettings unusualSettings() {
    AppSettings s;
    s.lastPort = L"COM12";
    s.windowGeom = L"800x600+10+-20";
    s.mode = L"lan";
    s.host = L"fe80::1%3";
    s.netPort = L"23";
    s.proto = L"UDP";
    s.acceptedDisclaimerVersion = 3;
    s.baud = L"9600";
    s.framing = L"7E1";
    s.palette = L"Solarized";
    s.localEcho = true;
    s.inputMode = L"line";
    s.lineTerminator = L"CRLF";
    s.autoScroll = false;
    s.displayMode = L"HEX";
    s.geometry = L"132x24";
    s.cursorStyle = L"double";
    s.cursorBlink = false;
    s.rts = false;
    s.dtr = false;
    s.playCharDelayMs = 0;
    s.playEolDelayMs = 500;
    s.playEol = L"LF";
    s.playStripLf = false;
    s.captureHex = true;
    s.bellMode = L"wav";
    s.bellWav = L"C:\\sounds\\bell.wav";
    s.mediaCache = false;
    s.mediaRepo = false;
    s.sounds = false;
    s.bgImage = L"C:\\pictures\\b\u00e4ck.png";
    s.bgFit = L"center";
    s.bgOpacity = 0;
    s.ssFolder = L"C:\\shots";
    s.ssBasename = L"shot";
    s.ssAutonumber = true;
    s.ssFormat = L"jpg";
    s.ssWithBg = true;
    s.ssWithGlass = true;
    return s;
}

TEST(SettingsProfile, EveryFieldSurvivesWriteAndRead) {
    MemoryProfile file;
    const AppSettings original = unusualSettings();
    writeSettings(original, file);
    const AppSettings loaded = readSettings(file);
    MemoryProfile again;
    writeSettings(loaded, again);
    EXPECT_EQ(again.values, file.values);
    EXPECT_EQ(loaded.bgImage, original.bgImage);
    EXPECT_EQ(loaded.acceptedDisclaimerVersion, 3);
    EXPECT_TRUE(loaded.localEcho);
    EXPECT_FALSE(loaded.rts);
}

TEST(SettingsProfile, EmptyTextsRemoveTheirKeys) {
    MemoryProfile file;
    writeSettings(unusualSettings(), file);
    AppSettings cleared = unusualSettings();
    cleared.bgImage.clear();
    cleared.host.clear();
    writeSettings(cleared, file);
    EXPECT_EQ(file.values.count(L"background/image"), 0u);
    EXPECT_EQ(file.values.count(L"network/host"), 0u);
    EXPECT_EQ(readSettings(file).host, L"127.0.0.1");
}

TEST(SettingsProfile, LoadedValuesAreReadByTheBooleanRuleAndNormalised) {
    MemoryProfile file;
    file.values = {
        {L"terminal/local_echo", L"False"},       {L"terminal/auto_scroll", L"off"},
        {L"terminal/cursor_blink", L""},          {L"terminal/rts", L"0"},
        {L"terminal/dtr", L"no"},                 {L"terminal/capture_hex", L"yes"},
        {L"terminal/play_char_delay_ms", L"-3"},  {L"terminal/play_eol_delay_ms", L"900"},
        {L"background/opacity", L"250"},          {L"terminal/geometry", L"80X25"},
        {L"terminal/cursor_style", L"underline"}, {L"terminal/bell_mode", L"wav"},
        {L"network/proto", L"udp"},               {L"network/mode", L"LAN"},
        {L"network/host", L""},
    };
    const AppSettings loaded = readSettings(file);
    EXPECT_TRUE(loaded.localEcho);
    EXPECT_FALSE(loaded.autoScroll);
    EXPECT_TRUE(loaded.cursorBlink);
    EXPECT_FALSE(loaded.rts);
    EXPECT_FALSE(loaded.dtr);
    EXPECT_TRUE(loaded.captureHex);
    EXPECT_EQ(loaded.playCharDelayMs, 0);
    EXPECT_EQ(loaded.playEolDelayMs, 500);
    EXPECT_EQ(loaded.bgOpacity, 100);
    EXPECT_EQ(loaded.geometry, L"80x25");
    EXPECT_EQ(loaded.cursorStyle, L"block");
    EXPECT_EQ(loaded.bellMode, L"ding");
    EXPECT_FALSE(udpSelected(loaded));
    EXPECT_FALSE(lanModeSelected(loaded));
    EXPECT_EQ(loaded.host, L"127.0.0.1");
}

}  // namespace
}  // namespace orvane
