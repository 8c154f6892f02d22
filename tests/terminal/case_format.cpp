#include "case_format.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <optional>
#include <sstream>
#include <stdexcept>

#include "terminal/selection.h"
#include "terminal/terminal.h"
#include "terminal_invariants.h"

namespace orvane::testing {

namespace {

struct Step {
    int line = 0;
    std::string verb;
    std::string rest;   // everything after the verb
    std::string bytes;  // feeds: the decoded bytes
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
    return s.substr(a, s.find_last_not_of(" \t\r") - a + 1);
}

uint32_t parseHex(const std::string& s) {
    size_t used = 0;
    const unsigned long v = std::stoul(s, &used, 16);
    if (used != s.size()) throw std::runtime_error("bad hex number " + s);
    return uint32_t(v);
}

void appendUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += {char(0xC0 | (cp >> 6)), char(0x80 | (cp & 0x3F))};
    } else {
        out += {char(0xE0 | (cp >> 12)), char(0x80 | ((cp >> 6) & 0x3F)), char(0x80 | (cp & 0x3F))};
    }
}

// Cells [col, col + count) of a row as UTF-8; count SIZE_MAX means the row
// without its trailing blanks.
std::string cellText(const Terminal& t, int32_t row, size_t col, size_t count = SIZE_MAX) {
    std::u16string s;
    const Row& r = t.grid.at(size_t(row));
    for (size_t c = col; c < r.size() && s.size() < count; ++c) s += r[c].ch;
    if (count == SIZE_MAX) s.erase(s.find_last_not_of(u' ') + 1);
    std::string out;
    for (char16_t c : s) appendUtf8(out, c);
    return out;
}

// The quoted strings of an argument list, escapes decoded; \uXXXX becomes UTF-8.
std::vector<std::string> quotedStrings(const std::string& rest) {
    std::vector<std::string> all;
    for (size_t open = rest.find('"'); open != std::string::npos; open = rest.find('"', open)) {
        std::string out;
        size_t i = open + 1;
        for (; i < rest.size() && rest[i] != '"'; ++i) {
            if (rest.compare(i, 2, "\\u") == 0 && i + 5 < rest.size()) {
                appendUtf8(out, parseHex(rest.substr(i + 2, 4)));
                i += 5;
            } else if (rest[i] == '\\' && i + 1 < rest.size()) {
                out += unescape(rest.substr(i++, 2));
            } else {
                out += rest[i];
            }
        }
        if (i >= rest.size()) throw std::runtime_error("unterminated string");
        all.push_back(out);
        open = i + 1;
    }
    if (all.empty()) throw std::runtime_error("expected a quoted string");
    return all;
}

std::string quoted(const std::string& rest) { return quotedStrings(rest).front(); }

std::string printable(const std::string& s) {
    std::string out = "\"";
    for (unsigned char c : s) {
        char buf[8] = {char(c), 0};
        if (c == 0x1B) {
            std::snprintf(buf, sizeof buf, "\\e");
        } else if (c < 0x20 || c >= 0x7F) {
            std::snprintf(buf, sizeof buf, "\\x%02X", c);
        }
        out += buf;
    }
    return out + "\"";
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
            failures_.push_back("[" + delivery_.name + "] unexpected replies at the end: " +
                                printable(std::string(left.begin(), left.end())));
        }
    }

    const Terminal& terminal() const { return t_; }

private:
    void fail(const Step& s, const std::string& what) {
        failures_.push_back("[" + delivery_.name + "] line " + std::to_string(s.line) + " (" + s.verb +
                            " " + s.rest + "): " + what);
    }

    void deliver(size_t index, const std::string& b) {
        const auto* p = reinterpret_cast<const uint8_t*>(b.data());
        if (delivery_.bytewise) {
            for (size_t k = 0; k < b.size(); ++k) feed(t_, p + k, 1);
        } else if (index == delivery_.splitStep) {
            feed(t_, p, delivery_.splitAt);
            feed(t_, p + delivery_.splitAt, b.size() - delivery_.splitAt);
        } else if (!b.empty()) {
            feed(t_, p, b.size());
        }
    }

    template <typename T>
    void expectEqual(const Step& s, const T& actual, const T& expected) {
        if (actual == expected) return;
        std::ostringstream msg;
        msg << "expected " << expected << ", got " << actual;
        fail(s, msg.str());
    }

    void expectCellAttributes(const Step& s, const Cell& cell, std::istream& in) {
        for (std::string kv; in >> kv;) {
            const size_t eq = kv.find('=');
            if (eq == std::string::npos) throw std::runtime_error("expected key=value, got " + kv);
            const std::string key = kv.substr(0, eq);
            expectEqual(s, cellAttribute(cell, key), expectedAttribute(key, kv.substr(eq + 1)));
        }
    }

    void runStep(size_t index, const Step& s) {
        std::istringstream in(s.rest);
        int32_t r = 0, c = 0;
        if (s.verb == "<") {
            deliver(index, s.bytes);
        } else if (s.verb == "mode") {
            setDisplayMode(t_, trim(s.rest));
        } else if (s.verb == "palette") {
            setPalette(t_, trim(s.rest));
        } else if (s.verb == "geometry" && in >> c >> r) {
            setGeometry(t_, c, r);
        } else if (s.verb == "row" && in >> r) {
            for (const std::string& want : quotedStrings(s.rest)) {
                expectEqual(s, printable(cellText(t_, r++, 0)), printable(want));
            }
        } else if (s.verb == "at" && in >> r >> c) {
            const std::string want = quoted(s.rest);
            const size_t units = size_t(std::count_if(want.begin(), want.end(), [](char b) { return (b & 0xC0) != 0x80; }));
            expectEqual(s, printable(cellText(t_, r, size_t(c), units)), printable(want));
        } else if (s.verb == "cursor" && in >> r >> c) {
            expectEqual(s, std::to_string(t_.cursorRow) + "," + std::to_string(t_.cursorCol),
                        std::to_string(r) + "," + std::to_string(c));
        } else if (s.verb == "cell" && in >> r >> c) {
            expectCellAttributes(s, t_.grid.at(size_t(r)).at(size_t(c)), in);
        } else if (s.verb == "cells" && in >> r) {
            const std::string attrs = s.rest.substr(size_t(in.tellg()));
            for (const Cell& cell : t_.grid.at(size_t(r))) {
                std::istringstream each(attrs);
                expectCellAttributes(s, cell, each);
            }
        } else if (s.verb == "field") {
            std::string name;
            for (int64_t v = 0; in >> name >> v;) expectEqual(s, fieldValue(t_, name), v);
        } else if (s.verb == "drag" || s.verb == "click") {
            CellPos from, to;
            in >> from.row >> from.col;
            beginSelectionAt(t_, from);
            if (s.verb == "drag" && in >> to.row >> to.col) extendSelectionTo(t_, to);
            endSelection(t_);
        } else if (s.verb == "selectall") {
            selectAll(t_);
        } else if (s.verb == "copied") {
            std::string got;
            for (char16_t u : selectionText(t_)) appendUtf8(got, u);
            expectEqual(s, printable(got), printable(quoted(s.rest)));
        } else if (s.verb == "replies") {
            std::vector<uint8_t> got;
            takeReplies(t_, got);
            expectEqual(s, printable(std::string(got.begin(), got.end())), printable(quoted(s.rest)));
        } else {
            throw std::runtime_error("unknown or malformed directive");
        }
    }

    const std::vector<Step>& steps_;
    Delivery delivery_;
    std::vector<std::string>& failures_;
    Terminal t_;
};

// One line may hold several directives separated by " | "; a feed runs to
// the next separator.
std::vector<Step> parseScript(const char* script) {
    std::vector<Step> steps;
    std::istringstream in(script);
    std::string line;
    for (int n = 1; std::getline(in, line); ++n) {
        for (size_t from = 0, bar = 0; from <= line.size(); from = bar + 3) {
            bar = std::min(line.find(" | ", from), line.size());
            const std::string body = trim(line.substr(from, bar - from));
            if (body.empty() || body[0] == '#') break;
            const size_t space = body.find(' ');
            Step s{n, body.substr(0, space), space == std::string::npos ? "" : body.substr(space + 1), {}};
            if (s.verb == "<") s.bytes = unescape(s.rest);
            steps.push_back(std::move(s));
        }
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

}  // namespace

std::string unescape(const std::string& text) {
    static const std::map<char, char> simple = {{'e', '\x1b'}, {'a', '\a'}, {'b', '\b'}, {'t', '\t'},
                                                {'n', '\n'},   {'r', '\r'}, {'s', ' '},  {'0', '\0'}};
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
        } else if (text[++i] == 'x') {
            if (i + 2 >= text.size()) throw std::runtime_error("short \\x escape");
            out += char(parseHex(text.substr(i + 1, 2)));
            i += 2;
        } else {
            const auto it = simple.find(text[i]);
            out += it == simple.end() ? text[i] : it->second;
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
    std::optional<Terminal> reference;
    size_t failedDeliveries = 0;
    for (const Delivery& d : deliveries(steps)) {
        std::vector<std::string> mine;
        Runner runner(steps, d, mine);
        runner.run();
        // Every delivery must leave the state the whole one left, checked or not.
        if (!reference) {
            reference = runner.terminal();
        } else if (const std::string field = findStateDifference(*reference, runner.terminal()); !field.empty()) {
            mine.push_back("[" + d.name + "] " + field + " differs from the whole delivery");
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
