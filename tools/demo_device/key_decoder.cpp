#include "key_decoder.h"

namespace orvane::demo {

namespace {

constexpr uint8_t kEscByte = 0x1B;
constexpr uint8_t kCtrlC = 0x03;
constexpr uint8_t kBackspace = 0x08;
constexpr uint8_t kDel = 0x7F;

}  // namespace

std::vector<Key> KeyDecoder::decode(std::string_view bytes) {
    std::vector<Key> keys;
    for (const char c : bytes) takeByte(uint8_t(c), keys);
    return keys;
}

void KeyDecoder::takeByte(uint8_t b, std::vector<Key>& keys) {
    if (state_ != State::Text) {
        takeEscaped(b);
        return;
    }
    const bool lfOfCrLf = afterCr_ && b == '\n';
    afterCr_ = b == '\r';
    if (lfOfCrLf) return;
    if (b == '\r' || b == '\n') {
        keys.push_back({Key::Enter, 0});
    } else if (b == kBackspace || b == kDel) {
        keys.push_back({Key::Erase, 0});
    } else if (b == kCtrlC) {
        keys.push_back({Key::Interrupt, 0});
    } else if (b == kEscByte) {
        state_ = State::Escape;
    } else if (b >= 0x20) {
        keys.push_back({Key::Char, char(b)});
    }
}

void KeyDecoder::takeEscaped(uint8_t b) {
    switch (state_) {
        case State::Escape:
            state_ = b == '[' ? State::Csi : b == 'O' ? State::Ss3 : (b == ']' || b == '_' || b == 'P') ? State::String
                                                                                                          : State::Text;
            break;
        case State::Csi:
            if (b >= 0x40 && b <= 0x7E) state_ = State::Text;
            break;
        case State::String:
            if (b == kEscByte) state_ = State::StringEscape;
            else if (b == 0x07) state_ = State::Text;
            break;
        case State::StringEscape:
            state_ = b == '\\' ? State::Text : State::String;
            break;
        default:  // SS3: one more byte
            state_ = State::Text;
            break;
    }
}

}  // namespace orvane::demo
