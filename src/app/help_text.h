#pragma once

#include <string>
#include <string_view>

namespace orvane {

// The option summary that "-help" shows; every line ends in CR LF.
std::wstring_view helpText();

// Caption of the message box that shows the help without a console.
inline constexpr std::wstring_view kHelpCaption = L"Orvane - command-line options";

// What goes to a console for "-help": a blank line before and after the text.
std::wstring helpForConsole();

// The report of the unknown arguments of a start-up line: the console line
// (with its CR LF) and the status bar text.
std::wstring unknownOptionsConsoleLine(std::wstring_view list);
std::wstring unknownOptionsNotice(std::wstring_view list);

}  // namespace orvane
