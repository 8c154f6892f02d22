#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace orvane {

struct Terminal;

// Base64 text one inline transfer may collect.
inline constexpr size_t kMaxTransferText = 0x2000000;
// Base64 text all transfers under way may hold together, so that a device
// cannot pin memory by opening many large transfers at once.
inline constexpr size_t kMaxPendingText = 0x8000000;
// Transfers under way at once; the text cap alone would not bound the
// bookkeeping of many empty ones.
inline constexpr size_t kMaxPendingTransfers = 1024;

// One data chunk of an inline image transfer for id. A chunk that would pass
// a limit is dropped (the transfer keeps its text). The final chunk
// (hasMore with more 0) finishes the transfer; the chunks before it are
// acknowledged with their number when the transfer was offered.
// Never throws.
void receiveChunk(Terminal& t, int32_t id, const std::string& payload, bool newTransfer, bool hasMore, int32_t more,
                  int32_t chunkNumber);

// Decodes the collected text of id and stores the image; an offered
// transfer is checked against its offer, kept in the media cache and
// answered. Does not remove the transfer. Never throws.
void finishTransfer(Terminal& t, int32_t id);

}  // namespace orvane
