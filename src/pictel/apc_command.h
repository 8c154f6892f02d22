#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orvane {

// One parsed APC "G" command; lives only while it is dispatched.
struct ApcCommand {
    int32_t id = -1;
    bool hasId = false;
    int32_t more = 0;
    bool hasMore = false;
    int32_t chunkNumber = 0;
    std::string op;
    std::string path;
    int32_t loop = 0;
    std::string action;
    std::string label;
    std::string crc;
    std::string len;
    std::string format;
    bool newTransfer = false;
    std::string payload;
};

// Parses the text after the leading "G": comma-separated key=value pairs,
// then an optional payload after the first ";".
ApcCommand parseApcCommand(std::string_view afterG);

// Optional sign, then digits up to the first non-digit, wrapping in 32 bits;
// no digits read as 0.
int32_t pictelInteger(std::string_view text);

}  // namespace orvane
