#include "transport/win32/serial_config.h"
#include "transport/win32/serial_session.h"

#include <gtest/gtest.h>

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
    for (const unsigned char fill : {0x00, 0xA5, 0x5A, 0xFF}) {
        DCB reported;
        std::memset(&reported, fill, sizeof(reported));
        DCB applied = reported;
        applyLineSettings(applied, 57600, *findFraming("7E1"));

        EXPECT_EQ(applied.BaudRate, 57600u);
        EXPECT_EQ(applied.ByteSize, 7);
        EXPECT_EQ(applied.Parity, EVENPARITY);
        EXPECT_EQ(applied.StopBits, ONESTOPBIT);
        EXPECT_EQ(applied.fDtrControl, static_cast<DWORD>(DTR_CONTROL_DISABLE));
        EXPECT_EQ(applied.fRtsControl, static_cast<DWORD>(RTS_CONTROL_DISABLE));
        EXPECT_EQ(applied.fBinary, 1u);

        clearSetFields(reported);
        clearSetFields(applied);
        EXPECT_EQ(std::memcmp(&reported, &applied, sizeof(DCB)), 0) << "fill " << int(fill);
    }
}

TEST(SerialLineSettings, TwoStopBitsAndNoParity) {
    DCB dcb{};
    applyLineSettings(dcb, 115200, *findFraming("8N2"));
    EXPECT_EQ(dcb.ByteSize, 8);
    EXPECT_EQ(dcb.Parity, NOPARITY);
    EXPECT_EQ(dcb.StopBits, TWOSTOPBITS);
}

TEST(SerialOpenFailures, AnUnknownFramingIsRefusedBeforeThePortIsTouched) {
    SerialSession session;
    EXPECT_FALSE(session.open(L"COM1", 115200, "8n1"));
    EXPECT_EQ(session.lastError(), L"unknown framing: 8n1");
    EXPECT_FALSE(session.open(L"COM1", 115200, "8N1 "));
    EXPECT_EQ(session.lastError(), L"unknown framing: 8N1 ");
    EXPECT_FALSE(session.isOpen());
}

TEST(SerialOpenFailures, AMissingPortNamesThePortAsGiven) {
    SerialSession session;
    EXPECT_FALSE(session.open(L"COM249", 115200, "8N1"));
    EXPECT_EQ(session.lastError(), L"CreateFileW failed for COM249");
    EXPECT_FALSE(session.open(L"\\\\.\\COM248", 115200, "8N1"));
    EXPECT_EQ(session.lastError(), L"CreateFileW failed for \\\\.\\COM248");
    EXPECT_FALSE(session.isOpen());
    // A failed open leaves the text; a close does not clear it.
    session.close();
    EXPECT_EQ(session.lastError(), L"CreateFileW failed for \\\\.\\COM248");
}

TEST(SerialOpenFailures, ClosedSessionsReportNoModemStatus) {
    SerialSession session;
    EXPECT_EQ(session.modemStatus(), 0u);
    const uint8_t byte = 'x';
    session.write(&byte, 1);
    EXPECT_FALSE(session.takeTxActivity());
}

}  // namespace
}  // namespace orvane
