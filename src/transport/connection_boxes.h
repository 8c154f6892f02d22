#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

// What the line-parameter and terminator boxes of the connection bar hold,
// and how their texts are read back.

// The baud rates offered, lowest first.
inline constexpr int kBaudRates[] = {150,   300,   600,    1200,   2400,   4800,   9600,
                                     19200, 38400, 57600,  115200, 230400, 460800, 921600};
// From this rate on many adapters cannot keep up; the box says so.
inline constexpr int kFirstHardwareLimitedBaud = 230400;
inline constexpr std::wstring_view kHardwareLimitedSuffix = L"  (May be HW limited)";
// Used when the baud text has no usable number.
inline constexpr int kFallbackBaud = 115200;

std::vector<std::wstring> baudBoxEntries();
// The entry whose number equals the stored `baud`, else the 115200 entry.
int initialBaudIndex(std::wstring_view storedBaud);
// The leading integer of a baud text; below 1 it is 115200.
int baudFromText(std::wstring_view text);

inline constexpr std::wstring_view kFramings[] = {L"8N1", L"7E1", L"8E1", L"8N2"};
std::vector<std::wstring> framingBoxEntries();
// The stored framing's entry, else the first.
int initialFramingIndex(std::wstring_view storedFraming);
// The box text as the serial session takes it: at most 7 characters, each
// narrowed (anything beyond ASCII becomes '?', which no framing contains).
std::string framingFromText(std::wstring_view text);

// The leading integer of a text (blanks, then an optional sign and digits),
// saturated to the int range so a long number never wraps into a small one;
// 0 when there is none.
int leadingInteger(std::wstring_view text);

// "CR", "CRLF", "LF", and "<none>" only in LAN mode.
std::vector<std::wstring> lineTerminatorEntries(bool lanMode);
// The entry equal to the stored terminator, else the first; a stored
// "<none>" counts as "CR" where it is not offered.
int lineTerminatorIndex(std::wstring_view stored, bool lanMode);
// The bytes typed lines end with: CR LF, LF, nothing for "<none>", else CR.
std::string lineTerminatorBytes(std::wstring_view entry);

}  // namespace orvane
