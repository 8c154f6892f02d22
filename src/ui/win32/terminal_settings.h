#pragma once

#include "ui/win32/app_state.h"

#include <string>

namespace orvane {

// Palette, display mode, input mode, echo, line terminator, auto-scroll,
// cursor and the Pictel switches from the settings into the terminal.
void applySettingsToTerminal(AppState& state);
// Bytes Enter sends for an "EOL Mode" label; unknown labels send CR.
std::string terminatorForLabel(const std::wstring& label);
// The settings' names are ASCII; the terminal takes them as narrow text.
std::string narrowName(const std::wstring& name);
void switchLineMode(AppState& state, bool on);

}  // namespace orvane
