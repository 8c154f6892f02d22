#pragma once

#include <string>
#include <string_view>

namespace orvane {

// Strict UTF-8 to UTF-16 (in a wide string, as the Windows file functions
// take it). Invalid UTF-8 -- stray continuation bytes, overlong forms,
// surrogates, values past U+10FFFF, a cut-off sequence -- gives an empty text.
std::wstring utf8ToWide(std::string_view bytes);

}  // namespace orvane
