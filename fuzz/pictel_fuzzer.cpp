// Fuzzes the Pictel extension through the terminal's byte feed. The input
// is read as a program (pictel_generator.h) run against the in-memory media
// platform with a repository and a media cache. After every step the
// screen model, the glass store, the decoded-image cache, the platform's
// files and calls, the bitmap notifications and the replies must be sound,
// and a whole command the generator can read must answer as its framing
// defines.
//
// Work is metered: the engine promises time proportional to the canvas
// area a command can touch, so each command is charged the largest picture
// it could reach and the program ends once a budget is spent. What still
// runs past libFuzzer's time limit is work out of proportion.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <span>

#include "pictel/media_cache.h"
#include "pictel/sounds.h"
#include "pictel_generator.h"
#include "pictel_invariants.h"
#include "terminal_invariants.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
extern "C" const char* __ubsan_default_options();

namespace {

using namespace orvane;
using namespace orvane::fuzzing;

constexpr int64_t kWorkBudget = int64_t(1) << 24;

std::string escaped(const std::string& bytes) {
    std::string out;
    for (const char c : bytes) {
        char code[8];
        std::snprintf(code, sizeof code, "\\x%02X", unsigned(uint8_t(c)));
        out += c >= 0x20 && c < 0x7F && c != '\\' ? std::string(1, c) : code;
    }
    return out;
}

void addSampleFiles(testing::MemoryMediaPlatform& platform) {
    const std::wstring repo = kRepoDir, cache = kCacheDir;
    for (const std::wstring& folder : {repo, cache, repo + L"\\icons", repo + L"\\sub.wav"}) platform.addFolder(folder);
    const std::pair<const wchar_t*, Sample> repoImages[] = {{L"logo.png", Sample::Logo}, {L"icons\\ok.png", Sample::CachedPng},
                                                            {L"bad.png", Sample::NotAnImage}, {L"wide.png", Sample::Wide},
                                                            {L"\u00fcn\u00ef.png", Sample::OnePixel}, {L"short.png", Sample::Medium},
                                                            {L"oversized.png", Sample::Medium}};
    for (const auto& [name, sample] : repoImages) platform.addFile(repo + L"\\" + name, sampleBytes(sample));
    platform.addFile(repo + L"\\empty.png", "");
    platform.addFile(repo + L"\\big.png", testing::imageHeader(1024, 1024, "big"));
    platform.find(repo + L"\\short.png")->claimedSize = 4096;
    platform.find(repo + L"\\oversized.png")->claimedSize = 0x2000001;
    for (const wchar_t* sound : {L"bell.wav", L"alarm.wav", L"refused.wav", L"bell.mp3.wav"}) platform.addFile(repo + L"\\" + sound, "RIFF");
    const std::pair<Sample, const wchar_t*> cached[] = {{Sample::CachedPng, L"png"}, {Sample::CachedJpeg, L"jpeg"},
                                                        {Sample::NotAnImage, L"png"}, {Sample::WrongLength, L"png"}};
    for (const auto& [sample, extension] : cached) {
        const std::string& bytes = sampleBytes(sample);
        wchar_t name[64];
        const size_t length = bytes.size() + (sample == Sample::WrongLength ? 1 : 0);
        std::swprintf(name, 64, L"\\OV_%08X_L%010zu.%ls", unsigned(testing::referenceCrc32(bytes)), length, extension);
        platform.addFile(cache + name, bytes);
    }
    platform.addFile(cache + L"\\readme.txt", "not a cache file");
}

class Session {
public:
    Session() {
        addSampleFiles(platform_);
        t_.mediaPlatform = &platform_;
        t_.mediaCacheDir = kCacheDir;
        t_.mediaRepoDir = kRepoDir;
        t_.glass.bitmapCache = &drops_;
        prints_ = canvasPrints(t_.glass);
    }

    void run(const std::vector<Step>& steps) {
        for (const Step& step : steps) {
            if (work_ > kWorkBudget) return;
            runStep(step);
        }
    }

private:
    [[noreturn]] static void fail(const std::string& what, const Step& step) {
        std::fprintf(stderr, "ERROR: pictel_fuzzer: %s\n  at step: %s\n", what.c_str(), escaped(step.bytes).c_str());
        std::abort();
    }

    void runStep(const Step& step) {
        const bool fromGround = t_.parserState == kGround;
        const uint64_t generation = t_.layerGeneration;
        const bool offered = t_.glass.offers.count(step.id) != 0;
        const int stops = platform_.stops;
        drops_ = DropRecorder();
        if (step.action != HostAction::Count) hostAction(step);
        size_t start = 0;
        for (size_t i = 0; i <= step.cuts.size(); ++i) {
            const size_t end = i < step.cuts.size() ? step.cuts[i] : step.bytes.size();
            feed(t_, reinterpret_cast<const uint8_t*>(step.bytes.data() + start), end - start);
            start = end;
        }
        const int64_t picture = std::max(platform_.largestPicture, largestCanvas());
        work_ += int64_t(step.bytes.size()) + 2 * (1 + int64_t(std::count(step.bytes.begin(), step.bytes.end(), '\x1b'))) * picture;
        const size_t played = platform_.played.size();
        const std::vector<Reply> replies = check(step);
        if (!step.single || !fromGround) return;
        if (t_.layerGeneration != generation + 1 || t_.parserState != kGround)
            fail("one whole command did not move layerGeneration once and end in Ground", step);
        if (std::string problem = findReplyProblem(t_, step, offered, replies); !problem.empty()) fail(problem, step);
        const GlassLayer& g = t_.glass;
        if ((step.bytes == "\x1b[=K" || step.bytes == "\x1b[=Z") && !(g.canvases.empty() && g.placements.empty() && g.pendingTransfers.empty()))
            fail("deleting everything left canvases, placements or transfers", step);
        const bool answered = step.validId && replies.size() == 1;
        if (answered && step.op == "stop" && platform_.stops != stops + 1) fail("\"stop\" did not stop the player", step);
        if (answered && step.op == "play" && (played == 1) != (replies[0].third == 0)) fail("\"play\" answered without playing", step);
    }

    int64_t largestCanvas() const {
        int64_t largest = 0;
        for (const auto& [id, c] : t_.glass.canvases) largest = std::max(largest, int64_t(c.width) * c.height);
        return largest;
    }

    void hostAction(const Step& step) {
        static constexpr int32_t kGeometries[][2] = {{80, 24}, {80, 25}, {132, 24}, {132, 25}};
        switch (step.action) {
        case HostAction::SetGeometry: setGeometry(t_, kGeometries[step.argument % 4][0], kGeometries[step.argument % 4][1]); break;
        case HostAction::ClearScreen: clearScreen(t_); break;
        case HostAction::SwitchMediaCache: setMediaCacheEnabled(t_, !t_.mediaCacheEnabled); break;
        case HostAction::SwitchMediaRepo: t_.mediaRepoEnabled = !t_.mediaRepoEnabled; break;
        case HostAction::SwitchSounds:
            setSoundsEnabled(t_, !t_.soundsEnabled);
            if (!t_.soundsEnabled) stopSound(t_);
            break;
        case HostAction::ClearMediaCache: clearMediaCache(t_); break;
        case HostAction::SwitchCacheFolder: t_.mediaCacheDir = t_.mediaCacheDir.empty() ? kCacheDir : L""; break;
        case HostAction::SwitchRepoFolder: t_.mediaRepoDir = t_.mediaRepoDir.empty() ? kRepoDir : L""; break;
        case HostAction::SetWriteMode: platform_.writeMode = testing::WriteMode(step.argument % 3); break;
        case HostAction::SwitchReplaceFailure: platform_.replaceFails = !platform_.replaceFails; break;
        case HostAction::SwitchReadFailure: platform_.readFails = !platform_.readFails; break;
        case HostAction::SwitchPlayerRefusal: platform_.refusePlay = !platform_.refusePlay; break;
        case HostAction::TouchRepoFile:
        case HostAction::TamperWithCacheFile: {
            const bool repo = step.action == HostAction::TouchRepoFile;
            const std::vector<std::wstring> keys = platform_.filesIn(repo ? kRepoDir : kCacheDir);
            if (keys.empty()) break;
            testing::MemoryFile& file = platform_.files[keys[step.argument % keys.size()]];
            ++file.writeTime;
            if (repo) break;
            file.writtenByTerminal = false;  // no longer what the terminal wrote
            file.bytes = step.argument & 0x80 ? file.bytes.substr(0, file.bytes.size() / 2)
                                              : sampleBytes(Sample(step.argument % uint8_t(Sample::Count)));
            break;
        }
        case HostAction::Count: break;
        }
    }

    // Runs every state check, then drains and reads the replies.
    std::vector<Reply> check(const Step& step) {
        for (const std::string& problem : {findInvariantViolation(t_), findGlassViolation(t_),
                                           findDecodedCacheViolation(t_.decodedImages), findPlatformMisuse(platform_)})
            if (!problem.empty()) fail(problem, step);
        auto prints = canvasPrints(t_.glass);
        if (prints && prints_) {
            if (std::string problem = findUnreportedChange(*prints_, *prints, drops_); !problem.empty()) fail(problem, step);
        }
        prints_ = std::move(prints);
        std::vector<uint8_t> bytes;
        takeReplies(t_, bytes);
        std::vector<Reply> replies;
        if (std::string problem = parseReplies(bytes, replies); !problem.empty()) fail(problem, step);
        return replies;
    }

    Terminal t_;
    testing::MemoryMediaPlatform platform_;
    DropRecorder drops_;
    std::optional<std::map<int32_t, uint64_t>> prints_;
    int64_t work_ = 0;
};

}  // namespace

extern "C" const char* __ubsan_default_options() {
    // Undefined behaviour must end the run, with its stack, so that libFuzzer
    // keeps the input even if a unit was built with recoverable checks.
    return "halt_on_error=1:print_stacktrace=1";
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Session session;
    session.run(generateProgram(std::span<const uint8_t>(data, size)));
    return 0;
}
