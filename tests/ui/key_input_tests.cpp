// Keys and characters typed into the terminal window: what is sent, what is
// echoed and what the pending line holds.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/key_input.h"

namespace orvane {
namespace {

// One typed input: a key (with Ctrl/Alt) or a character.
struct Input {
    bool isChar;
    uint32_t code;
    bool ctrl = false;
    bool alt = false;
};
Input key(uint32_t vk) { return {false, vk}; }
Input ctrlKey(uint32_t vk) { return {false, vk, true}; }
Input altGrKey(uint32_t vk) { return {false, vk, true, true}; }
Input ch(char16_t unit) { return {true, unit}; }

struct KeyCase {
    const char* name;
    bool lineMode;
    bool echo;
    std::string terminator;
    std::string setup;  // fed to the terminal first
    std::vector<Input> inputs;
    std::string sent;     // each write followed by '|'
    std::string handled;  // H or N per input
    std::u16string row0;  // without trailing blanks
    int32_t cursorRow;
    int32_t cursorCol;
    std::u16string pending;
};

std::u16string rowText(const Terminal& t, int32_t row) {
    std::u16string s;
    for (const Cell& c : t.grid[size_t(row)]) s += c.ch;
    return s.substr(0, s.find_last_not_of(u' ') + 1);
}

const KeyCase kCases[] = {
    {"char_enter_sends_terminator", false, false, "\r\n", "", {key(0x0D)}, "\r\n|", "H", u"", 0, 0, u""},
    {"char_enter_without_terminator", false, false, "", "", {key(0x0D)}, "", "H", u"", 0, 0, u""},
    {"ctrl_letters", false, false, "\r", "", {ctrlKey(0x43), ctrlKey(0x41), ctrlKey(0x5A)}, "\x03|\x01|\x1a|",
     "HHH", u"", 0, 0, u""},
    {"ctrl_outside_letters_adds_nothing", false, false, "\r", "",
     {ctrlKey(0x31), ctrlKey(0x40), ctrlKey(0x5B), ctrlKey(0x61), ctrlKey(0x7A), ctrlKey(0x25), ctrlKey(0x0D)},
     "\x1b[D|\r|", "NNNNNHH", u"", 0, 0, u""},
    {"navigation_keys", false, true, "\r", "",
     {key(0x23), key(0x24), key(0x25), key(0x26), key(0x27), key(0x28), key(0x09), key(0x1B), key(0x08)},
     "\x1b[F|\x1b[H|\x1b[D|\x1b[A|\x1b[C|\x1b[B|\t|\x1b|\b|", "HHHHHHHHH", u"", 0, 0, u""},
    {"unlisted_keys_fall_through", false, false, "\r", "", {key(0x2E), key(0x70), key(0x41), key(0x22)}, "",
     "NNNN", u"", 0, 0, u""},
    {"altgr_character_arrives_intact", false, false, "\r", "", {altGrKey(0x51), ch(u'@')}, "@|", "NH", u"", 0, 0,
     u""},
    {"char_mode_echo", false, true, "\r", "", {ch(u'a'), ch(0x7F)}, "a|\x7f|", "HH", u"a\x7f", 0, 2, u""},
    {"control_characters_left_to_keys", false, true, "\r", "", {ch(0x03), ch(0x1F)}, "", "NN", u"", 0, 0, u""},
    {"char_mode_drops_non_ascii", false, true, "\r", "", {ch(0xE9)}, "", "N", u"", 0, 0, u""},
    {"line_edit_with_echo", true, true, "\r", "", {ch(u'a'), ch(u'b'), key(0x08), ch(u'c'), key(0x0D)}, "ac\r|",
     "HHHHH", u"ac", 1, 0, u""},
    {"line_crlf_without_echo", true, false, "\r\n", "", {ch(u'h'), ch(u'i'), key(0x0D)}, "hi\r\n|", "HHH", u"", 0, 0,
     u""},
    {"line_arrow_sent_at_once", true, true, "\r", "", {ch(u'a'), ch(u'b'), key(0x25)}, "\x1b[D|", "HHH", u"ab", 0, 2,
     u"ab"},
    {"line_ctrl_letter_sent_at_once", true, false, "\r", "", {ch(u'a'), ctrlKey(0x43)}, "\x03|", "HH", u"", 0, 0,
     u"a"},
    {"line_non_ascii_sent_as_question_mark", true, true, "\r", "", {ch(0xE9), key(0x0D)}, "?\r|", "HH", u"\u00e9",
     1, 0, u""},
    {"line_backspace_at_column_zero", true, true, "\r", "X\r", {ch(u'q'), key(0x08), key(0x08)}, "", "HHH", u"", 0,
     0, u""},
    {"line_backspace_mid_row", true, true, "\r", "abc", {ch(u'd'), key(0x08)}, "", "HH", u"abc", 0, 3, u""},
    {"line_backspace_empty_buffer", true, true, "\r", "ab", {key(0x08)}, "", "H", u"ab", 0, 2, u""},
    {"line_enter_without_echo_keeps_cursor", true, false, "", "xy", {ch(u'1'), key(0x0D)}, "1|", "HH", u"xy", 0, 2,
     u""},
};

class KeyInput : public ::testing::TestWithParam<KeyCase> {};

TEST_P(KeyInput, SendsEchoesAndBuffers) {
    const KeyCase& c = GetParam();
    Terminal t;
    t.lineMode = c.lineMode;
    t.localEcho = c.echo;
    t.lineTerminator = c.terminator;
    feed(t, reinterpret_cast<const uint8_t*>(c.setup.data()), c.setup.size());
    std::string sent;
    std::string handled;
    for (const Input& in : c.inputs) {
        const InputResult r = in.isChar ? translateChar(t, true, char16_t(in.code))
                                        : translateKey(t, true, Keystroke{in.code, in.ctrl, in.alt});
        if (!r.bytes.empty()) sent += std::string(r.bytes.begin(), r.bytes.end()) + "|";
        handled += r.handled ? 'H' : 'N';
        EXPECT_EQ(r.repaint, r.handled);
        EXPECT_FALSE(r.beep);
    }
    EXPECT_EQ(sent, c.sent);
    EXPECT_EQ(handled, c.handled);
    EXPECT_TRUE(rowText(t, 0) == c.row0);
    EXPECT_EQ(t.cursorRow, c.cursorRow);
    EXPECT_EQ(t.cursorCol, c.cursorCol);
    EXPECT_TRUE(t.lineBuffer == c.pending);
}

INSTANTIATE_TEST_SUITE_P(Cases, KeyInput, ::testing::ValuesIn(kCases),
                         [](const auto& param) { return std::string(param.param.name); });

TEST(KeyInputClosed, NothingIsTranslatedBufferedOrEchoed) {
    for (bool lineMode : {false, true}) {
        Terminal t;
        t.lineMode = lineMode;
        t.localEcho = 1;
        EXPECT_FALSE(translateKey(t, false, Keystroke{0x0D}).handled);
        EXPECT_FALSE(translateKey(t, false, Keystroke{0x43, true}).handled);
        EXPECT_FALSE(translateChar(t, false, u'a').handled);
        EXPECT_TRUE(t.lineBuffer.empty());
        EXPECT_EQ(t.cursorCol, 0);
        EXPECT_EQ(t.grid[0][0].ch, u' ');
    }
}

TEST(KeyInputLine, BufferIsCappedAndExtraCharactersBeep) {
    Terminal t;
    t.lineMode = 1;
    t.localEcho = 1;
    t.lineBuffer.assign(kLineBufferLimit - 1, u'a');
    const InputResult last = translateChar(t, true, u'b');
    EXPECT_TRUE(last.handled);
    EXPECT_FALSE(last.beep);
    EXPECT_EQ(t.cursorCol, 1);
    const InputResult over = translateChar(t, true, u'c');
    EXPECT_TRUE(over.handled);
    EXPECT_TRUE(over.beep);
    EXPECT_TRUE(over.bytes.empty());
    EXPECT_EQ(t.lineBuffer.size(), kLineBufferLimit);
    EXPECT_EQ(t.lineBuffer.back(), u'b');
    EXPECT_EQ(t.cursorCol, 1);  // the dropped character is not echoed
    const InputResult enter = translateKey(t, true, Keystroke{0x0D});
    EXPECT_EQ(enter.bytes.size(), kLineBufferLimit + 1);
}

TEST(KeyInputLine, LeavingLineModeDiscardsThePendingLine) {
    Terminal t;
    setLineMode(t, true);
    EXPECT_EQ(t.lineMode, 1);
    translateChar(t, true, u'z');
    setLineMode(t, true);
    EXPECT_TRUE(t.lineBuffer == u"z");
    setLineMode(t, false);
    EXPECT_EQ(t.lineMode, 0);
    EXPECT_TRUE(t.lineBuffer.empty());
}

}  // namespace
}  // namespace orvane
