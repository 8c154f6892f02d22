// The settings record in "Orvane.ini" beside the executable, through the
// private-profile functions.
#include "app/exe_folder.h"
#include "app/settings.h"
#include "app/settings_profile.h"
#include "app/win32/executable_folder.h"
#include "app/win32/settings_file.h"

#include <windows.h>

namespace orvane {

namespace {

// The profile functions cut a value to the buffer; 1023 characters pass.
constexpr DWORD kValueBufferChars = 1024;
constexpr DWORD kModulePathChars = 260;

class PrivateProfileFile final : public ProfileStore {
public:
    explicit PrivateProfileFile(std::wstring filePath) : path(std::move(filePath)) {}

    std::wstring readText(const wchar_t* section, const wchar_t* key, const wchar_t* fallback) override {
        wchar_t buffer[kValueBufferChars] = {};
        const DWORD length = GetPrivateProfileStringW(section, key, fallback, buffer, kValueBufferChars, path.c_str());
        return std::wstring(buffer, length);
    }

    void writeText(const wchar_t* section, const wchar_t* key, const std::optional<std::wstring>& value) override {
        WritePrivateProfileStringW(section, key, value ? value->c_str() : nullptr, path.c_str());
    }

private:
    std::wstring path;
};

}  // namespace

std::wstring executableFolder() {
    wchar_t buffer[kModulePathChars] = {};
    const DWORD length = GetModuleFileNameW(nullptr, buffer, kModulePathChars);
    return folderOfPath(std::wstring_view(buffer, length));
}

std::wstring settingsFilePath() {
    return settingsFileIn(executableFolder());
}

AppSettings loadSettingsFrom(const std::wstring& path) {
    if (path.empty() || GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return AppSettings{};
    PrivateProfileFile file(path);
    return readSettings(file);
}

void saveSettingsTo(const AppSettings& settings, const std::wstring& path) {
    PrivateProfileFile file(path);
    writeSettings(settings, file);
}

AppSettings loadSettings() {
    return loadSettingsFrom(settingsFilePath());
}

void saveSettings(const AppSettings& settings) {
    saveSettingsTo(settings, settingsFilePath());
}

}  // namespace orvane
