#pragma once

// Turns a fuzz input into a program for the terminal: Pictel commands in
// both framings (CSI "=" and APC "G"), stretches of raw bytes so that plain
// ANSI mixes in, and the host actions the main window performs between
// received blocks. Every choice is read from the input, so libFuzzer's
// mutations change the program step by step.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace orvane::fuzzing {

// Bytes one input may generate in all: keeps every input well within the
// fuzzer's time limit.
inline constexpr size_t kMaxProgramBytes = 64 * 1024;

enum class StepKind : uint8_t { Csi, Apc, Raw, Host };

enum class HostAction : uint8_t {
    SetGeometry,
    ClearScreen,
    SwitchMediaCache,
    SwitchMediaRepo,
    SwitchSounds,
    ClearMediaCache,
    SwitchCacheFolder,
    SwitchRepoFolder,
    SetWriteMode,
    SwitchReplaceFailure,
    SwitchReadFailure,
    SwitchPlayerRefusal,
    TouchRepoFile,
    TamperWithCacheFile,
    Count
};

// The APC operations as the dispatcher tells them apart; anything else is a
// data chunk.
enum class ApcOp : uint8_t { Chunk, Repo, Play, Stop, Offer, Use, Stat, Count };

struct Step {
    StepKind kind = StepKind::Raw;
    std::string bytes;          // what is fed (nothing for a host action)
    std::vector<size_t> cuts;   // ascending positions inside bytes where a new feed call starts
    // Set when bytes hold exactly one complete command whose reading the
    // generator knows; the fields below then describe it.
    bool single = false;
    uint8_t finalByte = 0;       // CSI
    ApcOp op = ApcOp::Chunk;     // APC
    std::string opText;          // the "op" value as sent
    bool validId = false;        // "i" present and not negative
    int32_t id = -1;
    bool finalChunk = false;     // "m" present and 0
    int32_t chunkNumber = 0;
    HostAction action = HostAction::SetGeometry;
    uint8_t argument = 0;
};

// Canvases the fuzzer lets a program create. The terminal accepts up to
// 0x4000000 pixels, but allocating and filling that many takes most of a
// second under the sanitizers, so a larger create would only ever show as a
// timeout. Sizes the terminal refuses anyway still reach it.
inline constexpr int64_t kMaxFuzzCanvasPixels = int64_t(1) << 22;

// The program for an input. "I" commands anywhere in its bytes (generated or
// raw, whole or split across steps) that would create a canvas larger than
// kMaxFuzzCanvasPixels get the unknown final byte "Q" instead.
std::vector<Step> generateProgram(std::span<const uint8_t> input);

// One line for traces and reproducers, the bytes C-escaped.
std::string describeStep(const Step& step);
std::string escapeBytes(const std::string& bytes);
const char* hostActionName(HostAction action);
const char* apcOpName(ApcOp op);

}  // namespace orvane::fuzzing
