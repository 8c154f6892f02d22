#include "pictel_generator.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "fuzz_input.h"
#include "support/memory_media.h"

namespace orvane::fuzzing {

namespace {

using testing::encodeBase64;
using testing::imageHeader;
using testing::referenceCrc32;

constexpr size_t kMaxProgramBytes = 64 * 1024;
constexpr size_t kMaxRawBytes = 64;

// Values near the limits of canvases, radii, brushes and 32-bit integers.
constexpr uint32_t kValues[] = {0, 1, 2, 3, 7, 8, 9, 16, 31, 64, 99, 100, 255, 256, 257, 1000, 1024, 4096, 8191, 8192,
                                8193, 32767, 32768, 65535, 0x4000000, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF,
                                0xFFFFFFF6, 2000000000, 3000000000};

struct CsiShape {
    char finalByte;
    uint8_t count;  // the count a device would send
};
constexpr CsiShape kShapes[] = {{'B', 6}, {'C', 5}, {'D', 7}, {'E', 6}, {'F', 3}, {'H', 1}, {'I', 3}, {'K', 1}, {'L', 6},
                                {'M', 6}, {'N', 6}, {'O', 4}, {'R', 3}, {'S', 2}, {'T', 3}, {'V', 5}, {'X', 5},
                                {'Z', 0}, {'n', 0}, {'Q', 2}, {'w', 1}};

const char* const kOps[] = {"", "repo", "play", "stop", "off", "use", "stat", "Repo", "offer"};
const char* const kPaths[] = {"logo.png", "icons/ok.png", "icons\\ok.png", "../x.png", "/logo.png", "bad.png",
                              "empty.png", "big.png", "short.png", "oversized.png", "wide.png", "missing.png",
                              "\xC3\xBCn\xC3\xAF.png", "icons", "bell", "alarm.wav", "refused", "bell.mp3", "sub",
                              ".wav", "CON", "a//b.png", "C:x.png", "name.", "bad\xFFname"};
const char* const kFormats[] = {"png", "jpg", "jpeg", "JPG", "gif"};
const char* const kBlanks[] = {"", "", " ", "\t", " \t "};

// Input bytes as free text inside an APC string: without the terminators,
// and in the control part without the item and payload separators.
std::string freeText(InputReader& in, size_t most, bool control) {
    std::string text = in.take(in.below(most));
    std::erase_if(text, [&](char c) { return c == '\x1b' || c == '\x07' || (control && (c == ',' || c == ';')); });
    return text;
}

std::string hex(uint32_t value) {
    char text[9];
    std::snprintf(text, sizeof text, "%08x", unsigned(value));
    return text;
}

std::string paramText(InputReader& in, bool small) {
    if (small) return std::to_string(in.below(8));
    if (in.below(8) == 0) return std::to_string(in.u16());
    return std::to_string(in.pick(kValues));
}

// w x h as the terminal would read it, 0 when it refuses the canvas anyway.
int64_t createdPixels(const std::vector<std::string>& params) {
    const auto value = [](const std::string& text) { return int32_t(uint32_t(std::stoul(text))); };
    const int64_t w = value(params[1]), h = value(params[2]);
    if (value(params[0]) < 0 || w < 1 || h < 1 || w * h > 0x4000000) return 0;
    return w * h;
}

Step csiStep(InputReader& in) {
    const CsiShape shape = in.pick(kShapes);
    size_t count = in.below(4) == 0 ? in.below(8) : shape.count;
    std::vector<std::string> params;
    for (size_t i = 0; i < count; ++i) params.push_back(paramText(in, i == 0 && in.below(4) != 0));
    Step step;
    step.single = true;
    step.finalByte = shape.finalByte;
    if (shape.finalByte == 'I' && count >= 3 && createdPixels(params) > kMaxFuzzCanvasPixels) step.finalByte = 'Q';
    step.bytes = "\x1b[=";
    for (size_t i = 0; i < count; ++i) step.bytes += (i ? ";" : "") + params[i];
    step.bytes += step.finalByte;
    return step;
}

struct ApcKeys {
    std::vector<std::pair<std::string, std::string>> items;
    void add(const std::string& key, const std::string& value) { items.emplace_back(key, value); }
};

// A base64 payload: a sample, a cut of one, or bytes from the input.
std::string payloadText(InputReader& in) {
    switch (in.below(4)) {
    case 0: return encodeBase64(sampleBytes(Sample(in.below(size_t(Sample::Count)))));
    case 1: {
        const std::string text = encodeBase64(sampleBytes(Sample(in.below(size_t(Sample::Count)))));
        return text.substr(std::min(in.below(16), text.size()));
    }
    case 2: return freeText(in, 32, false);
    default: return encodeBase64(in.take(in.below(48)));
    }
}

// Fills step.bytes from keys in input order, each padded with blanks.
void writeApc(InputReader& in, const ApcKeys& keys, const std::string* payload, Step& step) {
    step.bytes = "\x1b_G";
    bool first = true;
    for (const auto& [key, value] : keys.items) {
        if (!first) step.bytes += ",";
        if (in.below(16) == 0) step.bytes += "junk,";  // an item without "=" is ignored
        step.bytes += in.pick(kBlanks) + key + in.pick(kBlanks) + "=" + in.pick(kBlanks) + value + in.pick(kBlanks);
        first = false;
    }
    if (payload) step.bytes += ";" + *payload;
    step.bytes += in.below(4) == 0 ? "\x07" : "\x1b\\";
    step.single = true;
}

void addId(InputReader& in, ApcKeys& keys, Step& step) {
    static const std::pair<const char*, int32_t> kIds[] = {{"0", 0}, {"1", 1}, {"2", 2}, {"3", 3}, {"+4", 4}, {"7x", 7},
                                                           {"-1", -1}, {"2147483648", INT32_MIN}, {"4294967297", 1}, {"", 0}};
    if (in.below(16) == 0) return;  // no id at all
    const auto& [text, value] = in.pick(kIds);
    keys.add("i", text);
    step.validId = value >= 0;
    step.id = value;
}

Step apcStep(InputReader& in) {
    Step step;
    ApcKeys keys;
    addId(in, keys, step);
    step.op = in.pick(kOps);
    if (!step.op.empty()) keys.add("op", step.op);
    if (in.below(2)) keys.add("path", in.below(8) ? in.pick(kPaths) : freeText(in, 12, true));
    if (in.below(3) == 0) keys.add("loop", std::to_string(int(in.below(3)) - 1));
    if (step.op == "stat") {
        static const char* const kActions[] = {"start", "mark", "stop", "pause"};
        keys.add("a", in.pick(kActions));
        keys.add("t", std::string(in.below(80), 'L'));
    }
    const Sample sample = Sample(in.below(size_t(Sample::Count)));
    if (in.below(2)) keys.add("crc", in.below(4) ? hex(referenceCrc32(sampleBytes(sample))) : freeText(in, 10, true));
    if (in.below(2)) keys.add("len", std::to_string(sampleBytes(sample).size() + in.below(2)));
    if (in.below(3) == 0) keys.add("f", in.pick(kFormats));
    if (in.below(2)) {
        const int32_t more = int32_t(in.below(3)) - 1;
        keys.add("m", std::to_string(more));
        step.finalChunk = more == 0;
    }
    step.chunkNumber = int32_t(in.below(5));
    keys.add("n", std::to_string(step.chunkNumber));
    const std::string payload = payloadText(in);
    writeApc(in, keys, in.below(4) ? &payload : nullptr, step);
    const bool named = step.op == "repo" || step.op == "play" || step.op == "stop" || step.op == "off" ||
                       step.op == "use" || step.op == "stat";
    if (!named) step.op.clear();  // read as a data chunk
    return step;
}

// An offer of a sample (its CRC in hex, as a device sends it) and the
// sample in numbered chunks, the last one final.
void transferSteps(InputReader& in, std::vector<Step>& steps) {
    const std::string& bytes = sampleBytes(Sample(in.below(size_t(Sample::Count))));
    const int32_t id = int32_t(in.below(4));
    Step offer;
    ApcKeys keys;
    keys.add("i", std::to_string(id));
    keys.add("op", "off");
    keys.add("crc", hex(referenceCrc32(bytes)));
    keys.add("len", std::to_string(bytes.size() + (in.below(8) == 0 ? 1 : 0)));
    keys.add("f", in.pick(kFormats));
    writeApc(in, keys, nullptr, offer);
    offer.op = "off";
    offer.validId = true;
    offer.id = id;
    steps.push_back(offer);
    const std::string text = encodeBase64(bytes);
    const size_t chunk = 4 + in.below(40);
    for (size_t at = 0, n = 1; at < text.size(); at += chunk, ++n) {
        Step step;
        ApcKeys chunkKeys;
        chunkKeys.add("i", std::to_string(id));
        if (n == 1) chunkKeys.add("f", "png");
        step.finalChunk = at + chunk >= text.size();
        chunkKeys.add("m", step.finalChunk ? "0" : "1");
        chunkKeys.add("n", std::to_string(n));
        const std::string part = text.substr(at, chunk);
        writeApc(in, chunkKeys, &part, step);
        step.validId = true;
        step.id = id;
        step.chunkNumber = int32_t(n);
        steps.push_back(step);
    }
}

Step rawStep(InputReader& in) {
    Step step;
    step.bytes = in.take(in.below(kMaxRawBytes));
    std::replace(step.bytes.begin(), step.bytes.end(), 'I', 'Q');
    return step;
}

// Feed calls may split a step anywhere, even inside a command.
void cut(InputReader& in, Step& step) {
    if (step.bytes.size() < 2 || in.below(4) != 0) return;
    for (size_t pieces = 1 + in.below(3); pieces > 0; --pieces) step.cuts.push_back(1 + in.below(step.bytes.size() - 1));
    std::sort(step.cuts.begin(), step.cuts.end());
}

}  // namespace

const std::string& sampleBytes(Sample sample) {
    static const std::array<std::string, size_t(Sample::Count)> samples = {
        imageHeader(2, 2, "cached png"), imageHeader(5, 3, "cached jpeg"), imageHeader(17, 9, "logo"),
        imageHeader(64, 48, "medium"),   imageHeader(1, 1),                imageHeader(300, 2, "wide"),
        "GIF89a, but only the name of one", imageHeader(0, 5, "zero width"), imageHeader(65535, 65535, "too large"),
        imageHeader(40, 4, "wrong length"),
    };
    return samples[size_t(sample)];
}

std::vector<Step> generateProgram(std::span<const uint8_t> input) {
    InputReader in(input);
    std::vector<Step> steps;
    size_t total = 0;
    while (!in.empty() && total < kMaxProgramBytes) {
        const size_t first = steps.size();
        switch (in.below(8)) {
        case 0: case 1: case 2: steps.push_back(csiStep(in)); break;
        case 3: case 4: steps.push_back(apcStep(in)); break;
        case 5: transferSteps(in, steps); break;
        case 6: steps.push_back(rawStep(in)); break;
        default: {
            Step host;
            host.action = HostAction(in.below(size_t(HostAction::Count)));
            host.argument = in.byte();
            steps.push_back(host);
        }
        }
        for (size_t i = first; i < steps.size(); ++i) {
            cut(in, steps[i]);
            total += steps[i].bytes.size();
        }
    }
    return steps;
}

}  // namespace orvane::fuzzing
