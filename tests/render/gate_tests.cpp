#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

#include "render/fast_path_switch.h"
#include "render/paint_gate.h"

namespace orvane {
namespace {

TEST(PaintGate, BellShowsUntilItsTickAndZeroMeansNone) {
    struct Case {
        uint32_t until, now;
        bool showing;
    };
    const std::vector<Case> cases = {
        {0, 5, false},           {0, 0x90000000u, false}, {1700, 1000, true},
        {1700, 1699, true},      {1700, 1700, false},     {1700, 1701, false},
        {0x10, 0xFFFFFF00u, true},  // set just before the tick count wrapped
        {0xFFFFFF00u, 0x10, false},
    };
    for (const Case& c : cases) {
        Terminal t;
        t.bellFlashUntil = c.until;
        EXPECT_EQ(bellShowing(t, c.now), c.showing) << c.until << " at " << c.now;
    }
}

// A terminal and cache as they are after a paint of an unchanged 700 x 500
// window: every condition holds.
struct GateState {
    Terminal t;
    RenderCache cache;
    GateInputs in{true, false, 700, 500, 1000};
    GateState() {
        t.fontValid = 1;
        cache.fitWidth = cache.lastWidth = 700;
        cache.fitHeight = cache.lastHeight = 500;
        cache.lastCols = 80;
        cache.lastRows = 25;
        cache.shadowRows = t.grid;
        cache.shadowValid = cache.bufferBare = true;
    }
};

TEST(PaintGate, EachConditionFailsOnItsOwnCause) {
    struct Case {
        const char* gate;
        std::function<void(GateState&)> cause;
    };
    const std::vector<Case> cases = {
        {"", [](GateState&) {}},
        {"buf", [](GateState& s) { s.in.haveBackBuffer = false; }},
        {"cache", [](GateState& s) { s.t.fontValid = 0; }},
        {"cache", [](GateState& s) { s.cache.fitHeight = 499; }},
        {"shadow", [](GateState& s) { s.cache.shadowValid = false; }},
        {"bbBare", [](GateState& s) { s.cache.bufferBare = false; }},
        {"bare", [](GateState& s) { s.in.backgroundImageLoaded = true; }},
        {"bare", [](GateState& s) { s.t.glass.placements.emplace_back(); }},
        {"bare", [](GateState& s) { s.t.glass.keyColourSet = true; }},
        {"geom", [](GateState& s) { s.cache.lastCols = 132; }},
        {"geom", [](GateState& s) { s.cache.lastRows = 24; }},
        {"geom", [](GateState& s) { s.cache.lastWidth = 701; }},
        {"geom", [](GateState& s) { s.cache.lastHeight = 501; }},
        {"geom", [](GateState& s) { s.cache.shadowRows.pop_back(); }},
        {"blink", [](GateState& s) { s.t.blinkPhase = 0; }},
        {"blink", [](GateState& s) { s.t.selectionPresent = 1; }},
        {"blink", [](GateState& s) { s.t.bellFlashUntil = 1500; }},
        {"", [](GateState& s) { s.t.bellFlashUntil = 1000; }},
    };
    for (const Case& c : cases) {
        GateState s;
        c.cause(s);
        const GateFlags g = evaluateGate(s.t, s.cache, s.in);
        const std::pair<bool, std::string> flags[] = {
            {g.buf, "buf"},   {g.cache, "cache"}, {g.shadow, "shadow"}, {g.bbBare, "bbBare"},
            {g.bare, "bare"}, {g.geom, "geom"},   {g.blink, "blink"}};
        for (const auto& [on, name] : flags) EXPECT_EQ(on, name != c.gate) << c.gate << ": " << name;
        EXPECT_EQ(g.all(), std::string(c.gate).empty()) << c.gate;
    }
}

TEST(FastPathSwitch, OnlyALeadingOneTurnsItOff) {
    const std::vector<std::pair<const char*, bool>> cases = {
        {nullptr, true}, {"1", false}, {"10", false}, {"1yes", false},
        {"0", true},     {"", true},   {" 1", true},  {"yes", true},
    };
    for (const auto& [value, allowed] : cases)
        EXPECT_EQ(fastPathFromEnvironment(value), allowed) << (value ? value : "(unset)");
}

void setNoFast(const char* value) {
#ifdef _WIN32
    _putenv_s("ORVANE_NOFAST", value);
#else
    setenv("ORVANE_NOFAST", value, 1);
#endif
}

// The only test in this program that asks the process-wide switch.
TEST(FastPathSwitch, ReadOnceForTheWholeRun) {
    setNoFast("1");
    EXPECT_FALSE(fastPathAllowed());
    setNoFast("0");
    EXPECT_FALSE(fastPathAllowed());
}

}  // namespace
}  // namespace orvane
