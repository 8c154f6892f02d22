#pragma once

#include "transport/connection_view.h"

namespace orvane {

struct AppState;

// Connection control's view of the main window's controls.
class MainConnectionView final : public ConnectionView {
public:
    explicit MainConnectionView(AppState& appState) : state(appState) {}
    void setPortEntries(const std::vector<std::wstring>& entries, int selected) override;
    int portSelection() const override;
    bool portDropDownOpen() const override;
    void enablePortBox(bool enabled) override;
    std::wstring baudText() const override;
    std::wstring framingText() const override;
    std::wstring hostText() const override;
    std::wstring netPortText() const override;
    bool udpSelected() const override;
    bool lanSelected() const override;
    void setLineTerminatorEntries(const std::vector<std::wstring>& entries, int selected) override;
    void setLineTerminatorBytes(const std::string& bytes) override;
    void setConnectCaption(const std::wstring& caption) override;
    void enableLanFields(bool enabled) override;
    void enableGeometryCommands(bool enabled) override;
    void showModeControls(bool lanMode) override;
    void showNotice(const std::wstring& text) override;
    void repaintTerminal() override;
    void focusTerminal() override;
    void refreshLeds() override;
    void resetTerminal() override;
    void stopPlaybackAndSounds() override;
    void saveSettings() override;

private:
    AppState& state;
};

}  // namespace orvane
