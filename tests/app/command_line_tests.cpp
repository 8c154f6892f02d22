#include "app/command_line.h"
#include "app/settings_profile.h"
#include "recording_target.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <tuple>
#include <string>

namespace orvane {
namespace {

using test::commandLine;
using test::RecordingTarget;

// Collects what writeSettings writes, so a record reads as "key=value" words.
struct KeyValues : ProfileStore {
    std::map<std::wstring, std::wstring> values;  // "section.key" -> value
    std::vector<std::wstring> order;
    std::wstring readText(const wchar_t*, const wchar_t*, const wchar_t* fallback) override { return fallback; }
    void writeText(const wchar_t* section, const wchar_t* key, const std::optional<std::wstring>& value) override {
        const std::wstring name = std::wstring(key) == L"port" ? std::wstring(section) + L"." + key : key;
        order.push_back(name);
        values[name] = value.value_or(L"");
    }
};

// What a pass left behind in one line: the settings that differ from the
// defaults, the start-up flags, then the logged calls.
std::wstring outcome(const RecordingTarget& target, bool withSettings = true) {
    KeyValues defaults, now;
    writeSettings(AppSettings{}, defaults);
    writeSettings(target.record, now);
    std::wstring text;
    const auto add = [&](const std::wstring& word) { text += (text.empty() || word.empty() ? L"" : L" ") + word; };
    for (const std::wstring& key : now.order) {
        if (withSettings && now.values[key] != defaults.values[key]) add(key + L"=" + now.values[key]);
    }
    const StartupFlags& flags = target.flags;
    add(std::wstring(flags.maximize ? L"maximize" : L"") + (flags.slim ? L" slim" : L"") + (flags.save ? L" save" : L""));
    if (flags.size) add(L"size=" + std::to_wstring(flags.size->width) + L"x" + std::to_wstring(flags.size->height));
    add(flags.unknownOptions.empty() ? L"" : L"unknown=" + flags.unknownOptions);
    add(target.log);
    return text;
}

// Options -> what the pass before the window stores (it shows nothing yet).
const std::pair<const wchar_t*, const wchar_t*> kStored[] = {
    {L"/BAUD 9600 -echo On -cursor Underline -ssformat JPEG", L"baud=9600 local_echo=true cursor_style=double format=jpg"},
    {L"-Baud fast -echo TRUE -cursor DoubleUnderline -ssformat Jpg", L"baud=fast local_echo=true cursor_style=double format=jpg"},
    {L"-echo 1 -cursor OUTLINE -bgopacity 57% -playchardelay -5", L"local_echo=true cursor_style=outline play_char_delay_ms=0 opacity=57"},
    {L"-echo YES -bgopacity -3 -playchardelay 4294967297 -proto udp", L"proto=UDP local_echo=true play_char_delay_ms=500 opacity=0"},
    {L"-echo yes -echo maybe -cursor outline -cursor beam -ssformat jpg -ssformat gif -bgopacity 250", L""},
    {L"-bgopacity half -playeoldelay 20 -proto foo -inputmode line", L"proto=FOO input_mode=line play_eol_delay_ms=20 opacity=0"},
    {L"-playeoldelay 501 -proto u\u00e9p -inputmode LINE", L"proto=U\u00e9P play_eol_delay_ms=500"},
    {L"-inputmode line -inputmode lines -bgfit center -bgfit fill -bgimage a.png -bgimage NONE", L""},
    {L"-lineterm crlf -displaymode hex -framing 7e1 -playeol lf -bgfit Stretch", L"framing=7E1 line_terminator=CRLF display_mode=HEX play_eol=LF fit=stretch"},
    {L"-bgimage Bg.PNG -geometry 132X25 -palette one-HALF", L"palette=one-HALF geometry=132X25 image=Bg.PNG"},
    {L"-bgimage a.png -bgimage '' -lan -serial", L""},
    {L"-bell chime -bellwav b.wav -lan -host 10.0.0.9 -netport 99999", L"mode=lan host=10.0.0.9 network.port=99999 bell_mode=chime bell_wav=b.wav"},
    {L"-port -connect -rts off -dtr 0 -autoscroll no -cursorblink false",
     L"last.port=-connect auto_scroll=false cursor_blink=false rts=false dtr=false"},
    {L"-mediacache off -mediarepo off -sounds off -capturehex on -ssautonumber on -sswithbg on -sswithglass on",
     L"capture_hex=true media_cache=false media_repo=false sounds=false autonumber=true withbg=true withglass=true"},
    {L"-ssfolder shots -ssname grid -bogus stray -connect -help -? /DIAG -exit -noconnect -echo", L"folder=shots basename=grid unknown=-bogus stray -echo"},
    {L"--baud 9600 baud -baud", L"unknown=--baud 9600 baud -baud"},
    {L"-maximize /SLIM -save -minimize -restore -lock -unlock", L"maximize slim save"},
    {L"-size 800x600 -size 0x600", L"size=800x600"},
    {L"-size 800x-1 -size 800 -size 800X600", L""},
    {L"-size 1x1 -size", L"size=1x1 unknown=-size"},
};

TEST(CommandLine, TheFirstPassStoresEachSettingWithItsNormalisationAndListsUnknownArguments) {
    for (const auto& [options, stored] : kStored) {
        RecordingTarget target;
        EXPECT_EQ(applyCommandLine(commandLine(options), CommandPass::beforeWindow, target), 0);
        EXPECT_EQ(outcome(target), stored) << options;
    }
}

// Options -> calls after the window at start-up, calls when forwarded (null:
// the same), the result of both.
struct EffectCase {
    const wchar_t* options;
    const wchar_t* afterWindow;
    const wchar_t* forwarded = nullptr;
    int result = 0;
};

const EffectCase kEffects[] = {
    {L"-baud 9600 -framing 7e1", L"", L"selectBaud 9600; reapplyLineSettings; selectFraming 7E1; reapplyLineSettings"},
    {L"-lan -serial -port COM7", L"", L"switchMode on; switchMode off; refreshPorts COM7"},
    {L"-port -connect -host h -netport 23 -proto udp", L"", L"refreshPorts -connect; setHostText h; setNetPortText 23; setProto UDP"},
    {L"-palette Ubuntu -echo on -inputmode line", L"", L"setPalette Ubuntu; setLocalEcho on; setInputMode line"},
    {L"-lineterm lf -autoscroll off -displaymode ascii", L"", L"setLineTerminator LF; setAutoScroll off; setDisplayMode ASCII"},
    {L"-geometry 132x24 -geometry 100x40 -cursor underline -cursorblink on", L"", L"setGeometry 132x24; setCursorStyle double; setCursorBlink on"},
    {L"-bell off -bellwav b.wav -capturehex on -ssname n -ssformat jpg", L"", L""},
    {L"-rts off -dtr on -mediacache off -mediarepo on -sounds no", L"", L"setRts off; setDtr on; setMediaCache off; setMediaRepo on; setSounds off"},
    {L"-bgimage None -bgimage bg.png -bgfit CENTER -bgopacity 250", L"", L"setBackgroundImage; setBackgroundImage bg.png; setBackgroundFit center; setBackgroundOpacity 100"},
    {L"-playchardelay -5 -playeoldelay 7 -playeol crlf", L"", L"setPlayCharDelay 0; setPlayEolDelay 7; setPlayEol CRLF"},
    {L"-maximize -slim -size 640x480 -size 0x0 -minimize -restore", L"", L"maximizeWindow; enterSlim; resizeWindow 640x480; minimizeWindow; restoreWindow"},
    {L"-lock /Unlock -save -help -exit -diag -connect -connect -disconnect -noconnect", L"lockUi; unlockUi; connect; disconnect"},
    {L"-clearcache", L"clearMediaCache", L"clearMediaCache; showNotice Cleared 3 cached image(s)"},
    {L"-capture c.bin -play bad.txt -snap", L"startCapture c.bin; startPlayback bad.txt; snapScreenshot"},
    {L"-send bad.txt -send s.txt", L"resetPlayDone; startPlayback bad.txt; signalPlayDone; resetPlayDone; startPlayback s.txt", nullptr, 1},
    {L"-screenshot bad/x.png -send bad.txt -screenshot ok.png",
     L"saveScreenshot bad/x.png; resetPlayDone; startPlayback bad.txt; signalPlayDone; saveScreenshot ok.png"},
    {L"-screenshot bad/x.png -send s.txt", L"saveScreenshot bad/x.png; resetPlayDone; startPlayback s.txt", nullptr, 1},
    {L"-screenshot ok.png -screenshot bad/x.png", L"saveScreenshot ok.png; saveScreenshot bad/x.png", nullptr, 1},
    {L"-screenshot", L""},
    {L"-baud 9600 -bogus -connect", L"connect", L"selectBaud 9600; reapplyLineSettings; connect"},
};

TEST(CommandLine, LaterPassesRunActionsInOrderAndOnlyTheForwardedPassAppliesSettingsLive) {
    for (const EffectCase& row : kEffects) {
        const auto args = commandLine(row.options);
        RecordingTarget stored, started, running;
        EXPECT_EQ(applyCommandLine(args, CommandPass::beforeWindow, stored), 0) << row.options;
        EXPECT_EQ(applyCommandLine(args, CommandPass::afterWindow, started), row.result) << row.options;
        EXPECT_EQ(outcome(started), row.afterWindow) << row.options;  // consumed, not stored
        EXPECT_EQ(applyCommandLine(args, CommandPass::forwarded, running), row.result) << row.options;
        EXPECT_EQ(outcome(running, false), row.forwarded ? row.forwarded : row.afterWindow) << row.options;
        EXPECT_EQ(running.record, stored.record) << row.options;  // the same values as at start-up
    }
}

TEST(CommandLine, StartupActionsPersistOnlyWithSaveAndRestorePersistenceAfterwards) {
    for (const bool save : {false, true}) {
        RecordingTarget target;
        target.flags.save = save;
        applyStartupActions(commandLine(L"-connect"), target);
        EXPECT_EQ(target.log, save ? L"connect; save" : L"connect");
        EXPECT_EQ(target.persistAtLastCall, save);
        EXPECT_TRUE(persistSettings);
    }
}

TEST(CommandLine, OptionNamesKindsOfValueAndBooleanValues) {
    const std::tuple<const wchar_t*, std::optional<std::wstring>, std::optional<OptionValue>> rows[] = {
        {L"/SaVe", L"save", OptionValue::none}, {L"-?", L"?", OptionValue::none}, {L"save", std::nullopt, std::nullopt},
        {L"", std::nullopt, std::nullopt}, {L"/BGIMAGE", L"bgimage", OptionValue::fileOrNone},
        {L"-capture", L"capture", OptionValue::file}, {L"-ssname", L"ssname", OptionValue::text}, {L"-bogus", L"bogus", std::nullopt},
    };
    for (const auto& [argument, name, value] : rows) {
        EXPECT_EQ(optionNameOf(argument), name) << argument;
        EXPECT_EQ(optionValueOf(argument), value) << argument;
    }
    for (const wchar_t* yes : {L"on", L"ON", L"1", L"true", L"True", L"yes", L"yEs"}) EXPECT_TRUE(optionBoolValue(yes)) << yes;
    for (const wchar_t* no : {L"off", L"0", L"maybe", L"", L"2", L"y", L"true "}) EXPECT_FALSE(optionBoolValue(no)) << no;
}

}  // namespace
}  // namespace orvane
