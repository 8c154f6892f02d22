#include "pictel_invariants.h"

#include <algorithm>
#include <cstdio>
#include <string_view>

#include "fake_image.h"

namespace orvane::fuzzing {

namespace {

// The budgets the terminal promises a device cannot exceed.
constexpr int64_t kCanvasPixelLimit = 0x4000000;
constexpr int64_t kAllCanvasesPixelLimit = 0x10000000;
constexpr size_t kTransferTextLimit = 0x2000000;
constexpr size_t kAllTransfersTextLimit = size_t(128) << 20;
constexpr uint64_t kDecodedCacheLimit = uint64_t(1) << 30;
constexpr size_t kStatLabelLimit = 64;
constexpr uint32_t kColourMask = 0xFFFFFF;

std::string idText(int32_t id) { return "canvas " + std::to_string(id); }

// ---- replies ------------------------------------------------------------

class ReplyReader {
public:
    explicit ReplyReader(const std::vector<uint8_t>& bytes) : bytes_(bytes) {}
    bool done() const { return pos_ >= bytes_.size(); }
    size_t position() const { return pos_; }
    bool literal(std::string_view text) {
        if (bytes_.size() - pos_ < text.size()) return false;
        for (size_t i = 0; i < text.size(); ++i)
            if (bytes_[pos_ + i] != uint8_t(text[i])) return false;
        pos_ += text.size();
        return true;
    }
    // Signed decimal without leading zeros, within 32 bits.
    bool integer(int64_t& value) {
        const size_t start = pos_;
        const bool minus = literal("-");
        size_t digits = 0;
        value = 0;
        while (!done() && bytes_[pos_] >= '0' && bytes_[pos_] <= '9' && digits < 11) {
            value = value * 10 + (bytes_[pos_++] - '0');
            ++digits;
        }
        const bool leadingZero = digits > 1 && bytes_[start + (minus ? 1 : 0)] == '0';
        if (minus) value = -value;
        const bool ok = digits > 0 && !leadingZero && !(minus && value == 0) && value >= INT32_MIN &&
                        value <= INT32_MAX;
        if (!ok) pos_ = start;
        return ok;
    }

private:
    const std::vector<uint8_t>& bytes_;
    size_t pos_ = 0;
};

bool readReply(ReplyReader& in, Reply& reply) {
    if (!in.literal("\x1b[")) return false;
    if (in.literal("=")) {
        if (!in.integer(reply.first) || !in.literal(";") || !in.integer(reply.second)) return false;
        if (in.literal("y")) {
            reply.kind = Reply::Kind::Size;
            return true;
        }
        reply.kind = Reply::Kind::Pictel;
        return in.literal(";") && in.integer(reply.third) && in.literal("w");
    }
    if (in.literal("?62;4;9001c")) {
        reply.kind = Reply::Kind::DeviceAttributes;
        return true;
    }
    if (in.literal("0n")) {
        reply.kind = Reply::Kind::StatusOk;
        return true;
    }
    reply.kind = Reply::Kind::CursorPosition;
    return in.integer(reply.first) && in.literal(";") && in.integer(reply.second) && in.literal("R");
}

// The values each Pictel reply code may carry.
bool pictelValueInRange(int64_t code, int64_t value) {
    switch (code) {
    case 1: return value >= 0 && value <= 4;
    case 2: return value == 0 || value == 1;
    case 3: return true;  // the chunk number the device sent
    case 4: return value >= 0 && value <= 3;
    case 5: return value >= 0 && value <= 5;
    default: return false;
    }
}

std::string replyRangeViolation(const Reply& r) {
    switch (r.kind) {
    case Reply::Kind::Pictel:
        if (r.second < 0) return "a reply for a negative id";
        if (!pictelValueInRange(r.first, r.third)) return "a reply code or value out of range";
        return {};
    case Reply::Kind::Size:
        if ((r.first != 24 && r.first != 25) || (r.second != 80 && r.second != 132))
            return "a size reply that is no grid size";
        return {};
    case Reply::Kind::CursorPosition:
        if (r.first < 1 || r.first > 25 || r.second < 1 || r.second > 132) return "a cursor report off the grid";
        return {};
    default: return {};
    }
}

// ---- glass store ----------------------------------------------------------

std::string canvasViolation(int32_t id, const Canvas& c) {
    const int64_t pixels = int64_t(c.width) * c.height;
    if (!c.valid) return idText(id) + " is stored but not valid";
    if (c.width < 1 || c.height < 1)
        return idText(id) + " is " + std::to_string(c.width) + " x " + std::to_string(c.height);
    if (pixels > kCanvasPixelLimit) return idText(id) + " has " + std::to_string(pixels) + " pixels";
    if (c.pixels.size() != size_t(pixels))
        return idText(id) + " holds " + std::to_string(c.pixels.size()) + " pixel values for " +
               std::to_string(pixels) + " pixels";
    const bool wholeCanvas = c.viewX == 0 && c.viewY == 0 && c.viewWidth == 0 && c.viewHeight == 0;
    const bool inside = c.viewX >= 0 && c.viewY >= 0 && c.viewWidth > 0 && c.viewHeight > 0 &&
                        int64_t(c.viewX) + c.viewWidth <= c.width && int64_t(c.viewY) + c.viewHeight <= c.height;
    if (!wholeCanvas && !inside)
        return idText(id) + " has the view " + std::to_string(c.viewX) + "," + std::to_string(c.viewY) + " " +
               std::to_string(c.viewWidth) + " x " + std::to_string(c.viewHeight) + " on " +
               std::to_string(c.width) + " x " + std::to_string(c.height);
    return {};
}

std::string canvasesViolation(const GlassLayer& g) {
    int64_t total = 0;
    for (const auto& [id, canvas] : g.canvases) {
        std::string violation = canvasViolation(id, canvas);
        if (!violation.empty()) return violation;
        total += int64_t(canvas.width) * canvas.height;
    }
    if (total > kAllCanvasesPixelLimit) return "the canvases hold " + std::to_string(total) + " pixels together";
    return {};
}

std::string placementsViolation(const GlassLayer& g) {
    std::set<int32_t> seen;
    for (const Placement& p : g.placements)
        if (!seen.insert(p.canvasId).second) return idText(p.canvasId) + " has two placements";
    return {};
}

std::string transfersViolation(const GlassLayer& g) {
    size_t total = 0;
    for (const auto& [id, text] : g.pendingTransfers) {
        if (text.size() > kTransferTextLimit)
            return "the transfer for id " + std::to_string(id) + " holds " + std::to_string(text.size()) + " bytes";
        total += text.size();
    }
    if (total > kAllTransfersTextLimit) return "the transfers hold " + std::to_string(total) + " bytes together";
    for (const auto& [id, offer] : g.offers) {
        if (offer.length == 0) return "the offer for id " + std::to_string(id) + " has length 0";
        if (offer.extension != "png" && offer.extension != "jpeg")
            return "the offer for id " + std::to_string(id) + " has the extension " + offer.extension;
    }
    return {};
}

std::string drawStateViolation(const Terminal& t) {
    const GlassLayer& g = t.glass;
    if (g.strokeColour > kColourMask || g.fillColour > kColourMask || g.canvasBackground > kColourMask)
        return "a colour with a top byte";
    if (t.statMark.kind < 0 || t.statMark.kind > 3) return "statMark kind " + std::to_string(t.statMark.kind);
    if (t.statMark.label.size() > kStatLabelLimit)
        return "a statistics label of " + std::to_string(t.statMark.label.size()) + " bytes";
    return {};
}

// ---- cache files ------------------------------------------------------------

bool parseCacheName(const std::wstring& name, uint32_t& crc, uint64_t& length, std::wstring& extension) {
    if (name.size() < 3 + 8 + 2 + 10 + 1 || name.compare(0, 3, L"ov_") != 0) return false;
    crc = 0;
    for (size_t i = 3; i < 11; ++i) {
        const wchar_t c = name[i];
        const int digit = c >= L'0' && c <= L'9' ? c - L'0' : c >= L'a' && c <= L'f' ? c - L'a' + 10 : -1;
        if (digit < 0) return false;
        crc = crc << 4 | uint32_t(digit);
    }
    if (name.compare(11, 2, L"_l") != 0) return false;
    size_t i = 13;
    length = 0;
    for (; i < name.size() && name[i] >= L'0' && name[i] <= L'9'; ++i) length = length * 10 + uint64_t(name[i] - L'0');
    if (i - 13 < 10 || i >= name.size() || name[i] != L'.') return false;
    extension = name.substr(i + 1);
    return true;
}

uint64_t hashPixels(const std::vector<uint32_t>& pixels) {
    uint64_t h = 0xCBF29CE484222325ull;
    for (const uint32_t p : pixels) h = (h ^ p) * 0x100000001B3ull;
    return h;
}

}  // namespace

std::string parseReplies(const std::vector<uint8_t>& bytes, std::vector<Reply>& out) {
    ReplyReader in(bytes);
    while (!in.done()) {
        const size_t start = in.position();
        Reply reply;
        if (!readReply(in, reply))
            return "malformed reply at byte " + std::to_string(start) + " of " + std::to_string(bytes.size());
        std::string violation = replyRangeViolation(reply);
        if (!violation.empty()) return violation + ": " + describeReply(reply);
        out.push_back(reply);
    }
    return {};
}

std::string describeReply(const Reply& r) {
    switch (r.kind) {
    case Reply::Kind::Pictel:
        return "ESC[=" + std::to_string(r.first) + ";" + std::to_string(r.second) + ";" + std::to_string(r.third) + "w";
    case Reply::Kind::Size: return "ESC[=" + std::to_string(r.first) + ";" + std::to_string(r.second) + "y";
    case Reply::Kind::DeviceAttributes: return "ESC[?62;4;9001c";
    case Reply::Kind::StatusOk: return "ESC[0n";
    case Reply::Kind::CursorPosition: return "ESC[" + std::to_string(r.first) + ";" + std::to_string(r.second) + "R";
    }
    return {};
}

std::string findGlassViolation(const Terminal& t) {
    for (auto check : {canvasesViolation, placementsViolation, transfersViolation}) {
        std::string violation = check(t.glass);
        if (!violation.empty()) return violation;
    }
    return drawStateViolation(t);
}

std::string findDecodedCacheViolation(const DecodedImageCache& cache) {
    uint64_t total = 0;
    for (const auto& [key, entry] : cache.entries) {
        const Canvas& c = entry.canvas;
        if (!c.valid || c.width < 1 || c.height < 1 || c.pixels.size() != size_t(int64_t(c.width) * c.height))
            return "a decoded-image cache entry is not a sound canvas: " + narrow(key);
        total += uint64_t(c.pixels.size()) * 4;
        if (entry.lastUse > cache.useClock) return "a decoded-image cache entry was used after the clock";
        const auto order = cache.byLastUse.find(entry.lastUse);
        if (order == cache.byLastUse.end() || order->second != key)
            return "the decoded-image cache's use order misses " + narrow(key);
    }
    if (total != cache.totalBytes)
        return "the decoded-image cache counts " + std::to_string(cache.totalBytes) + " bytes but holds " +
               std::to_string(total);
    if (total > kDecodedCacheLimit) return "the decoded-image cache holds " + std::to_string(total) + " bytes";
    if (cache.entryCount != cache.entries.size() || cache.byLastUse.size() != cache.entries.size())
        return "the decoded-image cache counts " + std::to_string(cache.entryCount) + " entries, holds " +
               std::to_string(cache.entries.size()) + ", orders " + std::to_string(cache.byLastUse.size());
    return {};
}

std::string findCacheFileViolation(const FakeMediaPlatform& platform) {
    const std::wstring folder = foldPath(kFakeCacheDir) + L"\\";
    for (const auto& [key, file] : platform.files()) {
        if (!file.writtenByTerminal) continue;
        if (key.compare(0, folder.size(), folder) != 0) return "the terminal wrote a file outside the cache folder";
        // Only the final names count: an offer takes a file under one for the
        // cached image. What the terminal calls its files while writing them
        // is its own affair.
        const std::wstring name = key.substr(folder.size());
        uint32_t crc = 0;
        uint64_t length = 0;
        std::wstring extension;
        if (!parseCacheName(name, crc, length, extension) || (extension != L"png" && extension != L"jpeg")) continue;
        if (file.bytes.size() != length || referenceCrc32(file.bytes) != crc)
            return "the cache file " + narrow(name) + " holds " + std::to_string(file.bytes.size()) +
                   " bytes with another CRC than its name says";
    }
    return {};
}

int64_t largestCanvas(const GlassLayer& glass) {
    int64_t largest = 0;
    for (const auto& [id, c] : glass.canvases) largest = std::max(largest, int64_t(c.width) * c.height);
    return largest;
}

bool CanvasPrint::operator==(const CanvasPrint& o) const {
    return width == o.width && height == o.height && view[0] == o.view[0] && view[1] == o.view[1] &&
           view[2] == o.view[2] && view[3] == o.view[3] && pixelHash == o.pixelHash;
}

bool takeCanvasPrints(const GlassLayer& glass, int64_t pixelLimit, CanvasPrints& prints) {
    prints.clear();
    int64_t total = 0;
    for (const auto& [id, c] : glass.canvases) total += int64_t(c.pixels.size());
    if (total > pixelLimit) return false;
    for (const auto& [id, c] : glass.canvases)
        prints[id] = {c.width, c.height, {c.viewX, c.viewY, c.viewWidth, c.viewHeight}, hashPixels(c.pixels)};
    return true;
}

std::string findUnreportedChange(const CanvasPrints& before, const CanvasPrints& after, const DropRecorder& drops) {
    for (const auto& [id, print] : after) {
        const auto old = before.find(id);
        if (drops.dropped(id)) continue;
        if (old == before.end()) return idText(id) + " appeared without its bitmap being dropped";
        if (!(old->second == print)) return idText(id) + " changed without its bitmap being dropped";
    }
    for (const auto& [id, print] : before)
        if (!after.count(id) && !drops.dropped(id)) return idText(id) + " went without its bitmap being dropped";
    return {};
}

}  // namespace orvane::fuzzing
