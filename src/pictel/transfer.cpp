#include "pictel/transfer.h"

#include <new>
#include <optional>
#include <vector>

#include "pictel/base64.h"
#include "pictel/crc32.h"
#include "pictel/image_store.h"
#include "pictel/media_cache.h"
#include "pictel/media_replies.h"
#include "pictel/pictel_reply.h"
#include "terminal/terminal.h"

namespace orvane {

namespace {

using PendingMap = std::map<int32_t, std::string>;

size_t pendingText(const PendingMap& pending) {
    size_t total = 0;
    for (const auto& [id, text] : pending) total += text.size();
    return total;
}

// The entry a chunk goes into, or none when no new transfer may start.
PendingMap::iterator transferEntry(PendingMap& pending, int32_t id, bool newTransfer) {
    auto it = pending.find(id);
    if (it != pending.end()) {
        if (newTransfer) std::string().swap(it->second);  // also gives back the old text's memory
        return it;
    }
    if (pending.size() >= kMaxPendingTransfers) return pending.end();
    try {
        return pending.emplace(id, std::string()).first;
    } catch (const std::bad_alloc&) {
        return pending.end();  // the chunk is dropped like one past the limits
    }
}

// A reply that cannot be queued for want of memory is lost, like any other
// output of a command that ran out of memory.
void reply(Terminal& t, int32_t code, int32_t id, int32_t value) {
    try {
        sendPictelReply(t, code, id, value);
    } catch (const std::bad_alloc&) {
    }
}

void appendWithinLimits(PendingMap& pending, std::string& text, const std::string& payload) {
    if (payload.size() > kMaxTransferText - text.size()) return;
    if (pendingText(pending) + payload.size() > kMaxPendingText) return;
    try {
        text.append(payload);
    } catch (const std::bad_alloc&) {
        // Dropped like a chunk past the limit; append left the text as it was.
    }
}

std::optional<OfferRecord> takeOffer(Terminal& t, int32_t id) {
    const auto it = t.glass.offers.find(id);
    if (it == t.glass.offers.end()) return std::nullopt;
    OfferRecord offer = std::move(it->second);
    t.glass.offers.erase(it);
    return offer;
}

void finishUnoffered(Terminal& t, int32_t id, const std::vector<uint8_t>& bytes) {
    Canvas canvas;
    if (decodeForCanvas(t, id, bytes, canvas)) showCanvas(t, id, std::move(canvas));
}

TransferResult finishOffered(Terminal& t, int32_t id, const std::vector<uint8_t>& bytes, const OfferRecord& offer) {
    if (bytes.size() != offer.length || crc32(bytes.data(), bytes.size()) != offer.crc) return kImageMismatch;
    Canvas canvas;
    if (!decodeForCanvas(t, id, bytes, canvas)) return kImageUndecodable;
    canvas.sourceCrc = offer.crc;
    canvas.sourceLength = offer.length;
    if (mediaCacheUsable(t)) {
        writeCacheFile(t, offer, bytes);
        storeDecoded(t.decodedImages, mediaCacheKey(offer.crc, offer.length, offer.extension), canvas);
    }
    return showCanvas(t, id, std::move(canvas)) ? kImageStored : kImageUndecodable;
}

}  // namespace

void receiveChunk(Terminal& t, int32_t id, const std::string& payload, bool newTransfer, bool hasMore, int32_t more,
                  int32_t chunkNumber) {
    PendingMap& pending = t.glass.pendingTransfers;
    const auto entry = transferEntry(pending, id, newTransfer);
    if (entry != pending.end()) appendWithinLimits(pending, entry->second, payload);
    if (hasMore && more == 0) {
        finishTransfer(t, id);
        pending.erase(id);
        return;
    }
    if (t.glass.offers.count(id)) reply(t, kReplyChunk, id, chunkNumber);
}

void finishTransfer(Terminal& t, int32_t id) {
    const auto entry = t.glass.pendingTransfers.find(id);
    if (entry == t.glass.pendingTransfers.end()) return;
    dropCanvasBitmap(t.glass, id);
    const bool offered = t.glass.offers.count(id) != 0;
    try {
        std::vector<uint8_t> bytes;
        const bool decoded = decodeBase64(entry->second, bytes);
        const std::optional<OfferRecord> offer = takeOffer(t, id);
        if (!offer) {
            if (decoded) finishUnoffered(t, id, bytes);
            return;
        }
        const int32_t result = decoded ? finishOffered(t, id, bytes, *offer) : kImageUndecodable;
        reply(t, kReplyTransfer, id, result);
    } catch (const std::bad_alloc&) {
        // Out of memory while decoding or storing: answered as undecodable data.
        t.glass.offers.erase(id);
        if (offered) reply(t, kReplyTransfer, id, kImageUndecodable);
    }
}

}  // namespace orvane
