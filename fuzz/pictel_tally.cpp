#include "pictel_tally.h"

#include <cstdio>
#include <cstdlib>

namespace orvane::fuzzing {

namespace {

// Chunk acknowledgements carry the device's numbers: counted together.
std::string replyKey(const Reply& r) {
    if (r.kind == Reply::Kind::Pictel)
        return std::to_string(r.first) + ";" + (r.first == 3 ? std::string("n") : std::to_string(r.third)) + "w";
    return describeReply(r);
}

unsigned long long u(uint64_t v) { return v; }

}  // namespace

void Tally::countStep(const Step& step, bool dispatched, const std::vector<Reply>& stepReplies) {
    ++steps;
    programBytes += step.bytes.size();
    if (step.kind == StepKind::Csi && dispatched) ++csiFinals[step.finalByte];
    if (step.kind == StepKind::Apc && dispatched) ++apcOps[size_t(step.op)];
    if (step.kind == StepKind::Host) ++hostActions[size_t(step.action)];
    for (const Reply& r : stepReplies) ++replies[replyKey(r)];
}

void Tally::print() const {
    std::fprintf(stderr, "pictel_fuzzer stats: %llu inputs, %llu steps, %llu bytes generated, %llu stopped by the "
                 "work budget, largest canvas %lld pixels\n",
                 u(inputs), u(steps), u(programBytes), u(budgetStops), static_cast<long long>(largestCanvas));
    std::fprintf(stderr, "  CSI \"=\" commands dispatched by final byte:");
    for (size_t f = 0; f < csiFinals.size(); ++f)
        if (csiFinals[f]) std::fprintf(stderr, " %c=%llu", char(f), u(csiFinals[f]));
    std::fprintf(stderr, "\n  APC \"G\" commands dispatched by operation:");
    for (size_t op = 0; op < apcOps.size(); ++op) std::fprintf(stderr, " %s=%llu", apcOpName(ApcOp(op)), u(apcOps[op]));
    std::fprintf(stderr, "\n  host actions:");
    for (size_t a = 0; a < hostActions.size(); ++a)
        std::fprintf(stderr, " [%s]=%llu", hostActionName(HostAction(a)), u(hostActions[a]));
    std::fprintf(stderr, "\n  replies:");
    for (const auto& [reply, count] : replies) std::fprintf(stderr, " %s x%llu", reply.c_str(), u(count));
    std::fprintf(stderr, "\n");
}

Tally* processTally() {
    static Tally* instance = [] {
        const char* value = std::getenv("PICTEL_FUZZER_STATS");
        if (value == nullptr || *value == '\0' || *value == '0') return static_cast<Tally*>(nullptr);
        static Tally tally;
        std::atexit([] { tally.print(); });
        return &tally;
    }();
    return instance;
}

}  // namespace orvane::fuzzing
