#pragma once

#include "app/settings.h"

#include <string>

namespace orvane {

// loadSettings and saveSettings on a given INI file.
AppSettings loadSettingsFrom(const std::wstring& path);
void saveSettingsTo(const AppSettings& settings, const std::wstring& path);

}  // namespace orvane
