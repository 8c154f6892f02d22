#include "app/settings.h"

#include <algorithm>
#include <array>
#include <initializer_list>

namespace orvane {

bool persistSettings = true;

namespace {

using TextField = std::wstring AppSettings::*;

// Fields where only an empty value is replaced by the default.
constexpr std::array kDefaultWhenEmpty{
    &AppSettings::mode,     &AppSettings::host,          &AppSettings::netPort,
    &AppSettings::proto,    &AppSettings::baud,          &AppSettings::framing,
    &AppSettings::palette,  &AppSettings::inputMode,     &AppSettings::lineTerminator,
    &AppSettings::displayMode, &AppSettings::playEol,
};

struct AllowedNames {
    TextField field;
    std::initializer_list<std::wstring_view> names;
};

// Fields where anything but the listed names becomes the default.
const std::array<AllowedNames, 5> kOneOf{{
    {&AppSettings::geometry, {L"80x24", L"80x25", L"132x24", L"132x25"}},
    {&AppSettings::cursorStyle, {L"block", L"outline", L"double"}},
    {&AppSettings::bellMode, {L"off", L"ding", L"wav", L"visual"}},
    {&AppSettings::bgFit, {L"stretch", L"aspect", L"center"}},
    {&AppSettings::ssFormat, {L"png", L"jpg"}},
}};

struct Range {
    int AppSettings::*field;
    int low;
    int high;
};

constexpr std::array kClamped{
    Range{&AppSettings::playCharDelayMs, 0, 500},
    Range{&AppSettings::playEolDelayMs, 0, 500},
    Range{&AppSettings::bgOpacity, 0, 100},
};

bool isOneOf(const std::wstring& value, std::initializer_list<std::wstring_view> names) {
    return std::find(names.begin(), names.end(), value) != names.end();
}

}  // namespace

void normaliseSettings(AppSettings& settings) {
    const AppSettings defaults;
    for (const TextField field : kDefaultWhenEmpty) {
        if ((settings.*field).empty()) settings.*field = defaults.*field;
    }
    for (const AllowedNames& rule : kOneOf) {
        if (!isOneOf(settings.*rule.field, rule.names)) settings.*rule.field = defaults.*rule.field;
    }
    for (const Range& range : kClamped) {
        settings.*range.field = std::clamp(settings.*range.field, range.low, range.high);
    }
    // A wave bell needs a file to play.
    if (settings.bellMode == L"wav" && settings.bellWav.empty()) settings.bellMode = defaults.bellMode;
}

bool settingBoolFromText(std::wstring_view text) {
    return !isOneOf(std::wstring(text), {L"false", L"0", L"no", L"off"});
}

bool lanModeSelected(const AppSettings& settings) {
    return settings.mode == L"lan";
}

bool udpSelected(const AppSettings& settings) {
    return settings.proto == L"UDP";
}

}  // namespace orvane
