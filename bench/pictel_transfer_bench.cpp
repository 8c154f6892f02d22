// Measures an inline image transfer from the first chunk to the canvas: a
// 1 MiB image file sent as base64 in 4 KiB chunks of APC commands through
// the byte feed, once without an offer (assembly, base64, decode) and once
// offered (also the CRC check, the media-cache file and the decoded copy).
//
//   pictel_transfer_bench [--quick]
//
// Natively the image is a raw-pixel file read by the tests' in-memory
// platform's decoder; the Windows build sends a PNG through WIC.
// --quick runs every measurement once: a smoke test, not a figure.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "pictel/crc32.h"
#include "pictel/glass_layer.h"
#include "png_writer.h"
#include "support/memory_media.h"
#include "terminal/terminal.h"
#include "bench_main.h"
#ifdef _WIN32
#include "pictel/win32/win32_media_platform.h"
#endif

namespace orvane::bench {
namespace {

constexpr size_t kImageBytes = 1 << 20;
constexpr size_t kChunkText = 4096;
constexpr int32_t kId = 1;
constexpr int kRuns = 7;

struct Image {
    std::vector<uint8_t> bytes;
    const char* kind;
};

std::vector<uint8_t> noise(size_t count) {
    std::mt19937 rng(4242);
    std::vector<uint8_t> bytes(count);
    for (uint8_t& b : bytes) b = uint8_t(rng());
    return bytes;
}

// 512 x 512 pixels of noise (which no compression shrinks): a file of 1 MiB
// and a few bytes.
Image makeImage() {
    constexpr int32_t kSide = 512;
    static_assert(size_t(kSide) * kSide * 4 == kImageBytes);
    const std::vector<uint8_t> pixels = noise(kImageBytes);
#ifdef _WIN32
    return {testing::storedPng(kSide, kSide, 6, 8, pixels), "PNG through WIC"};
#else
    Canvas canvas = testing::makeCanvas(kSide, kSide, 0);
    for (size_t i = 0; i < canvas.pixels.size(); ++i)
        canvas.pixels[i] = uint32_t(pixels[i * 4]) | uint32_t(pixels[i * 4 + 1]) << 8 |
                           uint32_t(pixels[i * 4 + 2]) << 16 | uint32_t(pixels[i * 4 + 3]) << 24;
    const std::string encoded = testing::encodeImage(canvas);
    return {std::vector<uint8_t>(encoded.begin(), encoded.end()), "raw pixels through the in-memory decoder"};
#endif
}

// The APC commands a device sends: an optional offer, then the chunks.
std::string deviceStream(const Image& image, bool offered) {
    std::string stream;
    const auto apc = [&](const std::string& text) { stream += "\x1b_" + text + "\x1b\\"; };
    if (offered) {
        char crc[9];
        std::snprintf(crc, sizeof crc, "%08x", unsigned(crc32(image.bytes.data(), image.bytes.size())));
        apc("Gi=1,op=off,f=png,crc=" + std::string(crc) + ",len=" + std::to_string(image.bytes.size()));
    }
    const std::string text = testing::encodeBase64(
        std::string_view(reinterpret_cast<const char*>(image.bytes.data()), image.bytes.size()));
    for (size_t at = 0, n = 1; at < text.size(); at += kChunkText, ++n) {
        const bool last = at + kChunkText >= text.size();
        apc("Gi=1" + std::string(n == 1 ? ",f=png" : "") + ",m=" + (last ? "0" : "1") + ",n=" + std::to_string(n) +
            ";" + text.substr(at, kChunkText));
    }
    return stream;
}

// Seconds from the first byte of the stream to the stored canvas.
double timeTransfer(MediaPlatform& platform, const std::wstring& cacheDir, const std::string& stream) {
    Terminal t;
    t.mediaPlatform = &platform;
    t.mediaCacheDir = cacheDir;
    const auto start = std::chrono::steady_clock::now();
    feed(t, reinterpret_cast<const uint8_t*>(stream.data()), stream.size());
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!findCanvas(t.glass, kId)) throw std::runtime_error("the image did not arrive");
    return seconds;
}

void measure(const char* label, MediaPlatform& platform, const std::wstring& cacheDir, const std::string& stream,
             int runs) {
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) times.push_back(timeTransfer(platform, cacheDir, stream));
    std::sort(times.begin(), times.end());
    std::printf("%-44s %9.2f ms best %9.2f ms median\n", label, times.front() * 1e3, times[times.size() / 2] * 1e3);
}

int run(int argc, char** argv) {
    int runs = kRuns;
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) != "--quick") {
            std::fprintf(stderr, "usage: pictel_transfer_bench [--quick]\n");
            return 2;
        }
        runs = 1;
    }
#ifdef NDEBUG
    const char* build = "optimised";
#else
    const char* build = "DEBUG BUILD, figures not meaningful";
#endif
    const Image image = makeImage();
    const std::string plain = deviceStream(image, false);
    const std::string offered = deviceStream(image, true);
    std::printf("Orvane inline image transfer\ncompiler: %s, %s\n", __VERSION__, build);
    std::printf("%zu-byte image (%s), %zu base64 bytes per chunk, %zu stream bytes; best and median of %d\n\n",
                image.bytes.size(), image.kind, kChunkText, plain.size(), runs);
#ifdef _WIN32
    Win32MediaPlatform platform;
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "orvane-transfer-bench";
    std::filesystem::create_directories(folder);
    const std::wstring cacheDir = folder.wstring();
#else
    testing::MemoryMediaPlatform platform;
    const std::wstring cacheDir = L"C:\\bench-cache";
    platform.addFolder(cacheDir);
#endif
    measure("first chunk to canvas, not offered", platform, L"", plain, runs);
    measure("first chunk to canvas, offered and cached", platform, cacheDir, offered, runs);
#ifdef _WIN32
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
#endif
    return 0;
}

}  // namespace
}  // namespace orvane::bench

int main(int argc, char** argv) {
    return orvane::bench::runReportingErrors("pictel_transfer_bench", orvane::bench::run, argc, argv);
}
