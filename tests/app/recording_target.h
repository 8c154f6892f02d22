#pragma once

#include "app/command_target.h"

#include <functional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace orvane::test {

// A CommandTarget that writes every call it gets into one log line
// ("selectBaud 9600; reapplyLineSettings") and answers from its fields.
// Files whose path holds "bad" fail to play or to be saved.
class RecordingTarget : public CommandTarget {
public:
    AppSettings record;
    StartupFlags flags;
    std::wstring log;
    bool connected = false;
    bool persistAtLastCall = true;    // `persistSettings` when the last call came
    std::function<void()> onConnect;  // runs inside connect(), for re-entry tests

#define ORVANE_LOG(name, Type, text) \
    void name(Type value) override { note(L## #name, text); }
#define ORVANE_LOG_TEXT(name) ORVANE_LOG(name, const std::wstring&, value)
#define ORVANE_LOG_BOOL(name) ORVANE_LOG(name, bool, value ? L"on" : L"off")
#define ORVANE_LOG_INT(name) ORVANE_LOG(name, int, std::to_wstring(value))
#define ORVANE_LOG_CALL(name) \
    void name() override { note(L## #name); }
    ORVANE_LOG_TEXT(refreshPorts) ORVANE_LOG_TEXT(setHostText) ORVANE_LOG_TEXT(setNetPortText) ORVANE_LOG_TEXT(setProto)
    ORVANE_LOG_TEXT(selectBaud) ORVANE_LOG_TEXT(selectFraming) ORVANE_LOG_TEXT(setPalette) ORVANE_LOG_TEXT(setInputMode)
    ORVANE_LOG_TEXT(setLineTerminator) ORVANE_LOG_TEXT(setDisplayMode) ORVANE_LOG_TEXT(setGeometry)
    ORVANE_LOG_TEXT(setCursorStyle) ORVANE_LOG_TEXT(setBackgroundImage) ORVANE_LOG_TEXT(setBackgroundFit)
    ORVANE_LOG_TEXT(setPlayEol) ORVANE_LOG_TEXT(startCapture) ORVANE_LOG_TEXT(showNotice)
    ORVANE_LOG_BOOL(switchMode) ORVANE_LOG_BOOL(setLocalEcho) ORVANE_LOG_BOOL(setAutoScroll) ORVANE_LOG_BOOL(setCursorBlink)
    ORVANE_LOG_BOOL(setRts) ORVANE_LOG_BOOL(setDtr) ORVANE_LOG_BOOL(setMediaCache) ORVANE_LOG_BOOL(setMediaRepo)
    ORVANE_LOG_BOOL(setSounds)
    ORVANE_LOG_INT(setBackgroundOpacity) ORVANE_LOG_INT(setPlayCharDelay) ORVANE_LOG_INT(setPlayEolDelay)
    ORVANE_LOG_CALL(reapplyLineSettings) ORVANE_LOG_CALL(maximizeWindow) ORVANE_LOG_CALL(enterSlim)
    ORVANE_LOG_CALL(minimizeWindow) ORVANE_LOG_CALL(restoreWindow) ORVANE_LOG_CALL(lockUi) ORVANE_LOG_CALL(unlockUi)
    ORVANE_LOG_CALL(resetPlayDone) ORVANE_LOG_CALL(signalPlayDone) ORVANE_LOG_CALL(snapScreenshot)
#undef ORVANE_LOG

    AppSettings& settings() override { return record; }
    StartupFlags& startupFlags() override { return flags; }
    void saveSettingsNow() override { note(L"save"); }
    void resizeWindow(WindowSize size) override {
        note(L"resizeWindow", std::to_wstring(size.width) + L"x" + std::to_wstring(size.height));
    }
    int clearMediaCache() override { return note(L"clearMediaCache"), 3; }
    bool isConnected() override { return connected; }
    void connect() override {
        note(L"connect");
        if (onConnect) onConnect();
        connected = true;
    }
    void disconnect() override { note(L"disconnect"), connected = false; }
    bool startPlayback(const std::wstring& path) override { return note(L"startPlayback", path), works(path); }
    bool saveScreenshot(const std::wstring& path) override { return note(L"saveScreenshot", path), works(path); }

private:
    static bool works(const std::wstring& path) { return path.find(L"bad") == std::wstring::npos; }

    void note(const wchar_t* name, const std::wstring& value = {}) {
        log += (log.empty() ? L"" : L"; ") + std::wstring(name) + (value.empty() ? L"" : L" " + value);
        persistAtLastCall = persistSettings;
    }
};

// "orvane.exe" and the blank-separated options; '' stands for an empty argument.
inline std::vector<std::wstring> commandLine(std::wstring_view options) {
    std::vector<std::wstring> args = {L"orvane.exe"};
    std::wistringstream words{std::wstring(options)};
    for (std::wstring word; words >> word;) args.push_back(word == L"''" ? L"" : word);
    return args;
}

}  // namespace orvane::test
