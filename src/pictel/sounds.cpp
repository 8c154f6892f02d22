#include "pictel/sounds.h"

#include <string>

#include "pictel/media_replies.h"
#include "pictel/repo_rules.h"
#include "terminal/terminal.h"

namespace orvane {

namespace {

constexpr std::string_view kWav = ".wav";

bool endsWithWav(std::string_view name) {
    if (name.size() < kWav.size()) return false;
    for (size_t i = 0; i < kWav.size(); ++i) {
        char c = name[name.size() - kWav.size() + i];
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
        if (c != kWav[i]) return false;
    }
    return true;
}

}  // namespace

int32_t playRepoSound(Terminal& t, std::string_view pathBytes, bool loop) {
    if (!t.soundsEnabled) return kSoundsDisabled;
    if (!t.mediaRepoEnabled || t.mediaRepoDir.empty()) return kSoundRepoDisabled;
    if (pathBytes.empty()) return kSoundInvalidName;
    if (endsWithWav(pathBytes)) pathBytes.remove_suffix(kWav.size());
    if (pathBytes.empty()) return kSoundInvalidName;
    const std::string fileName = std::string(pathBytes) + std::string(kWav);
    std::wstring resolved;
    if (!resolveRepoPath(t, fileName, resolved)) return kSoundInvalidName;
    MediaPlatform& platform = mediaPlatformOf(t);
    FileFacts facts;
    if (!platform.queryFile(resolved, facts) || facts.directory) return kSoundNotFound;
    return platform.playSound(resolved, loop) ? kSoundPlaying : kSoundRefused;
}

void stopSound(Terminal& t) { mediaPlatformOf(t).stopSound(); }

void setSoundsEnabled(Terminal& t, bool enabled) { t.soundsEnabled = enabled; }

}  // namespace orvane
