#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace orvane::demo {

struct Key {
    enum Kind : uint8_t { Char, Enter, Erase, Interrupt };
    Kind kind = Char;
    char ch = 0;
    friend bool operator==(const Key&, const Key&) = default;
};

// Turns what the terminal sends into keys. A line ends with CR, LF or CRLF
// (the LF of a CRLF is not a second Enter, even when it arrives in a later
// read). Escape sequences (cursor keys, the terminal's replies to Pictel
// commands and queries) are consumed whole and are not keys; other control
// bytes are ignored.
class KeyDecoder {
public:
    std::vector<Key> decode(std::string_view bytes);

private:
    enum class State : uint8_t { Text, Escape, Csi, Ss3, String, StringEscape };
    void takeByte(uint8_t b, std::vector<Key>& keys);
    void takeEscaped(uint8_t b);

    State state_ = State::Text;
    bool afterCr_ = false;
};

}  // namespace orvane::demo
