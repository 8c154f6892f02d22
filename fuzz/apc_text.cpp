#include "apc_text.h"

#include <string_view>
#include <utility>

namespace orvane::fuzzing {

namespace {

// The Pictel integer rule, read independently of the terminal's: sign,
// digits up to the first non-digit, 32-bit wrap.
int32_t readPictelInteger(std::string_view text) {
    size_t i = 0;
    bool minus = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) minus = text[i++] == '-';
    uint32_t value = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') value = value * 10u + uint32_t(text[i++] - '0');
    return int32_t(minus ? 0u - value : value);
}

std::string_view trimmed(std::string_view s) {
    const size_t first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

}  // namespace

void modelApc(const ApcText& cmd, Step& step) {
    bool hasId = false;
    bool hasMore = false;
    int32_t more = 0;
    std::string op;
    for (const ApcItem& item : cmd.items) {
        if (item.withoutEquals) continue;
        const std::string_view key = trimmed(item.key);
        const std::string_view value = trimmed(item.value);
        if (key == "i") {
            hasId = true;
            step.id = readPictelInteger(value);
        } else if (key == "m") {
            hasMore = true;
            more = readPictelInteger(value);
        } else if (key == "n") {
            step.chunkNumber = readPictelInteger(value);
        } else if (key == "op") {
            op = value;
        }
    }
    step.opText = op;
    step.validId = hasId && step.id >= 0;
    step.finalChunk = hasMore && more == 0;
    const std::pair<const char*, ApcOp> named[] = {{"repo", ApcOp::Repo}, {"play", ApcOp::Play},
                                                   {"stop", ApcOp::Stop}, {"off", ApcOp::Offer},
                                                   {"use", ApcOp::Use},   {"stat", ApcOp::Stat}};
    step.op = ApcOp::Chunk;
    for (const auto& [name, value] : named)
        if (op == name) step.op = value;
}

std::string serialise(const ApcText& cmd) {
    std::string text = "G";
    for (size_t i = 0; i < cmd.items.size(); ++i) {
        const ApcItem& item = cmd.items[i];
        if (i) text.push_back(',');
        text += item.padBefore + item.key + item.padAfter;
        if (item.withoutEquals) continue;
        text += "=" + item.padBefore + item.value + item.padAfter;
    }
    if (cmd.hasPayload) text += ";" + cmd.payload;
    return text;
}

}  // namespace orvane::fuzzing
