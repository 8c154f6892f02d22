#pragma once

#include <cstdint>

namespace orvane {

// Reply codes of the media commands, ESC [= code ; id ; value w.
inline constexpr int32_t kReplyRepo = 1;
inline constexpr int32_t kReplyOffer = 2;
inline constexpr int32_t kReplyChunk = 3;
inline constexpr int32_t kReplyTransfer = 4;
inline constexpr int32_t kReplySound = 5;

// Values of kReplyTransfer, for a finished offered transfer and for "use".
enum TransferResult : int32_t {
    kImageStored = 0,
    kImageMismatch = 1,     // length or CRC differs from the offer
    kImageUndecodable = 2,  // bad base64 or not an image
    kImageNotCached = 3,    // "use" only
};

// Values of kReplyRepo.
enum RepoResult : int32_t {
    kRepoLoaded = 0,
    kRepoNotAvailable = 1,
    kRepoInvalidPath = 2,
    kRepoUndecodable = 3,
    kRepoDisabled = 4,
};

// Values of kReplySound.
enum SoundResult : int32_t {
    kSoundPlaying = 0,  // also "stopped", for "stop"
    kSoundNotFound = 1,
    kSoundInvalidName = 2,
    kSoundRefused = 3,
    kSoundRepoDisabled = 4,
    kSoundsDisabled = 5,
};

}  // namespace orvane
