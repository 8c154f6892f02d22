#include "pictel/win32/sound_player.h"

#include <windows.h>
#include <mmsystem.h>

namespace orvane {

bool playWaveFile(const std::wstring& path, bool loop) {
    DWORD flags = SND_FILENAME | SND_ASYNC | SND_NODEFAULT;
    if (loop) flags |= SND_LOOP;
    return PlaySoundW(path.c_str(), nullptr, flags) != FALSE;
}

void stopWaveFile() { PlaySoundW(nullptr, nullptr, 0); }

}  // namespace orvane
