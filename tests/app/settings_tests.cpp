#include "app/exe_folder.h"
#include "app/settings.h"
#include "sample_settings.h"

#include <gtest/gtest.h>

#include <tuple>

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

TEST(SettingsNormalise, AValidRecordStaysAndEmptyTextsTakeTheirDefaults) {
    // Free texts such as an unknown palette or baud rate stay as read.
    AppSettings freeTexts = test::kSampleSettings;
    freeTexts.palette = L"No Such Palette";
    freeTexts.baud = L"abc";
    EXPECT_EQ(normalised(freeTexts), freeTexts);

    AppSettings cleared;
    for (std::wstring AppSettings::*field :
         {&AppSettings::mode, &AppSettings::host, &AppSettings::netPort, &AppSettings::proto, &AppSettings::baud,
          &AppSettings::framing, &AppSettings::palette, &AppSettings::inputMode, &AppSettings::lineTerminator,
          &AppSettings::displayMode, &AppSettings::geometry, &AppSettings::cursorStyle, &AppSettings::playEol,
          &AppSettings::bellMode, &AppSettings::bgFit, &AppSettings::ssFormat}) {
        (cleared.*field).clear();
    }
    EXPECT_EQ(normalised(cleared), AppSettings{});
}

TEST(SettingsNormalise, UnknownNamesBecomeTheDefaultAndKnownOnesStay) {
    struct Case {
        std::wstring AppSettings::*field;
        std::vector<std::wstring> accepted;
        std::vector<std::wstring> replaced;
    };
    const Case cases[] = {
        {&AppSettings::geometry, {L"80x24", L"80x25", L"132x24", L"132x25"}, {L"80X25", L"100x30"}},
        {&AppSettings::cursorStyle, {L"block", L"outline", L"double"}, {L"underline", L"Block"}},
        {&AppSettings::bellMode, {L"off", L"ding", L"visual"}, {L"Ding", L"beep", L"wav"}},  // wav needs a file
        {&AppSettings::bgFit, {L"stretch", L"aspect", L"center"}, {L"centre"}},
        {&AppSettings::ssFormat, {L"png", L"jpg"}, {L"jpeg", L"PNG"}},
    };
    for (const Case& c : cases) {
        AppSettings settings;
        for (const std::wstring& value : c.accepted) {
            settings.*c.field = value;
            EXPECT_EQ(normalised(settings).*c.field, value);
        }
        for (const std::wstring& value : c.replaced) {
            settings.*c.field = value;
            EXPECT_EQ(normalised(settings).*c.field, AppSettings{}.*c.field) << value;
        }
    }
}

TEST(SettingsNormalise, NumbersAreClampedToTheirRanges) {
    for (const auto& [field, low, high] : {std::tuple{&AppSettings::playCharDelayMs, 0, 500},
                                           {&AppSettings::playEolDelayMs, 0, 500}, {&AppSettings::bgOpacity, 0, 100}}) {
        for (const auto& [value, expected] : {std::pair{low - 1, low}, {low, low}, {high, high}, {high + 1, high}}) {
            AppSettings settings;
            settings.*field = value;
            EXPECT_EQ(normalised(settings).*field, expected) << value;
        }
    }
}

TEST(SettingsSwitches, OnlyTheExactNamesSelectLanAndUdpAndChangesArePersisted) {
    EXPECT_TRUE(lanModeSelected(test::kSampleSettings));
    EXPECT_TRUE(udpSelected(test::kSampleSettings));
    for (const auto& [mode, proto] : {std::pair{L"serial", L"TCP"}, {L"LAN", L"udp"}, {L"tcp", L"lan"}}) {
        AppSettings settings;
        settings.mode = mode;
        settings.proto = proto;
        EXPECT_FALSE(lanModeSelected(settings));
        EXPECT_FALSE(udpSelected(settings));
    }
    EXPECT_TRUE(persistSettings);  // until a command line without "-save" clears it
}

TEST(ExecutableFolder, TheFolderEndsBeforeTheLastSeparator) {
    EXPECT_EQ(folderOfPath(L"C:\\Tools\\Orvane\\orvane.exe"), L"C:\\Tools\\Orvane");
    EXPECT_EQ(folderOfPath(L"Z:/tmp/build/orvane.exe"), L"Z:/tmp/build");
    EXPECT_EQ(folderOfPath(L"C:\\a/b\\c.exe"), L"C:\\a/b");
    EXPECT_EQ(folderOfPath(L"C:\\orvane.exe"), L"C:");
    EXPECT_EQ(folderOfPath(L"orvane.exe"), L".");
    EXPECT_EQ(folderOfPath(L""), L".");
    EXPECT_EQ(settingsFileIn(L"C:\\Tools"), L"C:\\Tools\\Orvane.ini");
}

}  // namespace
}  // namespace orvane
