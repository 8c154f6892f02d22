// Fuzzes the Pictel extension through the terminal's byte feed. The input is
// read as a program (pictel_generator.h): CSI "=" and APC "G" commands with
// hostile parameters, raw ANSI bytes between them, and the host actions of
// the main window, fed in varying splits. The terminal gets a fake media
// platform with a repository, a media cache, a decoder and a sound player.
// After every step the screen model, the glass store and its budgets, the
// decoded-image cache, the cache files, the bitmap notifications and the
// replies must be sound, and a single command the generator fully knows
// must have the effect on replies and `layerGeneration` the framing defines.
//
// Work is metered: the engine promises time proportional to the canvas area
// a command can touch, so the fuzzer charges each command the largest
// canvas it could reach and ends the program once a budget is spent. What
// still runs past libFuzzer's time limit is work out of proportion.
//
// Environment:
//   PICTEL_FUZZER_TRACE=1   print every step (bytes escaped), its replies and
//                           the time it took
//   PICTEL_FUZZER_STATS=1   at exit, print which commands, operations and
//                           replies the inputs reached

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "command_expectations.h"
#include "fake_media_platform.h"
#include "pictel/media_cache.h"
#include "pictel/sounds.h"
#include "pictel_generator.h"
#include "pictel_invariants.h"
#include "pictel_tally.h"
#include "terminal/terminal.h"
#include "terminal_invariants.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
extern "C" const char* __ubsan_default_options();

namespace {

using namespace orvane;
using namespace orvane::fuzzing;

// Units of work one input may use. Each command is charged twice the
// largest picture it could reach: once for writing it, once for allocating
// one as large. The slowest commands (line walks, some 35 ns a pixel under
// the sanitizers) then cost under 20 ns a unit, so the budget stays below
// a third of a second, a quarter more for the command that overdraws it.
constexpr int64_t kWorkBudget = int64_t(1) << 24;
constexpr int64_t kChargesPerCommand = 2;
// While no canvas or decoded picture is larger than this, a feed call may
// carry a few commands; otherwise each command gets its own call, so the
// budget is checked between any two of them.
constexpr int64_t kSmallPicture = int64_t(1) << 16;
constexpr size_t kCommandsPerFeed = 4;
// Canvases are fingerprinted after every step only while they are this few
// and this small.
constexpr int64_t kPrintablePixels = int64_t(1) << 14;
constexpr size_t kPrintableCanvases = 64;

constexpr uint8_t ESC = 0x1B;

struct Geometry {
    int32_t cols;
    int32_t rows;
};
constexpr Geometry kGeometries[] = {{80, 24}, {80, 25}, {132, 24}, {132, 25}};

bool envSet(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' && *value != '0';
}

bool tracing() {
    static const bool on = envSet("PICTEL_FUZZER_TRACE");
    return on;
}

class Session {
public:
    Session() {
        t_.mediaPlatform = &platform_;
        t_.mediaCacheDir = kFakeCacheDir;
        t_.mediaRepoDir = kFakeRepoDir;
        t_.glass.bitmapCache = &drops_;
        printsTaken_ = takePrints(prints_);
    }

    void run(const std::vector<Step>& steps) {
        check("a new terminal", nullptr);
        for (index_ = 0; index_ < steps.size() && !outOfBudget(); ++index_) runStep(steps[index_]);
        if (Tally* tally = processTally(); tally && outOfBudget()) ++tally->budgetStops;
    }

private:
    bool outOfBudget() const { return work_ > kWorkBudget; }

    [[noreturn]] void fail(const std::string& what, const Step* step) const {
        // "ERROR:" as sanitizer reports begin, so that log filters show it.
        std::fprintf(stderr, "ERROR: pictel_fuzzer: %s\n", what.c_str());
        if (step) std::fprintf(stderr, "  at step %zu: %s\n", index_ + 1, describeStep(*step).c_str());
        std::fprintf(stderr, "  (PICTEL_FUZZER_TRACE=1 prints the whole program)\n");
        std::abort();
    }

    void runStep(const Step& step) {
        if (tracing()) std::fprintf(stderr, "step %zu: %s\n", index_ + 1, describeStep(step).c_str());
        const auto started = std::chrono::steady_clock::now();
        const bool fromGround = t_.parserState == kGround;
        const uint64_t generation = t_.layerGeneration;
        const PlayerCounts player = playerCounts();
        drops_.reset();
        if (step.kind == StepKind::Host) {
            hostAction(step);
        } else {
            feedStep(step);
        }
        if (tracing()) {
            const auto took = std::chrono::steady_clock::now() - started;
            std::fprintf(stderr, "  %.3f ms, work %lld\n", std::chrono::duration<double, std::milli>(took).count(),
                         static_cast<long long>(work_));
        }
        std::vector<Reply> replies = check(step.bytes.empty() ? "a host action" : "a step", &step);
        if (step.single && fromGround && !outOfBudget()) {
            checkSingleCommand(step, generation, replies);
            checkPlayer(step, player, replies);
        }
        count(step, generation, replies);
    }

    // ---- feeding under the work budget --------------------------------

    int64_t largestPicture() const { return std::max(platform_.largestPicture, largestCanvas(t_.glass)); }

    void feedStep(const Step& step) {
        size_t start = 0;
        for (size_t i = 0; i <= step.cuts.size(); ++i) {
            const size_t end = i < step.cuts.size() ? step.cuts[i] : step.bytes.size();
            feedMetered(std::string_view(step.bytes).substr(start, end - start));
            start = end;
        }
    }

    // Feeds in calls of at most a few commands each (one while large
    // pictures exist, and none after one that could create or load a
    // picture), charging each command the largest picture it could have
    // touched.
    void feedMetered(std::string_view bytes) {
        size_t pos = 0;
        while (pos < bytes.size() && !outOfBudget()) {
            const int64_t before = largestPicture();
            const size_t perFeed = before > kSmallPicture ? 1 : kCommandsPerFeed;
            // Bytes that continue a sequence count as a command too.
            size_t commands = t_.parserState != kGround || commandStartsAt(bytes, pos) ? 1 : 0;
            size_t end = nextCommandStart(bytes, pos + 1);
            bool mayGrow = mayCreatePicture(bytes.substr(pos, end - pos));
            while (end < bytes.size() && commands < perFeed && !mayGrow) {
                const size_t next = nextCommandStart(bytes, end + 1);
                mayGrow = mayCreatePicture(bytes.substr(end, next - end));
                end = next;
                ++commands;
            }
            const uint64_t produced = platform_.producedPixels;
            orvane::feed(t_, reinterpret_cast<const uint8_t*>(bytes.data() + pos), end - pos);
            const int64_t touched = std::max(before, largestPicture());
            work_ += int64_t(end - pos) + kChargesPerCommand * int64_t(commands) * touched +
                     int64_t(platform_.producedPixels - produced);
            pos = end;
        }
    }

    // An ESC that is not the first byte of a string terminator.
    static bool commandStartsAt(std::string_view bytes, size_t pos) {
        return bytes[pos] == char(ESC) && (pos + 1 == bytes.size() || bytes[pos + 1] != '\\');
    }

    static size_t nextCommandStart(std::string_view bytes, size_t from) {
        for (size_t i = from; i < bytes.size(); ++i)
            if (commandStartsAt(bytes, i)) return i;
        return bytes.size();
    }

    // Only "I" creates canvases and only APC commands load pictures.
    static bool mayCreatePicture(std::string_view command) {
        return command.find_first_of("I_") != std::string_view::npos;
    }

    void hostAction(const Step& step) {
        switch (step.action) {
        case HostAction::SetGeometry: {
            const Geometry g = kGeometries[step.argument % std::size(kGeometries)];
            setGeometry(t_, g.cols, g.rows);
            break;
        }
        case HostAction::ClearScreen: clearScreen(t_); break;
        case HostAction::SwitchMediaCache: setMediaCacheEnabled(t_, !t_.mediaCacheEnabled); break;
        case HostAction::SwitchMediaRepo: t_.mediaRepoEnabled = !t_.mediaRepoEnabled; break;
        case HostAction::SwitchSounds:
            setSoundsEnabled(t_, !t_.soundsEnabled);
            if (!t_.soundsEnabled) stopSound(t_);
            break;
        case HostAction::ClearMediaCache: clearMediaCache(t_); break;
        case HostAction::SwitchCacheFolder: t_.mediaCacheDir = t_.mediaCacheDir.empty() ? kFakeCacheDir : L""; break;
        case HostAction::SwitchRepoFolder: t_.mediaRepoDir = t_.mediaRepoDir.empty() ? kFakeRepoDir : L""; break;
        case HostAction::SetWriteMode: platform_.writeMode = WriteMode(step.argument % 3); break;
        case HostAction::SwitchReplaceFailure: platform_.replaceFails = !platform_.replaceFails; break;
        case HostAction::SwitchReadFailure: platform_.readFails = !platform_.readFails; break;
        case HostAction::SwitchPlayerRefusal: platform_.playerRefuses = !platform_.playerRefuses; break;
        case HostAction::TouchRepoFile: platform_.touchRepoFile(step.argument); break;
        case HostAction::TamperWithCacheFile: platform_.tamperWithCacheFile(step.argument); break;
        case HostAction::Count: break;
        }
    }

    // ---- checks -------------------------------------------------------

    struct PlayerCounts {
        uint64_t requests;
        uint64_t started;
        uint64_t stops;
    };

    PlayerCounts playerCounts() const {
        return {platform_.playRequests, platform_.playsStarted, platform_.stopRequests};
    }

    // "stop" stops the player once; "play" asks it once when it answers 0
    // (started) or 3 (refused), and not at all for any other answer.
    void checkPlayer(const Step& step, const PlayerCounts& before, const std::vector<Reply>& replies) const {
        if (step.kind != StepKind::Apc || !step.validId || replies.size() != 1) return;
        const PlayerCounts after = playerCounts();
        if (step.op == ApcOp::Stop && after.stops != before.stops + 1)
            fail("\"stop\" did not stop the player exactly once", &step);
        if (step.op != ApcOp::Play) return;
        const int64_t value = replies[0].third;
        const bool asked = value == 0 || value == 3;
        if (after.requests != before.requests + (asked ? 1 : 0) ||
            after.started != before.started + (value == 0 ? 1 : 0))
            fail("\"play\" answered " + std::to_string(value) + " but the player was asked " +
                     std::to_string(after.requests - before.requests) + " times and started " +
                     std::to_string(after.started - before.started),
                 &step);
    }

    bool takePrints(CanvasPrints& prints) const {
        if (t_.glass.canvases.size() > kPrintableCanvases) {
            prints.clear();
            return false;
        }
        return takeCanvasPrints(t_.glass, kPrintablePixels, prints);
    }

    // Runs every state check, then drains and parses the replies.
    std::vector<Reply> check(const char* after, const Step* step) {
        auto must = [&](const std::string& violation) {
            if (!violation.empty()) fail(violation + " (after " + after + ")", step);
        };
        must(findInvariantViolation(t_));
        must(findGlassViolation(t_));
        must(findDecodedCacheViolation(t_.decodedImages));
        must(findCacheFileViolation(platform_));
        must(platform_.misuse);
        CanvasPrints prints;
        const bool taken = takePrints(prints);
        if (taken && printsTaken_) must(findUnreportedChange(prints_, prints, drops_));
        prints_ = std::move(prints);
        printsTaken_ = taken;

        std::vector<uint8_t> bytes;
        takeReplies(t_, bytes);
        std::vector<Reply> replies;
        must(parseReplies(bytes, replies));
        if (tracing())
            for (const Reply& r : replies) std::fprintf(stderr, "  reply %s\n", describeReply(r).c_str());
        return replies;
    }

    // A command fed whole from Ground: one generation step, back in Ground,
    // and exactly the replies its framing defines.
    void checkSingleCommand(const Step& step, uint64_t generation, const std::vector<Reply>& replies) {
        if (t_.layerGeneration != generation + 1)
            fail("layerGeneration moved by " + std::to_string(t_.layerGeneration - generation) + " for one command",
                 &step);
        if (t_.parserState != kGround) fail("the parser is not back in Ground after a whole command", &step);
        const std::string problem = findReplyProblem(t_, step, replies);
        if (problem.empty()) return;
        std::string got;
        for (const Reply& r : replies) got += " " + describeReply(r);
        fail(problem + "; replies:" + (got.empty() ? " none" : got), &step);
    }

    void count(const Step& step, uint64_t generation, const std::vector<Reply>& replies) const {
        Tally* tally = processTally();
        if (tally == nullptr) return;
        tally->countStep(step, t_.layerGeneration != generation, replies);
        tally->largestCanvas = std::max(tally->largestCanvas, largestPicture());
    }

    Terminal t_;
    FakeMediaPlatform platform_;
    DropRecorder drops_;
    CanvasPrints prints_;
    bool printsTaken_ = false;
    int64_t work_ = 0;
    size_t index_ = 0;
};

}  // namespace

extern "C" const char* __ubsan_default_options() {
    // Undefined behaviour must end the run, with its stack, so that libFuzzer
    // keeps the input even if a unit was built with recoverable checks.
    return "halt_on_error=1:print_stacktrace=1";
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<Step> steps = generateProgram(std::span<const uint8_t>(data, size));
    if (Tally* tally = processTally()) ++tally->inputs;
    Session session;
    session.run(steps);
    return 0;
}
