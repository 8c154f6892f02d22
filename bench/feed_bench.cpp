// Measures how fast the terminal core consumes device output, next to
// libvterm fed the same bytes in the same chunks in the same process.
//
//   feed_bench [--quick] [--engine orvane|libvterm] [--only TEXT] [--digests]
//
// --quick shrinks the corpus and the rounds to a smoke test of a couple of
// seconds; --engine runs one side only and --only the scenarios whose name
// contains TEXT (for profiling one thing alone); --digests prints only the
// screen digests. Each scenario's digest covers the whole final state of
// the screen, so two builds with the same digests did the same work.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <exception>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "corpus.h"
#include "terminal/terminal.h"
#include "vterm_reference.h"
#include "bench_main.h"

namespace orvane::bench {
namespace {

// What a serial or socket read hands the receive pump at once.
constexpr size_t kChunkBytes = 4096;

struct Options {
    size_t corpusBytes = 32 << 20;
    int rounds = 7;
    bool runOrvane = true;
    bool runVterm = true;
    bool digestsOnly = false;
    std::string only;
};

// The terminal core behind the same small interface as the reference.
class OrvaneSubject {
public:
    OrvaneSubject(int32_t cols, int32_t rows) { setGeometry(terminal_, cols, rows); }

    void feed(const uint8_t* bytes, size_t count) {
        orvane::feed(terminal_, bytes, count);
        takeReplies(terminal_, replies_);
        replies_.clear();
    }

    void finish() {}

    uint64_t probe() const {
        const Cell& cell = terminal_.grid[static_cast<size_t>(terminal_.cursorRow)]
                                         [static_cast<size_t>(terminal_.cursorCol)];
        return static_cast<uint64_t>(terminal_.cursorRow) * 131 +
               static_cast<uint64_t>(terminal_.cursorCol) + cell.ch + cell.fg;
    }

    const Terminal& terminal() const { return terminal_; }

private:
    Terminal terminal_;
    std::vector<uint8_t> replies_;
};

// Keeps every run's result alive so the optimiser cannot drop the work.
volatile uint64_t gSink = 0;

template <class Subject>
void feedInChunks(Subject& subject, const Scenario& s) {
    for (size_t at = 0; at < s.bytes.size(); at += kChunkBytes) {
        subject.feed(s.bytes.data() + at, std::min(kChunkBytes, s.bytes.size() - at));
    }
}

// One pass over the scenario in a fresh engine; returns MB/s (10^6 bytes
// per second).
template <class Subject>
double timeOnePass(const Scenario& s) {
    Subject subject(s.cols, s.rows);
    const auto start = std::chrono::steady_clock::now();
    feedInChunks(subject, s);
    subject.finish();
    const auto stop = std::chrono::steady_clock::now();
    gSink = gSink + subject.probe();
    const double seconds = std::max(std::chrono::duration<double>(stop - start).count(), 1e-9);
    return static_cast<double>(s.bytes.size()) / 1e6 / seconds;
}

double median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const size_t mid = values.size() / 2;
    return values.size() % 2 == 1 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

struct Rates {
    double orvane = 0;
    double vterm = 0;
};

// The engines take turns, round after round, so that a slow patch of a
// shared machine hits both alike; the medians are reported.
Rates measure(const Scenario& s, const Options& options) {
    std::vector<double> orvane;
    std::vector<double> vterm;
    for (int round = 0; round < options.rounds; ++round) {
        if (options.runOrvane) orvane.push_back(timeOnePass<OrvaneSubject>(s));
        if (options.runVterm) vterm.push_back(timeOnePass<VtermReference>(s));
    }
    return {median(orvane), median(vterm)};
}

// FNV-1a over everything a screen shows and everything that decides what
// the next bytes do to it.
class Digest {
public:
    template <typename Value>
    void add(Value v) {
        auto bits = static_cast<uint64_t>(v);
        for (size_t i = 0; i < sizeof(Value); ++i, bits >>= 8) {
            hash_ = (hash_ ^ (bits & 0xFF)) * 0x100000001B3ULL;
        }
    }

    uint64_t value() const { return hash_; }

private:
    uint64_t hash_ = 0xCBF29CE484222325ULL;
};

void addCell(Digest& d, const Cell& c) {
    d.add(c.ch);
    for (uint8_t flag : {c.fg, c.bg, c.bold, c.underline, c.dim, c.italic, c.blink, c.strike,
                         c.fgDirect, c.bgDirect}) {
        d.add(flag);
    }
    d.add(c.fgRgb);
    d.add(c.bgRgb);
}

uint64_t screenDigest(const Terminal& t) {
    Digest d;
    for (const Row& row : t.grid) {
        for (const Cell& cell : row) addCell(d, cell);
    }
    for (int32_t v : {t.cols, t.rows, t.cursorRow, t.cursorCol, t.savedRow, t.savedCol,
                      t.scrollTop, t.scrollBottom, t.charset, t.parserState}) {
        d.add(v);
    }
    for (uint8_t v : {t.pendingWrap, t.autoWrap, t.originMode, t.altScreen, t.cursorVisible,
                      t.bellPending, t.penReverse}) {
        d.add(v);
    }
    addCell(d, penCell(t, u' '));
    for (const Row& row : t.savedMainRows) {
        for (const Cell& cell : row) addCell(d, cell);
    }
    return d.value();
}

uint64_t digestOf(const Scenario& s) {
    OrvaneSubject subject(s.cols, s.rows);
    feedInChunks(subject, s);
    return screenDigest(subject.terminal());
}

std::string cpuModel() {
    std::ifstream cpuinfo("/proc/cpuinfo");
    std::string line;
    while (std::getline(cpuinfo, line)) {
        if (line.rfind("model name", 0) == 0) {
            const size_t colon = line.find(':');
            if (colon != std::string::npos && colon + 2 <= line.size()) {
                return line.substr(colon + 2);
            }
        }
    }
    return "unknown CPU";
}

void printHeader(const Options& options) {
    std::printf("Orvane feed benchmark: orvane::feed and libvterm %s side by side in one "
                "process\n",
                ORVANE_VTERM_VERSION);
    std::printf("machine: %s, %u hardware threads (single-threaded benchmark)\n",
                cpuModel().c_str(), std::thread::hardware_concurrency());
#ifdef NDEBUG
    const char* build = "optimised";
#else
    const char* build = "DEBUG BUILD, figures not meaningful";
#endif
    std::printf("compiler: %s, %s\n", __VERSION__, build);
    std::printf("method: %.2f MB per scenario generated in-process (fixed seed), "
                "fed in %zu-byte chunks,\n",
                static_cast<double>(options.corpusBytes) / 1e6, kChunkBytes);
    std::printf("        %d rounds with the engines taking turns, medians; MB = 10^6 bytes\n",
                options.rounds);
    std::printf("libvterm: screen attached, damage merged per scroll, alternate screen on, "
                "UTF-8 on\n");
    std::printf("digest: orvane's final screen after one pass (FNV-1a)\n\n");
    std::printf("%-22s %14s %14s %8s  %s\n", "scenario", "orvane MB/s", "libvterm MB/s", "ratio",
                "digest");
}

void printRow(const Scenario& s, Rates rates, uint64_t digest) {
    char orvaneText[32] = "-";
    char vtermText[32] = "-";
    char ratioText[32] = "-";
    if (rates.orvane > 0) std::snprintf(orvaneText, sizeof orvaneText, "%.1f", rates.orvane);
    if (rates.vterm > 0) std::snprintf(vtermText, sizeof vtermText, "%.1f", rates.vterm);
    if (rates.orvane > 0 && rates.vterm > 0) {
        std::snprintf(ratioText, sizeof ratioText, "%.2f", rates.orvane / rates.vterm);
    }
    std::printf("%-22s %14s %14s %8s  %016llx\n", s.name.c_str(), orvaneText, vtermText, ratioText,
                static_cast<unsigned long long>(digest));
    std::fflush(stdout);
}

bool parseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--quick") {
            options.corpusBytes = 256 << 10;
            options.rounds = 3;
        } else if (arg == "--engine" && i + 1 < argc) {
            const std::string engine = argv[++i];
            options.runOrvane = engine == "orvane";
            options.runVterm = engine == "libvterm";
            if (!options.runOrvane && !options.runVterm) return false;
        } else if (arg == "--digests") {
            options.digestsOnly = true;
        } else if (arg == "--only" && i + 1 < argc) {
            options.only = argv[++i];
        } else {
            return false;
        }
    }
    return true;
}

int run(int argc, char** argv) {
    Options options;
    if (!parseOptions(argc, argv, options)) {
        std::fprintf(stderr,
                     "usage: feed_bench [--quick] [--engine orvane|libvterm] [--only TEXT] "
                     "[--digests]\n");
        return 2;
    }
    printHeader(options);
    for (const Scenario& s : makeScenarios(options.corpusBytes, options.only)) {
        const Rates rates = options.digestsOnly ? Rates{} : measure(s, options);
        printRow(s, rates, digestOf(s));
    }
    return 0;
}

}  // namespace
}  // namespace orvane::bench

int main(int argc, char** argv) {
    return orvane::bench::runReportingErrors("feed_bench", orvane::bench::run, argc, argv);
}
