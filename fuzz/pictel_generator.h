#pragma once

// Turns a fuzz input into a program for the terminal: Pictel commands in
// both framings (CSI "=" and APC "G") with hostile values, whole offered
// transfers, stretches of raw bytes so that plain ANSI mixes in, and the
// host actions of the main window. Every choice is read from the input.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace orvane::fuzzing {

enum class HostAction : uint8_t {
    SetGeometry, ClearScreen, SwitchMediaCache, SwitchMediaRepo, SwitchSounds, ClearMediaCache,
    SwitchCacheFolder, SwitchRepoFolder, SetWriteMode, SwitchReplaceFailure, SwitchReadFailure,
    SwitchPlayerRefusal, TouchRepoFile, TamperWithCacheFile, Count
};

struct Step {
    std::string bytes;         // what is fed; empty for a host action
    std::vector<size_t> cuts;  // ascending positions where a new feed call starts
    // Set when bytes hold exactly one whole command the generator can read
    // the way the terminal must; the fields below then describe it.
    bool single = false;
    char finalByte = 0;  // CSI; 0 for APC
    std::string op;      // APC "op", trimmed
    bool validId = false;
    int32_t id = -1;
    bool finalChunk = false;
    int32_t chunkNumber = 0;
    HostAction action = HostAction::Count;  // Count: not a host action
    uint8_t argument = 0;
};

// Encoded files the generator sends and names and the fuzzer's media
// folders hold; some are deliberately not decodable.
enum class Sample : uint8_t { CachedPng, CachedJpeg, Logo, Medium, OnePixel, Wide, NotAnImage, ZeroWidth, TooLarge, WrongLength, Count };
const std::string& sampleBytes(Sample sample);

// Canvases a program may create: larger ones take most of a second to
// allocate and fill under the sanitizers. "I" commands that would create
// one get the unknown final byte "Q", and raw bytes never hold an "I".
inline constexpr int64_t kMaxFuzzCanvasPixels = int64_t(1) << 20;

std::vector<Step> generateProgram(std::span<const uint8_t> input);

}  // namespace orvane::fuzzing
