#pragma once

#include "pictel/media_platform.h"
#include "pictel/win32/wic_decoder.h"

namespace orvane {

// The media platform of the program: WIC, GDI, Win32 files, PlaySoundW.
// Lives as long as the terminal that points at it, on the user-interface thread.
class Win32MediaPlatform : public MediaPlatform {
public:
    bool decodeImage(const uint8_t* bytes, size_t length, Canvas& out) override;
    void renderTextImage(const std::wstring& text, Canvas& out) override;
    bool queryFile(const std::wstring& path, FileFacts& facts) override;
    bool readWholeFile(const std::wstring& path, uint64_t maxBytes, std::vector<uint8_t>& out) override;
    bool writeFile(const std::wstring& path, const uint8_t* bytes, size_t length) override;
    bool replaceFile(const std::wstring& from, const std::wstring& to) override;
    bool deleteFile(const std::wstring& path) override;
    int deleteFilesWithPrefix(const std::wstring& folder, const std::wstring& prefix) override;
    bool absolutePathInside(const std::wstring& folder, const std::wstring& candidate,
                            std::wstring& resolvedOut) override;
    bool playSound(const std::wstring& path, bool loop) override;
    void stopSound() override;

private:
    ImagingFactory imaging_;
};

}  // namespace orvane
