#include "command_expectations.h"

namespace orvane::fuzzing {

namespace {

std::string csiReplyProblem(const Terminal& t, const Step& step, const std::vector<Reply>& replies) {
    if (step.finalByte != 'n') return replies.empty() ? "" : "a drawing or store command replied";
    if (replies.size() != 1 || replies[0].kind != Reply::Kind::Size || replies[0].first != t.rows ||
        replies[0].second != t.cols)
        return "the size query did not answer the grid size";
    return {};
}

// A load that succeeded shows the picture; one that failed shows the
// placeholder instead.
std::string repoCanvasProblem(const Terminal& t, int32_t id, int64_t value) {
    const auto it = t.glass.canvases.find(id);
    if (it == t.glass.canvases.end()) return "\"repo\" left no canvas behind";
    if (value != 0 && (it->second.width != kPlaceholderWidth || it->second.height != kPlaceholderHeight))
        return "a failed \"repo\" shows no placeholder";
    return {};
}

std::string chunkReplyProblem(const Terminal& t, const Step& step, const std::vector<Reply>& replies) {
    if (replies.empty()) return {};
    const Reply& r = replies[0];
    if (replies.size() > 1 || r.kind != Reply::Kind::Pictel || r.second != step.id)
        return "a data chunk answered more than once or for another id";
    if (!step.finalChunk) return r.first == 3 && r.third == step.chunkNumber ? "" : "a chunk was misacknowledged";
    if (r.first != 4 || r.third > 2) return "a final chunk answered with other than code 4 value 0 to 2";
    return r.third != 0 || t.glass.canvases.count(step.id) ? "" : "a transfer answered 0 but shows no canvas";
}

std::string apcReplyProblem(const Terminal& t, const Step& step, const std::vector<Reply>& replies) {
    if (step.op == ApcOp::Stat || !step.validId) return replies.empty() ? "" : "a command without reply replied";
    if (step.op == ApcOp::Chunk) return chunkReplyProblem(t, step, replies);
    if (replies.size() != 1 || replies[0].kind != Reply::Kind::Pictel || replies[0].second != step.id)
        return std::string("\"") + apcOpName(step.op) + "\" did not answer exactly once for its id";
    const Reply& r = replies[0];
    switch (step.op) {
    case ApcOp::Repo: return r.first == 1 ? repoCanvasProblem(t, step.id, r.third) : "\"repo\" answered another code";
    case ApcOp::Play: return r.first == 5 ? "" : "\"play\" answered another code";
    case ApcOp::Stop: return r.first == 5 && r.third == 0 ? "" : "\"stop\" did not answer 5 with value 0";
    case ApcOp::Offer: return r.first == 2 ? "" : "\"off\" answered another code";
    case ApcOp::Use:
        if (r.first != 4) return "\"use\" answered another code";
        return r.third != 0 || t.glass.canvases.count(step.id) ? "" : "\"use\" answered 0 but shows no canvas";
    default: return {};
    }
}

}  // namespace

std::string findReplyProblem(const Terminal& t, const Step& step, const std::vector<Reply>& replies) {
    return step.kind == StepKind::Csi ? csiReplyProblem(t, step, replies) : apcReplyProblem(t, step, replies);
}

}  // namespace orvane::fuzzing
