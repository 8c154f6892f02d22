#include "app/command_line.h"
#include "app/help_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>

namespace orvane {
namespace {

// FNV-1a over the UTF-16 units: any change of a character shows.
std::uint64_t fingerprint(std::wstring_view text) {
    std::uint64_t hash = 0xcbf29ce484222325u;
    for (const wchar_t unit : text) hash = (hash ^ static_cast<std::uint64_t>(unit)) * 0x100000001b3u;
    return hash;
}

// The "-word" tokens of a text, the leading "-" included.
std::set<std::wstring> optionsNamedIn(std::wstring_view text) {
    std::set<std::wstring> found;
    for (std::size_t at = text.find(L'-'); at != std::wstring_view::npos; at = text.find(L'-', at + 1)) {
        if (at > 0 && text[at - 1] != L' ' && text[at - 1] != L'(') continue;
        std::size_t end = at + 1;
        while (end < text.size() && ((text[end] >= L'a' && text[end] <= L'z') || text[end] == L'?')) ++end;
        if (end > at + 1) found.insert(std::wstring(text.substr(at, end - at)));
    }
    return found;
}

TEST(HelpText, TheTextIsExactlyThePublishedOneWithCrLfLines) {
    const std::wstring_view help = helpText();
    EXPECT_TRUE(help.starts_with(L"Orvane command-line options.  Settings apply for THIS SESSION ONLY unless -save is given.\r\n"));
    EXPECT_EQ(help.size(), 1757u);  // 34 lines of 1689 characters and their CR LF
    EXPECT_EQ(fingerprint(help), 0x595e4313b1d99d56u);  // of the text as published
    EXPECT_EQ(helpForConsole(), L"\r\n" + std::wstring(help) + L"\r\n");
}

TEST(HelpText, ListsExactlyTheRecognisedOptionsButTheHiddenOnes) {
    const std::set<std::wstring> listed = optionsNamedIn(helpText());
    for (const std::wstring& option : listed) EXPECT_TRUE(optionValueOf(option).has_value()) << option;
    for (const wchar_t* hidden : {L"-diag", L"-noconnect", L"-?"}) {
        EXPECT_TRUE(optionValueOf(hidden).has_value()) << hidden;
        EXPECT_EQ(listed.count(hidden), 0u) << hidden;
    }
    EXPECT_EQ(listed.size(), 55u);  // all 58 options but the three hidden ones
}

TEST(HelpText, UnknownOptionReports) {
    EXPECT_EQ(unknownOptionsConsoleLine(L"-bogus x"), L"Orvane: ignored unknown option(s): -bogus x\r\n");
    EXPECT_EQ(unknownOptionsNotice(L"-bogus"), L"Ignored unknown option(s): -bogus");
}

}  // namespace
}  // namespace orvane
