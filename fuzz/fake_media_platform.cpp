#include "fake_media_platform.h"

#include <cstdio>

#include "fake_image.h"

namespace orvane::fuzzing {

namespace {

constexpr size_t kPathBufferLimit = 520;  // the platform's full-path buffers
constexpr uint32_t kPlaceholderGrey = 0x00282828;

wchar_t foldChar(wchar_t c) {
    if (c == L'/') return L'\\';
    return c >= L'A' && c <= L'Z' ? wchar_t(c - L'A' + L'a') : c;
}

bool endsWith(const std::wstring& text, const std::wstring& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

bool startsWith(const std::wstring& text, const std::wstring& head) {
    return text.size() >= head.size() && text.compare(0, head.size(), head) == 0;
}

std::wstring widen(const std::string& text) {
    std::wstring wide;
    for (const char c : text) wide.push_back(wchar_t(uint8_t(c)));
    return wide;
}

std::wstring cacheName(uint32_t crc, uint64_t length, const char* extension) {
    char name[80];
    std::snprintf(name, sizeof name, "OV_%08X_L%010llu.%s", unsigned(crc), static_cast<unsigned long long>(length),
                  extension);
    return widen(name);
}

std::wstring cacheNameOf(Sample sample, const char* extension, uint64_t lengthDelta = 0) {
    const std::string& bytes = sampleBytes(sample);
    return cacheName(referenceCrc32(bytes), bytes.size() + lengthDelta, extension);
}

// What the platform's full-path step does to names that passed the
// terminal's rules: separators unified, "." and ".." resolved, empty
// segments dropped, trailing dots and blanks cut.
std::wstring fullPath(const std::wstring& path) {
    std::vector<std::wstring> segments;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = start;
        while (end < path.size() && path[end] != L'\\' && path[end] != L'/') ++end;
        const std::wstring raw = path.substr(start, end - start);
        std::wstring segment = raw;
        while (!segment.empty() && (segment.back() == L'.' || segment.back() == L' ')) segment.pop_back();
        if (raw == L"..") {
            if (segments.size() > 1) segments.pop_back();  // never above the drive
        } else if (!segment.empty()) {
            segments.push_back(segment);
        }
        start = end + 1;
    }
    std::wstring joined;
    for (const std::wstring& segment : segments) {
        if (!joined.empty()) joined.push_back(L'\\');
        joined += segment;
    }
    return joined;
}

// The texts the terminal may show in place of a repository image.
bool isPlaceholderText(const std::wstring& text) {
    if (text == L"media repo disabled" || text == L"invalid image path") return true;
    if (!startsWith(text, L"image ")) return false;
    return endsWith(text, L" not available") || endsWith(text, L" unreadable");
}

}  // namespace

std::wstring foldPath(const std::wstring& path) {
    std::wstring folded;
    folded.reserve(path.size());
    for (const wchar_t c : path) folded.push_back(foldChar(c));
    return folded;
}

bool isInside(const std::wstring& path, const std::wstring& folder) {
    return startsWith(foldPath(path), foldPath(folder) + L"\\");
}

std::string narrow(const std::wstring& text) {
    std::string out;
    for (const wchar_t c : text) {
        if (c >= 0x20 && c < 0x7F) {
            out.push_back(char(c));
        } else {
            char escaped[16];
            std::snprintf(escaped, sizeof escaped, "\\u{%X}", unsigned(c));
            out += escaped;
        }
    }
    return out;
}

FakeMediaPlatform::FakeMediaPlatform() {
    const std::wstring repo = kFakeRepoDir;
    const std::wstring cache = kFakeCacheDir;
    addFolder(repo);
    addFolder(cache);
    addFolder(repo + L"\\icons");
    addFolder(repo + L"\\sub.wav");
    addFile(L"logo.png", repo, sampleBytes(Sample::Logo));
    addFile(L"icons\\ok.png", repo, sampleBytes(Sample::CachedPng));
    addFile(L"bad.png", repo, sampleBytes(Sample::NotAnImage));
    addFile(L"empty.png", repo, "");
    addFile(L"wide.png", repo, sampleBytes(Sample::Wide));
    addFile(L"huge.png", repo, sampleBytes(Sample::TooLarge));
    addFile(L"big.png", repo, makeFakeImage(1024, 1024, "big"));
    addFile(L"\u00fcn\u00ef.png", repo, sampleBytes(Sample::OnePixel));
    addFile(L"short.png", repo, sampleBytes(Sample::Medium));
    find(repo + L"\\short.png")->claimedSize = 4096;
    addFile(L"oversized.png", repo, sampleBytes(Sample::Medium));
    find(repo + L"\\oversized.png")->claimedSize = 0x2000001;
    for (const wchar_t* sound : {L"bell.wav", L"alarm.wav", L"refused.wav", L"bell.mp3.wav"})
        addFile(sound, repo, "RIFF....WAVE");
    addFile(cacheNameOf(Sample::CachedPng, "png"), cache, sampleBytes(Sample::CachedPng));
    addFile(cacheNameOf(Sample::CachedJpeg, "jpeg"), cache, sampleBytes(Sample::CachedJpeg));
    addFile(cacheNameOf(Sample::NotAnImage, "png"), cache, sampleBytes(Sample::NotAnImage));
    addFile(cacheNameOf(Sample::WrongLength, "png", 1), cache, sampleBytes(Sample::WrongLength));
    addFolder(cache + L"\\" + cacheNameOf(Sample::Medium, "png"));
    addFile(L"readme.txt", cache, "not a cache file");
}

void FakeMediaPlatform::addFile(const std::wstring& relative, const std::wstring& folder, std::string bytes) {
    FakeFile file;
    file.path = folder + L"\\" + relative;
    file.bytes = std::move(bytes);
    files_[foldPath(file.path)] = std::move(file);
}

void FakeMediaPlatform::addFolder(const std::wstring& path) {
    FakeFile folder;
    folder.path = path;
    folder.directory = true;
    files_[foldPath(path)] = std::move(folder);
}

FakeFile* FakeMediaPlatform::find(const std::wstring& path) {
    const auto it = files_.find(foldPath(path));
    return it == files_.end() ? nullptr : &it->second;
}

std::vector<std::wstring> FakeMediaPlatform::filesIn(const std::wstring& folder) const {
    std::vector<std::wstring> keys;
    const std::wstring prefix = foldPath(folder) + L"\\";
    for (const auto& [key, file] : files_) {
        if (file.directory || !startsWith(key, prefix)) continue;
        if (key.find(L'\\', prefix.size()) == std::wstring::npos) keys.push_back(key);
    }
    return keys;
}

void FakeMediaPlatform::noteMisuse(const std::string& what) {
    if (misuse.empty()) misuse = what;
}

bool FakeMediaPlatform::decodeImage(const uint8_t* bytes, size_t length, Canvas& out) {
    if (!decodeFakeImage(bytes, length, out)) return false;
    const int64_t pixels = int64_t(out.width) * out.height;
    producedPixels += uint64_t(pixels);
    if (pixels > largestPicture) largestPicture = pixels;
    return true;
}

void FakeMediaPlatform::renderTextImage(const std::wstring& text, Canvas& out) {
    if (!isPlaceholderText(text)) noteMisuse("placeholder with an unexpected text: " + narrow(text));
    Canvas canvas;
    canvas.width = kPlaceholderWidth;
    canvas.height = kPlaceholderHeight;
    canvas.pixels.assign(size_t(kPlaceholderWidth) * kPlaceholderHeight, kPlaceholderGrey);
    canvas.pixels[0] = uint32_t(text.size());  // placeholders for different names differ
    canvas.valid = true;
    out = std::move(canvas);
    producedPixels += out.pixels.size();
    if (int64_t(out.pixels.size()) > largestPicture) largestPicture = int64_t(out.pixels.size());
}

bool FakeMediaPlatform::queryFile(const std::wstring& path, FileFacts& facts) {
    const FakeFile* file = find(path);
    if (file == nullptr) return false;
    facts.directory = file->directory;
    facts.size = file->claimedSize ? file->claimedSize : file->bytes.size();
    facts.lastWriteTime = file->writeTime;
    return true;
}

bool FakeMediaPlatform::readWholeFile(const std::wstring& path, uint64_t maxBytes, std::vector<uint8_t>& out) {
    out.clear();
    const FakeFile* file = find(path);
    if (readFails || file == nullptr || file->directory) return false;
    const uint64_t size = file->claimedSize ? file->claimedSize : file->bytes.size();
    if (size == 0 || size > maxBytes || size > file->bytes.size()) return false;  // empty, too large, short read
    out.assign(file->bytes.begin(), file->bytes.end());
    return true;
}

bool FakeMediaPlatform::writeFile(const std::wstring& path, const uint8_t* bytes, size_t length) {
    if (!isInside(path, kFakeCacheDir)) {
        noteMisuse("wrote outside the media cache: " + narrow(path));
        return false;
    }
    if (writeMode == WriteMode::Fails) return false;
    FakeFile file;
    file.path = path;
    const size_t written = writeMode == WriteMode::StopsHalfway ? length / 2 : length;
    file.bytes.assign(reinterpret_cast<const char*>(bytes), written);
    file.writeTime = 2;
    file.writtenByTerminal = true;
    files_[foldPath(path)] = std::move(file);
    return writeMode == WriteMode::Works;
}

bool FakeMediaPlatform::replaceFile(const std::wstring& from, const std::wstring& to) {
    if (!isInside(from, kFakeCacheDir) || !isInside(to, kFakeCacheDir)) {
        noteMisuse("renamed outside the media cache: " + narrow(from) + " -> " + narrow(to));
        return false;
    }
    const auto it = files_.find(foldPath(from));
    if (replaceFails || it == files_.end() || it->second.directory) return false;
    if (const FakeFile* target = find(to); target && target->directory) return false;
    FakeFile file = std::move(it->second);
    files_.erase(it);
    file.path = to;
    file.writtenByTerminal = true;
    files_[foldPath(to)] = std::move(file);
    return true;
}

bool FakeMediaPlatform::deleteFile(const std::wstring& path) {
    if (!isInside(path, kFakeCacheDir)) {
        noteMisuse("deleted outside the media cache: " + narrow(path));
        return false;
    }
    const auto it = files_.find(foldPath(path));
    if (it == files_.end() || it->second.directory) return false;
    files_.erase(it);
    return true;
}

int FakeMediaPlatform::deleteFilesWithPrefix(const std::wstring& folder, const std::wstring& prefix) {
    if (foldPath(folder) != foldPath(kFakeCacheDir)) {
        noteMisuse("cleared a folder other than the media cache: " + narrow(folder));
        return 0;
    }
    const std::wstring start = foldPath(folder) + L"\\" + foldPath(prefix);
    int deleted = 0;
    for (const std::wstring& key : filesIn(folder)) {
        if (!startsWith(key, start)) continue;
        files_.erase(key);
        ++deleted;
    }
    return deleted;
}

bool FakeMediaPlatform::absolutePathInside(const std::wstring& folder, const std::wstring& candidate,
                                           std::wstring& resolvedOut) {
    resolvedOut.clear();
    if (foldPath(folder) != foldPath(kFakeRepoDir)) noteMisuse("resolved against another folder: " + narrow(folder));
    const std::wstring base = fullPath(folder);
    const std::wstring full = fullPath(candidate);
    if (base.empty() || full.empty() || base.size() >= kPathBufferLimit || full.size() >= kPathBufferLimit)
        return false;
    if (!isInside(full, base)) return false;
    resolvedOut = full;
    return true;
}

bool FakeMediaPlatform::playSound(const std::wstring& path, bool) {
    if (!isInside(path, kFakeRepoDir) || !endsWith(foldPath(path), L".wav"))
        noteMisuse("played a sound from outside the repository: " + narrow(path));
    ++playRequests;
    if (playerRefuses || foldPath(path).find(L"refused") != std::wstring::npos) return false;
    ++playsStarted;
    return true;
}

void FakeMediaPlatform::stopSound() { ++stopRequests; }

void FakeMediaPlatform::touchRepoFile(uint8_t which) {
    const std::vector<std::wstring> keys = filesIn(kFakeRepoDir);
    if (keys.empty()) return;
    files_[keys[which % keys.size()]].writeTime += 1;
}

void FakeMediaPlatform::tamperWithCacheFile(uint8_t which) {
    const std::vector<std::wstring> keys = filesIn(kFakeCacheDir);
    if (keys.empty()) return;
    FakeFile& file = files_[keys[which % keys.size()]];
    if (which & 0x80) {
        file.bytes.resize(file.bytes.size() / 2);
    } else {
        file.bytes = sampleBytes(Sample(which % uint8_t(Sample::Count)));
    }
    file.writtenByTerminal = false;  // no longer what the terminal wrote
    ++file.writeTime;
}

}  // namespace orvane::fuzzing
