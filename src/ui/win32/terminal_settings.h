#pragma once

#include "ui/win32/app_state.h"

#include <string>

namespace orvane {

// Palette, display mode, input mode, echo, line terminator, auto-scroll,
// cursor, the Pictel switches and the background from the settings into the
// terminal and its renderer.
void applySettingsToTerminal(AppState& state);
// The settings' names are ASCII; the terminal takes them as narrow text.
std::string narrowName(const std::wstring& name);

}  // namespace orvane
