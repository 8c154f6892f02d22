// Terminal behaviour as scripts (see case_format.h). Each case also runs
// byte by byte and split at every boundary, which must not change a thing.
#include <gtest/gtest.h>

#include "case_format.h"

namespace orvane::testing {
namespace {

const TermCase kWriting[] = {
    {"wrap_on_pending_in_last_column", R"(< \e[1;79HAB | at 0 77 " AB" | cursor 0 79 | field pendingWrap 1
< C | row 1 "C" | cursor 1 1 | field pendingWrap 0)"},
    {"wrap_off_overwrites_last_column", R"(< \e[?7l\e[1;79HABC | at 0 78 "AC" | cursor 0 79 | field pendingWrap 0 | row 1 "")"},
    {"pending_wrap_on_region_bottom_scrolls_region_only", R"(< top\e[2;4r\e[4;80HXY | row 0 "top"
row 2 "                                                                               X" "Y" | cursor 3 1)"},
    {"pending_wrap_below_region_overwrites_same_row", R"(< \e[1;10r\e[25;80HXY
row 24 "Y                                                                              X" | cursor 24 1 | row 0 "")"},
    {"pending_wrap_cleared_by_controls_and_csi", R"(# a control byte clears the pending wrap, CR returns to column 0 of the same row
< \e[1;80HA\rB | row 0 "B                                                                              A" | cursor 0 1
# CUF clears it too: the next glyph overwrites the last column
< \e[2;80HA\e[1CZ | at 1 79 "Z" | row 2 "")"},
    {"del_is_ignored_and_keeps_pending_wrap", R"(< \e[1;80HA\x7fB | at 0 79 "A" | row 1 "B")"},
    {"cp437_and_dec_graphics", R"(< \xb3\xc4\xdb\x80\xff | at 0 0 "\u2502\u2500\u2588\u00C7\u00A0"
< \e(0q\xb3_~x | at 0 5 "\u2500\u2502\u0020\u00B7\u2502" | < \e(Bq | at 0 10 "q" | field charset 0)"},
    {"reverse_video_swaps_whole_colour_sets", R"(< \e[31;44;7mA\e[38;2;1;2;3;27;7mB | cell 0 0 fg=4 bg=1 fgDirect=0 bgDirect=0
cell 0 1 fg=4 bg=1 fgDirect=0 bgDirect=1 bgRgb=010203
< \e[38;2;1;2;3;48;2;4;5;6mC | cell 0 2 fgDirect=1 bgDirect=1 fgRgb=040506 bgRgb=010203)"},
    {"control_bytes", R"(< ab\bc\td\ae | row 0 "ac      de" | field bellPending 1
< \r\nX\x0b\x0c\x0e\x0f\x00\x1fY | row 1 "XY")"},
};

const TermCase kScrolling[] = {
    {"line_feed_at_bottom_brings_default_blank", R"(< \e[44m\e[2J\e[25;1H\n | cells 24 bg=0 fg=7 | cells 23 bg=4 | cursor 24 0
< \e[1;1H\eM | cells 0 bg=0)"},
    {"rows_scrolled_in_by_text_are_blank_where_not_written", R"(< XXXXXXXXXX\e[25;1H\nabcdefg\tY\n\n | row 22 "abcdefg Y" "" "")"},
    {"region_scroll_leaves_outside_rows", R"(< 1\r\n2\r\n3\r\n4\r\n5\e[2;4r\e[4;1H\nX | row 0 "1" "3" "4" "X" "5")"},
    {"cursor_below_region_moves_down_without_scrolling", R"(< \e[1;5r\e[10;1HA\n\nB\e[25;1H\nC | row 9 "A" | row 11 " B" | row 24 "C" | row 0 "")"},
    {"reverse_index_at_top_scrolls_down", R"(< a\r\nb\e[1;1H\eMz | row 0 "z" "a" "b" | < \e[3;3H\eMq | at 1 2 "q"
# above a region it moves up without scrolling
< \e[5;9r\e[3;1H\eMr | at 1 0 "r q" | row 0 "z")"},
    {"su_sd_huge_counts_clear_region_once", R"(< a\r\nb\r\nc\e[2;3r\e[4294967295S
# 2^32 - 1 reads as -1: not a count, nothing scrolls
row 1 "b" | < \e[2147483647S | row 0 "a" "" "" | < \e[1;1H\e[2147483647T | < \e[2147483648T | row 0 "a")"},
    {"ind_nel_ri_escapes", R"(< ab\eDc\eEd | row 0 "ab" "  c" "d")"},
};

const TermCase kCursor[] = {
    {"cup_defaults_and_clamps", R"(< \e[5;10H | cursor 4 9 | < \e[H | cursor 0 0 | < \e[;5H | cursor 0 4
< \e[99;999f | cursor 24 79 | < \e[0;0H | cursor 0 0)"},
    {"cup_with_origin_mode", R"(< \e[5;20r\e[?6h | cursor 4 0 | < \e[3;2H | cursor 6 1 | < \e[99;1H | cursor 19 0
< \e[?6l | cursor 0 0)"},
    {"cuu_cud_stop_at_region_edges", R"(< \e[5;20r\e[10;1H\e[99A | cursor 4 0 | < \e[99B | cursor 19 0
# sitting exactly on a margin holds too
< \e[5;1H\e[A | cursor 4 0 | < \e[20;1H\e[3B | cursor 19 0
# from outside the region the margins do not hold
< \e[2;1H\e[A\e[A | cursor 0 0 | < \e[22;1H\e[99B | cursor 24 0)"},
    {"parameter_digits_wrap_modulo_2_to_32", R"(< \e[4294967297;4294967298H | cursor 0 1)"},
    {"huge_and_wrapped_counts_clamp", R"(< \e[10;10H\e[4294967295A
# -1 rows up is one row down
cursor 10 9 | < \e[2147483647A | cursor 0 9 | < \e[2147483648B | cursor 0 9 | < \e[2147483648C | cursor 0 0
< \e[2147483648D | cursor 0 79 | < \e[4294967295;4294967295H | cursor 0 0)"},
    {"save_restore_cursor_clamps_after_geometry_change", R"(< \e[25;80H\e7\e[1;1H\e8 | cursor 24 79
< \e[25;5H\e[s\e[8;24;80t | field rows 24 | < \e[u | cursor 23 4 | < \e8 | cursor 23 4)"},
    {"backspace_stops_at_column_zero", R"(< \b\bA\b\bB | row 0 "B" | cursor 0 1)"},
};

const TermCase kErase[] = {
    {"erase_in_display_modes", R"(< AAAA\r\nBBBB\r\nCCCC\e[2;3H\e[J | row 0 "AAAA" "BB" ""
< \e[H\e[1;1HXXXX\r\nYYYY\r\nZZZZ\e[2;2H\e[1J | row 0 "" "  YY" "ZZZZ" | < \e[2J | row 2 "" | cursor 1 1
< Q\e[3J\e[9J | row 1 " Q")"},
    {"erase_blank_takes_pen_colours_not_attributes", R"(< \e[1;4;32;41mX\e[K | cell 0 0 bold=1 underline=1 fg=2 bg=1 | cell 0 1 bold=0 underline=0 fg=2 bg=1 ch=20
< \e[0;7m\e[2;1H\e[2K | cells 1 fg=0 bg=7
< \e[27;48;2;9;8;7m\e[3;1H\e[1K | cell 2 0 bgDirect=1 bgRgb=090807 | cell 2 1 bgDirect=0 bg=0)"},
    {"erase_in_line_modes", R"(< ABCDEF\e[1;3H\e[K | row 0 "AB" | < \e[2;1HABCDEF\e[2;3H\e[1K | row 1 "   DEF"
< \e[2K | row 1 "" | < \e[3;1HABC\e[7K | row 2 "ABC")"},
    {"ech_ich_dch", R"(< ABCDEF\e[1;2H\e[2X | row 0 "A  DEF" | < \e[1;1HABCDEF\e[1;2H\e[2@ | row 0 "A  BCDEF"
< \e[P | row 0 "A BCDEF" | < \e[99P | row 0 "A" | < \e[1;79HXY\e[1;78H\e[5@ | at 0 76 "  "
< \e[3;78HXYZ\e[3;80H\e[X | at 2 77 "XY " | < \e[3;79H\e[9X | at 2 77 "X  "
< \e[2;1HABC\e[2;2H\e[4294967295@\e[4294967295X\e[4294967295P | row 1 "ABC")"},
    {"insert_chars_push_off_the_end", R"(< \e[1;75HABCDEF\e[1;76H\e[3@ | at 0 74 "A   BC")"},
};

const TermCase kLines[] = {
    {"insert_delete_lines_inside_region", R"(< 1\r\n2\r\n3\r\n4\r\n5\e[2;4r\e[2;3H\e[L | row 1 "" "2" "3" "5" | cursor 1 0
< \e[2;1H\e[2M | row 1 "3" "" "" "5")"},
    {"line_ops_on_region_last_row", R"(< 1\r\n2\r\n3\r\n4\r\n5\e[2;4r\e[4;3H\e[L | row 2 "3" "" "5" | cursor 3 0
< \e[4;1HX\e[4;1H\e[M | row 3 "" "5" | < \e[2;1H\e[M | row 1 "3" "")"},
    {"insert_lines_fill_with_erase_blanks", R"(< \e[45m\e[3;3H\e[L | cells 2 bg=5)"},
    {"line_ops_outside_region_do_nothing", R"(< 1\r\n2\r\n3\e[2;3r\e[1;5H\e[L\e[M | row 0 "1" "2" | cursor 0 4)"},
    {"line_ops_huge_counts", R"(< 1\r\n2\r\n3\e[2;1H\e[2147483647L | row 0 "1" "" ""
< \e[1;1H\e[2147483648M | cursor 0 0 | row 0 "1" | < \e[1;5H\e[4294967295L | cursor 0 0 | row 0 "1")"},
};

const TermCase kTabs[] = {
    {"default_tab_stops", R"(< \tA\e[1;76H\tB | at 0 8 "A" | at 0 79 "B")"},
    {"set_clear_and_back_tabs", R"(< \e[1;4H\eH\e[1;1H\tA | at 0 3 "A" | < \e[1;4H\e[g\e[1;1H\tB | at 0 8 "B"
< \e[3g\e[2;1H\tC | at 1 79 "C")"},
    {"cht_and_cbt", R"(< \e[2IA\e[2;30H\e[2ZB | at 0 16 "A" | at 1 16 "B"
< \e[1;5H\e[ZC\e[99IE | at 0 0 "C" | at 0 79 "E"
# a stop in column 1 is a stop like any other
< \e[3g\e[1;2H\eH\e[1;9H\e[ZF | at 0 0 "CF")"},
    {"tab_stops_follow_geometry", R"(< \e[8;24;132t\e[1;125H\tA\t | at 0 128 "A" | cursor 0 131)"},
};

const TermCase kModes[] = {
    {"cursor_visibility_needs_private_mark", R"(< \e[?25l | field cursorVisible 0 | < \e[25h | field cursorVisible 0
< \e[?25h | field cursorVisible 1)"},
    {"private_mode_lists_apply_each", R"(< \e[?25;7l | field cursorVisible 0 autoWrap 0
< \e[?7;25;12345h | field autoWrap 1 cursorVisible 1)"},
    {"alt_screen_1049_saves_cursor_and_content", R"(< main\e[3;7H\e[?1049h | row 0 "" | cursor 0 0 | field altScreen 1
< alt | < \e[?1049l | row 0 "main" | cursor 2 6 | field altScreen 0 savedMainRows 0)"},
    {"alt_screen_47_keeps_cursor", R"(< \e[3;7H\e[?47h | cursor 0 0 | < \e[5;5H\e[?47l | cursor 4 4
< \e[?1048h\e[9;9H\e[?1048l | cursor 4 4)"},
    {"alt_screen_twice_is_once", R"(< main\e[?1049hA\e[?1049hB | row 0 "AB" | < \e[?1049l | row 0 "main")"},
    {"leaving_alt_after_geometry_change_gives_empty_screen", R"(< main\e[?1049halt\e[8;24;132t | field altScreen 0
< again\e[?1049h\e[8;25;132t\e[?1049l | row 0 "")"},
    {"reset_on_alt_screen_restores_main_text", R"(< main\e[?1049h\e[41malt\ec | field altScreen 0 | row 0 "main" | cursor 0 0
field penBg 0 parserState 0)"},
    {"scroll_region_rules", R"(< \e[5;20r | field scrollTop 4 scrollBottom 19 | cursor 0 0
< \e[20;5r | field scrollTop 4 | < \e[r | field scrollTop 0 scrollBottom 24 | < \e[3;r | field scrollTop 0
< \e[3;99r | field scrollTop 2 scrollBottom 24 | < \e[5;5r\e[0;0r | field scrollTop 0 scrollBottom 24
# a one-line region is refused, a two-line one taken
< \e[7;7r | field scrollTop 0 scrollBottom 24 | < \e[7;8r | field scrollTop 6 scrollBottom 7
< \e[?6h\e[10;12r | cursor 9 0 | < \e[?5r | field scrollTop 9)"},
    {"full_reset_restores_modes_not_geometry", R"(< \e[8;24;132t\e[?7l\e[?25l\e[?6h\e[3;5r\e[1;31m\e(0\e[5;9H\ec
field cols 132 rows 24 autoWrap 1 cursorVisible 1 originMode 0 scrollTop 0 scrollBottom 23 charset 0 penFg 7 penBold 0
cursor 0 0 | field layerGeneration 2
# the device's tab stops go back to every eighth column
< \e[3g\e[1;4H\eH\ec\tA | at 0 8 "A")"},
    {"grid_size_window_operation", R"(< text\e[8;24;132t | field cols 132 rows 24 | row 0 "" | field geometryChanged 1 layerGeneration 1
< \e[8;24;132t\e[8;30;100t\e[8;25t\e[9;25;80t\e[8;26;80t\e[8;23;80t\e[8;25;81t\e[8;25;80;1t
field cols 80 rows 25 layerGeneration 2)"},
    {"csi_with_intermediate_runs_plain_function", R"(< \e[2 A\e[5;5H\e[2 A | cursor 2 4)"},
};

const TermCase kReplies[] = {
    {"device_attributes", R"(< \e[c\e[0c\e[?c\e[>c\e[=c\e[<c | replies "\e[?62;4;9001c\e[?62;4;9001c")"},
    {"device_status_and_cursor_report", R"(< \e[5n\e[6n | replies "\e[0n\e[1;1R"
< \e[5;10H\e[6n\e[?6n\e[7n | replies "\e[5;10R" | < \e[5;20r\e[?6h\e[6n | replies "\e[1;1R")"},
    {"queries_in_hex_mode_are_shown_not_answered", R"(mode HEX | < \e[c\a | row 0 "[1B] [5B] [63] [07]" | field bellPending 0)"},
};

const TermCase kSgr[] = {
    {"indexed_and_bright_colours", R"(< \e[31;42mA\e[91;102mB\e[39;49mC | cell 0 0 fg=1 bg=2 | cell 0 1 fg=9 bg=10 | cell 0 2 fg=7 bg=0)"},
    {"attributes_on_and_off", R"(< \e[1;2;3;4;5;7;9mA\e[22;23;24;25;27;29mB\e[6mC
cell 0 0 bold=1 dim=1 italic=1 underline=1 blink=1 strike=1 fg=0 bg=7
cell 0 1 bold=0 dim=0 italic=0 underline=0 blink=0 strike=0 fg=7 bg=0 | cell 0 2 blink=1
< \e[1;2;3;4;5;7;9;38;2;9;9;9m\e[0mD\e[9m\e[mE
cell 0 3 bold=0 dim=0 italic=0 underline=0 blink=0 strike=0 fg=7 bg=0 fgDirect=0 | cell 0 4 strike=0)"},
    {"256_colours", R"(< \e[38;5;196mA\e[38;5;9mB\e[48;5;16mC\e[48;5;231mD\e[38;5;232mE\e[38;5;255mF | cell 0 0 fgDirect=1 fgRgb=FF0000
cell 0 1 fgDirect=0 fg=9 | cell 0 2 bgDirect=1 bgRgb=000000 | cell 0 3 bgDirect=1 bgRgb=FFFFFF
cell 0 4 fgRgb=080808 | cell 0 5 fgRgb=EEEEEE
< \e[38;5;67mG\e[38;5;300mH | cell 0 6 fgRgb=5F87AF | cell 0 7 fgDirect=1 fgRgb=B0B0B0)"},
    {"truecolour_uses_low_bytes", R"(< \e[48;2;10;20;30mA\e[38;2;256;511;4294967295mB | cell 0 0 bgDirect=1 bgRgb=0A141E
cell 0 1 fgDirect=1 fgRgb=00FFFF)"},
    {"incomplete_extended_colours_consume_the_rest", R"(< \e[31m\e[38;5m\e[38;2;1;2m\e[48;5m\e[38;2mA | cell 0 0 fg=1 fgDirect=0 bold=0
< \e[38mB\e[38;1mC\e[38;9;4mD | cell 0 1 fg=1 bold=0 | cell 0 2 bold=1 | cell 0 3 underline=1)"},
    {"reset_keeps_direct_values_but_clears_flags", R"(< \e[38;2;1;2;3m\e[0mA\e[m\e[1;mB | cell 0 0 fgDirect=0 fg=7 | field penFgRgb 197121 | cell 0 1 bold=1)"},
    {"colon_aborts_the_sequence", R"(< \e[38:5:1mA | row 0 "5:1mA" | cell 0 4 fgDirect=0 fg=7)"},
};

const TermCase kStrings[] = {
    {"osc_with_bel_or_st_changes_nothing", R"(< A\e]0;title\aB\e]2;x\e\\C | row 0 "ABC" | field parserState 0)"},
    {"osc_escape_then_other_byte_aborts", R"(< \e]0;x\eQZ | row 0 "Z")"},
    {"apc_consumed_without_effect", R"(< A\e_Gsomething\e\\B\e_Xother\aC\e_\e\e\\D | row 0 "ABCD" | field apcSize 0 parserState 0)"},
    {"apc_escape_then_other_byte_aborts", R"(< \e_Gabc\eZtext | row 0 "text" | field apcSize 0)"},
    {"csi_interrupted_by_cr_prints_rest", R"(< abc\e[1\r2J | row 0 "abc2J")"},
    {"esc_then_control_is_swallowed", R"(< A\e\nB\eP1 | row 0 "AB1")"},
    {"csi_prefix_rules", R"(< \e[1?25lA | row 0 "25lA" | < \e[2;1H\e[=?25l | field cursorVisible 0
< \e[?=5nB | row 1 "5nB" | < \e[3;1H\e[?1?25h | row 2 "25h")"},
    {"unknown_escape_ends_sequence", R"(< \e#8X\e)0Y | row 0 "8X0Y" | field charset 0)"},
};

const TermCase kDisplayModes[] = {
    {"ascii_tokens", R"(mode ASCII | < A\r\nB\t\e\xe9\x07 | row 0 "A<cr><lf>B<tab><esc>[E9] [07]" | cursor 0 30 | field parserState 0
< ~\x7f \x1f | at 0 30 "~[7F]  [1F]")"},
    {"hex_form", R"(mode HEX | < A\r | row 0 "[41] [0D]" | cursor 0 10)"},
    {"hex_wraps_at_edge", R"(mode HEX | < 0123456789abcdef
row 0 "[30] [31] [32] [33] [34] [35] [36] [37] [38] [39] [61] [62] [63] [64] [65] [66]" "" | < \xff | at 1 0 "[FF] ")"},
    {"mode_names_are_exact", R"(mode ASCII | field displayMode 1 | mode HEX | field displayMode 2 | mode hex | field displayMode 0
mode HEX | mode | field displayMode 0 | mode ANSI | field displayMode 0)"},
    {"switch_mid_sequence_forgets_it", R"(< \e[3 | mode HEX | mode ANSI | < 1mA | row 0 "1mA" | cell 0 2 fg=7)"},
    {"tokens_use_the_pen", R"(< \e[33m | mode ASCII | < \r | cell 0 1 fg=3 ch=63)"},
};

const TermCase kSelection[] = {
    {"click_without_moving_selects_nothing", R"(< hello | drag 0 0 0 3 | click 0 1 | field selectionPresent 0 | copied "" | drag 0 1 0 1
field selectionPresent 0)"},
    {"drag_either_way_selects_the_same_stream", R"(< first line\r\nsecond  line   \r\nthird | drag 0 4 2 2 | copied "t line\r\nsecond  line\r\nthi"
field selecting 0 | drag 2 2 0 4 | copied "t line\r\nsecond  line\r\nthi" | drag 1 9 1 7 | copied " li")"},
    {"select_all_copies_blank_rows_as_empty_lines", R"(< only line | selectall
copied "only line\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n")"},
    {"text_written_later_inside_the_selection_is_copied", R"(drag 1 0 1 79 | < \e[2;3Hlate | copied "  late")"},
    {"drags_past_the_grid_are_clamped", R"(< top\e[25;75Hend | drag -5 -5 0 999 | copied "top" | drag 24 70 99 999 | copied "    end"
field selectionCaret.row 24 selectionCaret.col 79)"},
    {"geometry_change_drops_the_selection", R"(< text | drag 0 0 0 3 | geometry 132 24 | field selectionPresent 0 | copied "")"},
};

class TerminalScript : public ::testing::TestWithParam<TermCase> {};

TEST_P(TerminalScript, BehavesTheSameHoweverTheBytesArrive) {
    const auto failures = runCase(GetParam());
    for (const auto& f : failures) ADD_FAILURE() << f;
}

std::string caseName(const ::testing::TestParamInfo<TermCase>& info) { return info.param.name; }

INSTANTIATE_TEST_SUITE_P(Writing, TerminalScript, ::testing::ValuesIn(kWriting), caseName);
INSTANTIATE_TEST_SUITE_P(Scrolling, TerminalScript, ::testing::ValuesIn(kScrolling), caseName);
INSTANTIATE_TEST_SUITE_P(Cursor, TerminalScript, ::testing::ValuesIn(kCursor), caseName);
INSTANTIATE_TEST_SUITE_P(Erase, TerminalScript, ::testing::ValuesIn(kErase), caseName);
INSTANTIATE_TEST_SUITE_P(Lines, TerminalScript, ::testing::ValuesIn(kLines), caseName);
INSTANTIATE_TEST_SUITE_P(Tabs, TerminalScript, ::testing::ValuesIn(kTabs), caseName);
INSTANTIATE_TEST_SUITE_P(Modes, TerminalScript, ::testing::ValuesIn(kModes), caseName);
INSTANTIATE_TEST_SUITE_P(Replies, TerminalScript, ::testing::ValuesIn(kReplies), caseName);
INSTANTIATE_TEST_SUITE_P(Sgr, TerminalScript, ::testing::ValuesIn(kSgr), caseName);
INSTANTIATE_TEST_SUITE_P(Strings, TerminalScript, ::testing::ValuesIn(kStrings), caseName);
INSTANTIATE_TEST_SUITE_P(DisplayModes, TerminalScript, ::testing::ValuesIn(kDisplayModes), caseName);
INSTANTIATE_TEST_SUITE_P(Selection, TerminalScript, ::testing::ValuesIn(kSelection), caseName);

}  // namespace
}  // namespace orvane::testing
