#pragma once

#include "app/settings.h"

#include <optional>
#include <string>

namespace orvane {

// An outer window size in pixels, as "-size WxH" gives it.
struct WindowSize {
    int width = 0;
    int height = 0;
    friend bool operator==(const WindowSize&, const WindowSize&) = default;
};

// What the start-up command line asks of start-up itself (recorded by the
// pass before the window exists).
struct StartupFlags {
    bool maximize = false;
    bool slim = false;
    bool save = false;
    std::optional<WindowSize> size;
    std::wstring unknownOptions;  // every argument that is no option, joined by single blanks
    friend bool operator==(const StartupFlags&, const StartupFlags&) = default;
};

// The running program as the command line sees it: the settings record, the
// start-up flags and one operation per live effect or action. The main window
// implements it; a recording fake serves the tests. Every setter receives the
// value already stored in `settings()`.
class CommandTarget {
public:
    virtual ~CommandTarget() = default;

    virtual AppSettings& settings() = 0;
    virtual StartupFlags& startupFlags() = 0;
    // Writes the record now (a command line with "-save" has been applied).
    virtual void saveSettingsNow() = 0;

    // Link: each setter shows the value in its control; switching the mode
    // disconnects a connected link first.
    virtual void switchMode(bool lan) = 0;
    virtual void refreshPorts(const std::wstring& preferredPort) = 0;
    virtual void setHostText(const std::wstring& host) = 0;
    virtual void setNetPortText(const std::wstring& port) = 0;
    virtual void setProto(const std::wstring& proto) = 0;
    virtual void selectBaud(const std::wstring& baud) = 0;
    virtual void selectFraming(const std::wstring& framing) = 0;
    // Reopens an open serial port with the baud rate and framing of the boxes.
    virtual void reapplyLineSettings() = 0;

    // Terminal: the value reaches the terminal, its control and the picture.
    virtual void setPalette(const std::wstring& name) = 0;
    virtual void setLocalEcho(bool on) = 0;
    virtual void setInputMode(const std::wstring& mode) = 0;
    virtual void setLineTerminator(const std::wstring& terminator) = 0;
    virtual void setAutoScroll(bool on) = 0;
    virtual void setDisplayMode(const std::wstring& mode) = 0;
    virtual void setGeometry(const std::wstring& geometry) = 0;
    virtual void setCursorStyle(const std::wstring& style) = 0;
    virtual void setCursorBlink(bool on) = 0;
    virtual void setRts(bool on) = 0;
    virtual void setDtr(bool on) = 0;

    // Pictel switches, background and playback tuning.
    virtual void setMediaCache(bool on) = 0;
    virtual void setMediaRepo(bool on) = 0;
    virtual void setSounds(bool on) = 0;
    virtual void setBackgroundImage(const std::wstring& path) = 0;  // empty: none
    virtual void setBackgroundFit(const std::wstring& fit) = 0;
    virtual void setBackgroundOpacity(int percent) = 0;
    virtual void setPlayCharDelay(int milliseconds) = 0;
    virtual void setPlayEolDelay(int milliseconds) = 0;
    virtual void setPlayEol(const std::wstring& eol) = 0;

    // Window. Maximise, resize and restore leave slim mode first; entering
    // slim mode does nothing when it is already on.
    virtual void maximizeWindow() = 0;
    virtual void enterSlim() = 0;
    virtual void resizeWindow(WindowSize size) = 0;
    virtual void minimizeWindow() = 0;
    virtual void restoreWindow() = 0;
    virtual void lockUi() = 0;
    virtual void unlockUi() = 0;

    // Actions.
    virtual int clearMediaCache() = 0;  // the number of images deleted
    virtual bool isConnected() = 0;
    virtual void connect() = 0;
    virtual void disconnect() = 0;
    virtual void startCapture(const std::wstring& path) = 0;
    virtual bool startPlayback(const std::wstring& path) = 0;  // false: it did not start
    virtual void resetPlayDone() = 0;
    virtual void signalPlayDone() = 0;
    virtual bool saveScreenshot(const std::wstring& path) = 0;
    virtual void snapScreenshot() = 0;
    virtual void showNotice(const std::wstring& text) = 0;
};

}  // namespace orvane
