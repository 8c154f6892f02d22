#include "pictel_generator.h"

#include <algorithm>
#include <cstdio>
#include <string_view>
#include <utility>

#include "apc_text.h"
#include "canvas_size_guard.h"
#include "fake_image.h"
#include "fuzz_input.h"

namespace orvane::fuzzing {

namespace {

constexpr char ESC = 0x1B;
constexpr char BEL = 0x07;

std::string decimal(uint32_t value) { return std::to_string(value); }
std::string negative(uint32_t magnitude) { return decimal(0u - magnitude); }

// Values near the limits of canvases, radii, brushes and 32-bit integers.
constexpr uint32_t kEdgeValues[] = {0,    1,    2,    7,     8,     9,     15,    16,     31,     32,
                                    63,   64,   99,   100,   101,   255,   256,   257,    1023,   1024,
                                    4095, 4096, 8191, 8192,  8193,  16384, 32767, 32768,  65535,  65536};
constexpr uint32_t kHugeValues[] = {0x7FFFFFFF, 0x80000000, 0x80000001, 0xFFFFFFFF, 0xFFFFFFFE, 0x4000000,
                                    0x4000001,  0x10000000, 1000000000, 2000000000, 3000000000, 0x2000000};
// Digit strings the parser must wrap or read with leading zeros.
const char* const kOddDigits[] = {"4294967296", "99999999999", "0000000012", "00", "18446744073709551617",
                                  "4294967297"};
constexpr uint32_t kCanvasSides[] = {1, 2, 3, 255, 256, 1024, 4096, 8191, 8192, 8193, 16384, 65535, 65536,
                                     0x4000000, 0x4000001, 0x2000, 0x3FFF};

enum class Role : uint8_t { Id, Coord, Extent, Side, Thickness, Colour, Flag, Angle, Cells, Hundredths };

struct CsiShape {
    char finalByte;
    uint8_t natural[2];  // parameter counts a device would send
    Role roles[7];
};

constexpr Role I = Role::Id, P = Role::Coord, W = Role::Extent, S = Role::Side, T = Role::Thickness,
               C = Role::Colour, F = Role::Flag, A = Role::Angle, G = Role::Cells, H = Role::Hundredths;

constexpr CsiShape kShapes[] = {
    {'B', {5, 6}, {I, P, P, W, W, T, T}}, {'C', {4, 5}, {I, P, P, W, T, T, T}},
    {'D', {7, 7}, {I, G, H, G, H, G, H}}, {'E', {5, 6}, {I, P, P, W, W, T, T}},
    {'F', {3, 0}, {C, C, C, C, C, C, C}}, {'H', {1, 1}, {F, F, F, F, F, F, F}},
    {'I', {3, 3}, {I, S, S, S, S, S, S}}, {'K', {1, 0}, {I, I, I, I, I, I, I}},
    {'L', {5, 6}, {I, P, P, P, P, T, T}}, {'M', {5, 6}, {I, P, P, W, A, T, T}},
    {'N', {5, 6}, {I, P, P, W, A, T, T}}, {'O', {4, 4}, {G, H, G, H, G, H, G}},
    {'R', {3, 0}, {C, C, C, C, C, C, C}}, {'S', {2, 1}, {I, F, F, F, F, F, F}},
    {'T', {3, 3}, {C, C, C, C, C, C, C}}, {'V', {5, 1}, {I, P, P, W, W, W, W}},
    {'X', {5, 1}, {I, P, P, W, W, W, W}}, {'Z', {0, 0}, {P, P, P, P, P, P, P}},
    {'n', {0, 0}, {P, P, P, P, P, P, P}},
};
constexpr char kUnknownFinals[] = {'A', 'Q', 'W', '@', '~', 'a', 'w', 'y', 'G', 'J', 'P', 'U'};

const char* const kPaths[] = {
    "logo.png", "icons/ok.png", "icons\\ok.png", "ICONS/OK.PNG", "bad.png", "empty.png", "wide.png",
    "huge.png", "big.png", "short.png", "oversized.png", "\xC3\xBCn\xC3\xAF.png", "missing.png", "icons",
    "icons/", "sub.wav", "../x.png", "/logo.png", "\\logo.png", "a/./b.png", "a//b.png", "C:x.png",
    "logo.png:stream", "name.", "name ", "CON", "nul.png", "COM1", "lpt9.txt", "\xFF\xFE.png", "bell",
    "bell.wav", "BELL.WAV", "alarm", ".wav", "refused", "sub", "bell.mp3", "x\xE2\x80\x8B.png", "",
};
const char* const kFormats[] = {"png", "jpeg", "jpg", "gif", "", "PNG"};
const char* const kStatActions[] = {"start", "mark", "stop", "pause", "", "MARK"};
const char* const kUnknownOps[] = {"xyz", "REPO", "Play", "re po", "offer", "sta", "-"};
const char* const kAnyKeys[] = {"i", "m", "n", "op", "f", "w", "h", "crc", "len", "path", "loop", "a", "t",
                                "I", "OP", "q", "x"};

// Raw snippets a device stream may carry around the Pictel commands.
const char* const kSnippets[] = {
    "\x1b", "\x1b[", "\x1b[=", "\x1b[=1;", "\x1b_", "\x1b_G", "\x1b_Gi=1,op=stop", "\x1b\\", "\x07",
    "\x1b\x63", "\x1b[8;25;132t", "\x1b[8;24;80t", "\x1b[8;25;80t", "\x1b[6n", "\x1b[5n", "\x1b[c",
    "\x1b[>c", "\x1b[?1049h", "\x1b[?1049l", "\x1b_gi=3,op=use\x1b\\", "\x1b_Gi=1\x1bX", "\x1b[=1 F",
    "\x1b[?=1F", "\x1b[=?1F", "\x1b]0;title\x07", "Hello", "\r\n", "\x1b[2J", "\x1b(0", "\x1b(B",
    "\x1b[=5;0;0;0;0;10;0D", "\x1b[=0;7;9I", "\x1b[3;5r\x1b[?6h\x1b[6n", "\x1b_G\x1b\\", "\x1b_G;\x07",
    "",  // stands for a sequence past the parameter cap
};

// Input bytes used as a key's value: nothing that ends the string or
// splits the control part.
std::string valueSafe(std::string bytes) {
    for (char& c : bytes)
        if (c == ESC || c == BEL || c == ',' || c == ';' || c == '=') c = '_';
    return bytes;
}

std::string payloadSafe(std::string bytes) {
    for (char& c : bytes)
        if (c == ESC || c == BEL) c = '.';
    return bytes;
}

std::string hex(uint32_t value, bool upper, bool padded) {
    char text[16];
    std::snprintf(text, sizeof text, padded ? (upper ? "%08X" : "%08x") : (upper ? "%X" : "%x"), unsigned(value));
    return text;
}

class Generator {
public:
    explicit Generator(std::span<const uint8_t> input) : in_(input) {}

    std::vector<Step> run() {
        while (!in_.empty() && !full_) nextStep();
        return std::move(steps_);
    }

private:
    void nextStep() {
        const size_t choice = in_.below(32);
        if (choice <= 12) {
            csiCommand();
        } else if (choice <= 19) {
            apcCommand();
        } else if (choice <= 21) {
            transfer(true);
        } else if (choice == 22) {
            transfer(false);
        } else if (choice == 23) {
            offerAndUse();
        } else if (choice == 24) {
            scene();
        } else if (choice <= 28) {
            raw();
        } else {
            host();
        }
    }

    // Adds a step unless the program would pass its size limit, which ends it.
    void add(Step step) {
        if (full_) return;
        if (total_ + step.bytes.size() > kMaxProgramBytes) {
            full_ = true;
            return;
        }
        total_ += step.bytes.size();
        chooseCuts(step);
        steps_.push_back(std::move(step));
    }

    void chooseCuts(Step& step) {
        const size_t size = step.bytes.size();
        const size_t choice = in_.below(16);
        if (size < 2 || choice < 11) return;
        if (choice == 15) {
            for (size_t i = 1; i < size; ++i) step.cuts.push_back(i);
            return;
        }
        const size_t count = choice - 10;
        for (size_t i = 0; i < count; ++i) step.cuts.push_back(1 + in_.u16() % (size - 1));
        std::sort(step.cuts.begin(), step.cuts.end());
        step.cuts.erase(std::unique(step.cuts.begin(), step.cuts.end()), step.cuts.end());
    }

    // ---- CSI "=" ------------------------------------------------------

    std::string anyValue() {
        switch (in_.below(16)) {
        case 0: case 1: case 2: case 3: case 4: case 5: return decimal(uint32_t(in_.below(16)));
        case 6: case 7: return decimal(in_.pick(kEdgeValues));
        case 8: case 9: return negative(uint32_t(1 + in_.below(64)));
        case 10: return decimal(in_.pick(kHugeValues));
        case 11: return decimal(in_.u16());
        case 12: return decimal(in_.u32());
        case 13: return "";
        case 14: return in_.pick(kOddDigits);
        default: return decimal(uint32_t(in_.below(71)));
        }
    }

    std::string idValue() {
        const size_t choice = in_.below(8);
        if (choice < 6) return decimal(uint32_t(in_.below(4)));
        if (choice == 6) return decimal(uint32_t(4 + in_.below(8)));
        return anyValue();
    }

    std::string valueFor(Role role) {
        const size_t choice = in_.below(8);
        if (role == Role::Id) return idValue();
        if (choice == 7) return anyValue();
        switch (role) {
        case Role::Coord:
            if (choice < 4) return decimal(uint32_t(in_.below(71)));
            if (choice == 4) return decimal(in_.pick(kEdgeValues));
            if (choice == 5) return negative(uint32_t(1 + in_.below(300)));
            return decimal(in_.pick(kHugeValues));
        case Role::Extent:
            if (choice < 4) return decimal(uint32_t(in_.below(71)));
            if (choice == 4) return decimal(in_.pick(kEdgeValues));
            if (choice == 5) return negative(uint32_t(1 + in_.below(300)));
            return decimal(in_.pick(kHugeValues));
        case Role::Side:
            if (choice < 5) return decimal(uint32_t(1 + in_.below(64)));
            if (choice == 5) return decimal(in_.pick(kCanvasSides));
            return in_.below(2) ? "0" : negative(uint32_t(1 + in_.below(8)));
        case Role::Thickness:
            if (choice < 5) return decimal(uint32_t(in_.below(13)));
            if (choice == 5) return decimal(uint32_t(254 + in_.below(5)));
            return in_.below(2) ? negative(uint32_t(1 + in_.below(8))) : decimal(in_.pick(kHugeValues));
        case Role::Colour:
            if (choice < 5) return decimal(in_.byte());
            if (choice == 5) return decimal(uint32_t(256 + in_.below(64)));
            return decimal(in_.pick(kHugeValues));
        case Role::Flag: return decimal(uint32_t(in_.below(3)));
        case Role::Angle:
            if (choice < 5) return decimal(uint32_t(in_.below(8)));
            if (choice == 5) return decimal(uint32_t(8 + in_.below(8)));
            return negative(uint32_t(1 + in_.below(9)));
        case Role::Cells:
            if (choice < 5) return decimal(uint32_t(in_.below(31)));
            if (choice == 5) return negative(uint32_t(1 + in_.below(30)));
            return decimal(in_.pick(kHugeValues));
        case Role::Hundredths:
            if (choice < 5) return decimal(uint32_t(in_.below(100)));
            if (choice == 5) return in_.below(2) ? "100" : negative(50);
            return decimal(in_.pick(kHugeValues));
        default: return anyValue();
        }
    }

    size_t parameterCount(const CsiShape& shape) {
        const size_t least = shape.natural[0];
        const size_t choice = in_.below(16);
        if (choice < 10) return shape.natural[in_.below(2)];
        if (choice < 12) return least == 0 ? 1 : least - 1;
        if (choice == 12) return 0;
        if (choice == 13) return in_.below(9);
        if (choice == 14) return in_.below(41);
        return least + 1 + in_.below(3);
    }

    void csiCommand() {
        const size_t which = in_.below(std::size(kShapes) + 2);
        std::string text = "\x1b[=";
        Step step;
        step.kind = StepKind::Csi;
        step.single = true;
        if (which >= std::size(kShapes)) {
            const size_t count = in_.below(4);
            for (size_t i = 0; i < count; ++i) text += (i ? ";" : "") + anyValue();
            step.finalByte = uint8_t(in_.pick(kUnknownFinals));
        } else {
            const CsiShape& shape = kShapes[which];
            const size_t count = parameterCount(shape);
            for (size_t i = 0; i < count; ++i)
                text += (i ? ";" : "") + (i < std::size(shape.roles) ? valueFor(shape.roles[i]) : anyValue());
            step.finalByte = uint8_t(shape.finalByte);
        }
        text.push_back(char(step.finalByte));
        step.bytes = std::move(text);
        add(std::move(step));
    }

    void csi(char finalByte, std::initializer_list<int64_t> values) {
        Step step;
        step.kind = StepKind::Csi;
        step.single = true;
        step.finalByte = uint8_t(finalByte);
        step.bytes = "\x1b[=";
        bool first = true;
        for (const int64_t v : values) {
            if (!first) step.bytes += ";";
            step.bytes += decimal(uint32_t(v));
            first = false;
        }
        step.bytes.push_back(finalByte);
        add(std::move(step));
    }

    // ---- APC "G" ------------------------------------------------------

    void item(ApcText& cmd, std::string key, std::string value) {
        ApcItem it{std::move(key), std::move(value), "", "", false};
        switch (in_.below(16)) {
        case 12:
            it.padBefore = in_.below(2) ? " " : "\t";
            it.padAfter = in_.below(2) ? " \t" : " ";
            break;
        case 13: {
            // An earlier value of the same key, overwritten by this one.
            cmd.items.push_back({it.key, valueSafe(in_.take(in_.below(6))), "", "", false});
            break;
        }
        case 14: cmd.items.push_back({in_.pick(kAnyKeys), "", "", "", true}); break;
        case 15: cmd.items.push_back({in_.pick(kAnyKeys), valueSafe(in_.take(in_.below(8))), "", "", false}); break;
        default: break;
        }
        cmd.items.push_back(std::move(it));
    }

    std::string integerText(int32_t small) {
        switch (in_.below(16)) {
        case 11: return "+" + std::to_string(small);
        case 12: return std::to_string(small) + (in_.below(2) ? "x" : "9z");
        case 13: {
            const char* const odd[] = {"-1", "-7", "2147483648", "4294967299", "", "-0", "x", "007", "-2147483648"};
            return in_.pick(odd);
        }
        case 14: return decimal(in_.u32());
        default: return std::to_string(small);
        }
    }

    void idItem(ApcText& cmd, int32_t id) {
        if (in_.below(16) == 0) return;  // no "i" at all
        item(cmd, "i", integerText(id));
    }

    int32_t smallId() { return int32_t(in_.below(8)); }

    std::string pathText() {
        const size_t choice = in_.below(std::size(kPaths) + 3);
        if (choice < std::size(kPaths)) return kPaths[choice];
        if (choice == std::size(kPaths)) return valueSafe(in_.take(in_.below(24)));
        if (choice == std::size(kPaths) + 1) return std::string(250 + in_.below(64) * 4, 'a') + ".png";
        return "icons/" + valueSafe(in_.take(in_.below(12)));
    }

    std::string dynamicImage() {
        const size_t choice = in_.below(8);
        uint16_t w = uint16_t(1 + in_.below(64));
        uint16_t h = uint16_t(1 + in_.below(64));
        if (choice == 6) {
            const uint16_t sides[] = {0, 1, 2048, 2049, 4096, 65535};
            w = in_.pick(sides);
            h = in_.pick(sides);
        }
        std::string tail = in_.take(in_.below(16));
        if (choice == 7) tail.append(in_.u16() % 12000, 'x');
        return makeFakeImage(w, h, tail);
    }

    std::string imageBytes() {
        if (in_.below(3) == 0) return dynamicImage();
        return sampleBytes(Sample(in_.below(size_t(Sample::Count))));
    }

    std::string payloadText() {
        switch (in_.below(16)) {
        case 0: case 1: case 2: case 3: case 4: case 5:
            return encodeBase64(sampleBytes(Sample(in_.below(size_t(Sample::Count)))));
        case 6: case 7: return encodeBase64(dynamicImage());
        case 8: {
            std::string text = encodeBase64(imageBytes());
            // Blanks and line breaks the decoder must skip, each after the last.
            for (size_t i = in_.below(8); i < text.size(); i += 1 + in_.below(20)) {
                const std::string_view gap = in_.pick({" ", "\r\n", "\t", "\n"});
                text.insert(i, gap);
                i += gap.size();
            }
            return text;
        }
        case 9: {
            std::string text = encodeBase64(imageBytes());
            while (!text.empty() && text.back() == '=') text.pop_back();
            return text;
        }
        case 10: return encodeBase64(in_.take(in_.below(64)));
        case 11: return payloadSafe(in_.take(in_.below(64)));
        case 12: return "";
        case 13: {
            std::string text = encodeBase64(imageBytes());
            text.insert(text.size() / 2, "=");
            return text;
        }
        case 14: return "A";
        default: {
            // A payload that itself holds a ";".
            const std::string text = encodeBase64(imageBytes());
            return text + ";" + payloadSafe(in_.take(in_.below(8)));
        }
        }
    }

    void offerItems(ApcText& cmd, const std::string& bytes) {
        const uint32_t crc = referenceCrc32(bytes);
        std::string crcText = hex(crc, true, true);
        switch (in_.below(16)) {
        case 10: crcText = hex(crc, false, true); break;
        case 11: crcText = hex(crc, true, false); break;
        case 12: crcText = hex(crc ^ (1u << in_.below(32)), true, true); break;
        case 13: crcText = "0" + hex(crc, true, true); break;
        case 14: crcText = in_.pick({"12G4", "", "0", "-1", "0x12"}); break;
        default: break;
        }
        std::string lenText = std::to_string(bytes.size());
        switch (in_.below(16)) {
        case 11: lenText = std::to_string(bytes.size() + 1); break;
        case 12: lenText = "0"; break;
        case 13: lenText = std::string(21 - std::min<size_t>(lenText.size(), 20), '0') + lenText; break;
        case 14: lenText = std::string(20 - std::min<size_t>(lenText.size(), 20), '0') + lenText; break;
        case 15: lenText = in_.pick({"-5", "18446744073709551615", "99999999999999999999", "12a", ""}); break;
        default: break;
        }
        item(cmd, "crc", crcText);
        item(cmd, "len", lenText);
        if (in_.below(4)) item(cmd, "f", in_.pick(kFormats));
    }

    void chunkItems(ApcText& cmd) {
        switch (in_.below(8)) {
        case 0: case 1: case 2: item(cmd, "m", "1"); break;
        case 3: case 4: item(cmd, "m", "0"); break;
        case 5: item(cmd, "m", in_.pick({"2", "-0", "", "x", "+0", "4294967296"})); break;
        default: break;
        }
        if (in_.below(2)) item(cmd, "n", integerText(int32_t(in_.below(8))));
        if (in_.below(4) == 0) item(cmd, "f", in_.pick(kFormats));
        if (in_.below(8) == 0) {
            const char* key = in_.below(2) ? "w" : "h";
            item(cmd, key, decimal(in_.u16()));
        }
        cmd.hasPayload = in_.below(8) != 0;
        if (cmd.hasPayload) cmd.payload = payloadText();
    }

    void apcCommand() {
        ApcText cmd;
        const size_t choice = in_.below(16);
        idItem(cmd, smallId());
        if (choice < 6) {
            chunkItems(cmd);
        } else if (choice < 8) {
            item(cmd, "op", "repo");
            if (in_.below(8)) item(cmd, "path", pathText());
        } else if (choice < 10) {
            item(cmd, "op", "play");
            if (in_.below(8)) item(cmd, "path", pathText());
            if (in_.below(2)) item(cmd, "loop", integerText(int32_t(in_.below(2))));
        } else if (choice == 10) {
            item(cmd, "op", "stop");
        } else if (choice < 13) {
            item(cmd, "op", "off");
            offerItems(cmd, imageBytes());
        } else if (choice == 13) {
            item(cmd, "op", "use");
        } else if (choice == 14) {
            item(cmd, "op", "stat");
            item(cmd, "a", in_.pick(kStatActions));
            if (in_.below(4)) item(cmd, "t", valueSafe(in_.take(in_.below(100))));
        } else {
            item(cmd, "op", in_.pick(kUnknownOps));
            chunkItems(cmd);
        }
        if (in_.below(4) == 0) {
            const char* key = in_.pick(kAnyKeys);
            item(cmd, key, valueSafe(in_.take(in_.below(8))));
        }
        shuffle(cmd);
        emitApc(cmd);
    }

    void shuffle(ApcText& cmd) {
        if (cmd.items.size() < 2 || in_.below(4) != 0) return;
        for (size_t swaps = 1 + in_.below(3); swaps > 0; --swaps) {
            const size_t a = in_.below(cmd.items.size());
            const size_t b = in_.below(cmd.items.size());
            std::swap(cmd.items[a], cmd.items[b]);
        }
    }

    void emitApc(const ApcText& cmd) {
        Step step;
        step.kind = StepKind::Apc;
        modelApc(cmd, step);
        const size_t ending = in_.below(16);
        step.single = ending < 15;
        step.bytes = "\x1b_" + serialise(cmd) + (ending < 10 ? "\x1b\\" : ending < 15 ? "\x07" : "\x1bX");
        add(std::move(step));
    }

    // An inline image in chunks, offered first or not.
    void transfer(bool offered) {
        const int32_t id = smallId();
        const std::string bytes = imageBytes();
        if (offered) {
            ApcText off;
            item(off, "i", std::to_string(id));
            item(off, "op", "off");
            offerItems(off, bytes);
            emitApc(off);
        }
        const std::string text = encodeBase64(bytes);
        const size_t chunks = 1 + in_.below(5);
        std::vector<size_t> ends;
        for (size_t i = 1; i < chunks; ++i) ends.push_back(text.empty() ? 0 : in_.u16() % text.size());
        ends.push_back(text.size());
        std::sort(ends.begin(), ends.end());
        size_t start = 0;
        for (size_t i = 0; i < ends.size(); ++i) {
            ApcText chunk;
            item(chunk, "i", std::to_string(id));
            if (i == 0 && in_.below(4)) item(chunk, "f", in_.pick(kFormats));
            const bool last = i + 1 == ends.size();
            item(chunk, "m", last ? "0" : "1");
            if (!last || in_.below(2)) item(chunk, "n", std::to_string(i + 1));
            chunk.hasPayload = true;
            chunk.payload = text.substr(start, ends[i] - start);
            start = ends[i];
            emitApc(chunk);
        }
    }

    // An offer of an image the cache may hold, then "use".
    void offerAndUse() {
        const int32_t id = smallId();
        const Sample samples[] = {Sample::CachedPng, Sample::CachedJpeg, Sample::NotAnImage, Sample::WrongLength,
                                  Sample::Medium, Sample::Logo};
        const std::string& bytes = sampleBytes(in_.pick(samples));
        ApcText off;
        item(off, "i", std::to_string(id));
        item(off, "op", "off");
        offerItems(off, bytes);
        emitApc(off);
        for (size_t uses = 1 + in_.below(2); uses > 0; --uses) {
            ApcText use;
            item(use, "i", std::to_string(id));
            item(use, "op", "use");
            emitApc(use);
        }
    }

    // A canvas, placed, with a few shapes drawn inside it.
    void scene() {
        const int32_t id = smallId();
        const int64_t w = 8 + in_.below(193);
        const int64_t h = 8 + in_.below(193);
        csi('I', {id, w, h});
        csi('D', {id, int64_t(in_.below(25)), 0, int64_t(in_.below(80)), 0, int64_t(1 + in_.below(40)), 0});
        csi('F', {in_.byte(), in_.byte(), in_.byte()});
        csi('R', {in_.byte(), in_.byte(), in_.byte()});
        for (size_t shapes = 1 + in_.below(6); shapes > 0; --shapes) {
            const int64_t x = int64_t(in_.below(size_t(w))) - 4;
            const int64_t y = int64_t(in_.below(size_t(h))) - 4;
            const int64_t a = int64_t(in_.below(size_t(w)));
            const int64_t b = int64_t(in_.below(size_t(h)));
            const int64_t t = in_.below(4) ? 1 + int64_t(in_.below(12)) : 256;
            const char shapesFinal[] = {'B', 'C', 'E', 'L', 'M', 'N', 'X'};
            const char f = in_.pick(shapesFinal);
            if (f == 'C') csi(f, {id, x, y, a / 2, t});
            else if (f == 'M' || f == 'N') csi(f, {id, x, y, a, int64_t(in_.below(8)), t});
            else if (f == 'X') csi(f, {id, x, y, a, b});
            else csi(f, {id, x, y, a, b, t});
        }
    }

    // ---- raw bytes and host actions -----------------------------------

    void raw() {
        Step step;
        step.kind = StepKind::Raw;
        if (in_.below(4) == 0) {
            step.bytes = in_.pick(kSnippets);
            if (step.bytes.empty()) step.bytes = "\x1b[=" + std::string(1100, ';') + "1B";  // past the parameter cap
        } else {
            step.bytes = in_.take(1 + in_.below(32));
        }
        add(std::move(step));
    }

    void host() {
        Step step;
        step.kind = StepKind::Host;
        step.action = HostAction(in_.below(size_t(HostAction::Count)));
        step.argument = in_.byte();
        add(std::move(step));
    }

    InputReader in_;
    std::vector<Step> steps_;
    size_t total_ = 0;
    bool full_ = false;
};

}  // namespace

std::vector<Step> generateProgram(std::span<const uint8_t> input) {
    std::vector<Step> steps = Generator(input).run();
    keepCanvasesSmall(steps, kMaxFuzzCanvasPixels);
    return steps;
}

}  // namespace orvane::fuzzing
