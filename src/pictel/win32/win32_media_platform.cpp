#include "pictel/win32/win32_media_platform.h"

#include "pictel/win32/media_files.h"
#include "pictel/win32/sound_player.h"
#include "pictel/win32/text_image.h"

namespace orvane {

bool Win32MediaPlatform::decodeImage(const uint8_t* bytes, size_t length, Canvas& out) {
    return orvane::decodeImage(imaging_, bytes, length, out);
}

void Win32MediaPlatform::renderTextImage(const std::wstring& text, Canvas& out) { orvane::renderTextImage(text, out); }

bool Win32MediaPlatform::queryFile(const std::wstring& path, FileFacts& facts) { return queryMediaFile(path, facts); }

bool Win32MediaPlatform::readWholeFile(const std::wstring& path, uint64_t maxBytes, std::vector<uint8_t>& out) {
    return readMediaFile(path, maxBytes, out);
}

bool Win32MediaPlatform::writeFile(const std::wstring& path, const uint8_t* bytes, size_t length) {
    return writeMediaFile(path, bytes, length);
}

bool Win32MediaPlatform::replaceFile(const std::wstring& from, const std::wstring& to) {
    return replaceMediaFile(from, to);
}

bool Win32MediaPlatform::deleteFile(const std::wstring& path) { return deleteMediaFile(path); }

int Win32MediaPlatform::deleteFilesWithPrefix(const std::wstring& folder, const std::wstring& prefix) {
    return deleteMediaFilesWithPrefix(folder, prefix);
}

bool Win32MediaPlatform::absolutePathInside(const std::wstring& folder, const std::wstring& candidate,
                                            std::wstring& resolvedOut) {
    return fullPathInside(folder, candidate, resolvedOut);
}

bool Win32MediaPlatform::playSound(const std::wstring& path, bool loop) { return playWaveFile(path, loop); }

void Win32MediaPlatform::stopSound() { stopWaveFile(); }

}  // namespace orvane
