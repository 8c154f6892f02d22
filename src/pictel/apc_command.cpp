#include "pictel/apc_command.h"

namespace orvane {

namespace {

std::string_view trimBlanks(std::string_view s) {
    const size_t first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const size_t last = s.find_last_not_of(" \t");
    return s.substr(first, last - first + 1);
}

void applyKey(ApcCommand& cmd, std::string_view key, std::string_view value) {
    if (key == "i") {
        cmd.id = pictelInteger(value);
        cmd.hasId = true;
    } else if (key == "m") {
        cmd.more = pictelInteger(value);
        cmd.hasMore = true;
    } else if (key == "n") {
        cmd.chunkNumber = pictelInteger(value);
    } else if (key == "loop") {
        cmd.loop = pictelInteger(value);
    } else if (key == "op") {
        cmd.op = value;
    } else if (key == "path") {
        cmd.path = value;
    } else if (key == "a") {
        cmd.action = value;
    } else if (key == "t") {
        cmd.label = value;
    } else if (key == "crc") {
        cmd.crc = value;
    } else if (key == "len") {
        cmd.len = value;
    } else if (key == "f") {
        cmd.format = value;
        cmd.newTransfer = true;
    } else if (key == "w" || key == "h") {
        cmd.newTransfer = true;
    }
}

}  // namespace

int32_t pictelInteger(std::string_view text) {
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    uint32_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) value = value * 10u + uint32_t(text[i] - '0');
    if (negative) value = 0u - value;
    return int32_t(value);
}

ApcCommand parseApcCommand(std::string_view afterG) {
    ApcCommand cmd;
    const size_t semicolon = afterG.find(';');
    std::string_view control = afterG.substr(0, semicolon);
    if (semicolon != std::string_view::npos) cmd.payload = afterG.substr(semicolon + 1);
    while (true) {
        const size_t comma = control.find(',');
        const std::string_view item = control.substr(0, comma);
        const size_t eq = item.find('=');
        if (eq != std::string_view::npos) applyKey(cmd, trimBlanks(item.substr(0, eq)), trimBlanks(item.substr(eq + 1)));
        if (comma == std::string_view::npos) break;
        control.remove_prefix(comma + 1);
    }
    return cmd;
}

}  // namespace orvane
