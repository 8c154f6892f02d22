#include "transport/serial_params.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

TEST(Framing, TheFourNamesSelectTheirLineParameters) {
    struct Case {
        const char* name;
        uint8_t byteSize;
        uint8_t parity;
        uint8_t stopBits;
    };
    // Parity 0 none, 2 even; stop bits 0 one, 2 two.
    for (const Case& c : {Case{"8N1", 8, 0, 0}, Case{"7E1", 7, 2, 0}, Case{"8E1", 8, 2, 0}, Case{"8N2", 8, 0, 2}}) {
        SCOPED_TRACE(c.name);
        const std::optional<LineFraming> framing = findFraming(c.name);
        ASSERT_TRUE(framing.has_value());
        EXPECT_EQ(framing->byteSize, c.byteSize);
        EXPECT_EQ(framing->parity, c.parity);
        EXPECT_EQ(framing->stopBits, c.stopBits);
    }
}

TEST(Framing, NamesMatchExactly) {
    using namespace std::string_view_literals;
    for (const std::string_view name : {"8n1"sv, "8N1 "sv, " 8N1"sv, "8N"sv, ""sv, "7O1"sv, "8N1\0"sv}) {
        SCOPED_TRACE(std::string(name));
        EXPECT_FALSE(findFraming(name).has_value());
    }
}

TEST(Framing, TheUnknownTextWidensEachByteOnItsOwn) {
    EXPECT_EQ(unknownFramingText("8n1"), L"unknown framing: 8n1");
    EXPECT_EQ(unknownFramingText("8N1 "), L"unknown framing: 8N1 ");
    EXPECT_EQ(unknownFramingText("\xE9\xFF"), std::wstring(L"unknown framing: ") + wchar_t(0xE9) + wchar_t(0xFF));
}

TEST(SerialDevicePath, ComNamesInUpperOrLowerCaseGetTheDevicePrefix) {
    EXPECT_EQ(serialDevicePath(L"COM12"), L"\\\\.\\COM12");
    EXPECT_EQ(serialDevicePath(L"com3"), L"\\\\.\\com3");
    EXPECT_EQ(serialDevicePath(L"COM"), L"\\\\.\\COM");
}

TEST(SerialDevicePath, OtherNamesPassUnchanged) {
    for (const wchar_t* name : {L"Com3", L"cOM3", L" COM3", L"\\\\.\\COM7", L"\\\\.\\pipe\\x", L"", L"CO"}) {
        EXPECT_EQ(serialDevicePath(name), name);
    }
}

}  // namespace
}  // namespace orvane
