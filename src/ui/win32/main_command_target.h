#pragma once

#include "app/command_target.h"

namespace orvane {

struct AppState;

// The running program as the command line drives it. The menu and the
// toolbar controls use the same operations for the same effects.
class MainCommandTarget final : public CommandTarget {
public:
    explicit MainCommandTarget(AppState& appState) : state(appState) {}
    AppSettings& settings() override;
    StartupFlags& startupFlags() override;
    void saveSettingsNow() override;
    void switchMode(bool lan) override;
    void refreshPorts(const std::wstring& preferredPort) override;
    void setHostText(const std::wstring& host) override;
    void setNetPortText(const std::wstring& port) override;
    void setProto(const std::wstring& proto) override;
    void selectBaud(const std::wstring& baud) override;
    void selectFraming(const std::wstring& framing) override;
    void reapplyLineSettings() override;
    void setPalette(const std::wstring& name) override;
    void setLocalEcho(bool on) override;
    void setInputMode(const std::wstring& mode) override;
    void setLineTerminator(const std::wstring& terminator) override;
    void setAutoScroll(bool on) override;
    void setDisplayMode(const std::wstring& mode) override;
    void setGeometry(const std::wstring& geometry) override;
    void setCursorStyle(const std::wstring& style) override;
    void setCursorBlink(bool on) override;
    void setRts(bool on) override;
    void setDtr(bool on) override;
    void setMediaCache(bool on) override;
    void setMediaRepo(bool on) override;
    void setSounds(bool on) override;
    void setBackgroundImage(const std::wstring& path) override;
    void setBackgroundFit(const std::wstring& fit) override;
    void setBackgroundOpacity(int percent) override;
    void setPlayCharDelay(int milliseconds) override;
    void setPlayEolDelay(int milliseconds) override;
    void setPlayEol(const std::wstring& eol) override;
    void maximizeWindow() override;
    void enterSlim() override;
    void resizeWindow(WindowSize size) override;
    void minimizeWindow() override;
    void restoreWindow() override;
    void lockUi() override;
    void unlockUi() override;
    int clearMediaCache() override;
    bool isConnected() override;
    void connect() override;
    void disconnect() override;
    void startCapture(const std::wstring& path) override;
    bool startPlayback(const std::wstring& path) override;
    void resetPlayDone() override;
    void signalPlayDone() override;
    bool saveScreenshot(const std::wstring& path) override;
    void snapScreenshot() override;
    void showNotice(const std::wstring& text) override;

private:
    AppState& state;
};

}  // namespace orvane
