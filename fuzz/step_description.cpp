// Steps as readable text, for traces and reproducers.
#include <cstdio>
#include <iterator>

#include "pictel_generator.h"

namespace orvane::fuzzing {

std::string escapeBytes(const std::string& bytes) {
    std::string out;
    for (const char c : bytes) {
        const uint8_t b = uint8_t(c);
        if (b == '\\' || b == '"') {
            out.push_back('\\');
            out.push_back(c);
        } else if (b >= 0x20 && b < 0x7F) {
            out.push_back(c);
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", b);
            out += escaped;
        }
    }
    return out;
}

const char* hostActionName(HostAction action) {
    static constexpr const char* kNames[] = {
        "set geometry",       "clear screen",        "switch media cache",  "switch media repository",
        "switch sounds",      "clear media cache",   "switch cache folder", "switch repository folder",
        "set write mode",     "switch rename failure", "switch read failure", "switch player refusal",
        "touch repository file", "tamper with cache file"};
    static_assert(std::size(kNames) == size_t(HostAction::Count));
    return kNames[size_t(action)];
}

const char* apcOpName(ApcOp op) {
    static constexpr const char* kNames[] = {"chunk", "repo", "play", "stop", "off", "use", "stat"};
    static_assert(std::size(kNames) == size_t(ApcOp::Count));
    return kNames[size_t(op)];
}

std::string describeStep(const Step& step) {
    std::string text;
    switch (step.kind) {
    case StepKind::Host:
        return std::string("host: ") + hostActionName(step.action) + " (" + std::to_string(step.argument) + ")";
    case StepKind::Csi: text = std::string("csi ") + char(step.finalByte); break;
    case StepKind::Apc: text = std::string("apc ") + apcOpName(step.op); break;
    case StepKind::Raw: text = "raw"; break;
    }
    text += ": \"" + escapeBytes(step.bytes) + "\"";
    if (!step.cuts.empty()) {
        text += " fed in " + std::to_string(step.cuts.size() + 1) + " calls, cut at";
        for (const size_t cut : step.cuts) text += " " + std::to_string(cut);
    }
    return text;
}

}  // namespace orvane::fuzzing
