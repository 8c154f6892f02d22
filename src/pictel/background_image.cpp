#include "pictel/background_image.h"

#include <new>
#include <vector>

#include "terminal/terminal.h"

namespace orvane {

bool loadBackgroundImage(Terminal& t, const std::wstring& path, Canvas& background) {
    ++t.layerGeneration;
    t.dirty = 1;
    if (path.empty()) {
        background = Canvas{};
        return true;
    }
    try {
        MediaPlatform& platform = mediaPlatformOf(t);
        std::vector<uint8_t> bytes;
        if (!platform.readWholeFile(path, kMaxBackgroundFileBytes, bytes)) return false;
        Canvas decoded;
        if (!platform.decodeImage(bytes.data(), bytes.size(), decoded) || !decoded.valid) return false;
        background = std::move(decoded);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

}  // namespace orvane
