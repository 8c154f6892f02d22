#include "media_test_platform.h"

#include "pictel/utf8_to_wide.h"

#include <algorithm>
#include <atomic>
#include <fstream>
#include <new>
#include <random>
#include <system_error>

namespace orvane::testing {

namespace fs = std::filesystem;

namespace {

void put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

uint32_t get32(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }

#ifndef _WIN32
// UTF-16 code units to UTF-8 (the tests only use valid text).
std::string toUtf8(const std::wstring& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t c = char32_t(text[i]);
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size()) c = 0x10000 + ((c - 0xD800) << 10) + (char32_t(text[++i]) - 0xDC00);
        if (c < 0x80) {
            out.push_back(char(c));
        } else if (c < 0x800) {
            out.push_back(char(0xC0 | (c >> 6)));
            out.push_back(char(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            out.push_back(char(0xE0 | (c >> 12)));
            out.push_back(char(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(char(0x80 | (c & 0x3F)));
        } else {
            out.push_back(char(0xF0 | (c >> 18)));
            out.push_back(char(0x80 | ((c >> 12) & 0x3F)));
            out.push_back(char(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(char(0x80 | (c & 0x3F)));
        }
    }
    return out;
}
#endif

bool startsWithIgnoringAsciiCase(const std::wstring& text, const std::wstring& prefix) {
    if (text.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        const auto lower = [](wchar_t c) { return c >= L'A' && c <= L'Z' ? wchar_t(c - L'A' + L'a') : c; };
        if (lower(text[i]) != lower(prefix[i])) return false;
    }
    return true;
}

// Test names are UTF-8 whatever the system's narrow code page.
fs::path utf8Path(const std::string& relative) { return fs::path(std::u8string(relative.begin(), relative.end())); }

}  // namespace

std::vector<uint8_t> encodeTestImage(const Canvas& canvas) {
    std::vector<uint8_t> out = {'T', 'I', 'M', 'G'};
    put16(out, uint32_t(canvas.width));
    put16(out, uint32_t(canvas.height));
    for (const uint32_t p : canvas.pixels)
        for (int shift = 0; shift < 32; shift += 8) out.push_back(uint8_t(p >> shift));
    return out;
}

Canvas makeTestCanvas(int32_t width, int32_t height, uint32_t firstPixel) {
    Canvas canvas;
    canvas.width = width;
    canvas.height = height;
    canvas.valid = true;
    canvas.pixels.resize(size_t(width) * size_t(height));
    for (size_t i = 0; i < canvas.pixels.size(); ++i) canvas.pixels[i] = firstPixel + uint32_t(i) * 0x01010101u;
    return canvas;
}

#ifdef _WIN32
// Wide strings are UTF-16 here, as the program's paths are.
fs::path toLocalPath(const std::wstring& path) { return fs::path(path); }

std::wstring toPlatformPath(const fs::path& path) { return fs::path(path).make_preferred().wstring(); }
#else
fs::path toLocalPath(const std::wstring& path) {
    std::wstring local = path;
    for (wchar_t& c : local)
        if (c == L'\\') c = L'/';
    return fs::path(toUtf8(local));
}

std::wstring toPlatformPath(const fs::path& path) {
    std::wstring out = utf8ToWide(path.string());
    for (wchar_t& c : out)
        if (c == L'/') c = L'\\';
    return out;
}
#endif

bool TestMediaPlatform::decodeImage(const uint8_t* bytes, size_t length, Canvas& out) {
    ++decodeCount;
    if (throwOnDecode) throw std::bad_alloc();
    if (length < 8 || bytes[0] != 'T' || bytes[1] != 'I' || bytes[2] != 'M' || bytes[3] != 'G') return false;
    const int32_t width = bytes[4] | bytes[5] << 8;
    const int32_t height = bytes[6] | bytes[7] << 8;
    const size_t pixels = size_t(width) * size_t(height);
    if (pixels == 0 || length != 8 + pixels * 4) return false;
    Canvas canvas;
    canvas.width = width;
    canvas.height = height;
    canvas.pixels.resize(pixels);
    for (size_t i = 0; i < pixels; ++i) canvas.pixels[i] = get32(bytes + 8 + i * 4);
    canvas.valid = true;
    out = std::move(canvas);
    return true;
}

void TestMediaPlatform::renderTextImage(const std::wstring& text, Canvas& out) {
    placeholders.push_back(text);
    out = makeTestCanvas(kPlaceholderWidth, kPlaceholderHeight, 0xFF282828u);
}

bool TestMediaPlatform::queryFile(const std::wstring& path, FileFacts& facts) {
    reads.push_back(path);
    std::error_code error;
    const fs::path local = toLocalPath(path);
    const fs::file_status status = fs::status(local, error);
    if (error || !fs::exists(status)) return false;
    facts.directory = fs::is_directory(status);
    facts.size = facts.directory ? 0 : fs::file_size(local, error);
    facts.lastWriteTime = uint64_t(fs::last_write_time(local, error).time_since_epoch().count());
    return !error;
}

bool TestMediaPlatform::readWholeFile(const std::wstring& path, uint64_t maxBytes, std::vector<uint8_t>& out) {
    reads.push_back(path);
    out.clear();
    const fs::path local = toLocalPath(path);
    std::error_code error;
    if (!fs::is_regular_file(local, error)) return false;
    const uint64_t size = fs::file_size(local, error);
    if (error || size < 1 || size > maxBytes) return false;
    std::ifstream in(local, std::ios::binary);
    out.resize(size_t(size));
    if (in.read(reinterpret_cast<char*>(out.data()), std::streamsize(size)) && uint64_t(in.gcount()) == size)
        return true;
    out.clear();
    return false;
}

bool TestMediaPlatform::writeFile(const std::wstring& path, const uint8_t* bytes, size_t length) {
    std::ofstream out(toLocalPath(path), std::ios::binary | std::ios::trunc);
    if (!out) return false;
    if (interruptWrites) {
        out.write(reinterpret_cast<const char*>(bytes), std::streamsize(length / 2));
        return false;
    }
    out.write(reinterpret_cast<const char*>(bytes), std::streamsize(length));
    return bool(out.flush());
}

bool TestMediaPlatform::replaceFile(const std::wstring& from, const std::wstring& to) {
    std::error_code error;
    fs::rename(toLocalPath(from), toLocalPath(to), error);
    return !error;
}

bool TestMediaPlatform::deleteFile(const std::wstring& path) {
    std::error_code error;
    return fs::remove(toLocalPath(path), error);
}

int TestMediaPlatform::deleteFilesWithPrefix(const std::wstring& folder, const std::wstring& prefix) {
    int deleted = 0;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(toLocalPath(folder), error)) {
        if (entry.is_directory() || !startsWithIgnoringAsciiCase(entry.path().filename().wstring(), prefix)) continue;
        if (fs::remove(entry.path(), error)) ++deleted;
    }
    return deleted;
}

bool TestMediaPlatform::absolutePathInside(const std::wstring& folder, const std::wstring& candidate,
                                           std::wstring& resolvedOut) {
    const fs::path full = fs::absolute(toLocalPath(candidate)).lexically_normal();
    const fs::path base = fs::absolute(toLocalPath(folder)).lexically_normal();
    const auto [baseEnd, fullAt] = std::mismatch(base.begin(), base.end(), full.begin(), full.end());
    if (baseEnd != base.end() || fullAt == full.end()) return false;  // not strictly inside
    resolvedOut = toPlatformPath(full);
    return true;
}

bool TestMediaPlatform::playSound(const std::wstring& path, bool loop) {
    if (refusePlay) return false;
    played.emplace_back(path, loop);
    return true;
}

void TestMediaPlatform::stopSound() { ++stops; }

TempFolder::TempFolder() {
    static std::atomic<unsigned> counter{0};
    std::random_device random;
    path_ = fs::temp_directory_path() /
            ("orvane-media-" + std::to_string(random()) + "-" + std::to_string(counter.fetch_add(1)));
    fs::create_directories(path_);
}

TempFolder::~TempFolder() {
    std::error_code error;
    fs::remove_all(path_, error);
}

void TempFolder::write(const std::string& relative, const std::vector<uint8_t>& bytes) const {
    const fs::path file = path_ / utf8Path(relative);
    fs::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

bool TempFolder::exists(const std::string& relative) const { return fs::exists(path_ / utf8Path(relative)); }

}  // namespace orvane::testing
