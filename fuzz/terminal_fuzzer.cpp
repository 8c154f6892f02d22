// Fuzzes the terminal's byte feed the way the receive pump and the main
// window drive it: batches of bytes with display-mode switches, geometry
// changes, Clear and reply draining between them. After every batch the
// screen model must be consistent, a second terminal fed the same batches
// split the other way (whole versus byte by byte) must agree, and so must a
// third that gets every ANSI byte from the byte machine alone (feedByte),
// without the feed's fast paths.
//
// Input layout, chosen so that seed files stay mostly readable bytes:
//   byte 0        low four bits: the number N of batch records (0..15)
//   N x 2 bytes   one record per batch: action byte, batch length (0..255)
//   the rest      the bytes fed: batch i takes the next `length` of them and
//                 whatever is left after the N batches is fed as one more.
// Action byte:
//   bits 0-1  display mode before the batch: 0 keep, 1 ANSI, 2 ASCII, 3 HEX
//   bit 2     drain replies before the batch
//   bit 3     set the geometry chosen by bits 4-5 before the batch
//   bit 6     feed the first terminal byte by byte (the second gets it whole)
//   bit 7     clear the screen before the batch
// So a seed of a zero byte followed by text feeds that text whole in ANSI.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "terminal/terminal.h"
#include "terminal_invariants.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
extern "C" const char* __ubsan_default_options();

namespace {

using orvane::Terminal;
using Bytes = std::span<const uint8_t>;

constexpr uint8_t kRecordCountMask = 0x0F;
constexpr uint8_t kModeMask = 0x03;
constexpr uint8_t kDrainReplies = 0x04;
constexpr uint8_t kChangeGeometry = 0x08;
constexpr unsigned kGeometryShift = 4;
constexpr uint8_t kGeometryMask = 0x03;
constexpr uint8_t kByteByByte = 0x40;
constexpr uint8_t kClearScreen = 0x80;

constexpr const char* kModeNames[] = {nullptr, "ANSI", "ASCII", "HEX"};

struct Geometry {
    int32_t cols;
    int32_t rows;
};
constexpr Geometry kGeometries[] = {{80, 24}, {80, 25}, {132, 24}, {132, 25}};

struct Batch {
    uint8_t action = 0;
    Bytes bytes;
};

[[noreturn]] void fail(const std::string& what, size_t batchesFed) {
    std::fprintf(stderr, "terminal_fuzzer: %s (after %zu batches)\n", what.c_str(), batchesFed);
    std::abort();
}

std::vector<Batch> splitIntoBatches(Bytes input) {
    std::vector<Batch> batches;
    if (input.empty()) return batches;
    const size_t recordCount = input[0] & kRecordCountMask;
    size_t headerEnd = 1;
    while (batches.size() < recordCount && headerEnd + 2 <= input.size()) {
        batches.push_back({input[headerEnd], Bytes{}});
        headerEnd += 2;
    }
    Bytes payload = input.subspan(headerEnd);
    for (size_t i = 0; i < batches.size(); ++i) {
        const size_t length = std::min<size_t>(input[2 + 2 * i], payload.size());
        batches[i].bytes = payload.first(length);
        payload = payload.subspan(length);
    }
    if (!payload.empty()) batches.push_back({0, payload});
    return batches;
}

// takeReplies must hand over exactly what was queued and leave the queue
// empty.
void drainReplies(Terminal& t, size_t batchesFed) {
    const std::vector<uint8_t> queued = t.replies;
    std::vector<uint8_t> taken;
    const bool tookAny = orvane::takeReplies(t, taken);
    if (tookAny != !queued.empty()) fail("takeReplies returned the wrong flag", batchesFed);
    if (taken != queued) fail("takeReplies did not hand over the queued bytes", batchesFed);
    if (!t.replies.empty()) fail("takeReplies left bytes in the queue", batchesFed);
}

// What the main window and the pump do between two batches.
void applyAction(Terminal& t, uint8_t action, size_t batchesFed) {
    if (const char* mode = kModeNames[action & kModeMask]) orvane::setDisplayMode(t, mode);
    if (action & kDrainReplies) drainReplies(t, batchesFed);
    if (action & kChangeGeometry) {
        const Geometry g = kGeometries[(action >> kGeometryShift) & kGeometryMask];
        orvane::setGeometry(t, g.cols, g.rows);
    }
    if (action & kClearScreen) orvane::clearScreen(t);
    t.dirty = 0;  // the pump takes the repaint flag after each batch
}

void feedBatch(Terminal& t, Bytes bytes, bool byteByByte) {
    if (!byteByByte) {
        orvane::feed(t, bytes.data(), bytes.size());
        return;
    }
    for (const uint8_t byte : bytes) orvane::feed(t, &byte, 1);
}

// ASCII and HEX show bytes literally: no sequence, reply or bell may result.
void feedChecked(Terminal& t, Bytes bytes, bool byteByByte, size_t batchesFed) {
    const bool literal = t.displayMode != orvane::kModeAnsi;
    const size_t repliesBefore = t.replies.size();
    const uint8_t bellBefore = t.bellPending;
    feedBatch(t, bytes, byteByByte);
    if (!literal) return;
    if (t.parserState != orvane::kGround) fail("a literal mode moved the parser", batchesFed);
    if (t.replies.size() != repliesBefore) fail("a literal mode queued a reply", batchesFed);
    if (t.bellPending != bellBefore) fail("a literal mode rang the bell", batchesFed);
}

void checkConsistent(const Terminal& t, const char* which, size_t batchesFed) {
    const std::string violation = orvane::findInvariantViolation(t);
    if (!violation.empty()) fail(std::string(which) + " terminal: " + violation, batchesFed);
}

}  // namespace

extern "C" const char* __ubsan_default_options() {
    // Undefined behaviour must end the run, with its stack, so that libFuzzer
    // keeps the input even if a unit was built with recoverable checks.
    return "halt_on_error=1:print_stacktrace=1";
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Terminal first;
    Terminal second;
    Terminal reference;
    checkConsistent(first, "new", 0);
    const std::vector<Batch> batches = splitIntoBatches(Bytes{data, size});
    for (size_t i = 0; i < batches.size(); ++i) {
        const Batch& batch = batches[i];
        applyAction(first, batch.action, i);
        applyAction(second, batch.action, i);
        applyAction(reference, batch.action, i);
        const bool byteByByte = (batch.action & kByteByByte) != 0;
        feedChecked(first, batch.bytes, byteByByte, i + 1);
        feedChecked(second, batch.bytes, !byteByByte, i + 1);
        checkConsistent(first, "first", i + 1);
        checkConsistent(second, "second", i + 1);
        const std::string difference = orvane::findStateDifference(first, second);
        if (!difference.empty()) fail("split feeds disagree on " + difference, i + 1);
        orvane::feedByteMachine(reference, batch.bytes.data(), batch.bytes.size());
        const std::string fastDifference = orvane::findStateDifference(first, reference);
        if (!fastDifference.empty()) fail("fast paths and byte machine disagree on " + fastDifference, i + 1);
    }
    return 0;
}
