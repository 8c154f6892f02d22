#pragma once

#include <cstdint>
#include <string>

namespace orvane {

struct Terminal;

// The media commands as the Pictel dispatcher calls them. None of them
// throws: running out of memory fails the command as invalid input would.

// A data chunk of an inline transfer; sends its own chunk and result replies.
void appendChunk(Terminal& t, int32_t id, const std::string& payload, bool newTransfer, bool hasMore, int32_t more,
                 int32_t chunkNumber);
// "off": the value of the offer reply.
int offerImage(Terminal& t, int32_t id, const std::string& crcText, const std::string& lenText,
               const std::string& formatText);
// "use": the value of the transfer reply.
int useOfferedImage(Terminal& t, int32_t id);
// "repo": the value of the repository reply.
int loadRepoImageCommand(Terminal& t, int32_t id, const std::string& path);
// "play": the value of the sound reply.
int playSoundCommand(Terminal& t, int32_t id, const std::string& path, bool loop);
// "stop": the dispatcher then answers that nothing plays.
void stopSoundCommand(Terminal& t);

}  // namespace orvane
