#pragma once

#include "app/command_target.h"

#include <functional>
#include <string>
#include <vector>

namespace orvane::test {

// A CommandTarget that writes every call it gets as one line of text
// ("selectBaud 9600") and answers the questions from its fields.
class RecordingTarget : public CommandTarget {
public:
    AppSettings record;
    StartupFlags flags;
    std::vector<std::wstring> calls;
    // Files whose path holds "bad" fail to play or to be saved.
    bool connected = false;
    int cachedImages = 3;
    bool persistAtLastCall = true;  // `persistSettings` when the last call came
    std::function<void()> onConnect;  // runs inside connect(), for re-entry tests

    AppSettings& settings() override { return record; }
    StartupFlags& startupFlags() override { return flags; }
    void saveSettingsNow() override { note(L"save"); }

    void switchMode(bool lan) override { note(L"switchMode", lan); }
    void refreshPorts(const std::wstring& port) override { note(L"refreshPorts", port); }
    void setHostText(const std::wstring& host) override { note(L"setHostText", host); }
    void setNetPortText(const std::wstring& port) override { note(L"setNetPortText", port); }
    void setProto(const std::wstring& proto) override { note(L"setProto", proto); }
    void selectBaud(const std::wstring& baud) override { note(L"selectBaud", baud); }
    void selectFraming(const std::wstring& framing) override { note(L"selectFraming", framing); }
    void reapplyLineSettings() override { note(L"reapplyLineSettings"); }

    void setPalette(const std::wstring& name) override { note(L"setPalette", name); }
    void setLocalEcho(bool on) override { note(L"setLocalEcho", on); }
    void setInputMode(const std::wstring& mode) override { note(L"setInputMode", mode); }
    void setLineTerminator(const std::wstring& terminator) override { note(L"setLineTerminator", terminator); }
    void setAutoScroll(bool on) override { note(L"setAutoScroll", on); }
    void setDisplayMode(const std::wstring& mode) override { note(L"setDisplayMode", mode); }
    void setGeometry(const std::wstring& geometry) override { note(L"setGeometry", geometry); }
    void setCursorStyle(const std::wstring& style) override { note(L"setCursorStyle", style); }
    void setCursorBlink(bool on) override { note(L"setCursorBlink", on); }
    void setRts(bool on) override { note(L"setRts", on); }
    void setDtr(bool on) override { note(L"setDtr", on); }

    void setMediaCache(bool on) override { note(L"setMediaCache", on); }
    void setMediaRepo(bool on) override { note(L"setMediaRepo", on); }
    void setSounds(bool on) override { note(L"setSounds", on); }
    void setBackgroundImage(const std::wstring& path) override { note(L"setBackgroundImage", path); }
    void setBackgroundFit(const std::wstring& fit) override { note(L"setBackgroundFit", fit); }
    void setBackgroundOpacity(int percent) override { note(L"setBackgroundOpacity", std::to_wstring(percent)); }
    void setPlayCharDelay(int ms) override { note(L"setPlayCharDelay", std::to_wstring(ms)); }
    void setPlayEolDelay(int ms) override { note(L"setPlayEolDelay", std::to_wstring(ms)); }
    void setPlayEol(const std::wstring& eol) override { note(L"setPlayEol", eol); }

    void maximizeWindow() override { note(L"maximizeWindow"); }
    void enterSlim() override { note(L"enterSlim"); }
    void resizeWindow(WindowSize size) override {
        note(L"resizeWindow", std::to_wstring(size.width) + L"x" + std::to_wstring(size.height));
    }
    void minimizeWindow() override { note(L"minimizeWindow"); }
    void restoreWindow() override { note(L"restoreWindow"); }
    void lockUi() override { note(L"lockUi"); }
    void unlockUi() override { note(L"unlockUi"); }

    int clearMediaCache() override {
        note(L"clearMediaCache");
        return cachedImages;
    }
    bool isConnected() override { return connected; }
    void connect() override {
        note(L"connect");
        if (onConnect) onConnect();
        connected = true;
    }
    void disconnect() override {
        note(L"disconnect");
        connected = false;
    }
    void startCapture(const std::wstring& path) override { note(L"startCapture", path); }
    bool startPlayback(const std::wstring& path) override {
        note(L"startPlayback", path);
        return !failing(path);
    }
    void resetPlayDone() override { note(L"resetPlayDone"); }
    void signalPlayDone() override { note(L"signalPlayDone"); }
    bool saveScreenshot(const std::wstring& path) override {
        note(L"saveScreenshot", path);
        return !failing(path);
    }
    void snapScreenshot() override { note(L"snapScreenshot"); }
    void showNotice(const std::wstring& text) override { note(L"showNotice", text); }

private:
    static bool failing(const std::wstring& path) { return path.find(L"bad") != std::wstring::npos; }

    void note(const wchar_t* name, const std::wstring& value = {}) {
        calls.push_back(value.empty() ? std::wstring(name) : std::wstring(name) + L" " + value);
        persistAtLastCall = persistSettings;
    }
    void note(const wchar_t* name, bool on) { note(name, std::wstring(on ? L"on" : L"off")); }
};

}  // namespace orvane::test
