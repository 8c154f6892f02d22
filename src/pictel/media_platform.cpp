#include "pictel/media_platform.h"

#include "terminal/terminal.h"

namespace orvane {

namespace {

// Nothing can be decoded, read, written or played. The placeholder stays
// black, as it does when the platform cannot make its bitmap.
class NoMediaPlatform final : public MediaPlatform {
public:
    bool decodeImage(const uint8_t*, size_t, Canvas&) override { return false; }
    void renderTextImage(const std::wstring&, Canvas& out) override {
        out = Canvas{};
        out.width = kPlaceholderWidth;
        out.height = kPlaceholderHeight;
        out.pixels.assign(size_t(kPlaceholderWidth) * size_t(kPlaceholderHeight), 0u);
        out.valid = true;
    }
    bool queryFile(const std::wstring&, FileFacts&) override { return false; }
    bool readWholeFile(const std::wstring&, uint64_t, std::vector<uint8_t>&) override { return false; }
    bool writeFile(const std::wstring&, const uint8_t*, size_t) override { return false; }
    bool replaceFile(const std::wstring&, const std::wstring&) override { return false; }
    bool deleteFile(const std::wstring&) override { return false; }
    int deleteFilesWithPrefix(const std::wstring&, const std::wstring&) override { return 0; }
    bool absolutePathInside(const std::wstring&, const std::wstring&, std::wstring&) override { return false; }
    bool playSound(const std::wstring&, bool) override { return false; }
    void stopSound() override {}
};

}  // namespace

MediaPlatform& mediaPlatformOf(Terminal& t) {
    static NoMediaPlatform none;
    return t.mediaPlatform ? *t.mediaPlatform : none;
}

}  // namespace orvane
