#include "memory_media.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace orvane::testing {

namespace {

constexpr std::string_view kMagic = "IMG!";
constexpr size_t kHeaderSize = 8;
constexpr size_t kPathBufferLimit = 520;  // the platform's full-path buffers

void appendLe16(std::string& out, uint32_t value) {
    out.push_back(char(value & 0xFF));
    out.push_back(char((value >> 8) & 0xFF));
}

uint32_t readLe(const uint8_t* p, int bytes) {
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = v << 8 | p[i];
    return v;
}

// What the platform's full-path step does: separators unified, "." and ".."
// resolved (never above the drive), empty segments dropped, trailing dots
// and blanks cut.
std::wstring fullPath(const std::wstring& path) {
    std::vector<std::wstring> segments;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find_first_of(L"\\/", start);
        if (end == std::wstring::npos) end = path.size();
        const std::wstring raw = path.substr(start, end - start);
        std::wstring segment = raw;
        while (!segment.empty() && (segment.back() == L'.' || segment.back() == L' ')) segment.pop_back();
        if (raw == L"..") {
            if (segments.size() > 1) segments.pop_back();
        } else if (!segment.empty()) {
            segments.push_back(segment);
        }
        start = end + 1;
    }
    std::wstring joined;
    for (const std::wstring& segment : segments) joined += (joined.empty() ? L"" : L"\\") + segment;
    return joined;
}

}  // namespace

std::string imageHeader(uint16_t width, uint16_t height, std::string_view tail) {
    std::string bytes(kMagic);
    appendLe16(bytes, width);
    appendLe16(bytes, height);
    return bytes.append(tail);
}

std::string encodeImage(const Canvas& canvas) {
    std::string bytes = imageHeader(uint16_t(canvas.width), uint16_t(canvas.height));
    for (const uint32_t p : canvas.pixels) {
        appendLe16(bytes, p);
        appendLe16(bytes, p >> 16);
    }
    return bytes;
}

Canvas makeCanvas(int32_t width, int32_t height, uint32_t firstPixel) {
    Canvas canvas;
    canvas.width = width;
    canvas.height = height;
    canvas.valid = true;
    canvas.pixels.resize(size_t(width) * size_t(height));
    for (size_t i = 0; i < canvas.pixels.size(); ++i) canvas.pixels[i] = firstPixel + uint32_t(i) * 0x01010101u;
    return canvas;
}

std::string encodeBase64(std::string_view bytes) {
    static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    for (size_t i = 0; i < bytes.size(); i += 3) {
        const size_t n = std::min<size_t>(3, bytes.size() - i);
        uint32_t v = 0;
        for (size_t k = 0; k < 3; ++k) v = v << 8 | (k < n ? uint8_t(bytes[i + k]) : 0u);
        for (size_t k = 0; k < 4; ++k) out.push_back(k <= n ? kAlphabet[(v >> (18 - 6 * k)) & 63] : '=');
    }
    return out;
}

uint32_t referenceCrc32(std::string_view bytes) {
    uint32_t crc = 0xFFFFFFFFu;
    for (const char c : bytes) {
        crc ^= uint8_t(c);
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

std::string replyText(int32_t code, int32_t id, int32_t value) {
    return "\x1b[=" + std::to_string(code) + ";" + std::to_string(id) + ";" + std::to_string(value) + "w";
}

std::wstring foldPath(const std::wstring& path) {
    std::wstring folded = path;
    for (wchar_t& c : folded) {
        if (c == L'/') c = L'\\';
        if (c >= L'A' && c <= L'Z') c = wchar_t(c - L'A' + L'a');
    }
    return folded;
}

bool isInside(const std::wstring& path, const std::wstring& folder) {
    return foldPath(path).starts_with(foldPath(folder) + L"\\");
}

bool MemoryMediaPlatform::decodeImage(const uint8_t* bytes, size_t length, Canvas& out) {
    ++decodeCount;
    if (throwOnDecode) throw std::bad_alloc();
    if (length < kHeaderSize || std::memcmp(bytes, kMagic.data(), kMagic.size()) != 0) return false;
    const int32_t width = int32_t(readLe(bytes + 4, 2));
    const int32_t height = int32_t(readLe(bytes + 6, 2));
    const size_t pixels = size_t(width) * size_t(height);
    if (pixels == 0 || int64_t(pixels) > kMemoryDecodeMaxPixels) return false;
    const bool explicitPixels = length == kHeaderSize + 4 * pixels;
    const uint32_t seed = referenceCrc32(std::string_view(reinterpret_cast<const char*>(bytes), length));
    Canvas canvas;
    canvas.width = width;
    canvas.height = height;
    canvas.pixels.resize(pixels);
    for (size_t i = 0; i < pixels; ++i)
        canvas.pixels[i] = explicitPixels ? readLe(bytes + kHeaderSize + 4 * i, 4) : (seed ^ uint32_t(i)) * 0x2C1B3C6Du;
    canvas.valid = true;
    out = std::move(canvas);
    largestPicture = std::max(largestPicture, int64_t(out.pixels.size()));
    return true;
}

void MemoryMediaPlatform::renderTextImage(const std::wstring& text, Canvas& out) {
    placeholders.push_back(text);
    out = makeCanvas(kPlaceholderWidth, kPlaceholderHeight, uint32_t(text.size()));
    largestPicture = std::max(largestPicture, int64_t(out.pixels.size()));
}

MemoryFile& MemoryMediaPlatform::addFile(const std::wstring& path, std::string bytes) {
    MemoryFile& file = files[foldPath(path)] = MemoryFile();
    file.path = path;
    file.bytes = std::move(bytes);
    return file;
}

void MemoryMediaPlatform::addFolder(const std::wstring& path) { addFile(path, {}).directory = true; }

MemoryFile* MemoryMediaPlatform::find(const std::wstring& path) {
    const auto it = files.find(foldPath(path));
    return it == files.end() ? nullptr : &it->second;
}

std::vector<std::wstring> MemoryMediaPlatform::filesIn(const std::wstring& folder) const {
    std::vector<std::wstring> keys;
    const std::wstring prefix = foldPath(folder) + L"\\";
    for (const auto& [key, file] : files)
        if (!file.directory && key.starts_with(prefix) && key.find(L'\\', prefix.size()) == std::wstring::npos)
            keys.push_back(key);
    return keys;
}

bool MemoryMediaPlatform::queryFile(const std::wstring& path, FileFacts& facts) {
    reads.push_back(path);
    const MemoryFile* file = find(path);
    if (file == nullptr) return false;
    facts.directory = file->directory;
    facts.size = file->claimedSize ? file->claimedSize : file->bytes.size();
    facts.lastWriteTime = file->writeTime;
    return true;
}

bool MemoryMediaPlatform::readWholeFile(const std::wstring& path, uint64_t maxBytes, std::vector<uint8_t>& out) {
    reads.push_back(path);
    out.clear();
    const MemoryFile* file = find(path);
    if (readFails || file == nullptr || file->directory) return false;
    const uint64_t size = file->claimedSize ? file->claimedSize : file->bytes.size();
    if (size == 0 || size > maxBytes || size > file->bytes.size()) return false;  // empty, too large, short read
    out.assign(file->bytes.begin(), file->bytes.end());
    return true;
}

bool MemoryMediaPlatform::writeFile(const std::wstring& path, const uint8_t* bytes, size_t length) {
    changed.push_back(path);
    if (writeMode == WriteMode::Fails || (find(path) && find(path)->directory)) return false;
    const size_t written = writeMode == WriteMode::StopsHalfway ? length / 2 : length;
    MemoryFile& file = addFile(path, std::string(reinterpret_cast<const char*>(bytes), written));
    file.writeTime = 2;
    file.writtenByTerminal = true;
    return writeMode == WriteMode::Works;
}

bool MemoryMediaPlatform::replaceFile(const std::wstring& from, const std::wstring& to) {
    changed.push_back(to);
    const auto it = files.find(foldPath(from));
    if (replaceFails || it == files.end() || it->second.directory || (find(to) && find(to)->directory)) return false;
    MemoryFile file = std::move(it->second);
    files.erase(it);
    file.path = to;
    file.writtenByTerminal = true;
    files[foldPath(to)] = std::move(file);
    return true;
}

bool MemoryMediaPlatform::deleteFile(const std::wstring& path) {
    changed.push_back(path);
    const auto it = files.find(foldPath(path));
    if (it == files.end() || it->second.directory) return false;
    files.erase(it);
    return true;
}

int MemoryMediaPlatform::deleteFilesWithPrefix(const std::wstring& folder, const std::wstring& prefix) {
    int deleted = 0;
    for (const std::wstring& key : filesIn(folder)) {
        if (!key.starts_with(foldPath(folder) + L"\\" + foldPath(prefix))) continue;
        changed.push_back(files[key].path);
        files.erase(key);
        ++deleted;
    }
    return deleted;
}

bool MemoryMediaPlatform::absolutePathInside(const std::wstring& folder, const std::wstring& candidate,
                                             std::wstring& resolvedOut) {
    resolvedOut.clear();
    const std::wstring base = fullPath(folder);
    const std::wstring full = fullPath(candidate);
    if (base.empty() || full.size() >= kPathBufferLimit || base.size() >= kPathBufferLimit || !isInside(full, base))
        return false;
    resolvedOut = full;
    return true;
}

bool MemoryMediaPlatform::playSound(const std::wstring& path, bool loop) {
    if (refusePlay) return false;
    played.emplace_back(path, loop);
    return true;
}

void MemoryMediaPlatform::stopSound() { ++stops; }

}  // namespace orvane::testing
