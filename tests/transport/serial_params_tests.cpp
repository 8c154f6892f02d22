#include "transport/serial_params.h"

#include <gtest/gtest.h>

#include <array>

namespace orvane {
namespace {

using namespace std::string_view_literals;

TEST(Framing, TheFourExactNamesSelectTheirLineParameters) {
    // Parity 0 none, 2 even; stop bits 0 one, 2 two.
    const std::pair<const char*, std::array<int, 3>> known[] = {
        {"8N1", {8, 0, 0}}, {"7E1", {7, 2, 0}}, {"8E1", {8, 2, 0}}, {"8N2", {8, 0, 2}}};
    for (const auto& [name, expected] : known) {
        const std::optional<LineFraming> framing = findFraming(name);
        ASSERT_TRUE(framing.has_value()) << name;
        EXPECT_EQ((std::array<int, 3>{framing->byteSize, framing->parity, framing->stopBits}), expected) << name;
    }
    for (const std::string_view name : {"8n1"sv, "8N1 "sv, " 8N1"sv, "8N"sv, ""sv, "7O1"sv, "8N1\0"sv}) {
        EXPECT_FALSE(findFraming(name).has_value()) << name;
    }
}

TEST(Framing, TheUnknownTextWidensEachByteOnItsOwn) {
    EXPECT_EQ(unknownFramingText("8N1 "), L"unknown framing: 8N1 ");
    EXPECT_EQ(unknownFramingText("\xE9\xFF"), std::wstring(L"unknown framing: ") + wchar_t(0xE9) + wchar_t(0xFF));
}

TEST(SerialDevicePath, OnlyComNamesInUpperOrLowerCaseGetTheDevicePrefix) {
    for (const wchar_t* name : {L"COM12", L"com3", L"COM"}) {
        EXPECT_EQ(serialDevicePath(name), L"\\\\.\\" + std::wstring(name));
    }
    for (const wchar_t* name : {L"Com3", L"cOM3", L" COM3", L"\\\\.\\COM7", L"\\\\.\\pipe\\x", L"", L"CO"}) {
        EXPECT_EQ(serialDevicePath(name), name);
    }
}

}  // namespace
}  // namespace orvane
