#include "app/settings.h"
#include "app/win32/executable_folder.h"
#include "app/win32/settings_file.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <string>

namespace orvane {
namespace {

// A fresh folder for one test's INI file, removed afterwards.
class IniFolder {
public:
    IniFolder() {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        folder = std::wstring(temp) + L"orvane-settings-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                 std::to_wstring(counter++);
        CreateDirectoryW(folder.c_str(), nullptr);
        path = folder + L"\\Orvane.ini";
    }
    ~IniFolder() {
        DeleteFileW(path.c_str());
        RemoveDirectoryW(folder.c_str());
    }

    void writeText(const std::string& text) const {
        const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        CloseHandle(file);
    }
    std::wstring value(const wchar_t* section, const wchar_t* key) const {
        wchar_t buffer[4096] = {};
        GetPrivateProfileStringW(section, key, L"<missing>", buffer, 4096, path.c_str());
        return buffer;
    }
    bool exists() const { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

    std::wstring folder;
    std::wstring path;

private:
    static inline int counter = 0;
};

TEST(SettingsFile, TheFileLivesBesideTheExecutable) {
    wchar_t module[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, module, MAX_PATH);
    const std::wstring modulePath = module;
    const std::wstring folder = modulePath.substr(0, modulePath.find_last_of(L"\\/"));
    EXPECT_EQ(executableFolder(), folder);
    EXPECT_EQ(settingsFilePath(), folder + L"\\Orvane.ini");
}

TEST(SettingsFile, NoFileGivesTheDefaultsAndTheFirstSaveCreatesIt) {
    IniFolder ini;
    ASSERT_FALSE(ini.exists());
    const AppSettings loaded = loadSettingsFrom(ini.path);
    EXPECT_FALSE(ini.exists());
    EXPECT_EQ(loaded.host, L"127.0.0.1");
    EXPECT_EQ(loaded.geometry, L"80x25");
    saveSettingsTo(loaded, ini.path);
    EXPECT_TRUE(ini.exists());
    EXPECT_EQ(ini.value(L"terminal", L"local_echo"), L"false");
    EXPECT_EQ(ini.value(L"network", L"port"), L"5000");
}

TEST(SettingsFile, EveryKeySurvivesSaveAndLoad) {
    IniFolder ini;
    AppSettings saved;
    saved.lastPort = L"COM12";
    saved.windowGeom = L"1024x768+-8+30";
    saved.mode = L"lan";
    saved.host = L"device.local";
    saved.netPort = L"2323";
    saved.proto = L"UDP";
    saved.acceptedDisclaimerVersion = -7;
    saved.baud = L"921600";
    saved.framing = L"8E1";
    saved.palette = L"One Half Dark";
    saved.localEcho = true;
    saved.inputMode = L"line";
    saved.lineTerminator = L"<none>";
    saved.autoScroll = false;
    saved.displayMode = L"ASCII";
    saved.geometry = L"132x25";
    saved.cursorStyle = L"outline";
    saved.cursorBlink = false;
    saved.rts = false;
    saved.dtr = false;
    saved.playCharDelayMs = 499;
    saved.playEolDelayMs = 1;
    saved.playEol = L"CRLF";
    saved.playStripLf = false;
    saved.captureHex = true;
    saved.bellMode = L"visual";
    saved.bellWav = L"Z:\\tmp\\bell.wav";
    saved.mediaCache = false;
    saved.mediaRepo = false;
    saved.sounds = false;
    saved.bgImage = L"C:\\Users\\\u00e9l\u00e8ve\\fond.png";
    saved.bgFit = L"stretch";
    saved.bgOpacity = 42;
    saved.ssFolder = L"C:\\shots";
    saved.ssBasename = L"grid";
    saved.ssAutonumber = true;
    saved.ssFormat = L"jpg";
    saved.ssWithBg = true;
    saved.ssWithGlass = true;
    saveSettingsTo(saved, ini.path);
    const AppSettings loaded = loadSettingsFrom(ini.path);

    EXPECT_EQ(loaded.lastPort, saved.lastPort);
    EXPECT_EQ(loaded.windowGeom, saved.windowGeom);
    EXPECT_EQ(loaded.mode, saved.mode);
    EXPECT_EQ(loaded.host, saved.host);
    EXPECT_EQ(loaded.netPort, saved.netPort);
    EXPECT_EQ(loaded.proto, saved.proto);
    EXPECT_EQ(loaded.acceptedDisclaimerVersion, saved.acceptedDisclaimerVersion);
    EXPECT_EQ(loaded.baud, saved.baud);
    EXPECT_EQ(loaded.framing, saved.framing);
    EXPECT_EQ(loaded.palette, saved.palette);
    EXPECT_EQ(loaded.localEcho, saved.localEcho);
    EXPECT_EQ(loaded.inputMode, saved.inputMode);
    EXPECT_EQ(loaded.lineTerminator, saved.lineTerminator);
    EXPECT_EQ(loaded.autoScroll, saved.autoScroll);
    EXPECT_EQ(loaded.displayMode, saved.displayMode);
    EXPECT_EQ(loaded.geometry, saved.geometry);
    EXPECT_EQ(loaded.cursorStyle, saved.cursorStyle);
    EXPECT_EQ(loaded.cursorBlink, saved.cursorBlink);
    EXPECT_EQ(loaded.rts, saved.rts);
    EXPECT_EQ(loaded.dtr, saved.dtr);
    EXPECT_EQ(loaded.playCharDelayMs, saved.playCharDelayMs);
    EXPECT_EQ(loaded.playEolDelayMs, saved.playEolDelayMs);
    EXPECT_EQ(loaded.playEol, saved.playEol);
    EXPECT_EQ(loaded.playStripLf, saved.playStripLf);
    EXPECT_EQ(loaded.captureHex, saved.captureHex);
    EXPECT_EQ(loaded.bellMode, saved.bellMode);
    EXPECT_EQ(loaded.bellWav, saved.bellWav);
    EXPECT_EQ(loaded.mediaCache, saved.mediaCache);
    EXPECT_EQ(loaded.mediaRepo, saved.mediaRepo);
    EXPECT_EQ(loaded.sounds, saved.sounds);
    EXPECT_EQ(loaded.bgImage, saved.bgImage);
    EXPECT_EQ(loaded.bgFit, saved.bgFit);
    EXPECT_EQ(loaded.bgOpacity, saved.bgOpacity);
    EXPECT_EQ(loaded.ssFolder, saved.ssFolder);
    EXPECT_EQ(loaded.ssBasename, saved.ssBasename);
    EXPECT_EQ(loaded.ssAutonumber, saved.ssAutonumber);
    EXPECT_EQ(loaded.ssFormat, saved.ssFormat);
    EXPECT_EQ(loaded.ssWithBg, saved.ssWithBg);
    EXPECT_EQ(loaded.ssWithGlass, saved.ssWithGlass);
}

TEST(SettingsFile, HandWrittenValuesFollowTheLoadRules) {
    IniFolder ini;
    ini.writeText(
        "[terminal]\r\n"
        "local_echo=False\r\n"
        "auto_scroll=off\r\n"
        "cursor_blink=\r\n"
        "capture_hex=0\r\n"
        "play_char_delay_ms=-3\r\n"
        "play_eol_delay_ms=900\r\n"
        "geometry=80X25\r\n"
        "cursor_style=underline\r\n"
        "bell_mode=wav\r\n"
        "baud=\r\n"
        "[background]\r\n"
        "opacity=250\r\n"
        "[network]\r\n"
        "proto=udp\r\n"
        "mode=LAN\r\n");
    const AppSettings loaded = loadSettingsFrom(ini.path);
    EXPECT_TRUE(loaded.localEcho);
    EXPECT_FALSE(loaded.autoScroll);
    EXPECT_TRUE(loaded.cursorBlink);
    EXPECT_FALSE(loaded.captureHex);
    EXPECT_EQ(loaded.playCharDelayMs, 0);
    EXPECT_EQ(loaded.playEolDelayMs, 500);
    EXPECT_EQ(loaded.geometry, L"80x25");
    EXPECT_EQ(loaded.cursorStyle, L"block");
    EXPECT_EQ(loaded.bellMode, L"ding");
    EXPECT_EQ(loaded.baud, L"115200");
    EXPECT_EQ(loaded.bgOpacity, 100);
    EXPECT_FALSE(udpSelected(loaded));
    EXPECT_FALSE(lanModeSelected(loaded));
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

TEST(SettingsFile, AnEmptyTextRemovesItsKey) {
    IniFolder ini;
    AppSettings saved;
    saved.bgImage = L"C:\\b.png";
    saved.host = L"10.0.0.9";
    saveSettingsTo(saved, ini.path);
    EXPECT_EQ(ini.value(L"background", L"image"), L"C:\\b.png");
    saved.bgImage.clear();
    saved.host.clear();
    saveSettingsTo(saved, ini.path);
    EXPECT_EQ(ini.value(L"background", L"image"), L"<missing>");
    EXPECT_EQ(ini.value(L"network", L"host"), L"<missing>");
    EXPECT_EQ(ini.value(L"background", L"fit"), L"aspect");
    EXPECT_EQ(loadSettingsFrom(ini.path).host, L"127.0.0.1");
}

TEST(SettingsFile, AFileThatCannotBeWrittenIsLeftAloneSilently) {
    IniFolder ini;
    AppSettings saved;
    saved.palette = L"Before";
    saveSettingsTo(saved, ini.path);
    AppSettings changed = saved;
    changed.palette = L"After";
    {
        // Held open without write sharing: every attempt to write fails, as
        // for a read-only file (which root under Wine could still write).
        const HANDLE holder = CreateFileW(ini.path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                                          nullptr);
        ASSERT_NE(holder, INVALID_HANDLE_VALUE);
        saveSettingsTo(changed, ini.path);
        CloseHandle(holder);
    }
    EXPECT_EQ(changed.palette, L"After");  // the record keeps its value
    EXPECT_EQ(loadSettingsFrom(ini.path).palette, L"Before");

    // A folder that does not exist cannot take a file at all.
    const std::wstring nowhere = ini.folder + L"\\missing\\Orvane.ini";
    saveSettingsTo(changed, nowhere);
    EXPECT_EQ(GetFileAttributesW(nowhere.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(loadSettingsFrom(nowhere).palette, L"Campbell");
}

}  // namespace
}  // namespace orvane
