#include "transport/win32/serial_config.h"
#include "transport/win32/serial_session.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>

namespace orvane {
namespace {

// The fields the session sets; everything else must come back untouched.
void clearSetFields(DCB& dcb) {
    dcb.BaudRate = 0;
    dcb.ByteSize = 0;
    dcb.Parity = 0;
    dcb.StopBits = 0;
    dcb.fDtrControl = 0;
    dcb.fRtsControl = 0;
    dcb.fBinary = 0;
}

TEST(SerialLineSettings, OnlyBaudFramingModemControlAndBinaryModeChange) {
    struct Case {
        const char* framing;
        BYTE byteSize, parity, stopBits;
    };
    for (const Case& c : {Case{"7E1", 7, EVENPARITY, ONESTOPBIT}, Case{"8N2", 8, NOPARITY, TWOSTOPBITS}}) {
        for (const unsigned char fill : {0x00, 0xA5, 0x5A, 0xFF}) {
            DCB reported;
            std::memset(&reported, fill, sizeof(reported));
            DCB applied = reported;
            applyLineSettings(applied, 57600, *findFraming(c.framing));
            EXPECT_EQ(applied.BaudRate, 57600u);
            EXPECT_EQ((std::array<BYTE, 3>{applied.ByteSize, applied.Parity, applied.StopBits}),
                      (std::array<BYTE, 3>{c.byteSize, c.parity, c.stopBits}));
            EXPECT_EQ(applied.fDtrControl, static_cast<DWORD>(DTR_CONTROL_DISABLE));
            EXPECT_EQ(applied.fRtsControl, static_cast<DWORD>(RTS_CONTROL_DISABLE));
            EXPECT_EQ(applied.fBinary, 1u);
            clearSetFields(reported);
            clearSetFields(applied);
            EXPECT_EQ(std::memcmp(&reported, &applied, sizeof(DCB)), 0) << c.framing << " fill " << int(fill);
        }
    }
}

TEST(SerialOpenFailures, AnUnknownFramingOrAMissingPortIsNamed) {
    SerialSession session;
    // The framing is refused before the port is touched.
    for (const char* framing : {"8n1", "8N1 "}) {
        EXPECT_FALSE(session.open(L"COM1", 115200, framing));
        EXPECT_EQ(session.lastError(), L"unknown framing: " + std::wstring(framing, framing + std::strlen(framing)));
    }
    for (const std::wstring name : {L"COM249", L"\\\\.\\COM248"}) {
        EXPECT_FALSE(session.open(name, 115200, "8N1"));
        EXPECT_EQ(session.lastError(), L"CreateFileW failed for " + name);
    }
    EXPECT_FALSE(session.isOpen());
    // A failed open leaves the text; a close does not clear it.
    session.close();
    EXPECT_EQ(session.lastError(), L"CreateFileW failed for \\\\.\\COM248");
}

}  // namespace
}  // namespace orvane
