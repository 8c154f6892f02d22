#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace orvane {

// Decodes standard base64 (no header lines). Blanks, tabs and line breaks are
// skipped anywhere; the "=" padding may be left out but, when present, only
// ends the text. Anything else outside the alphabet, a dangling single
// character, or text that yields no bytes fails, leaving out empty.
// May throw std::bad_alloc.
bool decodeBase64(std::string_view text, std::vector<uint8_t>& out);

}  // namespace orvane
