#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

#include "render/fast_path_switch.h"
#include "render/paint_gate.h"

namespace orvane {
namespace {

TEST(PaintGate, BellShowsUntilItsTickAndZeroMeansNone) {
    const struct { uint32_t until, now; bool showing; } cases[] = {
        {0, 5, false}, {0, 0x90000000u, false}, {1700, 1699, true}, {1700, 1700, false}, {1700, 1701, false},
        {0x10, 0xFFFFFF00u, true},  // set just before the tick count wrapped
        {0xFFFFFF00u, 0x10, false},
    };
    for (const auto& c : cases) {
        Terminal t;
        t.bellFlashUntil = c.until;
        EXPECT_EQ(bellShowing(t, c.now), c.showing) << c.until << " at " << c.now;
    }
}

// After a paint of an unchanged 700 x 500 window every condition holds;
// each cause turns exactly the named one off.
TEST(PaintGate, EachConditionFailsOnItsOwnCause) {
    struct State {
        Terminal t;
        RenderCache cache;
        GateInputs in{true, false, 700, 500, 1000};
    };
    const std::pair<const char*, std::function<void(State&)>> cases[] = {
        {"", [](State&) {}},
        {"buf", [](State& s) { s.in.haveBackBuffer = false; }},
        {"cache", [](State& s) { s.t.fontValid = 0; }},
        {"cache", [](State& s) { s.cache.fitHeight = 499; }},
        {"shadow", [](State& s) { s.cache.shadowValid = false; }},
        {"bbBare", [](State& s) { s.cache.bufferBare = false; }},
        {"bare", [](State& s) { s.in.backgroundImageLoaded = true; }},
        {"bare", [](State& s) { s.t.glass.placements.emplace_back(); }},
        {"bare", [](State& s) { s.t.glass.keyColourSet = true; }},
        {"geom", [](State& s) { s.cache.lastCols = 132; }},
        {"geom", [](State& s) { s.cache.lastRows = 24; }},
        {"geom", [](State& s) { s.cache.lastWidth = 701; }},
        {"geom", [](State& s) { s.cache.lastHeight = 501; }},
        {"geom", [](State& s) { s.cache.shadowRows.pop_back(); }},
        {"blink", [](State& s) { s.t.blinkPhase = 0; }},
        {"blink", [](State& s) { s.t.selectionPresent = 1; }},
        {"blink", [](State& s) { s.t.bellFlashUntil = 1500; }},
        {"", [](State& s) { s.t.bellFlashUntil = 1000; }},
    };
    for (const auto& [gate, cause] : cases) {
        State s;
        s.t.fontValid = 1;
        s.cache.fitWidth = s.cache.lastWidth = 700;
        s.cache.fitHeight = s.cache.lastHeight = 500;
        s.cache.lastCols = 80;
        s.cache.lastRows = 25;
        s.cache.shadowRows = s.t.grid;
        s.cache.shadowValid = s.cache.bufferBare = true;
        cause(s);
        const GateFlags g = evaluateGate(s.t, s.cache, s.in);
        std::string off;
        for (const auto& [on, name] : {std::pair{g.buf, "buf"}, {g.cache, "cache"}, {g.shadow, "shadow"},
                                       {g.bbBare, "bbBare"}, {g.bare, "bare"}, {g.geom, "geom"}, {g.blink, "blink"}})
            if (!on) off += name;
        EXPECT_EQ(off, gate);
        EXPECT_EQ(g.all(), off.empty()) << gate;
    }
}

TEST(FastPathSwitch, OnlyALeadingOneTurnsItOffReadOnceForTheRun) {
    const std::pair<const char*, bool> cases[] = {{nullptr, true}, {"1", false}, {"10", false}, {"1yes", false},
                                                  {"0", true},     {"", true},   {" 1", true},  {"yes", true}};
    for (const auto& [value, allowed] : cases)
        EXPECT_EQ(fastPathFromEnvironment(value), allowed) << (value ? value : "(unset)");
    // The only place in this program that asks the process-wide switch.
    for (const char* value : {"1", "0"}) {
#ifdef _WIN32
        _putenv_s("ORVANE_NOFAST", value);
#else
        setenv("ORVANE_NOFAST", value, 1);
#endif
        EXPECT_FALSE(fastPathAllowed()) << value;
    }
}

}  // namespace
}  // namespace orvane
