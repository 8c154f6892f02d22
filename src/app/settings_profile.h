#pragma once

#include "app/settings.h"

#include <optional>
#include <string>

namespace orvane {

// Access to the keys of one INI file, as the private-profile functions
// offer it.
class ProfileStore {
public:
    virtual ~ProfileStore() = default;
    // The value of the key, at most 1023 characters; `fallback` when missing.
    virtual std::wstring readText(const wchar_t* section, const wchar_t* key, const wchar_t* fallback) = 0;
    // No value removes the key.
    virtual void writeText(const wchar_t* section, const wchar_t* key, const std::optional<std::wstring>& value) = 0;
};

// Defaults overlaid with every key of the store, then normalised.
AppSettings readSettings(ProfileStore& store);

// Writes every field in the order of the record; empty strings remove their
// key so that the next load yields the default.
void writeSettings(const AppSettings& settings, ProfileStore& store);

}  // namespace orvane
