#include "case_format.h"

#include <cstdio>
#include <functional>
#include <map>
#include <sstream>
#include <stdexcept>

#include "terminal/selection.h"
#include "terminal/terminal.h"

namespace orvane::testing {

namespace {

struct Step {
    int line = 0;
    std::string verb;
    std::string rest;    // everything after the verb
    std::string bytes;   // feeds: the decoded bytes
};

// How the feeds of one run are delivered.
struct Delivery {
    std::string name;
    size_t splitStep = SIZE_MAX;  // the feed step cut in two, if any
    size_t splitAt = 0;
    bool bytewise = false;
};

std::string trim(const std::string& s) {
    const size_t a = s.find_first_not_of(" \t");
    if (a == std::string::npos) return {};
    const size_t b = s.find_last_not_of(" \t\r");
    return s.substr(a, b - a + 1);
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    throw std::runtime_error(std::string("bad hex digit '") + c + "'");
}

uint32_t parseHex(const std::string& s) {
    uint32_t v = 0;
    for (char c : s) v = v * 16 + uint32_t(hexDigit(c));
    return v;
}

void appendUtf16AsUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

std::string utf16ToUtf8(const std::u16string& s) {
    std::string out;
    for (char16_t c : s) appendUtf16AsUtf8(out, c);
    return out;
}

// A quoted string argument, escapes decoded; \uXXXX becomes UTF-8.
std::string quoted(const std::string& rest, size_t& pos) {
    const size_t open = rest.find('"', pos);
    if (open == std::string::npos) throw std::runtime_error("expected a quoted string");
    std::string raw;
    size_t i = open + 1;
    for (; i < rest.size() && rest[i] != '"'; ++i) {
        raw += rest[i];
        if (rest[i] == '\\' && i + 1 < rest.size()) raw += rest[++i];
    }
    if (i >= rest.size()) throw std::runtime_error("unterminated string");
    pos = i + 1;
    std::string out;
    for (size_t k = 0; k < raw.size(); ++k) {
        if (raw[k] == '\\' && k + 5 < raw.size() && raw[k + 1] == 'u') {
            appendUtf16AsUtf8(out, parseHex(raw.substr(k + 2, 4)));
            k += 5;
        } else {
            const size_t next = raw.find("\\u", k);
            const size_t len = (next == std::string::npos ? raw.size() : next) - k;
            out += unescape(raw.substr(k, len));
            k += len - 1;
        }
    }
    return out;
}

std::string rowText(const Terminal& t, int32_t row, int32_t col, size_t count) {
    std::u16string s;
    const Row& r = t.grid.at(size_t(row));
    for (size_t c = size_t(col); c < r.size() && s.size() < count; ++c) s += r[c].ch;
    return utf16ToUtf8(s);
}

std::string trimmedRow(const Terminal& t, int32_t row) {
    std::u16string s;
    for (const Cell& c : t.grid.at(size_t(row))) s += c.ch;
    s.erase(s.find_last_not_of(u' ') + 1);
    return utf16ToUtf8(s);
}

std::string bytesForMessage(const std::string& s) {
    std::string out;
    for (unsigned char c : s) {
        if (c == 0x1B) {
            out += "\\e";
        } else if (c < 0x20 || c >= 0x7F) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02X", c);
            out += buf;
        } else {
            out += char(c);
        }
    }
    return out;
}

// Terminal fields and cell keys a script may name.
#define ORVANE_FIELD(f) {#f, [](const Terminal& x) { return int64_t(x.f); }}
#define ORVANE_SIZE(name, f) {name, [](const Terminal& x) { return int64_t(x.f.size()); }}
#define ORVANE_KEY(k) {#k, [](const Cell& x) { return int64_t(x.k); }}

int64_t fieldValue(const Terminal& t, const std::string& name) {
    static const std::map<std::string, std::function<int64_t(const Terminal&)>> fields = {
        ORVANE_FIELD(cols), ORVANE_FIELD(rows), ORVANE_FIELD(savedRow), ORVANE_FIELD(savedCol),
        ORVANE_FIELD(cursorVisible), ORVANE_FIELD(scrollTop), ORVANE_FIELD(scrollBottom),
        ORVANE_FIELD(autoWrap), ORVANE_FIELD(originMode), ORVANE_FIELD(altScreen),
        ORVANE_FIELD(altSavedRow), ORVANE_FIELD(altSavedCol), ORVANE_FIELD(charset),
        ORVANE_FIELD(pendingWrap), ORVANE_FIELD(layerGeneration), ORVANE_FIELD(parserState),
        ORVANE_FIELD(displayMode), ORVANE_FIELD(dirty), ORVANE_FIELD(bellPending), ORVANE_FIELD(penFg),
        ORVANE_FIELD(penBg), ORVANE_FIELD(penBold), ORVANE_FIELD(penReverse), ORVANE_FIELD(penFgDirect),
        ORVANE_FIELD(penBgDirect), ORVANE_FIELD(penFgRgb), ORVANE_FIELD(penBgRgb),
        ORVANE_FIELD(geometryChanged), ORVANE_FIELD(selecting), ORVANE_FIELD(selectionPresent),
        ORVANE_FIELD(selectionCaret.row), ORVANE_FIELD(selectionCaret.col),
        ORVANE_SIZE("paramCount", params), ORVANE_SIZE("apcSize", apcText),
        ORVANE_SIZE("oscSize", oscText), ORVANE_SIZE("savedMainRows", savedMainRows),
    };
    const auto it = fields.find(name);
    if (it == fields.end()) throw std::runtime_error("unknown field " + name);
    return it->second(t);
}

int64_t cellAttribute(const Cell& c, const std::string& key) {
    static const std::map<std::string, std::function<int64_t(const Cell&)>> keys = {
        ORVANE_KEY(ch), ORVANE_KEY(fg), ORVANE_KEY(bg), ORVANE_KEY(bold), ORVANE_KEY(underline),
        ORVANE_KEY(dim), ORVANE_KEY(italic), ORVANE_KEY(blink), ORVANE_KEY(strike),
        ORVANE_KEY(fgDirect), ORVANE_KEY(bgDirect), ORVANE_KEY(fgRgb), ORVANE_KEY(bgRgb),
    };
    const auto it = keys.find(key);
    if (it == keys.end()) throw std::runtime_error("unknown cell key " + key);
    return it->second(c);
}

// Expected values are written as the tables write them: colours RRGGBB,
// characters as U+XXXX hex, everything else decimal.
int64_t expectedAttribute(const std::string& key, const std::string& value) {
    if (key == "fgRgb" || key == "bgRgb") return rgb(parseHex(value) >> 16, parseHex(value) >> 8, parseHex(value));
    if (key == "ch") return parseHex(value);
    return std::stoll(value);
}

class Runner {
public:
    Runner(const std::vector<Step>& steps, const Delivery& d, std::vector<std::string>& failures)
        : steps_(steps), delivery_(d), failures_(failures) {}

    void run() {
        for (size_t i = 0; i < steps_.size(); ++i) {
            try {
                runStep(i, steps_[i]);
            } catch (const std::exception& e) {
                fail(steps_[i], e.what());
            }
        }
        std::vector<uint8_t> left;
        if (takeReplies(t_, left)) {
            failures_.push_back("[" + delivery_.name + "] unexpected replies at the end: \"" +
                                bytesForMessage(std::string(left.begin(), left.end())) + "\"");
        }
    }

    const Terminal& terminal() const { return t_; }

private:
    void fail(const Step& s, const std::string& what) {
        failures_.push_back("[" + delivery_.name + "] line " + std::to_string(s.line) + " (" + s.verb +
                            " " + s.rest + "): " + what);
    }

    void feedBytes(const std::string& b, size_t from, size_t to) {
        if (to > from) feed(t_, reinterpret_cast<const uint8_t*>(b.data()) + from, to - from);
    }

    void deliver(size_t index, const std::string& b) {
        if (delivery_.bytewise) {
            for (size_t k = 0; k < b.size(); ++k) feedBytes(b, k, k + 1);
        } else if (index == delivery_.splitStep) {
            feedBytes(b, 0, delivery_.splitAt);
            feedBytes(b, delivery_.splitAt, b.size());
        } else {
            feedBytes(b, 0, b.size());
        }
    }

    template <typename T>
    void expectEqual(const Step& s, const T& actual, const T& expected) {
        if (actual == expected) return;
        std::ostringstream msg;
        msg << "expected " << expected << ", got " << actual;
        fail(s, msg.str());
    }

    void expectCellAttributes(const Step& s, const Cell& cell, std::istringstream& in) {
        std::string kv;
        while (in >> kv) {
            const size_t eq = kv.find('=');
            if (eq == std::string::npos) throw std::runtime_error("expected key=value, got " + kv);
            const std::string key = kv.substr(0, eq);
            expectEqual(s, cellAttribute(cell, key), expectedAttribute(key, kv.substr(eq + 1)));
        }
    }

    void runStep(size_t index, const Step& s) {
        std::istringstream in(s.rest);
        if (s.verb == "<") {
            deliver(index, s.bytes);
        } else if (s.verb == "mode") {
            setDisplayMode(t_, trim(s.rest));
        } else if (s.verb == "palette") {
            setPalette(t_, trim(s.rest));
        } else if (s.verb == "geometry") {
            int32_t c = 0, r = 0;
            in >> c >> r;
            setGeometry(t_, c, r);
        } else if (s.verb == "row") {
            int32_t r = 0;
            in >> r;
            size_t pos = size_t(in.tellg());
            expectEqual(s, "\"" + trimmedRow(t_, r) + "\"", "\"" + quoted(s.rest, pos) + "\"");
        } else if (s.verb == "at") {
            int32_t r = 0, c = 0;
            in >> r >> c;
            size_t pos = size_t(in.tellg());
            const std::string want = quoted(s.rest, pos);
            const std::string got = rowText(t_, r, c, countCodeUnits(want));
            expectEqual(s, "\"" + got + "\"", "\"" + want + "\"");
        } else if (s.verb == "cursor") {
            int32_t r = 0, c = 0;
            in >> r >> c;
            expectEqual(s, std::to_string(t_.cursorRow) + "," + std::to_string(t_.cursorCol),
                        std::to_string(r) + "," + std::to_string(c));
        } else if (s.verb == "cell") {
            int32_t r = 0, c = 0;
            in >> r >> c;
            expectCellAttributes(s, t_.grid.at(size_t(r)).at(size_t(c)), in);
        } else if (s.verb == "cells") {
            int32_t r = 0;
            in >> r;
            const auto attrs = in.str().substr(size_t(in.tellg()));
            for (const Cell& cell : t_.grid.at(size_t(r))) {
                std::istringstream each(attrs);
                expectCellAttributes(s, cell, each);
            }
        } else if (s.verb == "field") {
            std::string name;
            int64_t v = 0;
            in >> name >> v;
            expectEqual(s, fieldValue(t_, name), v);
        } else if (s.verb == "drag") {
            CellPos from, to;
            in >> from.row >> from.col >> to.row >> to.col;
            beginSelectionAt(t_, from);
            extendSelectionTo(t_, to);
            endSelection(t_);
        } else if (s.verb == "click") {
            CellPos at;
            in >> at.row >> at.col;
            beginSelectionAt(t_, at);
            endSelection(t_);
        } else if (s.verb == "selectall") {
            selectAll(t_);
        } else if (s.verb == "copied") {
            size_t pos = 0;
            expectEqual(s, "\"" + bytesForMessage(utf16ToUtf8(selectionText(t_))) + "\"",
                        "\"" + bytesForMessage(quoted(s.rest, pos)) + "\"");
        } else if (s.verb == "replies") {
            size_t pos = 0;
            std::vector<uint8_t> got;
            takeReplies(t_, got);
            expectEqual(s, "\"" + bytesForMessage(std::string(got.begin(), got.end())) + "\"",
                        "\"" + bytesForMessage(quoted(s.rest, pos)) + "\"");
        } else {
            throw std::runtime_error("unknown directive");
        }
    }

    static size_t countCodeUnits(const std::string& utf8) {
        size_t n = 0;
        for (unsigned char c : utf8) n += (c & 0xC0) != 0x80;
        return n;
    }

    const std::vector<Step>& steps_;
    Delivery delivery_;
    std::vector<std::string>& failures_;
    Terminal t_;
};

std::vector<Step> parseScript(const char* script) {
    std::vector<Step> steps;
    std::istringstream in(script);
    std::string line;
    for (int n = 1; std::getline(in, line); ++n) {
        const std::string body = trim(line);
        if (body.empty() || body[0] == '#') continue;
        Step s;
        s.line = n;
        const size_t space = body.find(' ');
        s.verb = body.substr(0, space);
        s.rest = space == std::string::npos ? "" : body.substr(space + 1);
        if (s.verb == "<") s.bytes = unescape(s.rest);
        steps.push_back(std::move(s));
    }
    return steps;
}

std::vector<Delivery> deliveries(const std::vector<Step>& steps) {
    // Splitting at every boundary multiplies the work by the input length;
    // long inputs are still run whole and byte by byte.
    constexpr size_t kSplitLimit = 600;
    std::vector<Delivery> out{{"whole"}, {"byte by byte", SIZE_MAX, 0, true}};
    for (size_t i = 0; i < steps.size(); ++i) {
        const size_t n = steps[i].bytes.size();
        if (steps[i].verb != "<" || n > kSplitLimit) continue;
        for (size_t k = 1; k < n; ++k) {
            out.push_back({"split line " + std::to_string(steps[i].line) + " at " + std::to_string(k), i, k});
        }
    }
    return out;
}

// The state every delivery must agree on, whatever the script checks.
std::string stateSummary(const Terminal& t) {
    std::ostringstream s;
    for (int32_t r = 0; r < t.rows; ++r) {
        for (const Cell& c : t.grid[size_t(r)]) {
            s << int(c.ch) << ',' << int(c.fg) << ',' << int(c.bg) << ',' << int(c.bold) << int(c.underline)
              << int(c.dim) << int(c.italic) << int(c.blink) << int(c.strike) << int(c.fgDirect)
              << int(c.bgDirect) << ',' << c.fgRgb << ',' << c.bgRgb << ';';
        }
        s << '\n';
    }
    s << "cursor " << t.cursorRow << ',' << t.cursorCol << " wrap " << int(t.pendingWrap) << " region "
      << t.scrollTop << ',' << t.scrollBottom << " parser " << t.parserState << " alt " << int(t.altScreen)
      << " pen " << int(t.penFg) << ',' << int(t.penBg) << " bell " << int(t.bellPending) << " geometry "
      << t.cols << 'x' << t.rows << " saved " << t.savedMainRows.size() << " apc " << t.apcText.size();
    return s.str();
}

}  // namespace

std::string unescape(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char e = text[++i];
        switch (e) {
        case 'e': out += '\x1b'; break;
        case 'a': out += '\x07'; break;
        case 'b': out += '\x08'; break;
        case 't': out += '\t'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 's': out += ' '; break;
        case '0': out += '\0'; break;
        case 'x':
            if (i + 2 >= text.size()) throw std::runtime_error("short \\x escape");
            out += char(parseHex(text.substr(i + 1, 2)));
            i += 2;
            break;
        default: out += e; break;
        }
    }
    return out;
}

std::vector<std::string> runCase(const TermCase& c) {
    std::vector<Step> steps;
    try {
        steps = parseScript(c.script);
    } catch (const std::exception& e) {
        return {std::string("bad script: ") + e.what()};
    }
    // The whole delivery is reported in full; of the others only the first
    // that fails, since one fault usually fails them all the same way.
    std::vector<std::string> failures;
    std::string reference;
    size_t failedDeliveries = 0;
    for (const Delivery& d : deliveries(steps)) {
        std::vector<std::string> mine;
        Runner runner(steps, d, mine);
        runner.run();
        const std::string summary = stateSummary(runner.terminal());
        if (reference.empty()) {
            reference = summary;
        } else if (summary != reference) {
            mine.push_back("[" + d.name + "] final state differs from the whole delivery");
        }
        if (mine.empty()) continue;
        if (failedDeliveries++ == 0) failures.insert(failures.end(), mine.begin(), mine.end());
        if (d.name == "whole") break;
    }
    if (failedDeliveries > 1) {
        failures.push_back(std::to_string(failedDeliveries - 1) + " more deliveries failed too");
    }
    return failures;
}

}  // namespace orvane::testing
