// Framing, parsing and routing of Pictel commands, and the reply format.
#include <gtest/gtest.h>

#include <tuple>

#include "pictel/apc_command.h"
#include "pictel_test_util.h"

namespace orvane::testing {
namespace {

const std::string ST = "\x1b\\";

TEST(PictelInteger, SignDigitsAndWrap) {
    const std::pair<const char*, int32_t> cases[] = {
        {"", 0},      {"-", 0},         {"+4", 4},          {"-1", -1},
        {"12x", 12},  {"x12", 0},       {"007", 7},         {"4294967297", 1},
        {"2147483648", INT32_MIN},      {"-2147483648", INT32_MIN}, {"--3", 0},
    };
    for (const auto& [text, value] : cases) EXPECT_EQ(pictelInteger(text), value) << text;
}

// (hasId, id, op, payload, newTransfer, hasMore, more) and (format, path, label) of each parse.
auto fields(const ApcCommand& c) { return std::tuple(c.hasId, c.id, c.op, c.payload, c.newTransfer, c.hasMore, c.more); }
auto names(const ApcCommand& c) { return std::tuple(c.format, c.path, c.label); }

TEST(ApcParse, KeysValuesAndPayload) {
    using S = std::string;
    EXPECT_EQ(fields(parseApcCommand(" i = 7 ,\top\t= use ,junk,x=1;AAAA;BBBB")), std::tuple(true, 7, S("use"), S("AAAA;BBBB"), false, false, 0));
    // A repeated key overwrites; keys are case-sensitive.
    EXPECT_EQ(fields(parseApcCommand("I=7,i=1,i=2,m=0,w=9,OP=repo")), std::tuple(true, 2, S(), S(), true, true, 0));
    const ApcCommand c = parseApcCommand("f=png,path=a=b,t= label ");  // the key ends at the first "="
    EXPECT_EQ(names(c), std::tuple(S("png"), S("a=b"), S("label")));
    EXPECT_TRUE(c.newTransfer && !c.hasId);
}

TEST(PictelDispatch, BothTerminatorsAndTheGTest) {
    Terminal t;
    feedText(t, "\x1b_Gi=9,op=stop" + ST);
    EXPECT_EQ(takeReplyText(t), "\x1b[=5;9;0w");
    feedText(t, "\x1b_Gi=9,op=stop\a");
    EXPECT_EQ(takeReplyText(t), "\x1b[=5;9;0w");
    EXPECT_EQ(t.layerGeneration, 2u);

    feedText(t, "\x1b_gi=3,op=stop" + ST + "\x1b_" + ST + "\x1b_Xi=1" + ST);
    EXPECT_EQ(t.layerGeneration, 2u);
    EXPECT_EQ(takeReplyText(t), "");
}

TEST(PictelDispatch, CommandsNeedANonNegativeId) {
    Terminal t;
    const std::pair<const char*, const char*> cases[] = {
        {"Gop=stop", ""}, {"Gi=-1,op=stop", ""}, {"GI=7,op=stop", ""}, {"Gi=2147483648,op=stop", ""},
        {"G i = +4 , op = stop", "\x1b[=5;4;0w"}, {"Gi=12x,op=stop", "\x1b[=5;12;0w"}, {"Gi=0,op=stop", "\x1b[=5;0;0w"},
    };
    for (const auto& [command, reply] : cases) {
        feedText(t, std::string("\x1b_") + command + ST);
        EXPECT_EQ(takeReplyText(t), reply) << command;
    }
}

auto mark(const Terminal& t) { return std::tuple(t.statMark.kind, t.statMark.label, t.statMark.gridColumns, t.statMark.gridRows); }

TEST(PictelDispatch, StatisticsMarkers) {
    Terminal t;
    feedText(t, "\x1b_Gop=stat,a=mark,t=" + std::string(80, 'L') + ST);
    EXPECT_EQ(mark(t), std::tuple(2, std::string(64, 'L'), 80, 25));
    t.statMark = {};
    feedText(t, "\x1b_Gop=stat,a=pause,t=x" + ST);
    EXPECT_EQ(t.statMark.kind, 0);
    feedText(t, "\x1b[8;24;132t\x1b_Gop=stat,a=start" + ST + "\x1b_Gop=stat,a=stop,t=end" + ST);
    EXPECT_EQ(mark(t), std::tuple(3, std::string("end"), 132, 24));
    EXPECT_EQ(takeReplyText(t), "");
}

TEST(PictelDispatch, SizeQueryAndUnknownFinals) {
    Terminal t;
    feedText(t, "\x1b[=n");
    EXPECT_EQ(takeReplyText(t), "\x1b[=25;80y");
    feedText(t, "\x1b[8;24;132t\x1b[=5n");
    EXPECT_EQ(takeReplyText(t), "\x1b[=24;132y");
    const uint64_t before = t.layerGeneration;
    feedText(t, "\x1b[=Q\x1b[=1;2;3q");
    EXPECT_EQ(t.layerGeneration, before + 2);
    EXPECT_EQ(takeReplyText(t), "");
}

TEST(PictelDispatch, ColourCommandsAndTheBareForm) {
    // Each row is fed after the previous ones: (sequence, fill off, fill colour).
    const std::tuple<const char*, bool, uint32_t> steps[] = {
        {"\x1b[=F", true, 0u}, {"\x1b[=0F", true, 0u}, {"\x1b[=300;0;0F", false, 44u},
        {"\x1b[=0F\x1b[=1;2;3F\x1b[=0F", false, 0x030201u},  // one parameter is not the form without any
    };
    Terminal t;
    for (const auto& [seq, off, colour] : steps) {
        feedText(t, seq);
        EXPECT_EQ(t.glass.fillOff, off) << seq + 3;
        EXPECT_TRUE(off || t.glass.fillColour == colour) << seq + 3;
    }
    feedText(t, "\x1b[=1;2;3R\x1b[=R");
    EXPECT_TRUE(t.glass.strokeOff);
    EXPECT_EQ(t.glass.strokeColour, 0x030201u);
}

}  // namespace
}  // namespace orvane::testing
