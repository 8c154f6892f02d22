#include "canvas_size_guard.h"

#include <string>
#include <string_view>

namespace orvane::fuzzing {

namespace {

constexpr char ESC = 0x1B;
// The largest canvas the terminal accepts; larger creates are refused at no cost.
constexpr int64_t kAcceptedPixels = 0x4000000;

// Finds the CSI sequences of a byte stream the way the terminal's parser
// reads them, leniently: every sequence the parser could dispatch is found
// (a few it would abort may be found too).
class CanvasSizeGuard {
public:
    explicit CanvasSizeGuard(int64_t maxPixels) : maxPixels_(maxPixels) {}

    // Rewrites the final byte of oversized creates to "Q" and notes where.
    void apply(std::string& stream, std::vector<size_t>& rewritten) const {
        for (size_t i = 0; i + 1 < stream.size(); ++i) {
            if (stream[i] != ESC || stream[i + 1] != '[') continue;
            const size_t end = sequenceEnd(stream, i + 2);
            if (end == std::string::npos) continue;
            if (stream[end] == 'I' && createsTooLarge(std::string_view(stream).substr(i + 2, end - i - 2))) {
                stream[end] = 'Q';
                rewritten.push_back(end);
            }
            i = end;
        }
    }

private:
    // The position of the final byte, or npos when the sequence is cut short.
    static size_t sequenceEnd(const std::string& s, size_t pos) {
        for (; pos < s.size(); ++pos) {
            const uint8_t b = uint8_t(s[pos]);
            if (b >= 0x40 && b <= 0x7E) return pos;
            if (b < 0x20 || b == 0x7F) return std::string::npos;
        }
        return std::string::npos;
    }

    bool createsTooLarge(std::string_view body) const {
        if (body.find('=') == std::string_view::npos) return false;
        std::vector<uint32_t> params(1, 0);
        for (const char c : body) {
            if (c == ';') params.push_back(0);
            else if (c >= '0' && c <= '9') params.back() = params.back() * 10u + uint32_t(c - '0');
        }
        if (params.size() < 3) return false;
        const int64_t w = int32_t(params[1]);
        const int64_t h = int32_t(params[2]);
        return w >= 1 && h >= 1 && w * h > maxPixels_ && w * h <= kAcceptedPixels;
    }

    int64_t maxPixels_;
};

}  // namespace

void keepCanvasesSmall(std::vector<Step>& steps, int64_t maxPixels) {
    std::string stream;
    for (const Step& step : steps) stream += step.bytes;
    std::vector<size_t> rewritten;
    CanvasSizeGuard(maxPixels).apply(stream, rewritten);
    size_t start = 0;
    size_t next = 0;
    for (Step& step : steps) {
        for (; next < rewritten.size() && rewritten[next] < start + step.bytes.size(); ++next) {
            step.bytes[rewritten[next] - start] = 'Q';
            if (step.kind == StepKind::Csi) step.finalByte = 'Q';
        }
        start += step.bytes.size();
    }
}

}  // namespace orvane::fuzzing
