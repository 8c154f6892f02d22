#include "pictel_invariants.h"

#include <cstdio>
#include <cwchar>

#include "pictel/transfer.h"

namespace orvane::fuzzing {

namespace {

using testing::foldPath;
using testing::isInside;

std::string narrow(const std::wstring& text) {
    std::string out;
    for (const wchar_t c : text) out += c >= 0x20 && c < 0x7F ? char(c) : '?';
    return out;
}

std::string canvasViolation(int32_t id, const Canvas& c) {
    const std::string name = "canvas " + std::to_string(id);
    if (id < 0) return name + " has a negative id";
    if (!c.valid || c.width < 1 || c.height < 1 || c.pixels.size() != size_t(int64_t(c.width) * c.height))
        return name + " is not a sound picture";
    if (c.viewX < 0 || c.viewY < 0 || c.viewWidth < 0 || c.viewHeight < 0 || c.viewX + c.viewWidth > c.width ||
        c.viewY + c.viewHeight > c.height || (c.viewWidth == 0) != (c.viewHeight == 0) ||
        (c.viewWidth == 0 && (c.viewX || c.viewY)))
        return name + " has a view outside it";
    return {};
}

bool isPlaceholderText(const std::wstring& text) {
    const auto endsWith = [&](const std::wstring& tail) {
        return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
    };
    return text == L"media repo disabled" || text == L"invalid image path" ||
           (text.starts_with(L"image ") && (endsWith(L" not available") || endsWith(L" unreadable")));
}

uint64_t mix(uint64_t hash, uint64_t value) { return (hash ^ value) * 0x100000001B3ull; }

}  // namespace

std::string findGlassViolation(const Terminal& t) {
    const GlassLayer& g = t.glass;
    int64_t total = 0;
    for (const auto& [id, c] : g.canvases) {
        if (std::string problem = canvasViolation(id, c); !problem.empty()) return problem;
        total += int64_t(c.width) * c.height;
    }
    if (total > kMaxTotalCanvasPixels || g.canvases.size() > kMaxCanvases) return "the canvases pass their caps";
    std::set<int32_t> placed;
    for (const Placement& p : g.placements)
        if (!placed.insert(p.canvasId).second) return "canvas " + std::to_string(p.canvasId) + " is placed twice";
    if (g.placements.size() > kMaxPlacements) return "the placements pass their cap";
    size_t text = 0;
    for (const auto& [id, pending] : g.pendingTransfers) {
        if (id < 0 || pending.size() > kMaxTransferText) return "transfer " + std::to_string(id) + " passes its limit";
        text += pending.size();
    }
    if (text > kMaxPendingText || g.pendingTransfers.size() > kMaxPendingTransfers) return "the transfers pass their caps";
    for (const auto& [id, offer] : g.offers)
        if (id < 0 || offer.length == 0 || (offer.extension != "png" && offer.extension != "jpeg"))
            return "offer " + std::to_string(id) + " is malformed";
    if ((g.strokeColour | g.fillColour | g.canvasBackground) > 0xFFFFFF) return "a colour has more than 24 bits";
    return t.statMark.label.size() > 64 ? "the statistics label passes 64 bytes" : "";
}

std::string findDecodedCacheViolation(const DecodedImageCache& cache) {
    uint64_t total = 0;
    for (const auto& [key, entry] : cache.entries) {
        if (!canvasViolation(0, entry.canvas).empty()) return "a decoded picture is not sound: " + narrow(key);
        total += uint64_t(entry.canvas.pixels.size()) * 4;
        const auto order = cache.byLastUse.find(entry.lastUse);
        if (entry.lastUse > cache.useClock || order == cache.byLastUse.end() || order->second != key)
            return "the decoded-image cache's use order misses " + narrow(key);
    }
    if (total != cache.totalBytes || total > kDecodedCacheBudget) return "the decoded-image cache miscounts its bytes";
    if (cache.entryCount != cache.entries.size() || cache.byLastUse.size() != cache.entries.size() ||
        cache.entryCount > kDecodedCacheMaxEntries)
        return "the decoded-image cache miscounts its entries";
    return {};
}

std::string findPlatformMisuse(testing::MemoryMediaPlatform& platform) {
    std::string problem;
    for (const std::wstring& path : platform.changed)
        if (!isInside(path, kCacheDir)) problem = "changed a file outside the media cache: " + narrow(path);
    for (const auto& [path, loop] : platform.played)
        if (!isInside(path, kRepoDir) || !foldPath(path).ends_with(L".wav")) problem = "played " + narrow(path);
    for (const std::wstring& text : platform.placeholders)
        if (!isPlaceholderText(text)) problem = "showed the placeholder " + narrow(text);
    platform.changed.clear();
    platform.played.clear();
    platform.placeholders.clear();
    for (const std::wstring& key : platform.filesIn(kCacheDir)) {
        const testing::MemoryFile& file = platform.files.at(key);
        unsigned crc = 0;
        unsigned long long length = 0;
        wchar_t extension[8] = {};
        const std::wstring name = file.path.substr(std::wcslen(kCacheDir) + 1);
        // Only the final names count: an offer takes a file under one for the cached image.
        if (!file.writtenByTerminal || std::swscanf(name.c_str(), L"OV_%8X_L%llu.%7ls", &crc, &length, extension) != 3)
            continue;
        wchar_t canonical[80];
        std::swprintf(canonical, 80, L"OV_%08X_L%010llu.%ls", crc, length, extension);
        if (name != canonical) continue;
        if (file.bytes.size() != length || testing::referenceCrc32(file.bytes) != crc)
            problem = "the cache file " + narrow(name) + " does not hold what its name says";
    }
    return problem;
}

std::string parseReplies(const std::vector<uint8_t>& bytes, std::vector<Reply>& out) {
    static constexpr int64_t kLargestValue[] = {0, 4, 1, INT32_MAX, 3, 5};
    const std::string text(bytes.begin(), bytes.end());
    for (size_t at = text.find("\x1b[="); at != std::string::npos; at = text.find("\x1b[=", at + 1)) {
        Reply r;
        long long a = 0, b = 0, c = 0;
        char final = 0;
        int used = 0;
        if (std::sscanf(text.c_str() + at + 3, "%lld;%lld;%lld%c%n", &a, &b, &c, &final, &used) == 4 && final == 'w') {
            r = Reply{false, a, b, c};
            if (a < 1 || a > 5 || b < 0 || b > INT32_MAX || c < (a == 3 ? INT32_MIN : 0) || c > kLargestValue[a])
                return "the reply " + text.substr(at + 1, size_t(used) + 2) + " is out of range";
        } else if (std::sscanf(text.c_str() + at + 3, "%lld;%lld%c", &a, &b, &final) == 3 && final == 'y') {
            r = Reply{true, a, b, 0};
        } else {
            return "a malformed reply: " + text.substr(at + 1, 20);
        }
        out.push_back(r);
    }
    return {};
}

std::string findReplyProblem(const Terminal& t, const Step& step, bool offered, const std::vector<Reply>& replies) {
    if (step.finalByte != 0) {
        if (step.finalByte != 'n') return replies.empty() ? "" : "a CSI command other than the size query answered";
        return replies.size() == 1 && replies[0].size && replies[0].first == t.rows && replies[0].second == t.cols
                   ? ""
                   : "the size query did not answer the grid size once";
    }
    static const std::map<std::string, int64_t> kCodes = {{"repo", 1}, {"play", 5}, {"stop", 5}, {"off", 2}, {"use", 4}};
    int64_t code = 0;
    if (step.op.empty() && offered) code = step.finalChunk ? 4 : 3;
    if (kCodes.count(step.op)) code = kCodes.at(step.op);
    if (!step.validId || step.op == "stat" || code == 0) return replies.empty() ? "" : "a command that has no answer answered";
    if (replies.size() != 1 || replies[0].size || replies[0].first != code || replies[0].second != step.id)
        return "the command did not answer once with code " + std::to_string(code);
    const int64_t value = replies[0].third;
    if ((code == 3 && value != step.chunkNumber) || (step.op == "stop" && value != 0) || (code == 4 && value > 2 && step.op.empty()))
        return "the answer's value " + std::to_string(value) + " is wrong";
    const bool shown = (code == 1 || code == 4) && value == 0;
    return shown && findCanvas(const_cast<GlassLayer&>(t.glass), step.id) == nullptr ? "a success showed no canvas" : "";
}

std::optional<std::map<int32_t, uint64_t>> canvasPrints(const GlassLayer& glass) {
    constexpr int64_t kPrintablePixels = int64_t(1) << 14;
    std::map<int32_t, uint64_t> prints;
    int64_t pixels = 0;
    for (const auto& [id, c] : glass.canvases) {
        pixels += int64_t(c.pixels.size());
        if (pixels > kPrintablePixels) return std::nullopt;
        uint64_t hash = 0xCBF29CE484222325ull;
        for (const int64_t v : {int64_t(c.width), int64_t(c.height), int64_t(c.viewX), int64_t(c.viewY),
                                int64_t(c.viewWidth), int64_t(c.viewHeight)})
            hash = mix(hash, uint64_t(v));
        for (const uint32_t p : c.pixels) hash = mix(hash, p);
        prints[id] = hash;
    }
    return prints;
}

std::string findUnreportedChange(const std::map<int32_t, uint64_t>& before, const std::map<int32_t, uint64_t>& after,
                                 const DropRecorder& drops) {
    std::set<int32_t> ids;
    for (const auto& [id, hash] : before) ids.insert(id);
    for (const auto& [id, hash] : after) ids.insert(id);
    for (const int32_t id : ids) {
        const auto was = before.find(id), is = after.find(id);
        const bool same = was != before.end() && is != after.end() && was->second == is->second;
        if (!same && !drops.all && !drops.ids.count(id))
            return "canvas " + std::to_string(id) + " changed without its bitmap being dropped";
    }
    return {};
}

}  // namespace orvane::fuzzing
