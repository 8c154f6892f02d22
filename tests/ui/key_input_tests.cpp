// Keys and characters typed into the terminal window: what is sent, what is
// echoed and what the pending line holds.
#include <gtest/gtest.h>

#include <string>

#include "ui/key_input.h"

namespace orvane {
namespace {

// mode: l line mode, e local echo, c link closed. inputs: a character stands
// for itself, <hex> is a key, <^hex> with Ctrl, <@hex> with Ctrl+Alt (AltGr);
// <+> and <-> switch line mode on and off.
// sent: each write followed by '|'. handled: H or N per input.
// state: row 0 without trailing blanks | cursor row,col | pending line.
struct KeyCase {
    const char* mode;
    std::string terminator, setup;
    std::u16string_view inputs;
    std::string sent, handled, state;
};

const KeyCase kCases[] = {
    {"", "\r\n", "", u"<0D>", "\r\n|", "H", "|0,0|"},
    {"", "", "", u"<0D>", "", "H", "|0,0|"},
    {"", "\r", "", u"<^43><^41><^5A>", "\x03|\x01|\x1a|", "HHH", "|0,0|"},
    // Ctrl outside the letters adds nothing
    {"", "\r", "", u"<^31><^40><^5B><^61><^7A><^25><^0D>", "\x1b[D|\r|", "NNNNNHH", "|0,0|"},
    {"e", "\r", "", u"<23><24><25><26><27><28><09><1B><08>", "\x1b[F|\x1b[H|\x1b[D|\x1b[A|\x1b[C|\x1b[B|\t|\x1b|\b|",
     "HHHHHHHHH", "|0,0|"},
    {"", "\r", "", u"<2E><70><41><22>", "", "NNNN", "|0,0|"},
    {"", "\r", "", u"<@51>@", "@|", "NH", "|0,0|"},
    {"e", "\r", "", u"a\x7f", "a|\x7f|", "HH", "a\x7f|0,2|"},
    {"e", "\r", "", u"\x03\x1f\u00e9", "", "NNN", "|0,0|"},  // controls are keys; char mode is ASCII
    {"le", "\r", "", u"ab<08>c<0D>", "ac\r|", "HHHHH", "ac|1,0|"},
    {"l", "\r\n", "", u"hi<0D>", "hi\r\n|", "HHH", "|0,0|"},
    {"le", "\r", "", u"ab<25>", "\x1b[D|", "HHH", "ab|0,2|ab"},
    {"l", "\r", "", u"a<^43>", "\x03|", "HH", "|0,0|a"},
    {"le", "\r", "", u"\u00e9<0D>", "?\r|", "HH", "\xe9|1,0|"},
    {"le", "\r", "X\r", u"q<08><08>", "", "HHH", "|0,0|"},  // backspace at column 0
    {"le", "\r", "abc", u"d<08>", "", "HH", "abc|0,3|"},
    {"le", "\r", "ab", u"<08>", "", "H", "ab|0,2|"},
    {"l", "", "xy", u"1<0D>", "1|", "HH", "xy|0,2|"},
    {"e", "\r", "", u"<+>z<+>", "", "H", "z|0,1|z"},  // switching line mode on again keeps the line
    {"e", "\r", "", u"<+>z<->", "", "H", "z|0,1|"},
    {"lec", "\r", "", u"<0D><^43>a", "", "NNN", "|0,0|"},
    {"ec", "\r", "", u"<0D><^43>a", "", "NNN", "|0,0|"},
};

std::string narrow(std::u16string_view s) { return std::string(s.begin(), s.end()); }

TEST(KeyInput, SendsEchoesAndBuffers) {
    for (const KeyCase& c : kCases) {
        SCOPED_TRACE(narrow(c.inputs));
        const auto has = [&c](char flag) { return std::string_view(c.mode).find(flag) != std::string_view::npos; };
        Terminal t;
        t.lineMode = has('l'), t.localEcho = has('e'), t.lineTerminator = c.terminator;
        feed(t, reinterpret_cast<const uint8_t*>(c.setup.data()), c.setup.size());
        std::string sent, handled;
        for (size_t i = 0; i < c.inputs.size(); ++i) {
            InputResult r;
            if (c.inputs[i] != u'<') {
                r = translateChar(t, !has('c'), c.inputs[i]);
            } else if (c.inputs[i + 2] == u'>') {
                setLineMode(t, c.inputs[(i += 2) - 1] == u'+');
                continue;
            } else {
                const bool ctrl = c.inputs[i + 1] == u'^' || c.inputs[i + 1] == u'@';
                const size_t start = i + 1 + ctrl, end = c.inputs.find(u'>', i);
                const auto vk = uint32_t(std::stoul(narrow(c.inputs.substr(start, end - start)), nullptr, 16));
                r = translateKey(t, !has('c'), Keystroke{vk, ctrl, c.inputs[i + 1] == u'@'});
                i = end;
            }
            if (!r.bytes.empty()) sent += std::string(r.bytes.begin(), r.bytes.end()) + "|";
            handled += r.handled ? 'H' : 'N';
            EXPECT_TRUE(r.repaint == r.handled && !r.beep);
        }
        std::string row0;
        for (const Cell& cell : t.grid[0]) row0 += char(cell.ch);
        row0.erase(row0.find_last_not_of(' ') + 1);
        EXPECT_EQ(sent + " / " + handled, c.sent + " / " + c.handled);
        EXPECT_EQ(row0 + "|" + std::to_string(t.cursorRow) + "," + std::to_string(t.cursorCol) + "|" +
                      narrow(t.lineBuffer),
                  c.state);
    }
}

TEST(KeyInput, LineBufferIsCappedAndExtraCharactersBeep) {
    Terminal t;
    t.lineMode = t.localEcho = 1;
    t.lineBuffer.assign(kLineBufferLimit - 1, u'a');
    const InputResult last = translateChar(t, true, u'b'), over = translateChar(t, true, u'c');
    EXPECT_TRUE(last.handled && !last.beep && over.handled && over.beep && over.bytes.empty());
    // the dropped character is neither kept nor echoed
    EXPECT_TRUE(t.lineBuffer.size() == kLineBufferLimit && t.lineBuffer.back() == u'b' && t.cursorCol == 1);
    EXPECT_EQ(translateKey(t, true, Keystroke{0x0D}).bytes.size(), kLineBufferLimit + 1);
}

}  // namespace
}  // namespace orvane
