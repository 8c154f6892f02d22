#pragma once

// A real orvane Terminal as the demo device's screen, with a media platform
// that records the image files it is asked to decode.
#include <string>
#include <vector>

#include "pictel/media_platform.h"
#include "terminal/terminal.h"

namespace orvane::demo::testing {

class RecordingDecoder : public MediaPlatform {
public:
    // Accepts a PNG signature and takes the size from its header; the pixels
    // stay blank. Every file is kept for the test to inspect.
    bool decodeImage(const uint8_t* bytes, size_t length, Canvas& out) override;
    void renderTextImage(const std::wstring&, Canvas&) override {}
    bool queryFile(const std::wstring&, FileFacts&) override { return false; }
    bool readWholeFile(const std::wstring&, uint64_t, std::vector<uint8_t>&) override { return false; }
    bool writeFile(const std::wstring&, const uint8_t*, size_t) override { return false; }
    bool replaceFile(const std::wstring&, const std::wstring&) override { return false; }
    bool deleteFile(const std::wstring&) override { return false; }
    int deleteFilesWithPrefix(const std::wstring&, const std::wstring&) override { return 0; }
    bool absolutePathInside(const std::wstring&, const std::wstring&, std::wstring&) override { return false; }
    bool playSound(const std::wstring&, bool) override { return false; }
    void stopSound() override {}

    std::vector<std::string> files;
};

struct Screen {
    Screen() { terminal.mediaPlatform = &decoder; }
    void feed(const std::string& bytes);
    std::string takeReplies();
    // The row as text, code units above 0x7F written as "?".
    std::string rowText(int row) const;

    RecordingDecoder decoder;
    Terminal terminal;
};

}  // namespace orvane::demo::testing
