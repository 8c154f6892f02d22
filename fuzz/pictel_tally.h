#pragma once

// What the fuzz inputs reached, counted when PICTEL_FUZZER_STATS is set and
// printed at exit: which commands the terminal dispatched, which host
// actions ran, which replies came back.

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "pictel_generator.h"
#include "pictel_invariants.h"

namespace orvane::fuzzing {

struct Tally {
    uint64_t inputs = 0;
    uint64_t steps = 0;
    uint64_t programBytes = 0;
    uint64_t budgetStops = 0;
    int64_t largestCanvas = 0;
    std::array<uint64_t, 256> csiFinals{};
    std::array<uint64_t, size_t(ApcOp::Count)> apcOps{};
    std::array<uint64_t, size_t(HostAction::Count)> hostActions{};
    std::map<std::string, uint64_t> replies;

    // dispatched: whether the step moved layerGeneration.
    void countStep(const Step& step, bool dispatched, const std::vector<Reply>& stepReplies);
    void print() const;
};

// The process's tally, or none when PICTEL_FUZZER_STATS is not set.
Tally* processTally();

}  // namespace orvane::fuzzing
