#include "app/settings_profile.h"

#include "app/number_text.h"

#include <variant>

namespace orvane {

namespace {

using Field = std::variant<std::wstring AppSettings::*, int AppSettings::*, bool AppSettings::*>;

struct SettingKey {
    const wchar_t* section;
    const wchar_t* key;
    Field field;
};

// Every persisted field, in the order of the record.
const SettingKey kSettingKeys[] = {
    {L"last", L"port", &AppSettings::lastPort},
    {L"window", L"geom", &AppSettings::windowGeom},
    {L"network", L"mode", &AppSettings::mode},
    {L"network", L"host", &AppSettings::host},
    {L"network", L"port", &AppSettings::netPort},
    {L"network", L"proto", &AppSettings::proto},
    {L"legal", L"accepted_disclaimer_version", &AppSettings::acceptedDisclaimerVersion},
    {L"terminal", L"baud", &AppSettings::baud},
    {L"terminal", L"framing", &AppSettings::framing},
    {L"terminal", L"palette", &AppSettings::palette},
    {L"terminal", L"local_echo", &AppSettings::localEcho},
    {L"terminal", L"input_mode", &AppSettings::inputMode},
    {L"terminal", L"line_terminator", &AppSettings::lineTerminator},
    {L"terminal", L"auto_scroll", &AppSettings::autoScroll},
    {L"terminal", L"display_mode", &AppSettings::displayMode},
    {L"terminal", L"geometry", &AppSettings::geometry},
    {L"terminal", L"cursor_style", &AppSettings::cursorStyle},
    {L"terminal", L"cursor_blink", &AppSettings::cursorBlink},
    {L"terminal", L"rts", &AppSettings::rts},
    {L"terminal", L"dtr", &AppSettings::dtr},
    {L"terminal", L"play_char_delay_ms", &AppSettings::playCharDelayMs},
    {L"terminal", L"play_eol_delay_ms", &AppSettings::playEolDelayMs},
    {L"terminal", L"play_eol", &AppSettings::playEol},
    {L"terminal", L"play_strip_lf", &AppSettings::playStripLf},
    {L"terminal", L"capture_hex", &AppSettings::captureHex},
    {L"terminal", L"bell_mode", &AppSettings::bellMode},
    {L"terminal", L"bell_wav", &AppSettings::bellWav},
    {L"pictel", L"media_cache", &AppSettings::mediaCache},
    {L"pictel", L"media_repo", &AppSettings::mediaRepo},
    {L"pictel", L"sounds", &AppSettings::sounds},
    {L"background", L"image", &AppSettings::bgImage},
    {L"background", L"fit", &AppSettings::bgFit},
    {L"background", L"opacity", &AppSettings::bgOpacity},
    {L"screenshot", L"folder", &AppSettings::ssFolder},
    {L"screenshot", L"basename", &AppSettings::ssBasename},
    {L"screenshot", L"autonumber", &AppSettings::ssAutonumber},
    {L"screenshot", L"format", &AppSettings::ssFormat},
    {L"screenshot", L"withbg", &AppSettings::ssWithBg},
    {L"screenshot", L"withglass", &AppSettings::ssWithGlass},
};

const wchar_t* boolText(bool value) {
    return value ? L"true" : L"false";
}

struct KeyReader {
    ProfileStore& store;
    const SettingKey& entry;
    AppSettings& settings;

    void operator()(std::wstring AppSettings::*field) const {
        const std::wstring fallback = settings.*field;
        settings.*field = store.readText(entry.section, entry.key, fallback.c_str());
    }
    // A number that cannot be read keeps the default; a huge one saturates
    // (and is clamped later) instead of wrapping into range.
    void operator()(int AppSettings::*field) const {
        const std::wstring fallback = std::to_wstring(settings.*field);
        settings.*field = numberOr(store.readText(entry.section, entry.key, fallback.c_str()), settings.*field);
    }
    void operator()(bool AppSettings::*field) const {
        settings.*field = settingBoolFromText(store.readText(entry.section, entry.key, boolText(settings.*field)));
    }
};

struct KeyWriter {
    ProfileStore& store;
    const SettingKey& entry;
    const AppSettings& settings;

    void operator()(std::wstring AppSettings::*field) const {
        const std::wstring& value = settings.*field;
        store.writeText(entry.section, entry.key, value.empty() ? std::nullopt : std::optional(value));
    }
    void operator()(int AppSettings::*field) const {
        store.writeText(entry.section, entry.key, std::to_wstring(settings.*field));
    }
    void operator()(bool AppSettings::*field) const {
        store.writeText(entry.section, entry.key, std::wstring(boolText(settings.*field)));
    }
};

}  // namespace

AppSettings readSettings(ProfileStore& store) {
    AppSettings settings;
    for (const SettingKey& entry : kSettingKeys) std::visit(KeyReader{store, entry, settings}, entry.field);
    normaliseSettings(settings);
    return settings;
}

void writeSettings(const AppSettings& settings, ProfileStore& store) {
    for (const SettingKey& entry : kSettingKeys) std::visit(KeyWriter{store, entry, settings}, entry.field);
}

}  // namespace orvane
