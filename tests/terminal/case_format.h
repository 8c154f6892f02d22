#pragma once

// Terminal behaviour written as small scripts of directives, one per line or
// several on a line separated by " | " (so no feed or string holds " | "):
//   < BYTES            feed bytes; escapes \e \a \b \t \n \r \\ \" \xHH,
//                      \s for a space at the end of a line
//   mode ANSI|ASCII|HEX, geometry COLS ROWS, palette NAME
//   row R "TEXT" ...   row R (and the rows after it, one string each)
//                      without trailing blanks (\uXXXX allowed)
//   at R C "TEXT"      the cells from (R, C) on hold TEXT
//   cursor R C
//   cell R C k=v ...   attributes of one cell; cells R k=v ... for a row
//                      keys: ch fg bg bold underline dim italic blink strike
//                      fgDirect bgDirect fgRgb bgRgb (colours as RRGGBB)
//   field NAME VALUE.. Terminal fields (see fieldValue in case_format.cpp)
//   replies "BYTES"    the replies queued since the last check
//   drag R C R C       a mouse drag from one cell to another; click R C;
//                      selectall
//   copied "TEXT"      the selected text as it would be copied
// Replies never checked fail the case. Every script runs with each feed
// delivered whole, byte by byte, and split in two at every boundary.
#include <ostream>
#include <string>
#include <vector>

namespace orvane::testing {

struct TermCase {
    const char* name;
    const char* script;
};

// Test names already say which case ran; keep gtest from dumping bytes.
inline void PrintTo(const TermCase& c, std::ostream* os) { *os << c.name; }

// Runs every delivery of the script; returns the failures, empty when it
// passes.
std::vector<std::string> runCase(const TermCase& c);

// Decodes the escapes of a "<" line or a quoted string.
std::string unescape(const std::string& text);

}  // namespace orvane::testing
