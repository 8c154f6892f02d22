#include "pictel/media_commands.h"

#include <new>

#include "pictel/media_replies.h"
#include "pictel/offer.h"
#include "pictel/repo_image.h"
#include "pictel/sounds.h"
#include "pictel/transfer.h"
#include "terminal/terminal.h"

namespace orvane {

// Transfers handle running out of memory chunk by chunk.
void appendChunk(Terminal& t, int32_t id, const std::string& payload, bool newTransfer, bool hasMore, int32_t more,
                 int32_t chunkNumber) {
    receiveChunk(t, id, payload, newTransfer, hasMore, more, chunkNumber);
}

int offerImage(Terminal& t, int32_t id, const std::string& crcText, const std::string& lenText,
               const std::string& formatText) {
    try {
        return recordOffer(t, id, crcText, lenText, formatText);
    } catch (const std::bad_alloc&) {
        t.glass.offers.erase(id);
        return 0;
    }
}

int useOfferedImage(Terminal& t, int32_t id) {
    try {
        return useOffer(t, id);
    } catch (const std::bad_alloc&) {
        return kImageUndecodable;
    }
}

int loadRepoImageCommand(Terminal& t, int32_t id, const std::string& path) {
    try {
        return loadRepoImage(t, id, path);
    } catch (const std::bad_alloc&) {
        return kRepoUndecodable;
    }
}

int playSoundCommand(Terminal& t, int32_t /*id*/, const std::string& path, bool loop) {
    try {
        return playRepoSound(t, path, loop);
    } catch (const std::bad_alloc&) {
        return kSoundRefused;
    }
}

void stopSoundCommand(Terminal& t) { stopSound(t); }

}  // namespace orvane
