// Routes Pictel commands from the parser to the parts that carry them out,
// and formats the replies.
#include <new>
#include <string>

#include "pictel/apc_command.h"
#include "pictel/draw_commands.h"
#include "pictel/glass_commands.h"
#include "pictel/media_commands.h"
#include "pictel/media_replies.h"
#include "pictel/pictel_hooks.h"
#include "pictel/pictel_reply.h"
#include "terminal/terminal.h"

namespace orvane {

namespace {

constexpr size_t kStatLabelLimit = 64;

void appendText(Terminal& t, const std::string& s) { t.replies.insert(t.replies.end(), s.begin(), s.end()); }

void setStatMark(Terminal& t, const ApcCommand& cmd) {
    int32_t kind = 0;
    if (cmd.action == "start") kind = 1;
    else if (cmd.action == "mark") kind = 2;
    else if (cmd.action == "stop") kind = 3;
    if (kind == 0) return;
    t.statMark = {kind, cmd.label.substr(0, kStatLabelLimit), t.cols, t.rows};
}

void dispatchApcCommand(Terminal& t, const ApcCommand& cmd) {
    if (cmd.op == "stat") {
        setStatMark(t, cmd);
        return;
    }
    if (!cmd.hasId || cmd.id < 0) return;
    if (cmd.op == "repo") {
        sendPictelReply(t, kReplyRepo, cmd.id, loadRepoImageCommand(t, cmd.id, cmd.path));
    } else if (cmd.op == "play") {
        sendPictelReply(t, kReplySound, cmd.id, playSoundCommand(t, cmd.id, cmd.path, cmd.loop != 0));
    } else if (cmd.op == "stop") {
        stopSoundCommand(t);
        sendPictelReply(t, kReplySound, cmd.id, kSoundPlaying);
    } else if (cmd.op == "off") {
        sendPictelReply(t, kReplyOffer, cmd.id, offerImage(t, cmd.id, cmd.crc, cmd.len, cmd.format));
    } else if (cmd.op == "use") {
        sendPictelReply(t, kReplyTransfer, cmd.id, useOfferedImage(t, cmd.id));
    } else {
        appendChunk(t, cmd.id, cmd.payload, cmd.newTransfer, cmd.hasMore, cmd.more, cmd.chunkNumber);
    }
}

using Params = std::vector<int32_t>;

void sizeQuery(Terminal& t) {
    appendText(t, "\x1b[=" + std::to_string(t.rows) + ";" + std::to_string(t.cols) + "y");
}

// The commands that have a form without parameters take it here.
bool runBareForm(Terminal& t, uint8_t finalByte, const Params& p) {
    switch (finalByte) {
    case 'F': pictelFillColour(t, {}); return true;
    case 'R': pictelStrokeColour(t, {}); return true;
    case 'K': deleteCanvas(t, p, true); return true;
    case 'S':
    case 'H': return true;  // nothing without a parameter
    default: return false;
    }
}

struct CsiCommand {
    uint8_t finalByte;
    size_t minimum;
    void (*run)(Terminal&, const Params&);
};

const CsiCommand kCsiCommands[] = {
    {'B', 5, pictelRectangle},
    {'C', 4, pictelCircle},
    {'D', 7, placeCanvas},
    {'E', 5, pictelEllipse},
    {'F', 3, pictelFillColour},
    {'H', 1, [](Terminal& t, const Params& p) { setHold(t, p, false); }},
    {'I', 3, createCanvas},
    {'K', 1, [](Terminal& t, const Params& p) { deleteCanvas(t, p, false); }},
    {'L', 5, pictelLine},
    {'M', 5, pictelArrow},
    {'N', 5, pictelHand},
    {'O', 4, setGlassOrigin},
    {'R', 3, pictelStrokeColour},
    {'S', 1, [](Terminal& t, const Params& p) { showPlacement(t, p, false); }},
    {'T', 3, setKeyColour},
    {'V', 1, setCanvasView},
    {'X', 1, clearCanvas},
    {'Z', 0, [](Terminal& t, const Params&) { resetGlass(t); }},
    {'n', 0, [](Terminal& t, const Params&) { sizeQuery(t); }},
};

}  // namespace

void sendPictelReply(Terminal& t, int32_t code, int32_t id, int32_t value) {
    appendText(t, "\x1b[=" + std::to_string(code) + ";" + std::to_string(id) + ";" + std::to_string(value) + "w");
}

void dispatchPictelApc(Terminal& t) {
    if (t.apcText.empty() || t.apcText[0] != 'G') return;
    ++t.layerGeneration;
    try {
        const ApcCommand cmd = parseApcCommand(std::string_view(t.apcText).substr(1));
        dispatchApcCommand(t, cmd);
    } catch (const std::bad_alloc&) {
        // Out of memory for this command: dropped like any malformed one.
    }
}

void dispatchPictelCsi(Terminal& t, uint8_t finalByte) {
    ++t.layerGeneration;
    // One empty parameter field is how a sequence without parameters reads.
    const bool bare = t.params.size() == 1 && t.paramEmpty;
    const Params p(t.params.begin(), t.params.end());
    if (bare && runBareForm(t, finalByte, p)) return;
    const size_t count = bare ? 0 : p.size();
    for (const CsiCommand& c : kCsiCommands) {
        if (c.finalByte != finalByte) continue;
        if (count >= c.minimum) c.run(t, p);
        return;
    }
}

}  // namespace orvane
