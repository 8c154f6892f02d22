#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orvane::bench {

// One benchmark input: the bytes a device might send, and the grid both
// engines are set to before they read them.
struct Scenario {
    std::string name;
    int32_t cols = 80;
    int32_t rows = 25;
    std::vector<uint8_t> bytes;
};

// The scenarios whose name contains `nameContains` (all for an empty
// text), each about `bytesPerScenario` long. The same size gives the same
// bytes on every run and every machine (fixed-seed generator).
std::vector<Scenario> makeScenarios(size_t bytesPerScenario, std::string_view nameContains);

}  // namespace orvane::bench
