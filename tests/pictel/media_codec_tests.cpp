// CRC-32, the base64 decoder and the UTF-8 conversion of names.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "media_fixture.h"
#include "pictel/base64.h"
#include "pictel/crc32.h"
#include "pictel/utf8_to_wide.h"

namespace orvane {
namespace {

using testing::encodeBase64;

uint32_t crcOf(const std::string& s) { return crc32(reinterpret_cast<const uint8_t*>(s.data()), s.size()); }

std::vector<uint8_t> bytesOf(const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); }

TEST(Crc32, MatchesTheZlibCheckValues) {
    EXPECT_EQ(crcOf(""), 0x00000000u);
    EXPECT_EQ(crcOf("a"), 0xE8B7BE43u);
    EXPECT_EQ(crcOf("123456789"), 0xCBF43926u);
    EXPECT_EQ(crcOf("The quick brown fox jumps over the lazy dog"), 0x414FA339u);
    // The PNG signature's IEND chunk: type plus empty data.
    EXPECT_EQ(crcOf("IEND"), 0xAE426082u);
}

TEST(Crc32, EveryBitOfTheInputCounts) {
    std::vector<uint8_t> data(257);
    for (size_t i = 0; i < data.size(); ++i) data[i] = uint8_t(i * 7);
    const uint32_t original = crc32(data.data(), data.size());
    for (size_t byte : {size_t(0), size_t(128), size_t(256)}) {
        for (int bit = 0; bit < 8; ++bit) {
            data[byte] ^= uint8_t(1 << bit);
            EXPECT_NE(crc32(data.data(), data.size()), original) << byte << ":" << bit;
            data[byte] ^= uint8_t(1 << bit);
        }
    }
}

TEST(Base64, DecodesTheStandardVectors) {
    const std::pair<const char*, const char*> cases[] = {
        {"Zg==", "f"}, {"Zm8=", "fo"}, {"Zm9v", "foo"}, {"Zm9vYg==", "foob"}, {"Zm9vYmE=", "fooba"},
        {"Zm9vYmFy", "foobar"}, {"Zm9vYg", "foob"},  // padding left out
        {"Zm9v\r\nYmFy", "foobar"}, {" Zm 9v\tYg = = ", "foob"},  // blanks and line breaks skipped
    };
    for (const auto& [text, expected] : cases) {
        std::vector<uint8_t> out;
        EXPECT_TRUE(decodeBase64(text, out)) << text;
        EXPECT_EQ(out, bytesOf(expected)) << text;
    }
}

TEST(Base64, RoundTripsEveryByteValueAndLength) {
    std::vector<uint8_t> data;
    for (int i = 0; i < 300; ++i) {
        data.push_back(uint8_t(i * 131 + 7));
        std::vector<uint8_t> out;
        ASSERT_TRUE(decodeBase64(encodeBase64(data), out)) << i;
        ASSERT_EQ(out, data) << i;
    }
}

TEST(Base64, TextThatDoesNotDecodeFails) {
    for (const char* text : {"", "   ", "====", "Z", "Zg=a", "Zg===", "Zm9vYg=", "Zm9v!", "Zm9v-_", "Zm\x80v", "Zg==Zg=="}) {
        std::vector<uint8_t> out = {1, 2, 3};
        EXPECT_FALSE(decodeBase64(text, out)) << text;
        EXPECT_TRUE(out.empty()) << text;
    }
}

TEST(Utf8ToWide, ConvertsValidTextToUtf16) {
    EXPECT_EQ(utf8ToWide("icons/ok.png"), L"icons/ok.png");
    EXPECT_EQ(utf8ToWide("caf\xC3\xA9"), std::wstring(L"caf") + wchar_t(0xE9));
    EXPECT_EQ(utf8ToWide("\xE2\x82\xAC"), std::wstring(1, wchar_t(0x20AC)));
    // U+1F600 becomes a surrogate pair, as the Windows functions take it.
    EXPECT_EQ(utf8ToWide("\xF0\x9F\x98\x80"), (std::wstring{wchar_t(0xD83D), wchar_t(0xDE00)}));
}

TEST(Utf8ToWide, InvalidTextGivesNothing) {
    for (const char* text : {"\x80", "a\xC3", "\xC0\x80", "\xC1\xBF", "\xE0\x80\x80", "\xED\xA0\x80",
                             "\xF4\x90\x80\x80", "\xF8\x88\x80\x80\x80", "\xE2\x82", "ok\xFF"}) {
        EXPECT_TRUE(utf8ToWide(text).empty()) << text;
    }
}

}  // namespace
}  // namespace orvane
