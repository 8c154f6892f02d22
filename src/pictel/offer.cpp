#include "pictel/offer.h"

#include <vector>

#include "pictel/image_store.h"
#include "pictel/media_cache.h"
#include "pictel/media_replies.h"
#include "terminal/terminal.h"

namespace orvane {

namespace {

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// 1 to 8 hexadecimal digits, either case.
bool parseCrc(const std::string& text, uint32_t& crc) {
    if (text.empty() || text.size() > 8) return false;
    crc = 0;
    for (const char c : text) {
        const int digit = hexDigit(c);
        if (digit < 0) return false;
        crc = crc << 4 | uint32_t(digit);
    }
    return true;
}

// 1 to 20 decimal digits accumulated in 64 bits, not 0.
bool parseLength(const std::string& text, uint64_t& length) {
    if (text.empty() || text.size() > 20) return false;
    length = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return false;
        length = length * 10u + uint64_t(c - '0');
    }
    return length != 0;
}

std::string extensionOf(const std::string& formatText) {
    return formatText == "jpeg" || formatText == "jpg" ? "jpeg" : "png";
}

bool isCached(Terminal& t, const OfferRecord& offer) {
    if (!mediaCacheUsable(t)) return false;
    FileFacts facts;
    return mediaPlatformOf(t).queryFile(cacheFilePath(t, offer.crc, offer.length, offer.extension), facts) &&
           !facts.directory;
}

bool alreadyShown(Terminal& t, int32_t id, const OfferRecord& offer) {
    const Canvas* canvas = findCanvas(t.glass, id);
    return canvas && offer.crc != 0 && canvas->sourceCrc == offer.crc && canvas->sourceLength == offer.length;
}

int32_t showFromDecodedCache(Terminal& t, int32_t id, const Canvas& cached) {
    if (!canvasFits(t.glass, id, int64_t(cached.pixels.size()))) return kImageUndecodable;
    return showCanvas(t, id, cached) ? kImageStored : kImageUndecodable;
}

int32_t showFromCacheFile(Terminal& t, int32_t id, const OfferRecord& offer, const std::wstring& key) {
    std::vector<uint8_t> bytes;
    const std::wstring path = cacheFilePath(t, offer.crc, offer.length, offer.extension);
    if (!mediaPlatformOf(t).readWholeFile(path, kMaxEncodedImageBytes, bytes) || bytes.size() != offer.length)
        return kImageNotCached;
    Canvas canvas;
    if (!decodeForCanvas(t, id, bytes, canvas)) return kImageUndecodable;
    canvas.sourceCrc = offer.crc;
    canvas.sourceLength = offer.length;
    storeDecoded(t.decodedImages, key, canvas);
    return showCanvas(t, id, std::move(canvas)) ? kImageStored : kImageUndecodable;
}

}  // namespace

int32_t recordOffer(Terminal& t, int32_t id, const std::string& crcText, const std::string& lengthText,
                    const std::string& formatText) {
    OfferRecord offer;
    if (!parseCrc(crcText, offer.crc) || !parseLength(lengthText, offer.length)) {
        t.glass.offers.erase(id);
        return 0;
    }
    offer.extension = extensionOf(formatText);
    auto& offers = t.glass.offers;
    if (!offers.count(id) && offers.size() >= kMaxOffers) return 0;
    const bool cached = isCached(t, offer);
    offers[id] = std::move(offer);
    return cached ? 1 : 0;
}

int32_t useOffer(Terminal& t, int32_t id) {
    const auto it = t.glass.offers.find(id);
    if (it == t.glass.offers.end() || !mediaCacheUsable(t)) return kImageNotCached;
    const OfferRecord offer = std::move(it->second);
    t.glass.offers.erase(it);
    if (alreadyShown(t, id, offer)) return kImageStored;
    const std::wstring key = mediaCacheKey(offer.crc, offer.length, offer.extension);
    if (const Canvas* cached = lookupDecoded(t.decodedImages, key)) return showFromDecodedCache(t, id, *cached);
    return showFromCacheFile(t, id, offer, key);
}

}  // namespace orvane
