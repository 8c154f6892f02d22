#pragma once

#include <string>
#include <string_view>

namespace orvane {

// Every setting that survives a restart; also the live value of most of
// them. Default construction gives the defaults.
struct AppSettings {
    std::wstring lastPort;
    std::wstring windowGeom;  // "%dx%d+%d+%d": width x height + left + top
    std::wstring mode = L"serial";
    std::wstring host = L"127.0.0.1";
    std::wstring netPort = L"5000";
    std::wstring proto = L"TCP";
    int acceptedDisclaimerVersion = 0;
    std::wstring baud = L"115200";
    std::wstring framing = L"8N1";
    std::wstring palette = L"Campbell";
    bool localEcho = false;
    std::wstring inputMode = L"char";
    std::wstring lineTerminator = L"CR";
    bool autoScroll = true;
    std::wstring displayMode = L"ANSI";
    std::wstring geometry = L"80x25";
    std::wstring cursorStyle = L"block";
    bool cursorBlink = true;
    bool rts = true;
    bool dtr = true;
    int playCharDelayMs = 5;
    int playEolDelayMs = 10;
    std::wstring playEol = L"CR";
    bool playStripLf = true;
    bool captureHex = false;
    std::wstring bellMode = L"ding";
    std::wstring bellWav;
    bool mediaCache = true;
    bool mediaRepo = true;
    bool sounds = true;
    std::wstring bgImage;
    std::wstring bgFit = L"aspect";
    int bgOpacity = 100;
    std::wstring ssFolder;
    std::wstring ssBasename;
    bool ssAutonumber = false;
    std::wstring ssFormat = L"png";
    bool ssWithBg = false;
    bool ssWithGlass = false;

    friend bool operator==(const AppSettings&, const AppSettings&) = default;
};

// While false, changes to the record are not written to the file at once
// (a command line without "-save" is being applied).
extern bool persistSettings;

// Brings every field loaded from the file into its accepted range: empty
// strings take their default, unknown names the default name, numbers are
// clamped.
void normaliseSettings(AppSettings& settings);

// A stored boolean is false only for "false", "0", "no" and "off".
bool settingBoolFromText(std::wstring_view text);

// The two switches as the program reads them: only the exact names select
// LAN mode and UDP.
bool lanModeSelected(const AppSettings& settings);
bool udpSelected(const AppSettings& settings);

// "Orvane.ini" in the executable's folder.
std::wstring settingsFilePath();
// Defaults, overlaid from the file when it exists.
AppSettings loadSettings();
// Writes every field; failures are silent.
void saveSettings(const AppSettings& settings);

}  // namespace orvane
