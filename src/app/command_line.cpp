#include "app/command_line.h"

#include "app/number_text.h"
#include "app/window_geometry.h"

#include <algorithm>
#include <array>
#include <initializer_list>

namespace orvane {

namespace {

// ---------------------------------------------------------------- values

wchar_t lowerAscii(wchar_t c) {
    return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

wchar_t upperAscii(wchar_t c) {
    return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

std::wstring lowered(std::wstring_view text) {
    std::wstring result(text);
    std::transform(result.begin(), result.end(), result.begin(), lowerAscii);
    return result;
}

std::wstring uppered(std::wstring_view text) {
    std::wstring result(text);
    std::transform(result.begin(), result.end(), result.begin(), upperAscii);
    return result;
}

bool isOneOf(std::wstring_view value, std::initializer_list<std::wstring_view> names) {
    return std::find(names.begin(), names.end(), value) != names.end();
}

// The lower-cased value when it is one of `names`, otherwise `fallback`.
std::wstring lowerChoice(std::wstring_view value, std::initializer_list<std::wstring_view> names,
                         std::wstring_view fallback) {
    const std::wstring choice = lowered(value);
    return isOneOf(choice, names) ? choice : std::wstring(fallback);
}

// Leading digits as the number; no number reads as 0.
int clampedNumber(std::wstring_view text, int low, int high) {
    return std::clamp(readNumber(text).value, low, high);
}

std::wstring cursorStyleOf(std::wstring_view value) {
    const std::wstring style = lowered(value);
    if (isOneOf(style, {L"underline", L"doubleunderline"})) return L"double";
    return isOneOf(style, {L"block", L"outline", L"double"}) ? style : L"block";
}

std::wstring screenshotFormatOf(std::wstring_view value) {
    const std::wstring format = lowered(value);
    return format == L"jpeg" ? L"jpg" : lowerChoice(format, {L"png", L"jpg"}, L"png");
}

std::wstring backgroundImageOf(std::wstring_view value) {
    return lowered(value) == L"none" ? std::wstring() : std::wstring(value);
}

// ---------------------------------------------------------------- the run

struct Run {
    CommandPass pass;
    CommandTarget& target;
    int result = 0;
};

using Store = void (*)(AppSettings&, const std::wstring& value);
using Live = void (*)(CommandTarget&, const AppSettings&);
using Act = void (*)(Run&, const std::wstring& value);

// How an option behaves in each pass.
enum class Kind {
    setting,        // pass 0 stores, pass 1 ignores, pass 2 stores and applies live
    startupWindow,  // pass 0 records a start-up flag, pass 2 applies it to the window
    liveWindow,     // pass 2 only
    action,         // passes 1 and 2 (lock options and actions)
    save,           // pass 0 records the save flag
    process,        // handled by start-up before any pass
};

struct Option {
    std::wstring_view name;
    OptionValue value;
    Kind kind;
    Store store;
    Live live;
    Act act;
};

constexpr Option setting(std::wstring_view name, OptionValue value, Store store, Live live) {
    return {name, value, Kind::setting, store, live, nullptr};
}

constexpr Option runs(std::wstring_view name, OptionValue value, Kind kind, Act act) {
    return {name, value, kind, nullptr, nullptr, act};
}

// "-size": both numbers must be at least 1.
std::optional<WindowSize> usableSize(const std::wstring& value) {
    const std::optional<WindowSize> size = parseWindowSize(value);
    if (!size || size->width < 1 || size->height < 1) return std::nullopt;
    return size;
}

void reapplyLine(CommandTarget& target) {
    target.reapplyLineSettings();
}

using Text = const std::wstring&;
constexpr auto kNone = OptionValue::none;
constexpr auto kText = OptionValue::text;
constexpr auto kFile = OptionValue::file;

// The options in the order of the help text.
const Option kOptions[] = {
    // Link.
    setting(L"serial", kNone, [](AppSettings& s, Text) { s.mode = L"serial"; },
            [](CommandTarget& t, const AppSettings&) { t.switchMode(false); }),
    setting(L"lan", kNone, [](AppSettings& s, Text) { s.mode = L"lan"; },
            [](CommandTarget& t, const AppSettings&) { t.switchMode(true); }),
    setting(L"port", kText, [](AppSettings& s, Text v) { s.lastPort = v; },
            [](CommandTarget& t, const AppSettings& s) { t.refreshPorts(s.lastPort); }),
    setting(L"host", kText, [](AppSettings& s, Text v) { s.host = v; },
            [](CommandTarget& t, const AppSettings& s) { t.setHostText(s.host); }),
    setting(L"netport", kText, [](AppSettings& s, Text v) { s.netPort = v; },
            [](CommandTarget& t, const AppSettings& s) { t.setNetPortText(s.netPort); }),
    setting(L"proto", kText, [](AppSettings& s, Text v) { s.proto = uppered(v); },
            [](CommandTarget& t, const AppSettings& s) { t.setProto(s.proto); }),
    setting(L"baud", kText, [](AppSettings& s, Text v) { s.baud = v; },
            [](CommandTarget& t, const AppSettings& s) {
                t.selectBaud(s.baud);
                reapplyLine(t);
            }),
    setting(L"framing", kText, [](AppSettings& s, Text v) { s.framing = uppered(v); },
            [](CommandTarget& t, const AppSettings& s) {
                t.selectFraming(s.framing);
                reapplyLine(t);
            }),
    // Terminal.
    setting(L"palette", kText, [](AppSettings& s, Text v) { s.palette = v; },
            [](CommandTarget& t, const AppSettings& s) { t.setPalette(s.palette); }),
    setting(L"echo", kText, [](AppSettings& s, Text v) { s.localEcho = optionBoolValue(v); },
            [](CommandTarget& t, const AppSettings& s) { t.setLocalEcho(s.localEcho); }),
    setting(L"inputmode", kText, [](AppSettings& s, Text v) { s.inputMode = v == L"line" ? L"line" : L"char"; },
            [](CommandTarget& t, const AppSettings& s) { t.setInputMode(s.inputMode); }),
    setting(L"lineterm", kText, [](AppSettings& s, Text v) { s.lineTerminator = uppered(v); },
            [](CommandTarget& t, const AppSettings& s) { t.setLineTerminator(s.lineTerminator); }),
    setting(L"autoscroll", kText, [](AppSettings& s, Text v) { s.autoScroll = optionBoolValue(v); },
            [](CommandTarget& t, const AppSettings& s) { t.setAutoScroll(s.autoScroll); }),
    setting(L"displaymode", kText, [](AppSettings& s, Text v) { s.displayMode = uppered(v); },
            [](CommandTarget& t, const AppSettings& s) { t.setDisplayMode(s.displayMode); }),
    // Any other grid text is stored as typed but changes nothing live.
    setting(L"geometry", kText, [](AppSettings& s, Text v) { s.geometry = v; },
            [](CommandTarget& t, const AppSettings& s) {
                if (isOneOf(s.geometry, {L"80x25", L"80x24", L"132x25", L"132x24"})) t.setGeometry(s.geometry);
            }),
    setting(L"cursor", kText, [](AppSettings& s, Text v) { s.cursorStyle = cursorStyleOf(v); },
            [](CommandTarget& t, const AppSettings& s) { t.setCursorStyle(s.cursorStyle); }),
    setting(L"cursorblink", kText, [](AppSettings& s, Text v) { s.cursorBlink = optionBoolValue(v); },
            [](CommandTarget& t, const AppSettings& s) { t.setCursorBlink(s.cursorBlink); }),
    // The bell reads its fields when it rings.
    setting(L"bell", kText, [](AppSettings& s, Text v) { s.bellMode = v; }, nullptr),
    setting(L"bellwav", kFile, [](AppSettings& s, Text v) { s.bellWav = v; }, nullptr),
    setting(L"rts", kText, [](AppSettings& s, Text v) { s.rts = optionBoolValue(v); },
            [](CommandTarget& t, const AppSettings& s) { t.setRts(s.rts); }),
    setting(L"dtr", kText, [](AppSettings& s, Text v) { s.dtr = optionBoolValue(v); },
            [](CommandTarget& t, const AppSettings& s) { t.setDtr(s.dtr); }),
    // Pictel.
    setting(L"mediacache", kText, [](AppSettings& s, Text v) { s.mediaCache = optionBoolValue(v); },
            [](CommandTarget& t, const AppSettings& s) { t.setMediaCache(s.mediaCache); }),
    setting(L"mediarepo", kText, [](AppSettings& s, Text v) { s.mediaRepo = optionBoolValue(v); },
            [](CommandTarget& t, const AppSettings& s) { t.setMediaRepo(s.mediaRepo); }),
    setting(L"sounds", kText, [](AppSettings& s, Text v) { s.sounds = optionBoolValue(v); },
            [](CommandTarget& t, const AppSettings& s) { t.setSounds(s.sounds); }),
    // Background.
    setting(L"bgimage", OptionValue::fileOrNone, [](AppSettings& s, Text v) { s.bgImage = backgroundImageOf(v); },
            [](CommandTarget& t, const AppSettings& s) { t.setBackgroundImage(s.bgImage); }),
    setting(L"bgfit", kText,
            [](AppSettings& s, Text v) { s.bgFit = lowerChoice(v, {L"stretch", L"aspect", L"center"}, L"aspect"); },
            [](CommandTarget& t, const AppSettings& s) { t.setBackgroundFit(s.bgFit); }),
    setting(L"bgopacity", kText, [](AppSettings& s, Text v) { s.bgOpacity = clampedNumber(v, 0, 100); },
            [](CommandTarget& t, const AppSettings& s) { t.setBackgroundOpacity(s.bgOpacity); }),
    // Playback.
    setting(L"playchardelay", kText, [](AppSettings& s, Text v) { s.playCharDelayMs = clampedNumber(v, 0, 500); },
            [](CommandTarget& t, const AppSettings& s) { t.setPlayCharDelay(s.playCharDelayMs); }),
    setting(L"playeoldelay", kText, [](AppSettings& s, Text v) { s.playEolDelayMs = clampedNumber(v, 0, 500); },
            [](CommandTarget& t, const AppSettings& s) { t.setPlayEolDelay(s.playEolDelayMs); }),
    setting(L"playeol", kText, [](AppSettings& s, Text v) { s.playEol = uppered(v); },
            [](CommandTarget& t, const AppSettings& s) { t.setPlayEol(s.playEol); }),
    // Capture and screenshot setup: read when they are used.
    setting(L"capturehex", kText, [](AppSettings& s, Text v) { s.captureHex = optionBoolValue(v); }, nullptr),
    setting(L"ssfolder", kFile, [](AppSettings& s, Text v) { s.ssFolder = v; }, nullptr),
    setting(L"ssname", kText, [](AppSettings& s, Text v) { s.ssBasename = v; }, nullptr),
    setting(L"ssautonumber", kText, [](AppSettings& s, Text v) { s.ssAutonumber = optionBoolValue(v); }, nullptr),
    setting(L"ssformat", kText, [](AppSettings& s, Text v) { s.ssFormat = screenshotFormatOf(v); }, nullptr),
    setting(L"sswithbg", kText, [](AppSettings& s, Text v) { s.ssWithBg = optionBoolValue(v); }, nullptr),
    setting(L"sswithglass", kText, [](AppSettings& s, Text v) { s.ssWithGlass = optionBoolValue(v); }, nullptr),
    // Window.
    runs(L"maximize", kNone, Kind::startupWindow, [](Run& r, Text) {
        if (r.pass == CommandPass::beforeWindow) {
            r.target.startupFlags().maximize = true;
        } else {
            r.target.maximizeWindow();
        }
    }),
    runs(L"slim", kNone, Kind::startupWindow, [](Run& r, Text) {
        if (r.pass == CommandPass::beforeWindow) {
            r.target.startupFlags().slim = true;
        } else {
            r.target.enterSlim();
        }
    }),
    runs(L"size", kText, Kind::startupWindow, [](Run& r, Text v) {
        const std::optional<WindowSize> size = usableSize(v);
        if (!size) return;
        if (r.pass == CommandPass::beforeWindow) {
            r.target.startupFlags().size = size;
        } else {
            r.target.resizeWindow(*size);
        }
    }),
    runs(L"minimize", kNone, Kind::liveWindow, [](Run& r, Text) { r.target.minimizeWindow(); }),
    runs(L"restore", kNone, Kind::liveWindow, [](Run& r, Text) { r.target.restoreWindow(); }),
    runs(L"lock", kNone, Kind::action, [](Run& r, Text) { r.target.lockUi(); }),
    runs(L"unlock", kNone, Kind::action, [](Run& r, Text) { r.target.unlockUi(); }),
    // Actions.
    runs(L"clearcache", kNone, Kind::action, [](Run& r, Text) {
        const int deleted = r.target.clearMediaCache();
        if (r.pass == CommandPass::forwarded) {
            r.target.showNotice(L"Cleared " + std::to_wstring(deleted) + L" cached image(s)");
        }
    }),
    runs(L"connect", kNone, Kind::action, [](Run& r, Text) {
        if (!r.target.isConnected()) r.target.connect();
    }),
    runs(L"disconnect", kNone, Kind::action, [](Run& r, Text) {
        if (r.target.isConnected()) r.target.disconnect();
    }),
    runs(L"noconnect", kNone, Kind::action, [](Run& r, Text) {
        if (r.target.isConnected()) r.target.disconnect();
    }),
    runs(L"capture", kFile, Kind::action, [](Run& r, Text v) { r.target.startCapture(v); }),
    runs(L"play", kFile, Kind::action, [](Run& r, Text v) { r.target.startPlayback(v); }),
    // The forwarding process waits for the play-done event, so it must be
    // set at once when nothing will play.
    runs(L"send", kFile, Kind::action, [](Run& r, Text v) {
        r.target.resetPlayDone();
        if (r.target.startPlayback(v)) return;
        r.target.signalPlayDone();
        r.result = 1;
    }),
    runs(L"screenshot", kFile, Kind::action, [](Run& r, Text v) {
        r.result = r.target.saveScreenshot(v) ? 0 : 1;
    }),
    runs(L"snap", kNone, Kind::action, [](Run& r, Text) { r.target.snapScreenshot(); }),
    // Start-up business.
    runs(L"save", kNone, Kind::save, [](Run& r, Text) { r.target.startupFlags().save = true; }),
    runs(L"help", kNone, Kind::process, nullptr),
    runs(L"?", kNone, Kind::process, nullptr),
    runs(L"diag", kNone, Kind::process, nullptr),
    runs(L"exit", kNone, Kind::process, nullptr),
};

const Option* findOption(std::wstring_view argument) {
    const std::optional<std::wstring> name = optionNameOf(argument);
    if (!name) return nullptr;
    const auto found = std::find_if(std::begin(kOptions), std::end(kOptions),
                                    [&](const Option& option) { return option.name == *name; });
    return found == std::end(kOptions) ? nullptr : found;
}

void runOption(Run& run, const Option& option, const std::wstring& value) {
    const CommandPass pass = run.pass;
    AppSettings& settings = run.target.settings();
    switch (option.kind) {
    case Kind::setting:
        if (pass == CommandPass::afterWindow) return;
        option.store(settings, value);
        if (pass == CommandPass::forwarded && option.live != nullptr) option.live(run.target, settings);
        return;
    case Kind::startupWindow:
        if (pass != CommandPass::afterWindow) option.act(run, value);
        return;
    case Kind::liveWindow:
        if (pass == CommandPass::forwarded) option.act(run, value);
        return;
    case Kind::action:
        if (pass != CommandPass::beforeWindow) option.act(run, value);
        return;
    case Kind::save:
        if (pass == CommandPass::beforeWindow) option.act(run, value);
        return;
    case Kind::process:
        return;
    }
}

void noteUnknown(Run& run, const std::wstring& argument) {
    if (run.pass != CommandPass::beforeWindow) return;
    std::wstring& list = run.target.startupFlags().unknownOptions;
    if (!list.empty()) list += L' ';
    list += argument;
}

}  // namespace

std::optional<std::wstring> optionNameOf(std::wstring_view argument) {
    if (argument.empty() || (argument.front() != L'-' && argument.front() != L'/')) return std::nullopt;
    return lowered(argument.substr(1));
}

std::optional<OptionValue> optionValueOf(std::wstring_view argument) {
    const Option* option = findOption(argument);
    if (option == nullptr) return std::nullopt;
    return option->value;
}

bool optionBoolValue(std::wstring_view value) {
    return isOneOf(lowered(value), {L"on", L"1", L"true", L"yes"});
}

int applyCommandLine(std::span<const std::wstring> args, CommandPass pass, CommandTarget& target) {
    Run run{pass, target};
    for (std::size_t at = 1; at < args.size(); ++at) {
        const Option* option = findOption(args[at]);
        const bool needsValue = option != nullptr && option->value != OptionValue::none;
        // An option whose value is missing counts as an unknown argument.
        if (option == nullptr || (needsValue && at + 1 >= args.size())) {
            noteUnknown(run, args[at]);
            continue;
        }
        const std::wstring value = needsValue ? args[++at] : std::wstring();
        runOption(run, *option, value);
    }
    return run.result;
}

int applyStartupActions(std::span<const std::wstring> args, CommandTarget& target) {
    const bool save = target.startupFlags().save;
    persistSettings = save;
    const int result = applyCommandLine(args, CommandPass::afterWindow, target);
    if (save) target.saveSettingsNow();
    persistSettings = true;
    return result;
}

}  // namespace orvane
