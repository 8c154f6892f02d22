#include "pictel/repo_image.h"

#include <vector>

#include "pictel/image_store.h"
#include "pictel/media_replies.h"
#include "pictel/repo_rules.h"
#include "pictel/utf8_to_wide.h"
#include "terminal/terminal.h"

namespace orvane {

namespace {

void showPlaceholder(Terminal& t, int32_t id, const std::wstring& message) {
    Canvas canvas;
    mediaPlatformOf(t).renderTextImage(message, canvas);
    showCanvas(t, id, std::move(canvas));
}

int32_t fail(Terminal& t, int32_t id, RepoResult result, const std::wstring& name) {
    switch (result) {
        case kRepoDisabled: showPlaceholder(t, id, L"media repo disabled"); break;
        case kRepoInvalidPath: showPlaceholder(t, id, L"invalid image path"); break;
        case kRepoNotAvailable: showPlaceholder(t, id, L"image " + name + L" not available"); break;
        default: showPlaceholder(t, id, L"image " + name + L" unreadable"); break;
    }
    return result;
}

int32_t showCachedCopy(Terminal& t, int32_t id, const Canvas& cached, const std::wstring& name) {
    if (canvasFits(t.glass, id, int64_t(cached.pixels.size())) && showCanvas(t, id, cached)) return kRepoLoaded;
    return fail(t, id, kRepoUndecodable, name);
}

}  // namespace

std::wstring repoCacheKey(const std::wstring& resolvedPath, const FileFacts& facts) {
    return L"R|" + resolvedPath + L"|" + std::to_wstring(facts.size) + L"|" + std::to_wstring(facts.lastWriteTime);
}

int32_t loadRepoImage(Terminal& t, int32_t id, std::string_view pathBytes) {
    dropCanvasBitmap(t.glass, id);
    if (!t.mediaRepoEnabled || t.mediaRepoDir.empty()) return fail(t, id, kRepoDisabled, {});
    std::wstring resolved;
    if (!resolveRepoPath(t, pathBytes, resolved)) return fail(t, id, kRepoInvalidPath, {});
    // The name as the device gave it; it passed the rules, so it is valid UTF-8.
    const std::wstring name = utf8ToWide(pathBytes);
    MediaPlatform& platform = mediaPlatformOf(t);
    FileFacts facts;
    if (!platform.queryFile(resolved, facts) || facts.directory) return fail(t, id, kRepoNotAvailable, name);
    const std::wstring key = repoCacheKey(resolved, facts);
    if (t.mediaCacheEnabled)
        if (const Canvas* cached = lookupDecoded(t.decodedImages, key)) return showCachedCopy(t, id, *cached, name);
    std::vector<uint8_t> bytes;
    if (!platform.readWholeFile(resolved, kMaxEncodedImageBytes, bytes)) return fail(t, id, kRepoNotAvailable, name);
    Canvas canvas;
    if (!decodeForCanvas(t, id, bytes, canvas)) return fail(t, id, kRepoUndecodable, name);
    if (t.mediaCacheEnabled) storeDecoded(t.decodedImages, key, canvas);
    return showCanvas(t, id, std::move(canvas)) ? kRepoLoaded : fail(t, id, kRepoUndecodable, name);
}

}  // namespace orvane
