#include "app/settings_profile.h"
#include "sample_settings.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace orvane {
namespace {

using IniValues = std::map<std::wstring, std::wstring>;  // "section/key" -> value

// An INI file in memory, with the private-profile rules for reading.
class MemoryProfile : public ProfileStore {
public:
    explicit MemoryProfile(IniValues initial = {}) : values(std::move(initial)) {}

    std::wstring readText(const wchar_t* section, const wchar_t* key, const wchar_t* fallback) override {
        const auto found = values.find(path(section, key));
        return found == values.end() ? fallback : found->second.substr(0, 1023);
    }
    void writeText(const wchar_t* section, const wchar_t* key, const std::optional<std::wstring>& value) override {
        writes.push_back(path(section, key));
        if (value) {
            values[writes.back()] = *value;
        } else {
            values.erase(writes.back());
        }
    }

    static std::wstring path(const wchar_t* section, const wchar_t* key) { return std::wstring(section) + L"/" + key; }

    IniValues values;
    std::vector<std::wstring> writes;
};

// The file format, key by key in the order of the record: the value the
// defaults and the sample record write (nullptr: no key, an empty text).
struct KeyRow {
    const wchar_t* key;
    const wchar_t* asDefault;
    const wchar_t* asSample;
};
const KeyRow kKeys[] = {
    {L"last/port", nullptr, L"COM12"}, {L"window/geom", nullptr, L"1024x768+-8+30"},
    {L"network/mode", L"serial", L"lan"}, {L"network/host", L"127.0.0.1", L"fe80::1%3"},
    {L"network/port", L"5000", L"2323"}, {L"network/proto", L"TCP", L"UDP"},
    {L"legal/accepted_disclaimer_version", L"0", L"-7"}, {L"terminal/baud", L"115200", L"921600"},
    {L"terminal/framing", L"8N1", L"7E1"}, {L"terminal/palette", L"Campbell", L"One Half Dark"},
    {L"terminal/local_echo", L"false", L"true"}, {L"terminal/input_mode", L"char", L"line"},
    {L"terminal/line_terminator", L"CR", L"<none>"}, {L"terminal/auto_scroll", L"true", L"false"},
    {L"terminal/display_mode", L"ANSI", L"HEX"}, {L"terminal/geometry", L"80x25", L"132x24"},
    {L"terminal/cursor_style", L"block", L"double"}, {L"terminal/cursor_blink", L"true", L"false"},
    {L"terminal/rts", L"true", L"false"}, {L"terminal/dtr", L"true", L"true"},
    {L"terminal/play_char_delay_ms", L"5", L"0"}, {L"terminal/play_eol_delay_ms", L"10", L"500"},
    {L"terminal/play_eol", L"CR", L"CRLF"}, {L"terminal/play_strip_lf", L"true", L"false"},
    {L"terminal/capture_hex", L"false", L"true"}, {L"terminal/bell_mode", L"ding", L"wav"},
    {L"terminal/bell_wav", nullptr, L"Z:\\tmp\\bell.wav"}, {L"pictel/media_cache", L"true", L"false"},
    {L"pictel/media_repo", L"true", L"true"}, {L"pictel/sounds", L"true", L"false"},
    {L"background/image", nullptr, L"C:\\Users\\\u00e9l\u00e8ve\\fond.png"}, {L"background/fit", L"aspect", L"center"},
    {L"background/opacity", L"100", L"42"}, {L"screenshot/folder", nullptr, L"C:\\shots"},
    {L"screenshot/basename", nullptr, L"grid"}, {L"screenshot/autonumber", L"false", L"true"},
    {L"screenshot/format", L"png", L"jpg"}, {L"screenshot/withbg", L"false", L"true"},
    {L"screenshot/withglass", L"false", L"false"},
};

IniValues fileOf(const wchar_t* KeyRow::*column) {
    IniValues values;
    for (const KeyRow& row : kKeys) {
        if (row.*column != nullptr) values[row.key] = row.*column;
    }
    return values;
}

TEST(SettingsProfile, EveryFieldIsWrittenOnceUnderItsOwnKeyInRecordOrder) {
    std::vector<std::wstring> order;
    for (const KeyRow& row : kKeys) order.push_back(row.key);
    for (const auto& [record, column] : {std::pair{AppSettings{}, &KeyRow::asDefault},
                                         std::pair{test::kSampleSettings, &KeyRow::asSample}}) {
        MemoryProfile file;
        writeSettings(record, file);
        EXPECT_EQ(file.values, fileOf(column));
        EXPECT_EQ(file.writes, order);  // empty texts too, as removals
    }
}

TEST(SettingsProfile, ReadingAFileGivesItsRecordAndAnEmptyFileTheDefaults) {
    MemoryProfile sample(fileOf(&KeyRow::asSample));
    EXPECT_EQ(readSettings(sample), test::kSampleSettings);
    MemoryProfile empty;
    EXPECT_EQ(readSettings(empty), AppSettings{});
}

TEST(SettingsProfile, SavingEmptyTextsRemovesTheirKeys) {
    MemoryProfile file;
    writeSettings(test::kSampleSettings, file);
    writeSettings(AppSettings{}, file);
    EXPECT_EQ(file.values, fileOf(&KeyRow::asDefault));
}

TEST(SettingsProfile, LoadedValuesFollowTheBooleanRuleAndAreNormalised) {
    MemoryProfile file({{L"terminal/local_echo", L"False"}, {L"terminal/auto_scroll", L"off"},
                        {L"terminal/capture_hex", L""}, {L"background/opacity", L"250"},
                        {L"network/host", L""}, {L"terminal/bell_mode", L"wav"}});
    AppSettings expected;
    expected.localEcho = true;
    expected.autoScroll = false;
    expected.captureHex = true;
    EXPECT_EQ(readSettings(file), expected);
}

TEST(SettingsProfile, NumbersSaturateInsteadOfWrappingAndUnreadableOnesKeepTheirDefault) {
    MemoryProfile file({{L"terminal/play_char_delay_ms", L"4294967297"}, {L"terminal/play_eol_delay_ms", L"fast"},
                        {L"background/opacity", L"-4294967201"}, {L"legal/accepted_disclaimer_version", L" +1st"}});
    AppSettings expected;
    expected.playCharDelayMs = 500;  // wrapping would read 1
    expected.bgOpacity = 0;          // wrapping would read 95
    expected.acceptedDisclaimerVersion = 1;
    EXPECT_EQ(readSettings(file), expected);
}

}  // namespace
}  // namespace orvane
