#include "transport/port_list.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

using Names = std::vector<std::wstring>;

Names sortedNames(const Names& names) {
    std::vector<PortInfo> ports;
    for (const std::wstring& name : names) ports.push_back({name, {}, {}});
    sortPorts(ports);
    Names sorted;
    for (const PortInfo& port : ports) sorted.push_back(port.portName);
    return sorted;
}

TEST(PortSort, ByTheFirstRunOfDigitsThenByName) {
    EXPECT_EQ(sortedNames({L"COM10", L"COM2", L"COM1"}), (Names{L"COM1", L"COM2", L"COM10"}));
    EXPECT_EQ(sortedNames({L"COM10", L"COM9"}), (Names{L"COM9", L"COM10"}));
    // Equal numbers fall back to the name (a proper prefix is smaller); no digits count as 0.
    EXPECT_EQ(sortedNames({L"com3", L"COM3", L"COMX", L"COM03", L"COM1"}),
              (Names{L"COMX", L"COM1", L"COM03", L"COM3", L"com3"}));
    EXPECT_EQ(sortedNames({L"COM4b", L"COM4"}), (Names{L"COM4", L"COM4b"}));
    EXPECT_EQ(portNumber(L"COM12A3"), 12u);
    EXPECT_EQ(portNumber(L"X7"), 7u);
    EXPECT_EQ(portNumber(L"COM99999999999999999999999"), UINT64_MAX);
}

TEST(PortNames, ComPortsAreRecognisedInAnyLetterCase) {
    for (const wchar_t* name : {L"COM1", L"com7", L"CoM3", L"COM"}) EXPECT_TRUE(isComPortName(name)) << name;
    for (const wchar_t* name : {L"LPT1", L"CO", L"", L" COM1", L"CNCA0"}) EXPECT_FALSE(isComPortName(name)) << name;
}

TEST(PortDisplayText, TheWindowsPortSuffixIsDroppedAndOtherParenthesesStay) {
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"USB Serial Device (COM3)", L"COM3  -  USB Serial Device"},
        {L"Bridge (COM5)   \t", L"COM3  -  Bridge"},
        {L"A (COM1) B (COM6)", L"COM3  -  A (COM1) B"},  // the last suffix is the one cut
        {L"Modem (rev B)", L"COM3  -  Modem (rev B)"},
        {L"(COM)", L"COM3  -  (COM)"},  // no blank before it
        {L"x)", L"COM3  -  x)"},
        {L"N/A", L"COM3  -  N/A"},
        // Nothing left to show: the name alone.
        {L"n/a", L"COM3"}, {L"   ", L"COM3"}, {L"", L"COM3"}, {L" (COM4)", L"COM3"},
    };
    for (const auto& [description, shown] : cases) {
        EXPECT_EQ(portDisplayText({L"COM3", description, L"USB\\VID_1"}), shown);
    }
}

TEST(FindPortIndex, TheFirstExactMatchElseTheFirstEntryOrNone) {
    const std::vector<PortInfo> ports{{L"COM1", {}, {}}, {L"COM7", {}, {}}, {L"COM7", L"again", {}}, {L"", {}, {}}};
    EXPECT_EQ(findPortIndex(ports, L"COM7"), 1);
    EXPECT_EQ(findPortIndex(ports, L"COM1"), 0);
    EXPECT_EQ(findPortIndex(ports, L"com7"), 0);
    EXPECT_EQ(findPortIndex(ports, L""), 0);  // an empty name matches nothing
    EXPECT_EQ(findPortIndex({}, L"COM1"), -1);
    EXPECT_EQ(findPortIndex({}, L""), -1);
}

}  // namespace
}  // namespace orvane
