#include "transport/port_list.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

std::vector<std::wstring> namesOf(const std::vector<PortInfo>& ports) {
    std::vector<std::wstring> names;
    for (const PortInfo& port : ports) names.push_back(port.portName);
    return names;
}

std::vector<std::wstring> sortedNames(std::vector<std::wstring> names) {
    std::vector<PortInfo> ports;
    for (std::wstring& name : names) ports.push_back({std::move(name), {}, {}});
    sortPorts(ports);
    return namesOf(ports);
}

TEST(PortSort, PortsSortByNumberNotByText) {
    EXPECT_EQ(sortedNames({L"COM10", L"COM2", L"COM1"}), (std::vector<std::wstring>{L"COM1", L"COM2", L"COM10"}));
    EXPECT_EQ(sortedNames({L"COM10", L"COM9"}), (std::vector<std::wstring>{L"COM9", L"COM10"}));
}

TEST(PortSort, EqualNumbersFallBackToTheNameAndNamesWithoutDigitsCountAsZero) {
    EXPECT_EQ(sortedNames({L"com3", L"COM3", L"COMX", L"COM03", L"COM1"}),
              (std::vector<std::wstring>{L"COMX", L"COM1", L"COM03", L"COM3", L"com3"}));
    // A proper prefix is smaller.
    EXPECT_EQ(sortedNames({L"COM4b", L"COM4"}), (std::vector<std::wstring>{L"COM4", L"COM4b"}));
}

TEST(PortSort, OnlyTheFirstRunOfDigitsCounts) {
    EXPECT_EQ(portNumber(L"COM12A3"), 12u);
    EXPECT_EQ(portNumber(L"X7"), 7u);
    EXPECT_EQ(portNumber(L"COM"), 0u);
    EXPECT_EQ(portNumber(L"COM99999999999999999999999"), UINT64_MAX);
}

TEST(PortNames, ComPortsAreRecognisedInAnyLetterCase) {
    for (const wchar_t* name : {L"COM1", L"com7", L"CoM3", L"COM"}) EXPECT_TRUE(isComPortName(name)) << name;
    for (const wchar_t* name : {L"LPT1", L"CO", L"", L" COM1", L"CNCA0"}) EXPECT_FALSE(isComPortName(name)) << name;
}

TEST(PortDisplayText, TheWindowsPortSuffixIsDropped) {
    EXPECT_EQ(portDisplayText({L"COM3", L"USB Serial Device (COM3)", L"USB\\VID_1"}), L"COM3  -  USB Serial Device");
    EXPECT_EQ(portDisplayText({L"COM5", L"Bridge (COM5)   \t", L""}), L"COM5  -  Bridge");
    // The last suffix is the one cut.
    EXPECT_EQ(portDisplayText({L"COM6", L"A (COM1) B (COM6)", L""}), L"COM6  -  A (COM1) B");
}

TEST(PortDisplayText, OtherParenthesesStay) {
    EXPECT_EQ(portDisplayText({L"COM1", L"Modem (rev B)", L""}), L"COM1  -  Modem (rev B)");
    EXPECT_EQ(portDisplayText({L"COM1", L"(COM)", L""}), L"COM1  -  (COM)");  // no blank before it
    EXPECT_EQ(portDisplayText({L"COM1", L"x)", L""}), L"COM1  -  x)");        // too short to carry a suffix
}

TEST(PortDisplayText, EmptyAndNotApplicableDescriptionsShowTheNameAlone) {
    EXPECT_EQ(portDisplayText({L"COM4", L"n/a", L""}), L"COM4");
    EXPECT_EQ(portDisplayText({L"COM4", L"   ", L""}), L"COM4");
    EXPECT_EQ(portDisplayText({L"COM4", L"", L""}), L"COM4");
    EXPECT_EQ(portDisplayText({L"COM4", L" (COM4)", L""}), L"COM4");
    EXPECT_EQ(portDisplayText({L"COM4", L"N/A", L""}), L"COM4  -  N/A");
}

TEST(FindPortIndex, FindsTheFirstExactMatch) {
    const std::vector<PortInfo> ports{{L"COM1", {}, {}}, {L"COM7", {}, {}}, {L"COM7", L"again", {}}};
    EXPECT_EQ(findPortIndex(ports, L"COM7"), 1);
    EXPECT_EQ(findPortIndex(ports, L"COM1"), 0);
}

TEST(FindPortIndex, WithoutAMatchTheFirstEntryOrNone) {
    const std::vector<PortInfo> ports{{L"COM1", {}, {}}, {L"COM7", {}, {}}};
    EXPECT_EQ(findPortIndex(ports, L"com7"), 0);
    EXPECT_EQ(findPortIndex(ports, L""), 0);
    EXPECT_EQ(findPortIndex({}, L"COM1"), -1);
    EXPECT_EQ(findPortIndex({}, L""), -1);
}

}  // namespace
}  // namespace orvane
