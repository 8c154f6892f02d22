#pragma once

#include <cstdint>
#include <string_view>

namespace orvane {

struct Terminal;

// The "play" operation: plays the repository WAV file named by pathBytes
// (".wav" is implied), looping when asked, and returns the SoundResult value.
// May throw std::bad_alloc.
int32_t playRepoSound(Terminal& t, std::string_view pathBytes, bool loop);
// Stops whatever this program is playing. Cannot fail.
void stopSound(Terminal& t);
// The callers stop a playing sound when switching sounds off.
void setSoundsEnabled(Terminal& t, bool enabled);

}  // namespace orvane
