#include "app/command_line.h"
#include "recording_target.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace orvane {
namespace {

using test::RecordingTarget;
using Args = std::vector<std::wstring>;
using Calls = std::vector<std::wstring>;

Args line(Args options) {
    options.insert(options.begin(), L"C:\\bin\\orvane.exe");
    return options;
}

// --------------------------------------------------------- storing (pass 0)

struct StoreCase {
    Args options;
    std::function<void(AppSettings&)> expect;  // what changes from the defaults
    const wchar_t* unknown = L"";
};

const StoreCase kStoreCases[] = {
    {{L"-baud"}, [](AppSettings&) {}, L"-baud"},
    {{L"-port", L"-connect"}, [](AppSettings& s) { s.lastPort = L"-connect"; }},
    {{L"/BAUD", L"9600"}, [](AppSettings& s) { s.baud = L"9600"; }},
    {{L"-Baud", L"fast"}, [](AppSettings& s) { s.baud = L"fast"; }},
    {{L"-echo", L"yes", L"-echo", L"maybe"}, [](AppSettings&) {}},
    {{L"-echo", L"On"}, [](AppSettings& s) { s.localEcho = true; }},
    {{L"-echo", L"TRUE"}, [](AppSettings& s) { s.localEcho = true; }},
    {{L"-echo", L"1"}, [](AppSettings& s) { s.localEcho = true; }},
    {{L"-echo", L"YES"}, [](AppSettings& s) { s.localEcho = true; }},
    {{L"-cursor", L"Underline"}, [](AppSettings& s) { s.cursorStyle = L"double"; }},
    {{L"-cursor", L"DoubleUnderline"}, [](AppSettings& s) { s.cursorStyle = L"double"; }},
    {{L"-cursor", L"OUTLINE"}, [](AppSettings& s) { s.cursorStyle = L"outline"; }},
    {{L"-cursor", L"outline", L"-cursor", L"beam"}, [](AppSettings&) {}},
    {{L"-ssformat", L"JPEG"}, [](AppSettings& s) { s.ssFormat = L"jpg"; }},
    {{L"-ssformat", L"Jpg"}, [](AppSettings& s) { s.ssFormat = L"jpg"; }},
    {{L"-ssformat", L"jpg", L"-ssformat", L"gif"}, [](AppSettings&) {}},
    {{L"-bgopacity", L"250"}, [](AppSettings& s) { s.bgOpacity = 100; }},
    {{L"-bgopacity", L"57%"}, [](AppSettings& s) { s.bgOpacity = 57; }},
    {{L"-bgopacity", L"-3"}, [](AppSettings& s) { s.bgOpacity = 0; }},
    {{L"-bgopacity", L"half"}, [](AppSettings& s) { s.bgOpacity = 0; }},
    {{L"-playchardelay", L"-5"}, [](AppSettings& s) { s.playCharDelayMs = 0; }},
    {{L"-playchardelay", L"4294967297"}, [](AppSettings& s) { s.playCharDelayMs = 500; }},
    {{L"-playeoldelay", L"20"}, [](AppSettings& s) { s.playEolDelayMs = 20; }},
    {{L"-playeoldelay", L"501"}, [](AppSettings& s) { s.playEolDelayMs = 500; }},
    {{L"-proto", L"udp"}, [](AppSettings& s) { s.proto = L"UDP"; }},
    {{L"-proto", L"foo"}, [](AppSettings& s) { s.proto = L"FOO"; }},
    {{L"-proto", L"u\u00e9p"}, [](AppSettings& s) { s.proto = L"U\u00e9P"; }},
    {{L"-inputmode", L"LINE"}, [](AppSettings&) {}},
    {{L"-inputmode", L"line"}, [](AppSettings& s) { s.inputMode = L"line"; }},
    {{L"-inputmode", L"line", L"-inputmode", L"lines"}, [](AppSettings&) {}},
    {{L"-lineterm", L"crlf", L"-displaymode", L"hex"}, [](AppSettings& s) {
         s.lineTerminator = L"CRLF";
         s.displayMode = L"HEX";
     }},
    {{L"-framing", L"7e1", L"-playeol", L"lf"}, [](AppSettings& s) {
         s.framing = L"7E1";
         s.playEol = L"LF";
     }},
    {{L"-bgfit", L"Stretch"}, [](AppSettings& s) { s.bgFit = L"stretch"; }},
    {{L"-bgfit", L"center", L"-bgfit", L"fill"}, [](AppSettings&) {}},
    {{L"-bgimage", L"Bg.PNG"}, [](AppSettings& s) { s.bgImage = L"Bg.PNG"; }},
    {{L"-bgimage", L"a.png", L"-bgimage", L"NONE"}, [](AppSettings&) {}},
    {{L"-bgimage", L"a.png", L"-bgimage", L""}, [](AppSettings&) {}},
    {{L"-geometry", L"132X25", L"-palette", L"one half DARK"}, [](AppSettings& s) {
         s.geometry = L"132X25";
         s.palette = L"one half DARK";
     }},
    {{L"-bell", L"chime", L"-bellwav", L"b.wav"}, [](AppSettings& s) {
         s.bellMode = L"chime";
         s.bellWav = L"b.wav";
     }},
    {{L"-lan", L"-host", L"10.0.0.9", L"-netport", L"99999"}, [](AppSettings& s) {
         s.mode = L"lan";
         s.host = L"10.0.0.9";
         s.netPort = L"99999";
     }},
    {{L"-lan", L"-serial"}, [](AppSettings&) {}},
    {{L"-rts", L"off", L"-dtr", L"0", L"-autoscroll", L"no", L"-cursorblink", L"false"}, [](AppSettings& s) {
         s.rts = s.dtr = s.autoScroll = s.cursorBlink = false;
     }},
    {{L"-mediacache", L"off", L"-mediarepo", L"off", L"-sounds", L"off"}, [](AppSettings& s) {
         s.mediaCache = s.mediaRepo = s.sounds = false;
     }},
    {{L"-capturehex", L"on", L"-ssautonumber", L"on", L"-sswithbg", L"on", L"-sswithglass", L"on"}, [](AppSettings& s) {
         s.captureHex = s.ssAutonumber = s.ssWithBg = s.ssWithGlass = true;
     }},
    {{L"-ssfolder", L"shots", L"-ssname", L"grid"}, [](AppSettings& s) {
         s.ssFolder = L"shots";
         s.ssBasename = L"grid";
     }},
    {{L"-bogus", L"stray", L"-connect", L"-help", L"-?", L"/DIAG", L"-exit", L"-noconnect", L"-echo"},
     [](AppSettings&) {}, L"-bogus stray -echo"},
    {{L"--baud", L"9600", L"baud"}, [](AppSettings&) {}, L"--baud 9600 baud"},
};

TEST(CommandLine, TheFirstPassStoresEachSettingWithItsNormalisationAndListsUnknownArguments) {
    for (const StoreCase& row : kStoreCases) {
        RecordingTarget target;
        AppSettings expected;
        row.expect(expected);
        const Args args = line(row.options);
        EXPECT_EQ(applyCommandLine(args, CommandPass::beforeWindow, target), 0);
        EXPECT_EQ(target.record, expected) << args[1];
        EXPECT_EQ(target.flags.unknownOptions, row.unknown) << args[1];
        EXPECT_EQ(target.calls, Calls{}) << args[1];  // nothing shown yet
    }
}

StartupFlags sized(int width, int height) {
    StartupFlags flags;
    flags.size = WindowSize{width, height};
    return flags;
}

TEST(CommandLine, TheFirstPassRecordsStartupWindowFlagsOnlyForUsableSizes) {
    struct Row {
        Args options;
        StartupFlags expected;
    };
    const Row rows[] = {
        {{L"-maximize", L"/SLIM", L"-save"}, {true, true, true, std::nullopt, L""}},
        {{L"-size", L"800x600"}, sized(800, 600)},
        {{L"-size", L"800x600", L"-size", L"0x600"}, sized(800, 600)},
        {{L"-size", L"800x-1"}, {}},
        {{L"-size", L"800"}, {}},
        {{L"-size", L"800X600"}, {}},
        {{L"-size", L"1x1"}, sized(1, 1)},
        {{L"-size"}, {false, false, false, std::nullopt, L"-size"}},
        {{L"-minimize", L"-restore", L"-lock", L"-unlock"}, {}},
    };
    for (const Row& row : rows) {
        RecordingTarget target;
        applyCommandLine(line(row.options), CommandPass::beforeWindow, target);
        EXPECT_EQ(target.flags, row.expected) << row.options[0];
        EXPECT_EQ(target.calls, Calls{});
    }
}

// ------------------------------------------------------ effects (pass 1, 2)

struct EffectCase {
    Args options;
    Calls afterWindow;  // pass 1
    Calls forwarded;    // pass 2
};

const EffectCase kEffectCases[] = {
    {{L"-baud", L"9600"}, {}, {L"selectBaud 9600", L"reapplyLineSettings"}},
    {{L"-framing", L"7e1"}, {}, {L"selectFraming 7E1", L"reapplyLineSettings"}},
    {{L"-lan", L"-serial"}, {}, {L"switchMode on", L"switchMode off"}},
    {{L"-port", L"COM7"}, {}, {L"refreshPorts COM7"}},
    {{L"-port", L"-connect"}, {}, {L"refreshPorts -connect"}},
    {{L"-host", L"h", L"-netport", L"23", L"-proto", L"udp"}, {}, {L"setHostText h", L"setNetPortText 23", L"setProto UDP"}},
    {{L"-palette", L"Ubuntu", L"-echo", L"on", L"-inputmode", L"line"}, {},
     {L"setPalette Ubuntu", L"setLocalEcho on", L"setInputMode line"}},
    {{L"-lineterm", L"lf", L"-autoscroll", L"off", L"-displaymode", L"ascii"}, {},
     {L"setLineTerminator LF", L"setAutoScroll off", L"setDisplayMode ASCII"}},
    {{L"-geometry", L"132x24", L"-geometry", L"100x40"}, {}, {L"setGeometry 132x24"}},
    {{L"-cursor", L"underline", L"-cursorblink", L"on"}, {}, {L"setCursorStyle double", L"setCursorBlink on"}},
    {{L"-bell", L"off", L"-bellwav", L"b.wav", L"-capturehex", L"on", L"-ssname", L"n", L"-ssformat", L"jpg"}, {}, {}},
    {{L"-rts", L"off", L"-dtr", L"on"}, {}, {L"setRts off", L"setDtr on"}},
    {{L"-mediacache", L"off", L"-mediarepo", L"on", L"-sounds", L"no"}, {},
     {L"setMediaCache off", L"setMediaRepo on", L"setSounds off"}},
    {{L"-bgimage", L"None", L"-bgimage", L"bg.png", L"-bgfit", L"CENTER", L"-bgopacity", L"250"}, {},
     {L"setBackgroundImage", L"setBackgroundImage bg.png", L"setBackgroundFit center", L"setBackgroundOpacity 100"}},
    {{L"-playchardelay", L"-5", L"-playeoldelay", L"7", L"-playeol", L"crlf"}, {},
     {L"setPlayCharDelay 0", L"setPlayEolDelay 7", L"setPlayEol CRLF"}},
    {{L"-maximize", L"-slim", L"-size", L"640x480", L"-size", L"0x0", L"-minimize", L"-restore"}, {},
     {L"maximizeWindow", L"enterSlim", L"resizeWindow 640x480", L"minimizeWindow", L"restoreWindow"}},
    {{L"-lock", L"/Unlock", L"-save", L"-help", L"-exit", L"-diag"}, {L"lockUi", L"unlockUi"}, {L"lockUi", L"unlockUi"}},
    {{L"-clearcache"}, {L"clearMediaCache"}, {L"clearMediaCache", L"showNotice Cleared 3 cached image(s)"}},
    {{L"-connect", L"-connect", L"-disconnect", L"-noconnect"}, {L"connect", L"disconnect"}, {L"connect", L"disconnect"}},
    {{L"-capture", L"c.bin", L"-play", L"bad.txt", L"-snap"}, {L"startCapture c.bin", L"startPlayback bad.txt", L"snapScreenshot"},
     {L"startCapture c.bin", L"startPlayback bad.txt", L"snapScreenshot"}},
    {{L"-send", L"bad.txt", L"-send", L"s.txt"},
     {L"resetPlayDone", L"startPlayback bad.txt", L"signalPlayDone", L"resetPlayDone", L"startPlayback s.txt"},
     {L"resetPlayDone", L"startPlayback bad.txt", L"signalPlayDone", L"resetPlayDone", L"startPlayback s.txt"}},
    {{L"-baud", L"9600", L"-bogus", L"-connect"}, {L"connect"}, {L"selectBaud 9600", L"reapplyLineSettings", L"connect"}},
};

TEST(CommandLine, LaterPassesRunActionsInOrderAndOnlyTheForwardedPassAppliesSettingsLive) {
    for (const EffectCase& row : kEffectCases) {
        const Args args = line(row.options);
        RecordingTarget started;
        applyCommandLine(args, CommandPass::afterWindow, started);
        EXPECT_EQ(started.calls, row.afterWindow) << args[1];
        EXPECT_EQ(started.record, AppSettings{}) << args[1];  // consumed, not stored
        EXPECT_EQ(started.flags, StartupFlags{}) << args[1];

        RecordingTarget running;
        applyCommandLine(args, CommandPass::forwarded, running);
        EXPECT_EQ(running.calls, row.forwarded) << args[1];
        EXPECT_EQ(running.flags, StartupFlags{}) << args[1];
        RecordingTarget stored;
        applyCommandLine(args, CommandPass::beforeWindow, stored);
        EXPECT_EQ(running.record, stored.record) << args[1];  // the same values as at start-up
    }
}

TEST(CommandLine, ConnectingWhileConnectedDoesNothing) {
    RecordingTarget target;
    target.connected = true;
    applyCommandLine(line({L"-connect"}), CommandPass::forwarded, target);
    EXPECT_EQ(target.calls, Calls{});
}

TEST(CommandLine, TheLastScreenshotOrFailedSendDecidesTheResult) {
    using Row = std::pair<Args, int>;
    const Row rows[] = {
        {{}, 0},
        {{L"-screenshot", L"bad/x.png", L"-screenshot", L"ok.png"}, 0},
        {{L"-screenshot", L"ok.png", L"-screenshot", L"bad/x.png"}, 1},
        {{L"-send", L"bad.txt"}, 1},
        {{L"-send", L"bad.txt", L"-screenshot", L"ok.png"}, 0},
        {{L"-screenshot", L"bad/x.png", L"-send", L"s.txt"}, 1},  // a started send leaves it
        {{L"-play", L"bad.txt", L"-snap"}, 0},
        {{L"-screenshot"}, 0},
    };
    for (const auto& [options, expected] : rows) {
        for (const CommandPass pass : {CommandPass::afterWindow, CommandPass::forwarded}) {
            RecordingTarget target;
            EXPECT_EQ(applyCommandLine(line(options), pass, target), expected) << (options.empty() ? L"" : options[0]);
        }
        RecordingTarget early;
        EXPECT_EQ(applyCommandLine(line(options), CommandPass::beforeWindow, early), 0);
    }
}

TEST(CommandLine, StartupActionsPersistOnlyWithSaveAndRestorePersistenceAfterwards) {
    for (const bool save : {false, true}) {
        RecordingTarget target;
        target.flags.save = save;
        applyStartupActions(line({L"-connect"}), target);
        const Calls expected = save ? Calls{L"connect", L"save"} : Calls{L"connect"};
        EXPECT_EQ(target.calls, expected);
        EXPECT_EQ(target.persistAtLastCall, save);
        EXPECT_TRUE(persistSettings);
    }
}

TEST(CommandLine, OptionNamesAndBooleanValues) {
    EXPECT_EQ(optionNameOf(L"/SaVe"), L"save");
    EXPECT_EQ(optionNameOf(L"-?"), L"?");
    EXPECT_EQ(optionNameOf(L"save"), std::nullopt);
    EXPECT_EQ(optionNameOf(L""), std::nullopt);
    EXPECT_EQ(optionValueOf(L"/BGIMAGE"), OptionValue::fileOrNone);
    EXPECT_EQ(optionValueOf(L"-capture"), OptionValue::file);
    EXPECT_EQ(optionValueOf(L"-ssname"), OptionValue::text);
    EXPECT_EQ(optionValueOf(L"-connect"), OptionValue::none);
    EXPECT_EQ(optionValueOf(L"-bogus"), std::nullopt);
    for (const wchar_t* yes : {L"on", L"ON", L"1", L"true", L"True", L"yes", L"yEs"}) EXPECT_TRUE(optionBoolValue(yes)) << yes;
    for (const wchar_t* no : {L"off", L"0", L"maybe", L"", L"2", L"y", L"true "}) EXPECT_FALSE(optionBoolValue(no)) << no;
}

}  // namespace
}  // namespace orvane
