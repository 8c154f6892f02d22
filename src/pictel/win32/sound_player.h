#pragma once

#include <string>

namespace orvane {

// Asynchronous WAV playback through the system's one sound channel.
bool playWaveFile(const std::wstring& path, bool loop);
void stopWaveFile();

}  // namespace orvane
