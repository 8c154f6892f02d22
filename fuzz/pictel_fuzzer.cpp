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
#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "fake_media_platform.h"
#include "pictel/media_cache.h"
#include "pictel/sounds.h"
#include "pictel_generator.h"
#include "pictel_invariants.h"
#include "terminal/terminal.h"
#include "terminal_invariants.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
extern "C" const char* __ubsan_default_options();

namespace {

using namespace orvane;
using namespace orvane::fuzzing;

// Units of work one input may use, about a pixel written each (some 0.15 s
// under the sanitizers). Fresh memory costs more than rewriting a canvas:
// new pixels are charged kFreshPixelCost.
constexpr int64_t kWorkBudget = int64_t(1) << 26;
constexpr int64_t kFreshPixelCost = 6;
// While no canvas or decoded picture is larger than this, a feed call may
// carry a few commands; otherwise each command gets its own call, so the
// budget is checked between any two of them.
constexpr int64_t kSmallPicture = int64_t(1) << 16;
constexpr size_t kCommandsPerFeed = 4;
// Canvases are fingerprinted after every step only while this small.
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

// What the inputs reached, for PICTEL_FUZZER_STATS.
struct Tally {
    uint64_t inputs = 0;
    uint64_t steps = 0;
    uint64_t programBytes = 0;
    uint64_t budgetStops = 0;
    int64_t largestCanvas = 0;
    std::array<uint64_t, 256> csiFinals{};
    std::array<uint64_t, size_t(ApcOp::Count)> apcOps{};
    std::array<uint64_t, size_t(HostAction::Count)> hostActions{};
    std::map<std::string, uint64_t> replies;

    void print() const {
        std::fprintf(stderr, "pictel_fuzzer stats: %llu inputs, %llu steps, %llu bytes generated, %llu stopped by "
                     "the work budget, largest canvas %lld pixels\n",
                     (unsigned long long)inputs, (unsigned long long)steps, (unsigned long long)programBytes,
                     (unsigned long long)budgetStops, (long long)largestCanvas);
        std::fprintf(stderr, "  CSI \"=\" commands dispatched by final byte:");
        for (size_t f = 0; f < csiFinals.size(); ++f)
            if (csiFinals[f]) std::fprintf(stderr, " %c=%llu", char(f), (unsigned long long)csiFinals[f]);
        std::fprintf(stderr, "\n  APC \"G\" commands dispatched by operation:");
        for (size_t op = 0; op < apcOps.size(); ++op)
            std::fprintf(stderr, " %s=%llu", apcOpName(ApcOp(op)), (unsigned long long)apcOps[op]);
        std::fprintf(stderr, "\n  host actions:");
        for (size_t a = 0; a < hostActions.size(); ++a)
            std::fprintf(stderr, " [%s]=%llu", hostActionName(HostAction(a)), (unsigned long long)hostActions[a]);
        std::fprintf(stderr, "\n  replies:");
        for (const auto& [reply, count] : replies)
            std::fprintf(stderr, " %s x%llu", reply.c_str(), (unsigned long long)count);
        std::fprintf(stderr, "\n");
    }
};

Tally* tally() {
    static Tally* instance = [] {
        if (!envSet("PICTEL_FUZZER_STATS")) return static_cast<Tally*>(nullptr);
        static Tally t;
        std::atexit([] { t.print(); });
        return &t;
    }();
    return instance;
}

bool tracing() {
    static const bool on = envSet("PICTEL_FUZZER_TRACE");
    return on;
}

std::string replyKey(const Reply& r) {
    if (r.kind == Reply::Kind::Pictel)
        return std::to_string(r.first) + ";" + (r.first == 3 ? std::string("n") : std::to_string(r.third)) + "w";
    return describeReply(r).substr(3);
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
        if (Tally* s = tally(); s && outOfBudget()) ++s->budgetStops;
    }

private:
    bool outOfBudget() const { return work_ > kWorkBudget; }

    [[noreturn]] void fail(const std::string& what, const Step* step) const {
        std::fprintf(stderr, "pictel_fuzzer: %s\n", what.c_str());
        if (step) std::fprintf(stderr, "  at step %zu: %s\n", index_ + 1, describeStep(*step).c_str());
        std::fprintf(stderr, "  (PICTEL_FUZZER_TRACE=1 prints the whole program)\n");
        std::abort();
    }

    void runStep(const Step& step) {
        if (tracing()) std::fprintf(stderr, "step %zu: %s\n", index_ + 1, describeStep(step).c_str());
        const auto started = std::chrono::steady_clock::now();
        const bool fromGround = t_.parserState == kGround;
        const uint64_t generation = t_.layerGeneration;
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
        if (step.single && fromGround && !outOfBudget()) checkSingleCommand(step, generation, replies);
        count(step, generation, replies);
    }

    // ---- feeding under the work budget --------------------------------

    int64_t largestPicture() const {
        int64_t largest = platform_.largestPicture;
        for (const auto& [id, c] : t_.glass.canvases) largest = std::max(largest, int64_t(c.width) * c.height);
        return largest;
    }

    int64_t canvasPixels() const {
        int64_t total = 0;
        for (const auto& [id, c] : t_.glass.canvases) total += int64_t(c.width) * c.height;
        return total;
    }

    void feedStep(const Step& step) {
        size_t start = 0;
        for (size_t i = 0; i <= step.cuts.size(); ++i) {
            const size_t end = i < step.cuts.size() ? step.cuts[i] : step.bytes.size();
            feedMetered(std::string_view(step.bytes).substr(start, end - start));
            start = end;
        }
    }

    // Feeds in calls of at most a few commands each (one while large
    // pictures exist), charging each command the largest picture it could
    // have touched.
    void feedMetered(std::string_view bytes) {
        size_t pos = 0;
        while (pos < bytes.size() && !outOfBudget()) {
            const int64_t before = largestPicture();
            const size_t perFeed = before > kSmallPicture ? 1 : kCommandsPerFeed;
            size_t end = pos + 1;
            size_t commands = bytes[pos] == char(ESC) ? 1 : 0;
            for (; end < bytes.size(); ++end) {
                if (bytes[end] != char(ESC)) continue;
                if (commands == perFeed) break;
                ++commands;
            }
            const uint64_t produced = platform_.producedPixels;
            const int64_t pixels = canvasPixels();
            orvane::feed(t_, reinterpret_cast<const uint8_t*>(bytes.data() + pos), end - pos);
            const int64_t touched = std::max(before, largestPicture());
            const int64_t fresh = std::max<int64_t>(canvasPixels() - pixels, 0) +
                                  int64_t(platform_.producedPixels - produced);
            work_ += int64_t(end - pos) + int64_t(commands) * touched + kFreshPixelCost * fresh;
            pos = end;
        }
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
        const std::string problem = step.kind == StepKind::Csi ? csiReplyProblem(step, replies)
                                                               : apcReplyProblem(step, replies);
        if (problem.empty()) return;
        std::string got;
        for (const Reply& r : replies) got += " " + describeReply(r);
        fail(problem + "; replies:" + (got.empty() ? " none" : got), &step);
    }

    std::string csiReplyProblem(const Step& step, const std::vector<Reply>& replies) const {
        if (step.finalByte != 'n') return replies.empty() ? "" : "a drawing or store command replied";
        if (replies.size() != 1 || replies[0].kind != Reply::Kind::Size || replies[0].first != t_.rows ||
            replies[0].second != t_.cols)
            return "the size query did not answer the grid size";
        return {};
    }

    std::string apcReplyProblem(const Step& step, const std::vector<Reply>& replies) const {
        if (step.op == ApcOp::Stat || !step.validId) return replies.empty() ? "" : "a command without reply replied";
        if (step.op == ApcOp::Chunk) return chunkReplyProblem(step, replies);
        if (replies.size() != 1 || replies[0].kind != Reply::Kind::Pictel || replies[0].second != step.id)
            return std::string("\"") + apcOpName(step.op) + "\" did not answer exactly once for its id";
        const Reply& r = replies[0];
        switch (step.op) {
        case ApcOp::Repo: return r.first == 1 ? repoCanvasProblem(step.id, r.third) : "\"repo\" answered another code";
        case ApcOp::Play: return r.first == 5 ? "" : "\"play\" answered another code";
        case ApcOp::Stop: return r.first == 5 && r.third == 0 ? "" : "\"stop\" did not answer 5 with value 0";
        case ApcOp::Offer: return r.first == 2 ? "" : "\"off\" answered another code";
        case ApcOp::Use:
            if (r.first != 4) return "\"use\" answered another code";
            return r.third != 0 || t_.glass.canvases.count(step.id) ? "" : "\"use\" answered 0 but shows no canvas";
        default: return {};
        }
    }

    // A load that succeeded shows the picture; one that failed shows the
    // placeholder instead.
    std::string repoCanvasProblem(int32_t id, int64_t value) const {
        const auto it = t_.glass.canvases.find(id);
        if (it == t_.glass.canvases.end()) return "\"repo\" left no canvas behind";
        if (value != 0 && (it->second.width != kPlaceholderWidth || it->second.height != kPlaceholderHeight))
            return "a failed \"repo\" shows no placeholder";
        return {};
    }

    std::string chunkReplyProblem(const Step& step, const std::vector<Reply>& replies) const {
        if (replies.empty()) return {};
        const Reply& r = replies[0];
        if (replies.size() > 1 || r.kind != Reply::Kind::Pictel || r.second != step.id)
            return "a data chunk answered more than once or for another id";
        if (!step.finalChunk) return r.first == 3 && r.third == step.chunkNumber ? "" : "a chunk was misacknowledged";
        if (r.first != 4 || r.third > 2) return "a final chunk answered with other than code 4 value 0 to 2";
        return r.third != 0 || t_.glass.canvases.count(step.id) ? "" : "a transfer answered 0 but shows no canvas";
    }

    void count(const Step& step, uint64_t generation, const std::vector<Reply>& replies) const {
        Tally* s = tally();
        if (s == nullptr) return;
        ++s->steps;
        s->programBytes += step.bytes.size();
        s->largestCanvas = std::max(s->largestCanvas, largestPicture());
        const bool dispatched = t_.layerGeneration != generation;
        if (step.kind == StepKind::Csi && dispatched) ++s->csiFinals[step.finalByte];
        if (step.kind == StepKind::Apc && dispatched) ++s->apcOps[size_t(step.op)];
        if (step.kind == StepKind::Host) ++s->hostActions[size_t(step.action)];
        for (const Reply& r : replies) ++s->replies[replyKey(r)];
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
    if (Tally* s = tally()) ++s->inputs;
    Session session;
    session.run(steps);
    return 0;
}
