#include "app/exe_folder.h"
#include "app/settings.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

AppSettings normalised(AppSettings settings) {
    normaliseSettings(settings);
    return settings;
}

TEST(SettingsBool, OnlyFourLowerCaseWordsMeanFalse) {
    for (const wchar_t* text : {L"false", L"0", L"no", L"off"}) EXPECT_FALSE(settingBoolFromText(text)) << text;
    for (const wchar_t* text : {L"true", L"False", L"NO", L"Off", L"", L"1", L" false", L"false "}) {
        EXPECT_TRUE(settingBoolFromText(text)) << text;
    }
}

TEST(SettingsNormalise, EmptyTextsTakeTheirDefaults) {
    AppSettings settings;
    for (std::wstring* field : {&settings.mode, &settings.host, &settings.netPort, &settings.proto, &settings.baud,
                                &settings.framing, &settings.palette, &settings.inputMode, &settings.lineTerminator,
                                &settings.displayMode, &settings.playEol}) {
        field->clear();
    }
    const AppSettings result = normalised(settings);
    EXPECT_EQ(result.mode, L"serial");
    EXPECT_EQ(result.host, L"127.0.0.1");
    EXPECT_EQ(result.netPort, L"5000");
    EXPECT_EQ(result.proto, L"TCP");
    EXPECT_EQ(result.baud, L"115200");
    EXPECT_EQ(result.framing, L"8N1");
    EXPECT_EQ(result.palette, L"Campbell");
    EXPECT_EQ(result.inputMode, L"char");
    EXPECT_EQ(result.lineTerminator, L"CR");
    EXPECT_EQ(result.displayMode, L"ANSI");
    EXPECT_EQ(result.playEol, L"CR");
}

TEST(SettingsNormalise, FreeTextsStayAsRead) {
    AppSettings settings;
    settings.lastPort = L"";
    settings.palette = L"No Such Palette";
    settings.baud = L"abc";
    settings.lineTerminator = L"<none>";
    settings.bgImage = L"C:\\x.png";
    const AppSettings result = normalised(settings);
    EXPECT_EQ(result.lastPort, L"");
    EXPECT_EQ(result.palette, L"No Such Palette");
    EXPECT_EQ(result.baud, L"abc");
    EXPECT_EQ(result.lineTerminator, L"<none>");
    EXPECT_EQ(result.bgImage, L"C:\\x.png");
}

TEST(SettingsNormalise, UnknownNamesBecomeTheDefaultAndKnownOnesStay) {
    struct Case {
        std::wstring AppSettings::*field;
        std::vector<std::wstring> accepted;
        std::vector<std::wstring> replaced;
        std::wstring fallback;
    };
    const std::vector<Case> cases{
        {&AppSettings::geometry, {L"80x24", L"80x25", L"132x24", L"132x25"}, {L"80X25", L"", L"100x30"}, L"80x25"},
        {&AppSettings::cursorStyle, {L"block", L"outline", L"double"}, {L"underline", L"Block", L""}, L"block"},
        {&AppSettings::bellMode, {L"off", L"ding", L"visual"}, {L"Ding", L"beep", L""}, L"ding"},
        {&AppSettings::bgFit, {L"stretch", L"aspect", L"center"}, {L"centre", L""}, L"aspect"},
        {&AppSettings::ssFormat, {L"png", L"jpg"}, {L"jpeg", L"PNG", L""}, L"png"},
    };
    for (const Case& c : cases) {
        for (const std::wstring& value : c.accepted) {
            AppSettings settings;
            settings.*c.field = value;
            EXPECT_EQ(normalised(settings).*c.field, value);
        }
        for (const std::wstring& value : c.replaced) {
            AppSettings settings;
            settings.*c.field = value;
            EXPECT_EQ(normalised(settings).*c.field, c.fallback) << value;
        }
    }
}

TEST(SettingsNormalise, AWaveBellNeedsAFile) {
    AppSettings settings;
    settings.bellMode = L"wav";
    EXPECT_EQ(normalised(settings).bellMode, L"ding");
    settings.bellWav = L"C:\\bell.wav";
    EXPECT_EQ(normalised(settings).bellMode, L"wav");
}

TEST(SettingsNormalise, NumbersAreClampedToTheirRanges) {
    AppSettings settings;
    settings.playCharDelayMs = -3;
    settings.playEolDelayMs = 900;
    settings.bgOpacity = 250;
    AppSettings result = normalised(settings);
    EXPECT_EQ(result.playCharDelayMs, 0);
    EXPECT_EQ(result.playEolDelayMs, 500);
    EXPECT_EQ(result.bgOpacity, 100);

    settings.playCharDelayMs = 500;
    settings.playEolDelayMs = 0;
    settings.bgOpacity = -1;
    result = normalised(settings);
    EXPECT_EQ(result.playCharDelayMs, 500);
    EXPECT_EQ(result.playEolDelayMs, 0);
    EXPECT_EQ(result.bgOpacity, 0);
}

TEST(SettingsSwitches, OnlyTheExactNamesSelectLanAndUdp) {
    AppSettings settings;
    EXPECT_FALSE(lanModeSelected(settings));
    EXPECT_FALSE(udpSelected(settings));
    settings.mode = L"lan";
    settings.proto = L"UDP";
    EXPECT_TRUE(lanModeSelected(settings));
    EXPECT_TRUE(udpSelected(settings));
    settings.mode = L"LAN";
    settings.proto = L"udp";
    EXPECT_FALSE(lanModeSelected(normalised(settings)));
    EXPECT_FALSE(udpSelected(normalised(settings)));
}

TEST(ExecutableFolder, TheFolderEndsBeforeTheLastSeparator) {
    EXPECT_EQ(folderOfPath(L"C:\\Tools\\Orvane\\orvane.exe"), L"C:\\Tools\\Orvane");
    EXPECT_EQ(folderOfPath(L"Z:/tmp/build/orvane.exe"), L"Z:/tmp/build");
    EXPECT_EQ(folderOfPath(L"C:\\a/b\\c.exe"), L"C:\\a/b");
    EXPECT_EQ(folderOfPath(L"C:\\orvane.exe"), L"C:");
    EXPECT_EQ(folderOfPath(L"orvane.exe"), L".");
    EXPECT_EQ(folderOfPath(L""), L".");
    EXPECT_EQ(settingsFileIn(L"C:\\Tools"), L"C:\\Tools\\Orvane.ini");
    EXPECT_EQ(settingsFileIn(L"."), L".\\Orvane.ini");
}

}  // namespace
}  // namespace orvane
