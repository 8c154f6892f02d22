#pragma once

#include "app/settings.h"

namespace orvane::test {

// One record that the load rules keep as it is, with no field at its default
// except `dtr`: switches next to each other differ, so a value stored under
// its neighbour's key shows. Shared by the portable and the Windows tests.
inline const AppSettings kSampleSettings{
    .lastPort = L"COM12", .windowGeom = L"1024x768+-8+30", .mode = L"lan", .host = L"fe80::1%3",
    .netPort = L"2323", .proto = L"UDP", .acceptedDisclaimerVersion = -7, .baud = L"921600",
    .framing = L"7E1", .palette = L"One Half Dark", .localEcho = true, .inputMode = L"line",
    .lineTerminator = L"<none>", .autoScroll = false, .displayMode = L"HEX", .geometry = L"132x24",
    .cursorStyle = L"double", .cursorBlink = false, .rts = false, .dtr = true,
    .playCharDelayMs = 0, .playEolDelayMs = 500, .playEol = L"CRLF", .playStripLf = false,
    .captureHex = true, .bellMode = L"wav", .bellWav = L"Z:\\tmp\\bell.wav",
    .mediaCache = false, .mediaRepo = true, .sounds = false,
    .bgImage = L"C:\\Users\\\u00e9l\u00e8ve\\fond.png", .bgFit = L"center", .bgOpacity = 42,
    .ssFolder = L"C:\\shots", .ssBasename = L"grid", .ssAutonumber = true, .ssFormat = L"jpg",
    .ssWithBg = true, .ssWithGlass = false,
};

}  // namespace orvane::test
