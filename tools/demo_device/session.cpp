#include "session.h"

#include <chrono>

#include "shell.h"

namespace orvane::demo {

namespace {

// Bytes of flood output produced between two looks at the input, so a key
// stops a flood quickly.
constexpr size_t kFloodBudget = 64 * 1024;

Now currentTime() {
    using namespace std::chrono;
    const auto tick = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    const auto wall = duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
    return {uint32_t(tick), int64_t(wall)};
}

}  // namespace

void runSession(Link& link) {
    DemoShell shell;
    if (!link.write(shell.greet())) return;
    std::string input;
    std::string output;
    while (!shell.finished()) {
        input.clear();
        output.clear();
        if (link.read(input, shell.waitMs(currentTime().tickMs)) == ReadStatus::Closed) return;
        if (!input.empty()) shell.receive(input, currentTime(), output);
        shell.poll(currentTime(), output, kFloodBudget);
        if (!output.empty() && !link.write(output)) return;
    }
}

}  // namespace orvane::demo
