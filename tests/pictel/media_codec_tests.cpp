// CRC-32, the base64 decoder, the UTF-8 conversion of names and the cache
// of decoded pictures.
#include <gtest/gtest.h>

#include "pictel/base64.h"
#include "pictel/crc32.h"
#include "pictel/decoded_image_cache.h"
#include "pictel/utf8_to_wide.h"
#include "support/memory_media.h"

namespace orvane::testing {
namespace {

TEST(Crc32, MatchesTheZlibCheckValues) {
    for (const char* text : {"", "a", "123456789", "IEND", "The quick brown fox jumps over the lazy dog"})
        EXPECT_EQ(crc32(reinterpret_cast<const uint8_t*>(text), strlen(text)), referenceCrc32(text)) << text;
    EXPECT_EQ(referenceCrc32("123456789"), 0xCBF43926u);
}

TEST(Base64, DecodesTheStandardVectorsAndSkipsBlanks) {
    const std::pair<const char*, const char*> cases[] = {
        {"Zg==", "f"}, {"Zm8=", "fo"}, {"Zm9v", "foo"}, {"Zm9vYg==", "foob"}, {"Zm9vYmE=", "fooba"},
        {"Zm9vYg", "foob"}, {"Zm9v\r\nYmFy", "foobar"}, {" Zm 9v\tYg = = ", "foob"},
    };
    for (const auto& [text, expected] : cases) {
        std::vector<uint8_t> out;
        EXPECT_TRUE(decodeBase64(text, out)) << text;
        EXPECT_EQ(std::string(out.begin(), out.end()), expected) << text;
    }
    std::string data;
    for (int i = 0; i < 300; ++i) {
        data.push_back(char(i * 131 + 7));
        std::vector<uint8_t> out;
        ASSERT_TRUE(decodeBase64(encodeBase64(data), out)) << i;
        ASSERT_EQ(std::string(out.begin(), out.end()), data) << i;
    }
}

TEST(Base64, TextThatDoesNotDecodeFails) {
    // 4n + 1 symbols leave six bits: no whole byte, whatever n is.
    for (const char* text : {"", "   ", "====", "Z", "Zm9vY", "Zm9vYmFyZ", "Zm9vY===", "Zg=a", "Zg===", "Zm9vYg=",
                             "Zm9v!", "Zm9v-_", "Zm\x80v", "Zg==Zg=="}) {
        std::vector<uint8_t> out = {1, 2, 3};
        EXPECT_FALSE(decodeBase64(text, out)) << text;
        EXPECT_TRUE(out.empty()) << text;
    }
}

TEST(Utf8ToWide, ValidTextBecomesUtf16AndInvalidNothing) {
    EXPECT_EQ(utf8ToWide("caf\xC3\xA9/\xE2\x82\xAC"), std::wstring(L"caf\u00E9/\u20AC"));
    EXPECT_EQ(utf8ToWide("\xF0\x9F\x98\x80"), (std::wstring{wchar_t(0xD83D), wchar_t(0xDE00)}));
    for (const char* text : {"\x80", "a\xC3", "\xC0\x80", "\xC1\xBF", "\xE0\x80\x80", "\xED\xA0\x80",
                             "\xF4\x90\x80\x80", "\xF8\x88\x80\x80\x80", "\xE2\x82", "ok\xFF"})
        EXPECT_TRUE(utf8ToWide(text).empty()) << text;
}

// A picture of that many pixel bytes without pixel values, so that
// budget-sized pictures cost the test no memory.
Canvas canvasOfBytes(uint64_t bytes) {
    Canvas canvas;
    canvas.width = int32_t(bytes / 4);
    canvas.height = 1;
    return canvas;
}

TEST(DecodedImageCache, KeepsCopiesAndReplacesByKey) {
    DecodedImageCache cache;
    Canvas canvas = makeCanvas(3, 2, 7);
    storeDecoded(cache, L"a", canvas);
    canvas.pixels[0] = 0;
    EXPECT_EQ(lookupDecoded(cache, L"a")->pixels[0], 7u);
    EXPECT_EQ(lookupDecoded(cache, L"b"), nullptr);
    storeDecoded(cache, L"a", makeCanvas(2, 2, 9));
    EXPECT_EQ(cache.entryCount, 1u);
    EXPECT_EQ(cache.totalBytes, 16u);
    storeDecoded(cache, L"huge", canvasOfBytes(kDecodedCacheBudget + 4));
    storeDecoded(cache, L"empty", Canvas{});
    EXPECT_EQ(cache.entryCount, 1u);
    clearDecoded(cache);
    EXPECT_EQ(cache.totalBytes + cache.entryCount, 0u);
    EXPECT_EQ(lookupDecoded(cache, L"a"), nullptr);
}

TEST(DecodedImageCache, EvictsTheLeastRecentlyUsedToStayWithinBudget) {
    DecodedImageCache cache;
    const uint64_t quarter = kDecodedCacheBudget / 4;
    for (const wchar_t* key : {L"a", L"b", L"c", L"d"}) storeDecoded(cache, key, canvasOfBytes(quarter));
    EXPECT_EQ(cache.entryCount, 4u);  // exactly the budget
    ASSERT_NE(lookupDecoded(cache, L"a"), nullptr);          // "a" is now the newest, "b" the oldest
    storeDecoded(cache, L"e", canvasOfBytes(quarter + 4));  // needs two quarters freed
    for (const wchar_t* key : {L"b", L"c"}) EXPECT_EQ(lookupDecoded(cache, key), nullptr) << key;
    for (const wchar_t* key : {L"a", L"d", L"e"}) EXPECT_NE(lookupDecoded(cache, key), nullptr) << key;
    EXPECT_EQ(cache.totalBytes, 3 * quarter + 4);
}

TEST(DecodedImageCache, TheNumberOfEntriesIsBounded) {
    DecodedImageCache cache;
    for (size_t i = 0; i < kDecodedCacheMaxEntries + 10; ++i) storeDecoded(cache, std::to_wstring(i), makeCanvas(1, 1, 1));
    EXPECT_EQ(cache.entryCount, kDecodedCacheMaxEntries);
    EXPECT_EQ(lookupDecoded(cache, L"9"), nullptr);
    EXPECT_NE(lookupDecoded(cache, L"10"), nullptr);
}

}  // namespace
}  // namespace orvane::testing
