#include "../sample_settings.h"
#include "app/settings.h"
#include "app/win32/executable_folder.h"
#include "app/win32/settings_file.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <tuple>

namespace orvane {
namespace {

// A fresh folder for one test's INI file, removed afterwards.
class IniFolder {
public:
    ~IniFolder() {
        DeleteFileW(path.c_str());
        RemoveDirectoryW(folder.c_str());
    }

    std::wstring value(const wchar_t* section, const wchar_t* key) const {
        wchar_t buffer[64] = {};
        GetPrivateProfileStringW(section, key, L"<missing>", buffer, 64, path.c_str());
        return buffer;
    }
    bool exists() const { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

    const std::wstring folder = freshFolder();
    const std::wstring path = folder + L"\\Orvane.ini";

private:
    static std::wstring freshFolder() {
        static int counter = 0;
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        std::wstring name = temp + (L"orvane-settings-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                    std::to_wstring(counter++));
        CreateDirectoryW(name.c_str(), nullptr);
        return name;
    }
};

TEST(SettingsFile, TheFileLivesBesideTheExecutable) {
    wchar_t module[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, module, MAX_PATH);
    const std::wstring modulePath = module;
    const std::wstring folder = modulePath.substr(0, modulePath.find_last_of(L"\\/"));
    EXPECT_EQ(executableFolder(), folder);
    EXPECT_EQ(settingsFilePath(), folder + L"\\Orvane.ini");
}

TEST(SettingsFile, NoFileGivesTheDefaultsAndEveryFieldSurvivesSaveAndLoad) {
    IniFolder ini;
    EXPECT_EQ(loadSettingsFrom(ini.path), AppSettings{});
    EXPECT_FALSE(ini.exists());
    saveSettingsTo(test::kSampleSettings, ini.path);
    EXPECT_EQ(loadSettingsFrom(ini.path), test::kSampleSettings);
    EXPECT_EQ(ini.value(L"legal", L"accepted_disclaimer_version"), L"-7");

    // Empty texts remove their keys, so the next load yields their defaults.
    saveSettingsTo(AppSettings{}, ini.path);
    EXPECT_EQ(ini.value(L"background", L"image"), L"<missing>");
    EXPECT_EQ(loadSettingsFrom(ini.path), AppSettings{});
}

TEST(SettingsFile, HandWrittenValuesFollowTheLoadRules) {
    IniFolder ini;
    for (const auto& [section, key, value] : {std::tuple{L"terminal", L"local_echo", L"False"},
                                              {L"terminal", L"capture_hex", L""}, {L"terminal", L"baud", L""},
                                              {L"terminal", L"play_char_delay_ms", L"-3"},
                                              {L"background", L"opacity", L"250"}}) {
        WritePrivateProfileStringW(section, key, value, ini.path.c_str());
    }
    AppSettings expected;
    expected.localEcho = true;
    expected.captureHex = true;  // an empty value is read as it is, not as the default
    expected.playCharDelayMs = 0;
    EXPECT_EQ(loadSettingsFrom(ini.path), expected);
}

TEST(SettingsFile, LongValuesAreCutAt1023Characters) {
    IniFolder ini;
    AppSettings saved;
    saved.bgImage = std::wstring(1500, L'p');
    saved.ssFolder = std::wstring(1023, L'f');
    saveSettingsTo(saved, ini.path);
    const AppSettings loaded = loadSettingsFrom(ini.path);
    EXPECT_EQ(loaded.bgImage, std::wstring(1023, L'p'));
    EXPECT_EQ(loaded.ssFolder, saved.ssFolder);
}

TEST(SettingsFile, AFileThatCannotBeWrittenIsLeftAloneSilently) {
    IniFolder ini;
    saveSettingsTo(AppSettings{}, ini.path);
    // Held open without write sharing: every attempt to write fails, as for a
    // read-only file (which root under Wine could still write).
    const HANDLE holder =
        CreateFileW(ini.path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    saveSettingsTo(test::kSampleSettings, ini.path);
    CloseHandle(holder);
    EXPECT_EQ(loadSettingsFrom(ini.path), AppSettings{});

    // A folder that does not exist cannot take a file at all.
    const std::wstring nowhere = ini.folder + L"\\missing\\Orvane.ini";
    saveSettingsTo(test::kSampleSettings, nowhere);
    EXPECT_EQ(GetFileAttributesW(nowhere.c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
}  // namespace orvane
